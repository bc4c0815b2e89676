// Reading and writing a full-size firmware file: 4096 program words, 256 EEPROM bytes, in the
// 16F18324 layout. Target: load + write together well under a millisecond.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "ScriptedPrompter.h"
#include "core/firmware/FirmwareImage.h"
#include "core/firmware/HexReader.h"
#include "core/firmware/HexText.h"
#include "core/firmware/HexWriter.h"

namespace {

std::string record(int offset, const std::string& data)
{
    hz::test::ScriptedPrompter p;
    const auto& t = hz::HexByteTexts();
    std::string body = t[data.size() / 2] + t[static_cast<std::size_t>(offset >> 8)] +
                       t[static_cast<std::size_t>(offset & 0xFF)] + "00" + data;
    return ":" + body + hz::CalcChecksum(body, p);
}

std::vector<std::string> fullSizeFile()
{
    const auto& t = hz::HexByteTexts();
    std::vector<std::string> lines{":020000040000FA"};
    for (int addr = 0; addr < 0x2000; addr += 16) {
        std::string data;
        for (int k = 0; k < 16; k += 2) {
            const int word = ((addr + k) / 2 * 37) & 0x3FFF;
            data += t[static_cast<std::size_t>(word & 0xFF)] + t[static_cast<std::size_t>(word >> 8)];
        }
        lines.push_back(record(addr, data));
    }
    lines.emplace_back(":020000040001F9");
    lines.push_back(record(0x0000, "5800000001F00000"));
    lines.push_back(record(0x000E, "8C17"));
    lines.push_back(record(0x0010, "3C25"));
    lines.push_back(record(0x0012, "FF1F"));
    lines.push_back(record(0x0014, "FF3F"));
    for (int n = 0; n < 256; n += 8) {
        std::string data;
        for (int k = 0; k < 8; ++k)
            data += t[static_cast<std::size_t>((n + k) * 7 & 0xFF)] + "00";
        lines.push_back(record(0xE000 + 2 * n, data));
    }
    lines.emplace_back(":00000001FF");
    return lines;
}

void BM_LoadAndWrite(benchmark::State& state)
{
    const std::vector<std::string> lines = fullSizeFile();
    hz::test::ScriptedPrompter prompter;
    hz::FirmwareImage image(prompter);
    hz::StatusPanels status;
    hz::HexReader reader(image, status);
    for (auto _ : state) {
        reader.ReadHexLines(lines, "full.hex");
        image.PicModel = 18324;
        benchmark::DoNotOptimize(hz::BuildHexLines(image));
    }
    if (!prompter.shown.empty())
        state.SkipWithError("the reader or writer complained");
}
BENCHMARK(BM_LoadAndWrite)->Unit(benchmark::kMicrosecond);

void BM_LoadFileAndWriteFile(benchmark::State& state)
{
    const std::string in = "/tmp/hz_bench_in.hex", out = "/tmp/hz_bench_out.hex";
    {
        std::ofstream f(in, std::ios::binary);
        for (const auto& l : fullSizeFile())
            f << l << "\r\n";
    }
    hz::test::ScriptedPrompter prompter;
    hz::FirmwareImage image(prompter);
    hz::StatusPanels status;
    hz::HexReader reader(image, status);
    for (auto _ : state) {
        reader.ReadHexFile(in);
        image.PicModel = 18324;
        benchmark::DoNotOptimize(hz::SaveHexFile(image, out));
    }
    std::remove(in.c_str());
    std::remove(out.c_str());
}
BENCHMARK(BM_LoadFileAndWriteFile)->Unit(benchmark::kMicrosecond);

} // namespace
