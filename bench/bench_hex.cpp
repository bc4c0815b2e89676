// Reading and writing a full-size firmware file: 4096 program words, 256 EEPROM bytes, in the
// 16F18324 layout. Target: load + write together well under a millisecond.
//
// Two files: a pattern file that no decoder type claims (the reader and writer alone), and the
// file bench/full_18324_hex.sh writes, whose first words are those of the Forsta firmware, so
// that a session load goes all the way: identification, the register page, the address rows.
// The session benchmarks time each stage of the load path on the second file: reading the
// lines into the image, the whole load, and the load with the save's line building.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "ScriptedPrompter.h"
#include "core/Session.h"
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

// The file of bench/full_18324_hex.sh, line for line (the same program words, ID, configuration
// and EEPROM bytes).
std::vector<std::string> forstaFile()
{
    hz::test::ScriptedPrompter p;
    const auto& t = hz::HexByteTexts();
    auto rec = [&](int offset, int type, const std::string& data) {
        std::string body = t[data.size() / 2] + t[static_cast<std::size_t>(offset >> 8)] +
                           t[static_cast<std::size_t>(offset & 0xFF)] + t[static_cast<std::size_t>(type)] + data;
        return ":" + body + hz::CalcChecksum(body, p);
    };
    static const int head[9] = {0x3000, 0x304B, 0x3001, 0x2805, 0x0009, 0x0021, 0x018C, 0x0000, 0x2805};
    std::vector<std::string> lines{rec(0, 4, "0000")};
    for (int w = 0; w < 4096; w += 8) {
        std::string data;
        for (int k = w; k < w + 8; ++k) {
            const int v = k < 9 ? head[k] : (k * 37 + 11) % 16384;
            data += t[static_cast<std::size_t>(v & 0xFF)] + t[static_cast<std::size_t>(v >> 8)];
        }
        lines.push_back(rec(2 * w, 0, data));
    }
    lines.push_back(rec(0, 4, "0001"));
    lines.push_back(rec(0, 0, "58000000010B0000"));
    lines.push_back(rec(14, 0, "8C17"));
    lines.push_back(rec(16, 0, "3C25FF1FFF3F"));
    for (int n = 0; n < 256; n += 8) {
        std::string data;
        for (int k = n; k < n + 8; ++k)
            data += t[static_cast<std::size_t>((k * 7 + 3) % 256)] + "00";
        lines.push_back(rec(0xE000 + 2 * n, 0, data));
    }
    lines.emplace_back(":00000001FF");
    return lines;
}

// Stage 1: the reader alone puts the lines into the image.
void BM_SessionStage1_Read(benchmark::State& state)
{
    const std::vector<std::string> lines = forstaFile();
    hz::test::ScriptedPrompter prompter;
    hz::Session session(prompter);
    for (auto _ : state)
        benchmark::DoNotOptimize(session.reader.ReadHexLines(lines, "full.hex"));
    if (!prompter.shown.empty())
        state.SkipWithError("the reader complained");
}
BENCHMARK(BM_SessionStage1_Read)->Unit(benchmark::kMicrosecond);

// Stage 2: the whole load: reading, identification, the page's set-up, the address rows and
// the state that unsaved changes are measured against.
void BM_SessionStage2_Load(benchmark::State& state)
{
    const std::vector<std::string> lines = forstaFile();
    hz::test::ScriptedPrompter prompter;
    hz::Session session(prompter);
    for (auto _ : state)
        if (session.LoadLines(lines, "full.hex") != hz::LoadOutcome::Done)
            state.SkipWithError("the load did not go through");
    if (!prompter.shown.empty())
        state.SkipWithError("the load asked or complained");
}
BENCHMARK(BM_SessionStage2_Load)->Unit(benchmark::kMicrosecond);

// Stage 3: load and the save up to the file: the address rows written back and every line built.
void BM_SessionStage3_LoadAndWrite(benchmark::State& state)
{
    const std::vector<std::string> lines = forstaFile();
    hz::test::ScriptedPrompter prompter;
    hz::Session session(prompter);
    for (auto _ : state) {
        if (session.LoadLines(lines, "full.hex") != hz::LoadOutcome::Done || !session.PrepareSave())
            state.SkipWithError("the load or save did not go through");
        benchmark::DoNotOptimize(session.image.LineCount);
    }
    if (!prompter.shown.empty())
        state.SkipWithError("the load or save asked or complained");
}
BENCHMARK(BM_SessionStage3_LoadAndWrite)->Unit(benchmark::kMicrosecond);

void BM_LoadAndWrite(benchmark::State& state)
{
    const std::vector<std::string> lines = fullSizeFile();
    hz::test::ScriptedPrompter prompter;
    hz::FirmwareImage image(prompter);
    hz::HexReader reader(image);
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
    hz::HexReader reader(image);
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
