// "<" and ">": the HEX files of the loaded file's folder in the order a file manager shows them,
// stepped through with wrapping, also from a file that is not (or no longer) among them.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "core/editor/FolderBrowser.h"

using hz::FolderBrowser;
namespace fs = std::filesystem;

namespace {

void touch(const fs::path& path) { hz::test::writeFile(path.string(), ""); }

struct NeighbourCase {
    const char* name;
    std::vector<std::string> files; // the folder's content
    std::string loaded;             // file name handed to ScanFolder
    std::string prev, next;
};

const std::vector<std::string> kAbc = {"a.hex", "b.hex", "c.hex", "notes.txt", "d.hex.bak", ".hidden.hex"};

} // namespace

TEST(FolderBrowser, NeighboursWrapAroundTheFolder)
{
    const NeighbourCase cases[] = {
        {"middle", kAbc, "b.hex", "a.hex", "c.hex"},
        {"first wraps back", kAbc, "a.hex", "c.hex", "b.hex"},
        {"last wraps on", kAbc, "c.hex", "b.hex", "a.hex"},
        {"one file", {"only.hex", "x.txt"}, "only.hex", "", ""},
        {"two files, first", {"a.hex", "b.hex"}, "a.hex", "b.hex", "b.hex"},
        {"two files, second", {"a.hex", "b.hex"}, "b.hex", "a.hex", "a.hex"},
        {"upper-case extension counts", {"a.hex", "B.HEX", "c.Hex"}, "c.Hex", "B.HEX", "a.hex"},
        // Not the current file: a name differing in case, a text file, a file removed meanwhile.
        {"case differs", kAbc, "B.hex", "a.hex", "b.hex"},
        {"text file", kAbc, "notes.txt", "c.hex", "a.hex"},
        {"removed, in between", kAbc, "bb.hex", "b.hex", "c.hex"},
        {"removed, before all", kAbc, "0.hex", "c.hex", "a.hex"},
        {"removed, one left", {"a.hex"}, "b.hex", "a.hex", "a.hex"},
        {"no HEX file", {"x.txt"}, "x.txt", "", ""},
        {"no file name", kAbc, "", "", ""},
    };
    for (const NeighbourCase& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path dir = hz::test::tempDir("folder");
        for (const std::string& name : c.files)
            touch(dir / name);
        fs::create_directory(dir / "sub.hex"); // a folder is no file
        const std::string folder = dir.string() + "/";
        FolderBrowser b;
        b.PrevFile = "stale";
        b.NextFile = "stale";
        b.ScanFolder(c.loaded.empty() ? std::string() : folder + c.loaded);
        EXPECT_EQ(b.PrevFile, c.prev.empty() ? std::string() : folder + c.prev);
        EXPECT_EQ(b.NextFile, c.next.empty() ? std::string() : folder + c.next);
        fs::remove_all(dir);
    }
}

TEST(FolderBrowser, FileNamesSortAsAFileManagerShowsThem)
{
    const fs::path dir = hz::test::tempDir("folder-order");
    const std::vector<std::string> sorted = {
        "Bahnhof.hex",  "file2.hex",     "File3.hex", "file10.hex", "file010b.hex", "LED.hex",  "led.hex",
        "Weiche 9.hex", "weiche 10.hex", "zug.hex",   "Ärger.hex",  "Öl 2.hex",     "öl 10.hex"};
    // Created in reverse so that creation order does not happen to give the answer; a link to
    // a file is a file, a link to nothing is not.
    for (auto it = sorted.rbegin(); it != sorted.rend(); ++it)
        if (*it != "led.hex")
            touch(dir / *it);
    fs::create_symlink(dir / "LED.hex", dir / "led.hex");
    fs::create_symlink(dir / "missing", dir / "broken.hex");
    EXPECT_EQ(hz::HexFilesOf(dir.string() + "/"), sorted);

    // Stepping with ">" from the first file visits them all in that order and comes back.
    FolderBrowser b;
    const std::string folder = dir.string() + "/";
    std::string current = folder + sorted.front();
    for (std::size_t i = 1; i <= sorted.size(); ++i) {
        b.ScanFolder(current);
        EXPECT_EQ(b.NextFile, folder + sorted[i % sorted.size()]);
        current = b.NextFile;
    }
    fs::remove_all(dir);
}

TEST(FolderBrowser, AFolderThatCannotBeListedHasNoNeighbours)
{
    FolderBrowser b;
    b.ScanFolder("/no/such/folder/a.hex");
    EXPECT_EQ(b.PrevFile, "");
    EXPECT_EQ(b.NextFile, "");
}
