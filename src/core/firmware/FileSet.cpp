#include "core/firmware/FileSet.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <map>

#include "core/SystemError.h"
#include "core/firmware/HexText.h"
#include "core/platform/Platform.h"

namespace hz {

namespace {

using platform::FileInfo;
using platform::FileKind;

// The old content of a file written in place is kept in memory to put it back after a
// failure. Firmware, curve and settings files are a few kilobytes; a file far beyond that is
// not one of ours, and its content is not read.
constexpr std::uint64_t kKeepOldUpTo = 16 * 1024 * 1024;

// Set by FailNextWriteInPlace: the error the next write in place fails with.
std::atomic<int> g_failWriteInPlace{0};

std::string cannotWrite(const std::string& path, int err)
{
    return strprintf("Die Datei \"%s\" konnte nicht geschrieben werden: %s", DisplayName(path).c_str(),
                     SystemErrorReason(err).c_str());
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string nameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The descriptor a name stands for by its spelling alone; -1 for any other name.
int descriptorNamed(const std::string& name)
{
    std::error_code ec;
    const std::string p = std::filesystem::absolute(name, ec).lexically_normal().string();
    if (ec)
        return -1;
    if (p == "/dev/stdin")
        return 0;
    if (p == "/dev/stdout")
        return 1;
    if (p == "/dev/stderr")
        return 2;
    for (const std::string& folder :
         {std::string("/dev/fd/"), std::string("/proc/self/fd/"), std::string("/proc/thread-self/fd/"),
          "/proc/" + std::to_string(platform::ProcessId()) + "/fd/"}) {
        if (p.size() <= folder.size() || p.size() > folder.size() + 9 || p.compare(0, folder.size(), folder) != 0)
            continue;
        int fd = 0;
        for (std::size_t k = folder.size(); k < p.size(); ++k) {
            if (p[k] < '0' || p[k] > '9')
                return -1;
            fd = fd * 10 + (p[k] - '0');
        }
        return fd;
    }
    return -1;
}

// The next name on the way of symbolic links: where the link `at` points, relative to its
// folder. False when `at` is no link (or cannot be looked at); `err` when it is one that
// cannot be read.
bool nextLink(const std::string& at, std::string& next, int& err)
{
    err = 0;
    FileInfo name;
    if (platform::LookAtName(at, name) != 0 || name.kind != FileKind::Link)
        return false;
    if ((err = platform::ReadLink(at, next)) != 0)
        return false;
    if (next.empty() || next[0] != '/')
        next = folderOf(at) + next;
    return true;
}

// Where the symbolic links starting at `path` end (also at a name that does not exist yet):
// the folder the temporary file goes into, and the name that is replaced.
bool resolveLinks(const std::string& path, std::string& target, int& err)
{
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::string next;
        int unreadable = 0;
        if (!nextLink(target, next, unreadable)) {
            err = unreadable != 0 ? unreadable : err;
            return unreadable == 0;
        }
        target = std::move(next);
    }
    err = ELOOP;
    return false;
}

// Writes `content` into the file where it is, so that every name of it shows the new content:
// no truncation before the write, the length set afterwards, then synced. If that fails and the
// old content is known, it is written back; `restored` tells whether the file then holds its
// old content again.
bool overwriteInPlace(const std::string& path, const std::string& content, const std::string* old, int& err,
                      bool& restored)
{
    restored = false;
    platform::File file;
    if ((err = file.openForWriting(path)) != 0) {
        restored = true; // not a byte changed
        return false;
    }
    if (const int fail = g_failWriteInPlace.exchange(0); fail != 0) {
        (void)file.writeAll(std::string_view(content).substr(0, content.size() / 2));
        err = fail;
    } else if ((err = file.writeAll(content)) == 0 && (err = file.setLength(content.size())) == 0) {
        err = file.sync();
    }
    const bool ok = err == 0;
    if (!ok && old)
        restored =
            file.rewind() == 0 && file.writeAll(*old) == 0 && file.setLength(old->size()) == 0 && file.sync() == 0;
    // The data are synced (or the write has failed already); closing can report nothing new.
    (void)file.close();
    return ok;
}

// An open descriptor gets the content written through it, where the shell left it: at its
// offset, or at the end of a file opened for appending. It stays open.
bool writeIntoDescriptor(int fd, const std::string& content, int& err)
{
    const platform::BrokenPipeGuard guard;
    if ((err = platform::WriteToDescriptor(fd, content)) != 0)
        return false;
    FileInfo info;
    if (platform::LookAtDescriptor(fd, info) == 0 && info.kind == FileKind::Regular &&
        (err = platform::SyncDescriptor(fd)) != 0)
        return false;
    return true;
}

// A character device or a FIFO gets the content written into it; it is never replaced.
// Opening a FIFO waits for its reader, as any program writing into it does.
bool writeIntoDevice(const std::string& path, const std::string& content, int& err)
{
    const platform::BrokenPipeGuard guard;
    platform::File file;
    if ((err = file.openForWriting(path)) != 0)
        return false;
    err = file.writeAll(content);
    const int closed = file.close();
    if (err == 0)
        err = closed;
    return err == 0;
}

unsigned newFileMode() { return 0644 & ~platform::FileCreationMask(); }

// A complete copy of `content` in a temporary file beside `target`, synced.
bool writeTemporary(const std::string& target, unsigned mode, const std::string& content, std::string& name, int& err)
{
    platform::File file;
    if ((err = file.createIn(folderOf(target), name)) != 0)
        return false;
    (void)file.setMode(mode);
    if ((err = file.writeAll(content)) == 0)
        err = file.sync();
    const int closed = file.close();
    if (err == 0)
        err = closed;
    if (err != 0) {
        (void)platform::Remove(name);
        name.clear();
    }
    return err == 0;
}

void removeIfNamed(std::string& name)
{
    if (!name.empty())
        (void)platform::Remove(name);
    name.clear();
}

// What tells a file apart from every other: the device and inode of an existing file (links
// followed; a descriptor's name leads to the file it has open), and for a name not there yet
// the device and inode of the folder it would be made in and its own name.
std::string fileIdentity(const std::string& path, FileInfo* found = nullptr)
{
    FileInfo info;
    if (platform::Look(path, info) == 0) {
        if (found)
            *found = info;
        return "file " + std::to_string(info.device) + ":" + std::to_string(info.inode);
    }
    std::string target;
    int err = 0;
    if (!resolveLinks(path, target, err))
        target = path;
    FileInfo folder;
    if (platform::Look(folderOf(target), folder) == 0)
        return "name " + std::to_string(folder.device) + ":" + std::to_string(folder.inode) + "/" + nameOf(target);
    std::error_code ec;
    return "path " + std::filesystem::absolute(target, ec).lexically_normal().string();
}

// The other names in the folder of `target` of the file `file` it had before a save gave
// `target` a file of its own.
std::vector<std::string> hardLinksBeside(const std::string& target, const FileInfo& file)
{
    std::vector<std::string> names;
    const std::string folder = folderOf(target);
    std::vector<std::string> entries;
    if (platform::ListFolder(folder, entries) != 0)
        return names;
    for (const std::string& name : entries) {
        FileInfo info;
        if (platform::LookAtName(folder + name, info) == 0 && info.sameFile(file))
            names.push_back(target.find('/') == std::string::npos ? name : folder + name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

struct FileSet::Entry {
    enum class Way {
        Create,     // no file of that name yet
        Replace,    // a regular file with this one name: the temporary file is renamed over it
        AllNames,   // a regular file with further hard links: written in place
        InPlace,    // no temporary file possible beside it: written in place
        Device,     // a character device or FIFO: written into
        Descriptor, // a name of one of our open descriptors: written through it
    };

    std::string path; // as the user named it; every message names it so
    std::string content;

    Way way = Way::Create;
    std::string target;     // where the links end: the name replaced, the folder of the temporary file
    FileInfo st;            // of the existing file
    std::string temp;       // the prepared new content beside the target
    std::string backup;     // a second name of the replaced file while the set is put
    bool movedAway = false; // the replaced file itself was renamed to `backup` (no hard links)
    std::string old;        // the content before, for a file written in place
    bool haveOld = false;

    int fd = -1; // Way::Descriptor: the descriptor written through

    bool renamed = false;     // the temporary file has been renamed over the target
    bool overwritten = false; // the content has been written in place
    // The file had further names, but only `target` got the new content: why, and whether the
    // other names still show the old content (or a damaged one).
    std::string splitWhy;
    bool splitRestored = true;

    bool exists() const { return way != Way::Create; }
    // Written last: what such a target took cannot be taken back.
    bool cannotUndo() const { return way == Way::Device || way == Way::Descriptor; }

    // A name of one of our descriptors: written through it, as far as it was opened for writing.
    bool inspectDescriptor(std::string& message)
    {
        if (!platform::ReachesDescriptor(fd)) {
            message =
                strprintf("Die Datei \"%s\" konnte nicht geschrieben werden: Die WebAssembly-Fassung erreicht nur "
                          "die Standardausgabe und die Fehlerausgabe, nicht den Dateideskriptor %d. Es wurde "
                          "nichts geschrieben.",
                          DisplayName(path).c_str(), fd);
            return false;
        }
        const platform::Access access = platform::DescriptorAccess(fd);
        if (access == platform::Access::Closed || access == platform::Access::Read) {
            message = strprintf("Die Datei \"%s\" konnte nicht geschrieben werden: Der Dateideskriptor %d ist %s",
                                DisplayName(path).c_str(), fd,
                                access == platform::Access::Closed ? "nicht geöffnet" : "nicht zum Schreiben geöffnet");
            return false;
        }
        if (platform::LookAtDescriptor(fd, st) != 0)
            st.kind = FileKind::CharDevice; // nothing known of it: written into, never synced
        if (st.kind == FileKind::Folder) {
            message = cannotWrite(path, EISDIR);
            return false;
        }
        way = Way::Descriptor;
        target = path;
        return true;
    }

    // What the save meets at `path`. False, with the message, where it must not write.
    bool inspect(std::string& message)
    {
        fd = DescriptorOf(path);
        if (fd >= 0)
            return inspectDescriptor(message);
        if (int err = platform::Look(path, st); err != 0) {
            if (err != ENOENT) {
                message = cannotWrite(path, err);
                return false;
            }
            // A new file, or a link to a file yet to be made: the file at the link's end is made.
            if (!resolveLinks(path, target, err)) {
                message = cannotWrite(path, err);
                return false;
            }
            way = Way::Create;
            return true;
        }
        if (st.kind == FileKind::Folder) {
            message = cannotWrite(path, EISDIR);
            return false;
        }
        // The owner's own write permission taken away says "keep this file", and that holds for
        // root as well, who could otherwise replace anything.
        if (!st.ownerMayWrite()) {
            message = strprintf("Die Datei \"%s\" ist schreibgeschützt: Ihr Besitzer hat das Schreibrecht entfernt, "
                                "darum wird sie nicht ersetzt. Es wurde nichts geschrieben.",
                                DisplayName(path).c_str());
            return false;
        }
        // A file the user could not open for writing stays as it is, even where the folder would
        // let a new file take its name (and its owner's place).
        if (const int err = st.kind == FileKind::Regular ? platform::MayWrite(path) : 0; err != 0) {
            message = err == EACCES || err == EPERM
                          ? strprintf("Die Datei \"%s\" ist schreibgeschützt: Sie haben kein Schreibrecht für sie, "
                                      "darum wird sie nicht ersetzt. Es wurde nichts geschrieben.",
                                      DisplayName(path).c_str())
                          : cannotWrite(path, err);
            return false;
        }
        if (st.kind == FileKind::CharDevice || st.kind == FileKind::Fifo) {
            way = Way::Device;
            target = path;
            return true;
        }
        if (st.kind == FileKind::BlockDevice) {
            message = strprintf("Die Datei \"%s\" ist ein Blockgerät (ein Datenträger oder eine Partition); darauf "
                                "wird keine Datei geschrieben. Es wurde nichts geschrieben.",
                                DisplayName(path).c_str());
            return false;
        }
        if (st.kind != FileKind::Regular) {
            message = strprintf("Die Datei \"%s\" ist keine gewöhnliche Datei, sondern ein %s; sie wird nicht "
                                "ersetzt. Es wurde nichts geschrieben.",
                                DisplayName(path).c_str(), st.kind == FileKind::Socket ? "Socket" : "Sonderobjekt");
            return false;
        }
        // A regular file. Its temporary file goes into the folder where the links end; a link
        // that names no path of the file (a descriptor of a deleted file under /proc) leaves only
        // the write in place.
        int err = 0;
        FileInfo real;
        if (resolveLinks(path, target, err) && platform::Look(target, real) == 0 && real.sameFile(st)) {
            way = st.links > 1 ? Way::AllNames : Way::Replace;
        } else {
            target = path;
            way = Way::InPlace;
        }
        return true;
    }

    void keepOldContent()
    {
        if (!haveOld && st.size <= kKeepOldUpTo)
            haveOld = platform::ReadFile(target, old) == 0;
    }

    // The new content beside the target, complete and synced; nothing is replaced yet.
    bool prepare(std::string& message)
    {
        if (cannotUndo())
            return true;
        if (way == Way::InPlace || way == Way::AllNames)
            keepOldContent();
        if (way == Way::InPlace)
            return true;
        int err = 0;
        if (!writeTemporary(target, exists() ? st.mode : newFileMode(), content, temp, err)) {
            // A writable file in a folder we may not create files in: it can still be written in place.
            if (exists() && (err == EACCES || err == EPERM) && platform::MayWrite(target) == 0) {
                way = Way::InPlace;
                keepOldContent();
                return true;
            }
            message = cannotWrite(path, err);
            return false;
        }
        if (way == Way::AllNames && !haveOld) {
            // Content we cannot read could not be put back after a failed write in place, so
            // only this name gets the new file.
            way = Way::Replace;
            splitWhy = "ihr alter Inhalt lässt sich nicht lesen";
        }
        return true;
    }

    // After the file has been put: which names show what, when the file had further names and
    // only `target` got the new content. Empty when every name shows it.
    std::string splitMessage() const
    {
        if (splitWhy.empty())
            return {};
        std::string text = strprintf("Die Datei \"%s\" hat weitere Namen (harte Verknüpfungen). Die neue Fassung "
                                     "konnte nicht in die Datei selbst geschrieben werden (%s); sie steht jetzt nur "
                                     "unter \"%s\".",
                                     DisplayName(path).c_str(), splitWhy.c_str(), DisplayName(path).c_str());
        // The other names: those beside it by name, the rest counted (a name in another folder
        // cannot be found without searching the whole disk).
        const std::vector<std::string> beside = hardLinksBeside(target, st);
        const std::size_t others = st.links > 0 ? static_cast<std::size_t>(st.links - 1) : 0;
        std::string where;
        for (std::size_t k = 0; k < beside.size(); ++k)
            where += (k == 0 ? "" : k + 1 == beside.size() ? " und " : ", ") + ("\"" + DisplayName(beside[k]) + "\"");
        if (others > beside.size()) {
            const std::size_t elsewhere = others - beside.size();
            where += (where.empty() ? "" : " sowie ") +
                     (elsewhere == 1 ? std::string("einem weiteren Namen in einem anderen Ordner")
                                     : strprintf("%zu weiteren Namen in anderen Ordnern", elsewhere));
        }
        if (where.empty())
            where = "den anderen Namen";
        text += splitRestored ? " Unter " + where + " steht weiter die alte Fassung."
                              : " Unter " + where +
                                    " steht eine beschädigte Fassung: Der alte Inhalt ließ sich nicht "
                                    "zurückschreiben.";
        return text;
    }

    // A second name for the file about to be replaced, so that it can be put back.
    bool keepBackup(bool mayMove, int& err)
    {
        std::string name;
        {
            platform::File made;
            if ((err = made.createIn(folderOf(target), name)) != 0)
                return false;
        }
        if ((err = platform::Remove(name)) == 0 && (err = platform::Link(target, name)) == 0) {
            backup = name;
            return true;
        }
        // A file system without hard links (a FAT stick, files in memory): the file itself
        // moves to the backup name, and the rename that follows puts the new one where it was.
        if (mayMove && (err = platform::Rename(target, name)) == 0) {
            backup = name;
            movedAway = true;
            return true;
        }
        (void)platform::Remove(name);
        return false;
    }

    // Puts the prepared content in place. `keep`: later files of the set could still fail, so
    // what this one replaces is kept until the set is through. False, with the message and
    // nothing of this file changed, when it cannot be put.
    bool put(bool keep, std::string& message)
    {
        int err = 0;
        bool restored = false;
        switch (way) {
        case Way::Descriptor:
            if (writeIntoDescriptor(fd, content, err))
                return true;
            message = cannotWrite(path, err);
            return false;
        case Way::Device:
            if (writeIntoDevice(target, content, err))
                return true;
            message = cannotWrite(path, err);
            return false;
        case Way::InPlace:
            if (overwriteInPlace(target, content, haveOld ? &old : nullptr, err, restored)) {
                overwritten = true;
                return true;
            }
            message = cannotWrite(path, err);
            if (!restored)
                message += ". Der alte Inhalt konnte nicht zurückgeschrieben werden; die Datei ist unvollständig.";
            return false;
        case Way::AllNames:
            if (keep && !keepBackup(false, err)) {
                message = cannotWrite(path, err);
                return false;
            }
            if (overwriteInPlace(target, content, &old, err, restored)) {
                overwritten = true;
                removeIfNamed(temp);
                return true;
            }
            // The complete temporary file still stands beside it: this name gets it.
            if (platform::Rename(temp, target) != 0) {
                message = cannotWrite(path, err);
                removeIfNamed(backup);
                return false;
            }
            temp.clear();
            renamed = true;
            splitWhy = SystemErrorReason(err);
            splitRestored = restored;
            return true;
        case Way::Replace:
            if (keep && !keepBackup(true, err)) {
                message = cannotWrite(path, err);
                return false;
            }
            [[fallthrough]];
        case Way::Create:
            if (const int failed = platform::Rename(temp, target); failed != 0) {
                message = cannotWrite(path, failed);
                if (movedAway && platform::Rename(backup, target) == 0)
                    backup.clear();
                removeIfNamed(backup);
                return false;
            }
            temp.clear();
            renamed = true;
            return true;
        }
        return false;
    }

    // Takes back a file that was put: the old file under its name again, or no file where there
    // was none. False when that did not work. A device cannot take back what it was sent.
    bool undo()
    {
        if (renamed) {
            if (backup.empty())
                return platform::Remove(target) == 0;
            if (platform::Rename(backup, target) != 0)
                return false;
            backup.clear();
            return true;
        }
        if (overwritten) {
            int err = 0;
            bool restored = false;
            return haveOld && overwriteInPlace(target, old, nullptr, err, restored);
        }
        return !cannotUndo();
    }

    void removeLeftovers()
    {
        removeIfNamed(temp);
        removeIfNamed(backup);
    }
};

FileSet::FileSet() = default;
FileSet::~FileSet()
{
    for (auto& e : m_entries)
        e->removeLeftovers();
}

void FileSet::add(const std::string& path, const std::vector<std::string>& lines)
{
    auto e = std::make_unique<Entry>();
    e->path = path;
    std::size_t size = 0;
    for (const auto& l : lines)
        size += l.size() + 2;
    e->content.reserve(size);
    for (const auto& l : lines) {
        e->content += l;
        e->content += "\r\n";
    }
    m_entries.push_back(std::move(e));
}

void FileSet::addContent(const std::string& path, std::string content)
{
    auto e = std::make_unique<Entry>();
    e->path = path;
    e->content = std::move(content);
    m_entries.push_back(std::move(e));
}

WriteResult FileSet::commit()
{
    WriteResult result;
    const auto failed = [&](std::string message) {
        for (auto& e : m_entries)
            e->removeLeftovers();
        result.written = false;
        result.message = std::move(message);
        return result;
    };

    // Every target is looked at before anything is written; two names of one file would have
    // the second overwrite the first, and a file the caller reads must stay as it is.
    std::vector<std::string> targets;
    for (auto& e : m_entries) {
        std::string message;
        if (!e->inspect(message))
            return failed(message);
        targets.push_back(e->path);
    }
    if (std::string clash = OutputClash(targets, m_keep); !clash.empty())
        return failed(std::move(clash));
    for (auto& e : m_entries) {
        std::string message;
        if (!e->prepare(message))
            return failed(message);
    }

    // Regular files first, in order; devices last, because nothing they took can be undone.
    std::vector<Entry*> order;
    for (auto& e : m_entries)
        if (!e->cannotUndo())
            order.push_back(e.get());
    for (auto& e : m_entries)
        if (e->cannotUndo())
            order.push_back(e.get());
    const bool keep = order.size() > 1;
    for (std::size_t k = 0; k < order.size(); ++k) {
        std::string message;
        if (order[k]->put(keep, message))
            continue;
        for (std::size_t j = k; j-- > 0;) {
            Entry& e = *order[j];
            if (e.undo())
                continue;
            message += strprintf(" Achtung: \"%s\" ließ sich nicht in den alten Stand zurückversetzen.",
                                 DisplayName(e.path).c_str());
            // The old file is still there under its second name: it stays, and the user learns where.
            if (!e.backup.empty()) {
                message += strprintf(" Die alte Fassung liegt unter \"%s\".", DisplayName(e.backup).c_str());
                e.backup.clear();
            }
        }
        return failed(message);
    }

    result.written = true;
    for (auto& e : m_entries) {
        e->removeLeftovers();
        const std::string split = e->splitMessage();
        if (split.empty())
            continue;
        result.incomplete = true;
        result.message += (result.message.empty() ? "" : "\n") + split;
    }
    return result;
}

void FileSet::keepIntact(const std::string& path) { m_keep.push_back(path); }

WriteResult writeLinesAtomically(const std::string& path, const std::vector<std::string>& lines,
                                 const std::vector<std::string>& keepIntact)
{
    FileSet one;
    one.add(path, lines);
    for (const std::string& k : keepIntact)
        one.keepIntact(k);
    return one.commit();
}

WriteResult writeContentAtomically(const std::string& path, std::string content,
                                   const std::vector<std::string>& keepIntact)
{
    FileSet one;
    one.addContent(path, std::move(content));
    for (const std::string& k : keepIntact)
        one.keepIntact(k);
    return one.commit();
}

bool ReportWrite(const WriteResult& result, Prompter& prompter)
{
    if (!result.message.empty())
        prompter.tell(result.complete() ? MsgKind::Warning : MsgKind::Error, result.message, Buttons::Ok);
    return result.written;
}

std::string OutputClash(const std::vector<std::string>& outputs, const std::vector<std::string>& inputs)
{
    std::map<std::string, std::string> readFrom;
    for (const std::string& input : inputs) {
        FileInfo info;
        const std::string key = fileIdentity(input, &info);
        if (info.kind == FileKind::Regular)
            readFrom.emplace(key, input);
    }
    std::map<std::string, std::string> written;
    for (const std::string& output : outputs) {
        const std::string key = fileIdentity(output);
        if (const auto in = readFrom.find(key); in != readFrom.end())
            return "Die Ausgabe \"" + DisplayName(output) + "\" ist dieselbe Datei wie die Eingabe \"" +
                   DisplayName(in->second) + "\" und würde sie überschreiben. Es wurde nichts geschrieben.";
        const auto [at, fresh] = written.emplace(key, output);
        if (!fresh)
            return "Die Dateien \"" + DisplayName(at->second) + "\" und \"" + DisplayName(output) +
                   "\" sind dieselbe Datei; die eine würde die andere überschreiben. Es wurde nichts geschrieben.";
    }
    return {};
}

int DescriptorOf(const std::string& path)
{
    std::string at = path;
    for (int hops = 0; hops < 40; ++hops) {
        if (const int fd = descriptorNamed(at); fd >= 0)
            return fd;
        std::string next;
        int err = 0;
        if (!nextLink(at, next, err))
            return -1;
        at = std::move(next);
    }
    return -1;
}

void FailNextWriteInPlace(int err) { g_failWriteInPlace = err; }

bool SameFile(const std::string& a, const std::string& b)
{
    FileInfo fa, fb;
    return platform::Look(a, fa) == 0 && platform::Look(b, fb) == 0 && fa.sameFile(fb);
}

} // namespace hz
