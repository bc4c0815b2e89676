#pragma once
// Everything the program asks of the machine it runs on: files, folders, descriptors, threads,
// modules. The rest of the core is plain C++ and reaches the operating system only through
// here; std::filesystem's path arithmetic (absolute, lexically_normal) stays where it is used,
// since it is the standard library's and asks the system nothing beyond the working folder.
//
// The build links PlatformShared.cpp (the file system, the locale and the local time through
// the POSIX C library, which the native C library and emscripten's both provide) and one of PlatformPosix.cpp and
// PlatformWeb.cpp (what differs: the WebAssembly tool under Node.js works on the real file
// system, NODERAWFS; the browser module keeps its files in memory, MEMFS).
//
// Every function that can fail returns 0 or the error number (an errno value of <cerrno>);
// SystemErrorReason() words it.

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace hz::platform {

// ---- The process ----------------------------------------------------------------------------

// The file of the running program (the tool's .js file under Node.js); empty where there is
// none to tell (the browser).
std::string ProgramPath();

// The process's id, as /proc/<id>/fd/ names its descriptors.
int ProcessId();

// The permission bits a new file must not get (the process's umask), read without changing it
// for good.
unsigned FileCreationMask();

// How many threads may work at once: 1 where there are no threads.
unsigned WorkerThreads();

// Runs `work` once on each of `threads` threads at the same time and returns when all are
// through; with one thread (or where there are none) `work` runs once, here.
void RunOnThreads(unsigned threads, const std::function<void()>& work);

// Whether the program may load a module of its own at run time (the PDF module of "sheet").
bool LoadsModules();

// While one of these lives, the calling thread formats numbers as the "C" locale does (a
// point before the decimals), whatever locale the process runs in.
class CNumbers {
public:
    CNumbers();
    ~CNumbers();
    CNumbers(const CNumbers&) = delete;
    CNumbers& operator=(const CNumbers&) = delete;

private:
    void* m_before;
};

// `when` in the machine's time zone.
std::tm LocalTime(std::time_t when);

// ---- Descriptors the program was started with -------------------------------------------------

// Whether an open descriptor the program was started with can be written through (the
// WebAssembly tool has only its three standard streams; a descriptor a shell opened beyond them
// is out of its reach).
bool ReachesDescriptor(int fd);

enum class Access { Closed, Read, Write, ReadWrite };
// What an open descriptor was opened for.
Access DescriptorAccess(int fd);

// Writes all of `bytes` through a descriptor the program did not open.
int WriteToDescriptor(int fd, std::string_view bytes);
// Syncs what was written through such a descriptor to its disk.
int SyncDescriptor(int fd);

// While one of these lives, writing into a pipe whose reader has gone fails with EPIPE instead
// of ending the program with SIGPIPE (a signal raised meanwhile is taken off again).
class BrokenPipeGuard {
public:
    BrokenPipeGuard();
    ~BrokenPipeGuard();
    BrokenPipeGuard(const BrokenPipeGuard&) = delete;
    BrokenPipeGuard& operator=(const BrokenPipeGuard&) = delete;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// ---- What a name is ---------------------------------------------------------------------------

enum class FileKind { Regular, Folder, CharDevice, Fifo, BlockDevice, Socket, Link, Other };

struct FileInfo {
    FileKind kind = FileKind::Other;
    // Together they tell a file apart from every other one.
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    // How many names (hard links) the file has.
    std::uint64_t links = 1;
    // The permission bits (07777).
    unsigned mode = 0;

    bool sameFile(const FileInfo& other) const { return device == other.device && inode == other.inode; }
    bool ownerMayWrite() const { return (mode & 0200) != 0; }
};

// What `path` leads to, symbolic links followed.
int Look(const std::string& path, FileInfo& info);
// What `path` itself is: a symbolic link is reported as FileKind::Link.
int LookAtName(const std::string& path, FileInfo& info);
// What an open descriptor has open.
int LookAtDescriptor(int fd, FileInfo& info);
// Where the symbolic link `path` points, as written in it.
int ReadLink(const std::string& path, std::string& target);
// Whether this process (its effective user) may open `path` for writing.
int MayWrite(const std::string& path);
// Whether `path` opens for reading (the open itself is tried).
int OpensForReading(const std::string& path);
// The names in a folder, without "." and ".."; in no particular order.
int ListFolder(const std::string& path, std::vector<std::string>& names);
// The whole content of a file, at most `limit` bytes (a file longer than that: the first
// `limit` bytes and `truncated`). A folder is refused with EISDIR.
int ReadFile(const std::string& path, std::string& content, std::size_t limit = SIZE_MAX, bool* truncated = nullptr);

// ---- Changing names ---------------------------------------------------------------------------

int Rename(const std::string& from, const std::string& to);
int Remove(const std::string& path);
// A new folder (mode 0777 less the umask); EEXIST when the name is taken.
int MakeFolder(const std::string& path);
// A second name `name` for the existing file `existing` (a hard link).
int Link(const std::string& existing, const std::string& name);

// ---- An open file -----------------------------------------------------------------------------

// A file the program opened; closed when the object goes.
class File {
public:
    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    bool isOpen() const { return m_fd >= 0; }

    // Opens an existing file (also a device or a FIFO, waiting for its reader) to read.
    int openForReading(const std::string& path);
    // Opens an existing file to write into it where it is: nothing is made, nothing is cut.
    int openForWriting(const std::string& path);
    // Makes a new, empty file of a name of the program's own in `folder` ("dir/" or "./"),
    // opened for writing; `name` is its path.
    int createIn(const std::string& folder, std::string& name);

    int look(FileInfo& info) const;
    // Bytes read into `buffer` (0 at the end), or -1 with `err`.
    long read(char* buffer, std::size_t size, int& err);
    int writeAll(std::string_view bytes);
    // Back to the first byte.
    int rewind();
    int setLength(std::uint64_t length);
    int setMode(unsigned mode);
    // The content written so far on its disk.
    int sync();
    // Closes the file; an error the system reports only at closing is returned.
    int close();

private:
    int m_fd = -1;
};

} // namespace hz::platform
