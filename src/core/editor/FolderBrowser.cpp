#include "core/editor/FolderBrowser.h"

#include <algorithm>

#include "core/Utf8Text.h"
#include "core/platform/Platform.h"

namespace hz {

namespace {

// One character of a name: its code point, or 0x110000 + the byte for a byte that starts no
// valid UTF-8 sequence (above every code point, so such names sort after the readable ones).
char32_t decodeAt(const std::string& s, std::size_t& i)
{
    const std::size_t n = Utf8SequenceLength(s, i);
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    char32_t c = 0;
    switch (n) {
    case 1: c = byte(0); break;
    case 2: c = (byte(0) & 0x1Fu) << 6 | (byte(1) & 0x3Fu); break;
    case 3: c = (byte(0) & 0x0Fu) << 12 | (byte(1) & 0x3Fu) << 6 | (byte(2) & 0x3Fu); break;
    case 4: c = (byte(0) & 0x07u) << 18 | (byte(1) & 0x3Fu) << 12 | (byte(2) & 0x3Fu) << 6 | (byte(3) & 0x3Fu); break;
    default: c = 0x110000 + byte(0); break;
    }
    i += n == 0 ? 1 : n;
    return c;
}

// Simple case folding of the scripts file names are written in here: Latin (with Latin-1 and
// Latin Extended-A), Greek and Cyrillic. Other characters compare as they are.
char32_t caseFolded(char32_t c)
{
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return c + 0x20;
    if (c == 0xB5)
        return 0x3BC; // micro sign: Greek mu
    if (c == 0x17F)
        return U's'; // long s
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137))
        return c | 1u;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return c % 2 == 1 ? c + 1 : c;
    if (c >= 0x14A && c <= 0x177)
        return c | 1u;
    if (c == 0x178)
        return 0xFF;
    if ((c >= 0x391 && c <= 0x3A9 && c != 0x3A2))
        return c + 0x20;
    if (c == 0x3C2)
        return 0x3C3; // final sigma
    if (c >= 0x410 && c <= 0x42F)
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    return c;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// -1, 0, 1 for a before, equal to, after b; letters folded, digit runs by value.
int naturalCompare(const std::string& a, const std::string& b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            std::size_t ei = i, ej = j;
            while (ei < a.size() && isDigit(a[ei]))
                ++ei;
            while (ej < b.size() && isDigit(b[ej]))
                ++ej;
            // Compare the runs by value: without leading zeros, the longer run is the larger
            // number, equal lengths compare digit by digit. Leading zeros do not count here
            // ("007" equals "7"); the case-sensitive tie-break orders such names.
            std::size_t si = i, sj = j;
            while (si + 1 < ei && a[si] == '0')
                ++si;
            while (sj + 1 < ej && b[sj] == '0')
                ++sj;
            if (ei - si != ej - sj)
                return ei - si < ej - sj ? -1 : 1;
            for (; si < ei; ++si, ++sj) {
                if (a[si] != b[sj])
                    return a[si] < b[sj] ? -1 : 1;
            }
            i = ei;
            j = ej;
            continue;
        }
        const char32_t ca = caseFolded(decodeAt(a, i));
        const char32_t cb = caseFolded(decodeAt(b, j));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

bool endsWithHex(const std::string& name)
{
    if (name.size() < 4)
        return false;
    std::string end = name.substr(name.size() - 4);
    std::transform(end.begin(), end.end(), end.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; });
    return end == ".hex";
}

} // namespace

bool NaturalFileNameLess(const std::string& a, const std::string& b)
{
    const int c = naturalCompare(a, b);
    if (c != 0)
        return c < 0;
    return a < b;
}

std::vector<std::string> HexFilesOf(const std::string& folder)
{
    // Any letter case: "BAHNHOF.HEX" from a Windows programmer tool is as much a HEX file as
    // "bahnhof.hex". Hidden files stay out, as in any file manager's view; a folder that cannot
    // be read has no files to step to.
    std::vector<std::string> listed, names;
    const std::string dir = folder.empty() ? std::string(".") : folder;
    if (platform::ListFolder(dir, listed) != 0)
        return names;
    for (const std::string& name : listed) {
        platform::FileInfo info;
        if (name.empty() || name[0] == '.' || !endsWithHex(name) ||
            platform::Look(dir + "/" + name, info) != 0 || info.kind != platform::FileKind::Regular)
            continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end(), NaturalFileNameLess);
    return names;
}

// The folder is listed in the order a file manager shows it, not in the order the file system
// happens to return the entries (arbitrary on Linux), so that "<" and ">" step through the
// files the way the user sees them.
//
// The loaded file itself counts only when its name matches exactly, letter case included. A
// loaded file that is not among the HEX files (a ".txt" file, a file removed meanwhile, a name
// that differs in case only) stands at the place where its name would be sorted in: "<" loads
// the file before that place, ">" the file after it, both wrapping around. So ">" after a
// removed file goes on with the file that followed it.
//
// An empty file name (what "<" and ">" pass on while there is no neighbour) scans nothing and
// leaves both neighbours empty.
void FolderBrowser::ScanFolder(const std::string& fileName)
{
    PrevFile.clear();
    NextFile.clear();
    if (fileName.empty())
        return;

    const std::size_t slash = fileName.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
    const std::string ownName = fileName.substr(folder.size());
    const std::vector<std::string> names = HexFilesOf(folder);
    const std::size_t n = names.size();
    if (n == 0)
        return;

    const auto own = std::find(names.begin(), names.end(), ownName);
    if (own != names.end()) {
        if (n == 1)
            return; // the only file: nothing to step to
        const std::size_t c = static_cast<std::size_t>(own - names.begin());
        PrevFile = folder + names[(c + n - 1) % n];
        NextFile = folder + names[(c + 1) % n];
        return;
    }

    const std::size_t pos = static_cast<std::size_t>(
        std::lower_bound(names.begin(), names.end(), ownName, NaturalFileNameLess) - names.begin());
    PrevFile = folder + names[(pos + n - 1) % n];
    NextFile = folder + names[pos % n];
}

} // namespace hz
