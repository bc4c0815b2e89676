#include "core/firmware/FileSet.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/SystemError.h"
#include "core/firmware/HexText.h"
#include "core/platform/Platform.h"

namespace hz {

namespace {

// The old content of a file written in place is kept in memory to put it back after a
// failure. Firmware, curve and settings files are a few kilobytes; a file far beyond that is
// not one of ours, and its content is not read.
constexpr off_t kKeepOldUpTo = 16 * 1024 * 1024;

std::string cannotWrite(const std::string& path, int err)
{
    return strprintf("Die Datei \"%s\" konnte nicht geschrieben werden: %s", path.c_str(),
                     SystemErrorReason(err).c_str());
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

// Where the symbolic links starting at `path` end (also at a name that does not exist yet):
// the folder the temporary file goes into, and the name that is replaced.
bool resolveLinks(const std::string& path, std::string& target, int& err)
{
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        std::vector<char> buf(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = ::readlink(target.c_str(), buf.data(), buf.size());
        if (n < 0) {
            err = errno;
            return false;
        }
        std::string next(buf.data(), static_cast<std::size_t>(n));
        if (next.empty() || next[0] != '/')
            next = folderOf(target) + next;
        target = next;
    }
    err = ELOOP;
    return false;
}

bool writeAll(int fd, const std::string& content, int& err)
{
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool readAll(const std::string& path, std::string& content)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    content.clear();
    char buf[65536];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0)
            break;
        content.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return ok;
}

// Writes `content` into the file where it is, so that every name of it shows the new content:
// no truncation before the write, the length set afterwards, then synced. If that fails and the
// old content is known, it is written back; `restored` tells whether the file then holds its
// old content again.
bool overwriteInPlace(const std::string& path, const std::string& content, const std::string* old, int& err,
                      bool& restored)
{
    restored = false;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        err = errno;
        restored = true; // not a byte changed
        return false;
    }
    bool ok = writeAll(fd, content, err);
    if (ok && ::ftruncate(fd, static_cast<off_t>(content.size())) != 0) {
        err = errno;
        ok = false;
    }
    if (ok && ::fsync(fd) != 0) {
        err = errno;
        ok = false;
    }
    if (!ok && old) {
        int ignored = 0;
        restored = ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, *old, ignored) &&
                   ::ftruncate(fd, static_cast<off_t>(old->size())) == 0 && ::fsync(fd) == 0;
    }
    // The data are synced (or the write has failed already); closing can report nothing new.
    ::close(fd);
    return ok;
}

// Writing into a FIFO whose reader has gone raises SIGPIPE, which would end the program before
// it could say anything. The signal is held back while we write and taken off again if the
// write raised it; the write then fails with EPIPE like any other error.
class HoldBackSigpipe {
public:
    HoldBackSigpipe()
    {
        sigemptyset(&m_pipe);
        sigaddset(&m_pipe, SIGPIPE);
        sigset_t pending;
        sigemptyset(&pending);
        sigpending(&pending);
        m_wasPending = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &m_pipe, &m_before);
    }
    ~HoldBackSigpipe()
    {
        sigset_t pending;
        sigemptyset(&pending);
        sigpending(&pending);
        if (!m_wasPending && sigismember(&pending, SIGPIPE) == 1) {
            const timespec now{};
            sigtimedwait(&m_pipe, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &m_before, nullptr);
    }
    HoldBackSigpipe(const HoldBackSigpipe&) = delete;
    HoldBackSigpipe& operator=(const HoldBackSigpipe&) = delete;

private:
    sigset_t m_pipe{}, m_before{};
    bool m_wasPending = false;
};

// A character device or a FIFO gets the content written into it; it is never replaced.
// Opening a FIFO waits for its reader, as any program writing into it does.
bool writeIntoDevice(const std::string& path, const std::string& content, int& err)
{
    HoldBackSigpipe hold;
    int fd = -1;
    do
        fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        err = errno;
        return false;
    }
    bool ok = writeAll(fd, content, err);
    if (::close(fd) != 0 && ok && errno != EINTR) {
        err = errno;
        ok = false;
    }
    return ok;
}

mode_t newFileMode() { return 0644 & ~platform::FileCreationMask(); }

// A new, empty file of a name of our own beside `target`, opened for writing; -1 (with `err`)
// when the folder takes none.
int createBeside(const std::string& target, std::string& name, int& err)
{
    const std::string pattern = folderOf(target) + ".hexzwirbel-XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    const int fd = ::mkostemp(buf.data(), O_CLOEXEC);
    if (fd < 0) {
        err = errno;
        return -1;
    }
    name = buf.data();
    return fd;
}

