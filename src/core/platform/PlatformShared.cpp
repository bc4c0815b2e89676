// What the POSIX C library gives both builds alike - the native one and emscripten's, whose
// file calls reach Node.js's real file system or the browser's files in memory: the file
// system, the number format of the "C" locale, the local time. What differs between the two -
// syncing, hard links, signals - is in PlatformPosix.cpp and PlatformWeb.cpp.

#include "core/platform/Platform.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <locale.h>
#include <utility>

namespace hz::platform {

namespace {

// The "C" locale, made once; uselocale() switches only the calling thread.
locale_t cLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

FileKind kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return FileKind::Regular;
    if (S_ISDIR(mode))
        return FileKind::Folder;
    if (S_ISCHR(mode))
        return FileKind::CharDevice;
    if (S_ISFIFO(mode))
        return FileKind::Fifo;
    if (S_ISBLK(mode))
        return FileKind::BlockDevice;
    if (S_ISSOCK(mode))
        return FileKind::Socket;
    if (S_ISLNK(mode))
        return FileKind::Link;
    return FileKind::Other;
}

void fill(const struct stat& st, FileInfo& info)
{
    info.kind = kindOf(st.st_mode);
    info.device = static_cast<std::uint64_t>(st.st_dev);
    info.inode = static_cast<std::uint64_t>(st.st_ino);
    info.size = st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
    info.links = static_cast<std::uint64_t>(st.st_nlink);
    info.mode = static_cast<unsigned>(st.st_mode) & 07777;
}

// `open` again after a signal broke into it (opening a FIFO waits for its reader).
int openRetrying(const std::string& path, int flags, int& fd)
{
    do
        fd = ::open(path.c_str(), flags | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    return fd < 0 ? errno : 0;
}

} // namespace

CNumbers::CNumbers() : m_before(uselocale(cLocale())) {}

CNumbers::~CNumbers() { uselocale(static_cast<locale_t>(m_before)); }

std::tm LocalTime(std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    return local;
}

int Look(const std::string& path, FileInfo& info)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return errno;
    fill(st, info);
    return 0;
}

int LookAtName(const std::string& path, FileInfo& info)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return errno;
    fill(st, info);
    return 0;
}

int LookAtDescriptor(int fd, FileInfo& info)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return errno;
    fill(st, info);
    return 0;
}

int ReadLink(const std::string& path, std::string& target)
{
    FileInfo link;
    if (const int err = LookAtName(path, link))
        return err;
    std::string buffer(static_cast<std::size_t>(link.size > 0 ? link.size : 255) + 1, '\0');
    const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
    if (n < 0)
        return errno;
    buffer.resize(static_cast<std::size_t>(n));
    target = std::move(buffer);
    return 0;
}

int MayWrite(const std::string& path) { return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : errno; }

int OpensForReading(const std::string& path)
{
    File file;
    return file.openForReading(path);
}

int ListFolder(const std::string& path, std::vector<std::string>& names)
{
    DIR* dir = ::opendir(path.c_str());
    if (!dir)
        return errno;
    names.clear();
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    ::closedir(dir);
    return 0;
}

int ReadFile(const std::string& path, std::string& content, std::size_t limit, bool* truncated)
{
    File file;
    if (const int err = file.openForReading(path))
        return err;
    FileInfo info;
    if (const int err = file.look(info))
        return err;
    if (info.kind == FileKind::Folder)
        return EISDIR;
    content.clear();
    if (truncated)
        *truncated = false;
    char buffer[16384];
    for (;;) {
        int err = 0;
        const long n = file.read(buffer, sizeof buffer, err);
        if (n < 0)
            return err;
        if (n == 0)
            return 0;
        const auto got = static_cast<std::size_t>(n);
        if (content.size() + got > limit) {
            content.append(buffer, limit - content.size());
            if (truncated)
                *truncated = true;
            return 0;
        }
        content.append(buffer, got);
    }
}

int Rename(const std::string& from, const std::string& to)
{
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int Remove(const std::string& path) { return ::unlink(path.c_str()) == 0 ? 0 : errno; }

int MakeFolder(const std::string& path) { return ::mkdir(path.c_str(), 0777) == 0 ? 0 : errno; }

int WriteToDescriptor(int fd, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

File::~File() { close(); }

File::File(File&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        close();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

int File::openForReading(const std::string& path)
{
    close();
    return openRetrying(path, O_RDONLY | O_NOCTTY, m_fd);
}

int File::openForWriting(const std::string& path)
{
    close();
    return openRetrying(path, O_WRONLY | O_NOCTTY, m_fd);
}

int File::createIn(const std::string& folder, std::string& name)
{
    close();
    std::string pattern = folder + ".hexzwirbel-XXXXXX";
    m_fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (m_fd < 0)
        return errno;
    name = std::move(pattern);
    return 0;
}

int File::look(FileInfo& info) const { return LookAtDescriptor(m_fd, info); }

long File::read(char* buffer, std::size_t size, int& err)
{
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, size);
        if (n >= 0)
            return static_cast<long>(n);
        if (errno != EINTR) {
            err = errno;
            return -1;
        }
    }
}

int File::writeAll(std::string_view bytes) { return WriteToDescriptor(m_fd, bytes); }

int File::rewind() { return ::lseek(m_fd, 0, SEEK_SET) == 0 ? 0 : errno; }

int File::setLength(std::uint64_t length) { return ::ftruncate(m_fd, static_cast<off_t>(length)) == 0 ? 0 : errno; }

int File::setMode(unsigned mode) { return ::fchmod(m_fd, static_cast<mode_t>(mode)) == 0 ? 0 : errno; }

int File::sync() { return SyncDescriptor(m_fd); }

int File::close()
{
    if (m_fd < 0)
        return 0;
    const int fd = std::exchange(m_fd, -1);
    // After EINTR the descriptor is gone all the same (Linux); the data are not lost by it.
    return ::close(fd) == 0 || errno == EINTR ? 0 : errno;
}

} // namespace hz::platform
