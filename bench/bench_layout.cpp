// The layout overview over a folder of 1,000 full-size firmware files (the switching function
// decoder "Lumo - F-Dekoder Schalten ab V0.60" on the 16F684: 2048 program words, 256 EEPROM
// bytes, ten DCC function-decoder rows), made with the series code as `series` makes them.
// (An accessory decoder would run out of addresses: DCC accessories end at 2044.) Target: the scan in 1 second or less
// of wall time on a two-core machine. The floor is `cat` of the same files to /dev/null.
//
//   ./build/bench/hz_bench --benchmark_filter=Layout

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "ScriptedPrompter.h"
#include "core/Session.h"
#include "core/catalogue/CodeTables.h"
#include "core/firmware/HexText.h"
#include "core/firmware/HexWriter.h"
#include "core/pages/address/AddressPage.h"
#include "core/tools/AddressSeries.h"
#include "core/tools/LayoutScan.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 1000;
constexpr int kRows = 10;

std::string record(int offset, const std::string& data, int type = 0)
{
    hz::test::ScriptedPrompter p;
    const auto& t = hz::HexByteTexts();
    const std::string body = t[data.size() / 2] + t[static_cast<std::size_t>(offset >> 8)] +
                             t[static_cast<std::size_t>(offset & 0xFF)] + t[static_cast<std::size_t>(type)] + data;
    return ":" + body + hz::CalcChecksum(body, p);
}

// 0x13E00 in the DCC format, rows 1..10 at addresses 1..10 with functions 1..10, every
// program word and EEPROM byte present.
std::vector<std::string> fullSizeFunctionDecoder()
{
    const auto& t = hz::HexByteTexts();
    auto word = [](int w) {
        switch (w) {
        case 0: return 0x3000;
        case 1: return 0x303E;
        case 2: return 0x3001;
        case 8: return 0x1905; // btfsc 0x05,2: the DCC receiver
        default: return (w * 37 + 11) & 0x3FFF;
        }
    };
    std::vector<std::string> lines{":020000040000FA"};
    for (int w = 0; w < 2048; w += 8) {
        std::string data;
        for (int k = 0; k < 8; ++k)
            data += t[static_cast<std::size_t>(word(w + k) & 0xFF)] + t[static_cast<std::size_t>(word(w + k) >> 8)];
        lines.push_back(record(2 * w, data));
    }
    lines.push_back(record(0x4000, "0100090003000600"));
    lines.push_back(record(0x400E, "CC33"));
    std::vector<std::string> ee(256, "FF");
    for (int r = 1; r <= kRows; ++r) {
        const std::string code = hz::DccFunctionCode(r) + t[static_cast<std::size_t>(r)] + "00";
        const int s = hz::pages::AddressPage::slotOf(r);
        for (int k = 0; k < 3; ++k)
            ee[static_cast<std::size_t>(s + 16 * k)] = code.substr(static_cast<std::size_t>(2 * k), 2);
    }
    for (int n = 0; n < 256; n += 8) {
        std::string data;
        for (int k = 0; k < 8; ++k)
            data += ee[static_cast<std::size_t>(n + k)] + "00";
        lines.push_back(record(0x4200 + 2 * n, data));
    }
    lines.emplace_back(":00000001FF");
    return lines;
}

// The folder, made once per run: member i answers addresses 10i+1 .. 10i+10. With
// HZ_BENCH_LAYOUT_DIR set it is made there and kept, for timing whole processes:
//   HZ_BENCH_LAYOUT_DIR=/tmp/anlage ./build/bench/hz_bench --benchmark_filter=Layout
//   hyperfine 'build/src/cli/hexzwirbel-cli overview /tmp/anlage' 'cat /tmp/anlage/*.hex'
const std::string& layoutFolder()
{
    static const std::string folder = [] {
        const char* keep = std::getenv("HZ_BENCH_LAYOUT_DIR");
        const fs::path dir = keep && *keep
                                 ? fs::path(keep)
                                 : fs::temp_directory_path() / ("hz_bench_layout-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        hz::test::ScriptedPrompter prompter;
        hz::Session session(prompter);
        session.LoadLines(fullSizeFunctionDecoder(), "schalten.hex");
        const std::vector<std::string> base = session.addresses.addressTexts();
        for (int i = 0; i < kFiles; ++i) {
            std::string error;
            if (!hz::tools::TypeSeriesMember(session, base, i, kRows, error) || !session.PrepareSave()) {
                std::fprintf(stderr, "bench_layout: member %d not built: %s\n", i, error.c_str());
                for (const auto& m : prompter.shown)
                    std::fprintf(stderr, "  %s\n", m.text.c_str());
                std::abort();
            }
            std::ofstream out(dir / hz::tools::SeriesFileName("schalten_{n}.hex", i, kFiles), std::ios::binary);
            for (const std::string& line : hz::builtLines(session.image))
                out << line << "\r\n";
        }
        if (!keep || !*keep)
            std::atexit([] { fs::remove_all(layoutFolder()); });
        return dir.string();
    }();
    return folder;
}

void BM_LayoutOverview(benchmark::State& state)
{
    const std::string& folder = layoutFolder();
    for (auto _ : state) {
        const hz::tools::LayoutScan scan = hz::tools::ScanLayout({folder});
        if (scan.decoders.size() != static_cast<std::size_t>(kFiles) || !scan.doubleUses.empty())
            state.SkipWithError("the scan did not load every file, or found a double use");
        benchmark::DoNotOptimize(scan.decoders.data());
    }
    state.counters["threads"] = std::max(1u, std::thread::hardware_concurrency());
}
BENCHMARK(BM_LayoutOverview)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// One file after the other on one thread: the cost of one load.
void BM_LayoutOverviewOneThread(benchmark::State& state)
{
    const std::string& folder = layoutFolder();
    hz::tools::ScanControl control;
    control.threads = 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(hz::tools::ScanLayout({folder}, control).decoders.data());
}
BENCHMARK(BM_LayoutOverviewOneThread)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The floor: the same files read by `cat`.
void BM_LayoutCatFloor(benchmark::State& state)
{
    const std::string command = "cat " + layoutFolder() + "/*.hex > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("cat failed");
}
BENCHMARK(BM_LayoutCatFloor)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace
