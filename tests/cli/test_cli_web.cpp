// The tool built for WebAssembly against the native one: every command line of the table, run by
// both in a folder of their own, gives the same exit code, standard output, standard error and
// written files (bytes and permissions). Runs under the ctest label wasm, which names the
// WebAssembly tool in HZ_WEB_CLI.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <vector>

#include "CliRun.h"
#include "TestFiles.h"
#include "core/catalogue/DocLinks.h"

using namespace hz::test;
namespace fs = std::filesystem;

namespace {

// What one tool did: per command line its exit code and output, then the folder's files.
struct Outcome {
    std::vector<std::string> runs;
    std::map<std::string, std::string> files;
};

void replaceAll(std::string& text, const std::string& what, const std::string& with)
{
    if (what.empty())
        return;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

// Runs the command lines one after the other in `work` (a fresh folder): "{out}" in an argument
// stands for that folder, "<FILE" as the last argument gives FILE as standard input. The folder
// and the tool's data folder read as {out} and {data} in what the tool printed.
Outcome runAll(const std::string& tool, const std::string& data, const fs::path& work,
               const std::vector<std::vector<std::string>>& lines)
{
    fs::remove_all(work);
    fs::create_directories(work);
    Outcome o;
    const fs::path out = work / "stdout", err = work / "stderr";
    for (std::vector<std::string> args : lines) {
        std::string input = "/dev/null";
        if (!args.empty() && args.back().rfind("<", 0) == 0) {
            input = args.back().substr(1);
            args.pop_back();
        }
        std::string command = "cd " + shellWord(work.string()) + " && " + tool;
        for (std::string a : args) {
            replaceAll(a, "{out}", work.string());
            command += " " + shellWord(a);
        }
        const int code =
            shell(command + " <" + shellWord(input) + " >" + shellWord(out.string()) + " 2>" + shellWord(err.string()));
        std::string run = "exit " + std::to_string(code) + "\n--- stdout\n" + readFile(out.string()) +
                          "\n--- stderr\n" + readFile(err.string());
        replaceAll(run, data, "{data}");
        replaceAll(run, work.string(), "{out}");
        o.runs.push_back(run);
        fs::remove(out);
        fs::remove(err);
    }
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(work)) {
        if (!e.is_regular_file())
            continue;
        const auto mode = static_cast<unsigned>(fs::status(e.path()).permissions() & fs::perms::mask);
        o.files[fs::relative(e.path(), work).string()] =
            "mode " + std::to_string(mode) + "\n" + readFile(e.path().string());
    }
    return o;
}

std::vector<std::string> filesIn(const fs::path& folder, const std::string& suffix)
{
    std::vector<std::string> files;
    for (const fs::directory_entry& e : fs::directory_iterator(folder))
        if (e.is_regular_file() && e.path().string().size() >= suffix.size() &&
            e.path().string().compare(e.path().string().size() - suffix.size(), suffix.size(), suffix) == 0)
            files.push_back(e.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

TEST(CliWeb, EveryOutputIsTheNativeOne)
{
    const std::string web = webCli();
    if (web.empty())
        GTEST_SKIP() << "runs under the ctest label wasm, against the WebAssembly tool";
    const std::string nativeData = hz::FindDataFolder(HZ_CLI_EXE), webData = hz::FindDataFolder(web);
    ASSERT_FALSE(nativeData.empty());
    ASSERT_FALSE(webData.empty()) << "the WebAssembly tool's data folder beside it";

    // Every firmware file the tests know: the fixtures, the layout, the demo files and the
    // stored fuzz findings.
    std::vector<std::string> files = filesIn(HZ_FIXTURE_DIR, ".hex");
    for (const std::string& f : filesIn(fs::path(HZ_FIXTURE_DIR) / "layout", ".hex"))
        files.push_back(f);
    for (const std::string& f : filesIn(fs::path(HZ_SOURCE_DIR) / "examples", ".hex"))
        files.push_back(f);
    for (const fs::directory_entry& d : fs::directory_iterator(fs::path(HZ_SOURCE_DIR) / "tests/fuzz/regressions"))
        for (const std::string& f : filesIn(d.path(), ""))
            files.push_back(f);

    using Lines = std::vector<std::vector<std::string>>;
    std::vector<std::pair<std::string, Lines>> cases;
    for (std::size_t k = 0; k < files.size(); ++k) {
        const std::string& f = files[k];
        const std::string& other = files[(k + 1) % files.size()];
        cases.push_back({f,
                         {{"info", f, "--json"},
                          {"info", f},
                          {"dump", f},
                          {"dump", f, "--json"},
                          // twice onto the same new file: the first run's file must be one the second may replace
                          {"convert", f, "-o", "{out}/c.hex"},
                          {"convert", f, "-o", "{out}/c.hex"},
                          {"convert", "-", "-o", "-", "<" + f},
                          {"compare", f, other},
                          {"diff", f, other, "--json"},
                          {"migrate", f, other, "-o", "{out}/m.hex"},
                          {"series", f, "-o", "{out}/s{n}.hex", "--count", "2", "--step", "1", "--json"},
                          {"sheet", f, "--html", "{out}/blatt.html"}}});
    }
    // One change of every page kind, and a change refused.
    const auto fx = [](const char* name) { return fixture(name); };
    cases.push_back(
        {"set",
         {{"set", fx("classic_629_turnout.hex"), "-o", "{out}/a.hex", "--row", "1=7g", "--row", "2=300r"},
          {"set", fx("zusatz_629_neon060.hex"), "-o", "{out}/z.hex", "--row", "2=12/4", "--do", "edt_fkt_1=3"},
          {"set", fx("f18324_function.hex"), "-o", "{out}/r.hex", "--do", "CvEdits[5]=17"},
          {"set", fx("classic_684_blinkmuster.hex"), "-o", "{out}/b.hex", "--do", "led_blinkmuster_rad_a2", "--do",
           "Image_led_Blink5=draw:5,30", "--do", "led_blinkmuster_edt_Anzahl=4"},
          {"set", fx("servo_kornel4.hex"), "-o", "{out}/s.hex", "--do", "servo_rad_a2", "--do", "btn_Lin", "--do",
           "edt_scale=0,5", "--do", "btn_scale", "--do", "servo_Image1=draw:26,0", "--do",
           "servo_save_all={out}/kurven.cur"},
          {"set", fx("servo_kornelchen.hex"), "-o", "{out}/l.hex", "--do", "servo_load_all={out}/kurven.cur"},
          {"set", fx("classic_676_turntable.hex"), "-o", "{out}/x.hex", "--do", "edt_adr_31=3"},
          {"set", "-", "-o", "-", "--row", "1=5g", "<" + fx("classic_629_turnout.hex")}}});
    // The overview of the layout folder and of all fixtures, in each of its forms.
    for (const std::string& folder : {fixture("layout"), std::string(HZ_FIXTURE_DIR)})
        cases.push_back({"overview " + folder,
                         {{"overview", folder, "--json"},
                          {"overview", folder, "--csv"},
                          {"overview", folder, "--html", "{out}/overview.html"}}});

    const fs::path dir = tempDir("cli-web");
    for (const auto& [name, lines] : cases) {
        SCOPED_TRACE(name);
        const Outcome native = runAll(nativeCliCommand(), nativeData, dir / "native", lines);
        const Outcome wasm = runAll(cliCommand(), webData, dir / "wasm", lines);
        for (std::size_t k = 0; k < lines.size(); ++k)
            EXPECT_EQ(wasm.runs[k], native.runs[k]) << lines[k][0];
        EXPECT_EQ(wasm.files, native.files);
    }
    fs::remove_all(dir);
}