// A complete copy of `content` in a temporary file beside `target`, synced.
bool writeTemporary(const std::string& target, mode_t mode, const std::string& content, std::string& name, int& err)
{
    const int fd = createBeside(target, name, err);
    if (fd < 0)
        return false;
    (void)::fchmod(fd, mode);
    bool ok = writeAll(fd, content, err);
    if (ok && ::fsync(fd) != 0) {
        err = errno;
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        err = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(name.c_str());
        name.clear();
    }
    return ok;
}

void removeIfNamed(std::string& name)
{
    if (!name.empty())
        ::unlink(name.c_str());
    name.clear();
}

} // namespace

struct FileSet::Entry {
    enum class Way {
        Create,   // no file of that name yet
        Replace,  // a regular file with this one name: the temporary file is renamed over it
        AllNames, // a regular file with further hard links: written in place
        InPlace,  // no temporary file possible beside it: written in place
        Device,   // a character device or FIFO: written into
    };

    std::string path; // as the user named it; every message names it so
    std::string content;

    Way way = Way::Create;
    std::string target;     // where the links end: the name replaced, the folder of the temporary file
    struct stat st {};      // of the existing file
    std::string temp;       // the prepared new content beside the target
    std::string backup;     // a second name of the replaced file while the set is put
    bool movedAway = false; // the replaced file itself was renamed to `backup` (no hard links)
    std::string old;        // the content before, for a file written in place
    bool haveOld = false;

    bool renamed = false;     // the temporary file has been renamed over the target
    bool overwritten = false; // the content has been written in place
    std::string warning;

    bool exists() const { return way != Way::Create; }

    // What the save meets at `path`. False, with the message, where it must not write.
    bool inspect(std::string& message)
    {
        if (::stat(path.c_str(), &st) != 0) {
            int err = errno;
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
        if (S_ISDIR(st.st_mode)) {
            message = cannotWrite(path, EISDIR);
            return false;
        }
        // The owner's own write permission taken away says "keep this file", and that holds for
        // root as well, who could otherwise replace anything.
        if ((st.st_mode & S_IWUSR) == 0) {
            message = strprintf("Die Datei \"%s\" ist schreibgeschützt: Ihr Besitzer hat das Schreibrecht entfernt, "
                                "darum wird sie nicht ersetzt. Es wurde nichts geschrieben.",
                                path.c_str());
            return false;
        }
        if (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode)) {
            way = Way::Device;
            target = path;
            return true;
        }
        if (S_ISBLK(st.st_mode)) {
            message = strprintf("Die Datei \"%s\" ist ein Blockgerät (ein Datenträger oder eine Partition); darauf "
                                "wird keine Datei geschrieben. Es wurde nichts geschrieben.",
                                path.c_str());
            return false;
        }
        if (!S_ISREG(st.st_mode)) {
            message = strprintf("Die Datei \"%s\" ist keine gewöhnliche Datei, sondern ein %s; sie wird nicht "
                                "ersetzt. Es wurde nichts geschrieben.",
                                path.c_str(), S_ISSOCK(st.st_mode) ? "Socket" : "Sonderobjekt");
            return false;
        }
        // A regular file. Its temporary file goes into the folder where the links end; a link
        // that names no path of the file (a descriptor of a deleted file under /proc) leaves only
        // the write in place.
        int err = 0;
        struct stat real {};
        if (resolveLinks(path, target, err) && ::stat(target.c_str(), &real) == 0 && real.st_dev == st.st_dev &&
            real.st_ino == st.st_ino) {
            way = st.st_nlink > 1 ? Way::AllNames : Way::Replace;
        } else {
            target = path;
            way = Way::InPlace;
        }
        return true;
    }

    void keepOldContent()
    {
        if (!haveOld && st.st_size <= kKeepOldUpTo)
            haveOld = readAll(target, old);
    }

