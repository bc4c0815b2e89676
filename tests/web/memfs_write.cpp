// Saves through FileSet onto emscripten's files in memory, the file system of the browser
// module: a new file, a file replaced, a set of two files (which keeps a second name of the
// file it replaces while the set is put - in memory there are no hard links, so the file is
// renamed instead), a set refused part-way, and the settings file read back. Run by Node.js
// from the native tests (label wasm); prints what went wrong and exits 1, or exits 0.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/IniFile.h"
#include "core/firmware/FileSet.h"
#include "core/platform/Platform.h"

namespace {

int g_faults = 0;

void expect(bool ok, const std::string& what)
{
    if (!ok) {
        std::printf("FAILED: %s\n", what.c_str());
        ++g_faults;
    }
}

std::string contentOf(const std::string& path)
{
    std::string content;
    return hz::platform::ReadFile(path, content) == 0 ? content : "<missing>";
}

// The names in the folder, sorted: a temporary file or backup left behind shows here.
std::string namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    if (hz::platform::ListFolder(folder, names) != 0)
        return "<unreadable>";
    std::sort(names.begin(), names.end());
    std::string all;
    for (const std::string& n : names)
        all += (all.empty() ? "" : " ") + n;
    return all;
}

} // namespace

int main()
{
    using hz::platform::FileInfo;
    // Every file goes into the root folder, which the browser module has from the start.
    const std::string a = "/a.hex", b = "/b.hex";
    hz::WriteResult r = hz::writeContentAtomically(a, "one\r\n");
    expect(r.complete(), "a new file is written: " + r.message);
    expect(contentOf(a) == "one\r\n", "the new file holds its content");

    r = hz::writeContentAtomically(a, "two\r\n");
    expect(r.complete(), "a file is replaced: " + r.message);
    expect(contentOf(a) == "two\r\n", "the replaced file holds the new content");
    FileInfo info;
    expect(hz::platform::Look(a, info) == 0 && info.mode == (0644 & ~hz::platform::FileCreationMask()),
           "the replaced file keeps its permissions");

    {
        hz::FileSet set;
        set.addContent(a, "three\r\n");
        set.addContent(b, "four\r\n");
        r = set.commit();
    }
    expect(r.complete(), "a set of two files is written: " + r.message);
    expect(contentOf(a) == "three\r\n" && contentOf(b) == "four\r\n", "both files of the set hold their content");

    {
        hz::FileSet set;
        set.addContent(a, "five\r\n");
        set.addContent("/", "six\r\n"); // a folder: refused
        r = set.commit();
    }
    expect(!r.written, "a set with a folder among its targets is refused");
    expect(contentOf(a) == "three\r\n", "a refused set leaves its files as they were");

    hz::IniFile ini;
    ini.setValue("Fenster", "Breite", "800");
    std::string error;
    expect(ini.save("/settings.ini", &error), "the settings file is saved: " + error);
    hz::IniFile back;
    expect(back.load("/settings.ini", &error) && back.readString("Fenster", "Breite", "") == "800",
           "the settings file reads back: " + error);

    const std::string names = namesIn("/");
    expect(names.find(".hexzwirbel-") == std::string::npos, "no temporary file or backup is left behind: " + names);

    if (g_faults == 0)
        std::printf("ok\n");
    return g_faults == 0 ? 0 : 1;
}
