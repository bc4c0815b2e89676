#include "gui/app/FolderBrowser.h"

#include <QDir>
#include <algorithm>

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// -1, 0, 1 for a before, equal to, after b; letters folded, digit runs by value.
int naturalCompare(const QString& a, const QString& b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            qsizetype ei = i, ej = j;
            while (ei < a.size() && isDigit(a[ei]))
                ++ei;
            while (ej < b.size() && isDigit(b[ej]))
                ++ej;
            // Compare the runs by value: without leading zeros, the longer run is the larger
            // number, equal lengths compare digit by digit. Leading zeros do not count here
            // ("007" equals "7"); the case-sensitive tie-break orders such names.
            qsizetype si = i, sj = j;
            while (si + 1 < ei && a[si] == u'0')
                ++si;
            while (sj + 1 < ej && b[sj] == u'0')
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
        const QChar ca = a[i].toCaseFolded();
        const QChar cb = b[j].toCaseFolded();
        if (ca != cb)
            return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

} // namespace

bool naturalFileNameLess(const QString& a, const QString& b)
{
    const int c = naturalCompare(a, b);
    if (c != 0)
        return c < 0;
    return a < b;
}

QStringList hexFilesOf(const QString& folder)
{
    // Case-insensitive pattern: "BAHNHOF.HEX" from a Windows programmer tool is as much a HEX
    // file as "bahnhof.hex". Hidden files stay out, as in any file manager's view.
    QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    QStringList names = dir.entryList({QStringLiteral("*.hex")}, QDir::Files, QDir::Unsorted);
    std::sort(names.begin(), names.end(), naturalFileNameLess);
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
void FolderBrowser::ScanFolder(const QString& fileName)
{
    PrevFile.clear();
    NextFile.clear();
    if (fileName.isEmpty())
        return;

    const qsizetype slash = fileName.lastIndexOf(u'/');
    const QString folder = fileName.left(slash + 1); // with its separator; "" for a bare name
    const QString ownName = fileName.mid(slash + 1);
    const QStringList names = hexFilesOf(folder);
    const qsizetype n = names.size();
    if (n == 0)
        return;

    const auto own = std::find(names.begin(), names.end(), ownName);
    if (own != names.end()) {
        if (n == 1)
            return; // the only file: nothing to step to
        const qsizetype c = own - names.begin();
        PrevFile = folder + names[(c - 1 + n) % n];
        NextFile = folder + names[(c + 1) % n];
        return;
    }

    const qsizetype pos = std::lower_bound(names.begin(), names.end(), ownName, naturalFileNameLess) - names.begin();
    PrevFile = folder + names[(pos - 1 + n) % n];
    NextFile = folder + names[pos % n];
}