    // The new content beside the target, complete and synced; nothing is replaced yet.
    bool prepare(std::string& message)
    {
        if (way == Way::Device)
            return true;
        if (way == Way::InPlace || way == Way::AllNames)
            keepOldContent();
        if (way == Way::InPlace)
            return true;
        int err = 0;
        if (!writeTemporary(target, exists() ? (st.st_mode & 07777) : newFileMode(), content, temp, err)) {
            // A writable file in a folder we may not create files in: it can still be written in place.
            if (exists() && (err == EACCES || err == EPERM) && ::access(target.c_str(), W_OK) == 0) {
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
            warning = otherNamesKeepOld("ihr alter Inhalt lässt sich nicht lesen");
        }
        return true;
    }

    std::string otherNamesKeepOld(const std::string& why) const
    {
        return strprintf("Die Datei \"%s\" hat weitere Namen (harte Verknüpfungen). Die neue Fassung konnte nicht in "
                         "die Datei selbst geschrieben werden (%s); sie steht jetzt nur unter \"%s\", die anderen "
                         "Namen zeigen weiter die alte Fassung.",
                         path.c_str(), why.c_str(), path.c_str());
    }

    // A second name for the file about to be replaced, so that it can be put back.
    bool keepBackup(bool mayMove, int& err)
    {
        std::string name;
        const int fd = createBeside(target, name, err);
        if (fd < 0)
            return false;
        ::close(fd);
        if (::unlink(name.c_str()) == 0 && ::link(target.c_str(), name.c_str()) == 0) {
            backup = name;
            return true;
        }
        err = errno;
        // A file system without hard links (a FAT stick): the file itself moves to the backup
        // name, and the rename that follows puts the new one where it was.
        if (mayMove && ::rename(target.c_str(), name.c_str()) == 0) {
            backup = name;
            movedAway = true;
            return true;
        }
        if (mayMove)
            err = errno;
        ::unlink(name.c_str());
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
            if (::rename(temp.c_str(), target.c_str()) != 0) {
                message = cannotWrite(path, err);
                removeIfNamed(backup);
                return false;
            }
            temp.clear();
            renamed = true;
            warning = restored ? otherNamesKeepOld(SystemErrorReason(err))
                               : strprintf("Die Datei \"%s\" hat weitere Namen (harte Verknüpfungen). Die neue "
                                           "Fassung konnte nicht in die Datei selbst geschrieben werden (%s); sie "
                                           "steht jetzt nur unter \"%s\". Die anderen Namen zeigen eine beschädigte "
                                           "Fassung, der alte Inhalt ließ sich nicht zurückschreiben.",
                                           path.c_str(), SystemErrorReason(err).c_str(), path.c_str());
            return true;
        case Way::Replace:
            if (keep && !keepBackup(true, err)) {
                message = cannotWrite(path, err);
                return false;
            }
            [[fallthrough]];
        case Way::Create:
            if (::rename(temp.c_str(), target.c_str()) != 0) {
                message = cannotWrite(path, errno);
                if (movedAway && ::rename(backup.c_str(), target.c_str()) == 0)
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
                return ::unlink(target.c_str()) == 0;
            if (::rename(backup.c_str(), target.c_str()) != 0)
                return false;
            backup.clear();
            return true;
        }
        if (overwritten) {
            int err = 0;
            bool restored = false;
            return haveOld && overwriteInPlace(target, old, nullptr, err, restored);
        }
        return way != Way::Device;
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
    // the second overwrite the first.
    std::map<std::string, const Entry*> seen;
    for (auto& e : m_entries) {
        std::string message;
        if (!e->inspect(message))
            return failed(message);
        std::string key;
        if (e->exists()) {
            key = "inode " + std::to_string(e->st.st_dev) + ":" + std::to_string(e->st.st_ino);
        } else {
            std::error_code ec;
            key = "name " + std::filesystem::absolute(e->target, ec).lexically_normal().string();
        }
        const auto [at, fresh] = seen.emplace(key, e.get());
        if (!fresh)
            return failed(strprintf("Die Dateien \"%s\" und \"%s\" sind dieselbe Datei; die eine würde die andere "
                                    "überschreiben. Es wurde nichts geschrieben.",
                                    at->second->path.c_str(), e->path.c_str()));
    }
    for (auto& e : m_entries) {
        std::string message;
        if (!e->prepare(message))
            return failed(message);
    }

    // Regular files first, in order; devices last, because nothing they took can be undone.
    std::vector<Entry*> order;
    for (auto& e : m_entries)
        if (e->way != Entry::Way::Device)
            order.push_back(e.get());
    for (auto& e : m_entries)
        if (e->way == Entry::Way::Device)
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
            message +=
                strprintf(" Achtung: \"%s\" ließ sich nicht in den alten Stand zurückversetzen.", e.path.c_str());
            // The old file is still there under its second name: it stays, and the user learns where.
            if (!e.backup.empty()) {
                message += strprintf(" Die alte Fassung liegt unter \"%s\".", e.backup.c_str());
                e.backup.clear();
            }
        }
        return failed(message);
    }

    result.written = true;
    for (auto& e : m_entries) {
        e->removeLeftovers();
        if (!e->warning.empty())
            result.message += (result.message.empty() ? "" : "\n") + e->warning;
    }
    return result;
}

WriteResult writeLinesAtomically(const std::string& path, const std::vector<std::string>& lines)
{
    FileSet one;
    one.add(path, lines);
    return one.commit();
}

WriteResult writeContentAtomically(const std::string& path, std::string content)
{
    FileSet one;
    one.addContent(path, std::move(content));
    return one.commit();
}

bool ReportWrite(const WriteResult& result, Prompter& prompter)
{
    if (!result.message.empty())
        prompter.tell(result.written ? MsgKind::Warning : MsgKind::Error, result.message, Buttons::Ok);
    return result.written;
}

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat sa {
    }, sb{};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

} // namespace hz
