// Writing files: what a save may replace, what it writes into, what it refuses, and a set of
// files written all or nothing.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "HexRecords.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/firmware/FileSet.h"

using namespace hz;
using namespace hz::test;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kNew = {kBase0, kEnd};
const std::string kNewText = ":020000040000FA\r\n:00000001FF\r\n";

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Names in `dir` the writer made for itself (temporary files, kept old files).
int leftovers(const fs::path& dir)
{
    int n = 0;
    for (const auto& e : fs::directory_iterator(dir))
        n += e.path().filename().string().rfind(".hexzwirbel-", 0) == 0;
    return n;
}

struct stat statOf(const fs::path& p)
{
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st;
}

// Runs `scenario` as an unprivileged user: directly when we are one, else in a child process
// that drops to "nobody". Root may write where a user may not, so folder and file permissions
// only show as such a user.
constexpr uid_t kNobody = 65534;
bool asUnprivileged(const std::function<bool()>& scenario)
{
    if (::geteuid() != 0)
        return scenario();
    const pid_t pid = ::fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(2);
        ::_exit(scenario() ? 0 : 1);
    }
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Reads a FIFO to its end in a thread of its own, as another program at the other end would.
struct FifoReader {
    explicit FifoReader(const fs::path& fifo, bool leaveAtOnce = false)
        : thread([this, fifo, leaveAtOnce] {
              const int fd = ::open(fifo.c_str(), O_RDONLY);
              if (fd < 0)
                  return;
              if (leaveAtOnce) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(50));
                  ::close(fd);
                  return;
              }
              char buf[4096];
              ssize_t n = 0;
              while ((n = ::read(fd, buf, sizeof buf)) > 0)
                  got.append(buf, static_cast<std::size_t>(n));
              ::close(fd);
          })
    {}
    std::string finish()
    {
        thread.join();
        return got;
    }
    std::string got;
    std::thread thread;
};

} // namespace

TEST(FileSet, ReplacesTheWholeFileOrLeavesItAndNoTemporaryBehind)
{
    const auto dir = tempDir("fileset-atomic");
    const std::string target = (dir / "keep.hex").string();
    writeFile(target, "old content\r\n");
    std::filesystem::permissions(target, fs::perms(0640));
    const WriteResult ok = writeLinesAtomically(target, kNew);
    ASSERT_TRUE(ok.written) << ok.message;
    EXPECT_TRUE(ok.message.empty());
    EXPECT_EQ(readFile(target), kNewText);
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms(0640)); // kept
    // a folder in the file's place is refused and left alone
    fs::create_directory(dir / "folder.hex");
    const WriteResult folder = writeLinesAtomically((dir / "folder.hex").string(), {kEnd});
    EXPECT_FALSE(folder.written);
    EXPECT_EQ(folder.message,
              "Die Datei \"" + (dir / "folder.hex").string() + "\" konnte nicht geschrieben werden: Es ist ein Ordner");
    EXPECT_TRUE(fs::is_directory(dir / "folder.hex"));
    EXPECT_EQ(leftovers(dir), 0);
    fs::remove_all(dir);
}

// Saving onto a symbolic link writes the file the link points to; the link stays a link.
TEST(FileSet, SavingOntoALinkWritesItsTarget)
{
    const auto dir = tempDir("fileset-link");
    fs::create_directory(dir / "real");
    const auto target = dir / "real" / "decoder.hex";
    writeFile(target.string(), "old\r\n");
    fs::permissions(target, fs::perms(0640));
    fs::create_symlink("real/decoder.hex", dir / "link.hex");
    fs::create_symlink(dir / "link.hex", dir / "link2.hex"); // a link to a link
    fs::create_symlink("real/new.hex", dir / "dangling.hex");

    const WriteResult twice = writeLinesAtomically((dir / "link2.hex").string(), kNew);
    ASSERT_TRUE(twice.written) << twice.message;
    EXPECT_TRUE(fs::is_symlink(dir / "link.hex"));
    EXPECT_TRUE(fs::is_symlink(dir / "link2.hex"));
    EXPECT_EQ(readFile(target.string()), kNewText);
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms(0640));
    // a link whose target does not exist yet creates that target
    ASSERT_TRUE(writeLinesAtomically((dir / "dangling.hex").string(), {kEnd}).written);
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.hex"));
    EXPECT_EQ(readFile((dir / "real" / "new.hex").string()), ":00000001FF\r\n");
    // a loop of links is refused with a German reason
    fs::create_symlink("loop-b.hex", dir / "loop-a.hex");
    fs::create_symlink("loop-a.hex", dir / "loop-b.hex");
    const WriteResult loop = writeLinesAtomically((dir / "loop-a.hex").string(), {kEnd});
    EXPECT_FALSE(loop.written);
    EXPECT_TRUE(has(loop.message, ": Zu viele symbolische Verknüpfungen")) << loop.message;
    EXPECT_EQ(leftovers(dir), 0);
    EXPECT_EQ(leftovers(dir / "real"), 0);
    fs::remove_all(dir);
}

// A writable file in a folder we may not create files in: no temporary file can be made beside
// it, so the file is written in place.
TEST(FileSet, WritableFileInAReadOnlyFolderIsWrittenInPlace)
{
    const auto dir = tempDir("fileset-rofolder");
    const auto file = dir / "decoder.hex";
    writeFile(file.string(), "old content that is longer than the new one\r\n");
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(file.c_str(), kNobody, kNobody), 0);
        fs::permissions(dir, fs::perms(0755));
    } else {
        fs::permissions(dir, fs::perms(0555));
    }
    const bool ok = asUnprivileged([&] {
        // a new file in that folder cannot be made at all: a German reason
        const WriteResult created = writeLinesAtomically((dir / "new.hex").string(), {kEnd});
        return writeLinesAtomically(file.string(), kNew).written && !created.written &&
               has(created.message, ": Keine Berechtigung");
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(readFile(file.string()), kNewText); // the old, longer tail is gone
    fs::permissions(dir, fs::perms(0755));
    fs::remove_all(dir);
}

// A file whose owner took the write permission away is not replaced, by nobody, root included;
// also not through a link. Nothing is written, not even a temporary file.
TEST(FileSet, ReadOnlyFileIsRefusedAndKept)
{
    const auto dir = tempDir("fileset-readonly");
    struct Case {
        const char* name;
        fs::perms mode;
        bool viaLink;
    } cases[] = {
        {"r--r--r--.hex", fs::perms(0444), false},
        {"r-xrwxrwx.hex", fs::perms(0577), false}, // the group and others may, the owner may not
        {"linked.hex", fs::perms(0400), true},
    };
    for (const auto& c : cases) {
        const auto file = dir / c.name;
        writeFile(file.string(), "old\r\n");
        fs::permissions(file, c.mode);
        fs::path named = file;
        if (c.viaLink) {
            named = dir / "link-to-readonly.hex";
            fs::create_symlink(file, named);
        }
        const WriteResult r = writeLinesAtomically(named.string(), kNew);
        EXPECT_FALSE(r.written) << c.name;
        EXPECT_EQ(r.message, "Die Datei \"" + named.string() +
                                 "\" ist schreibgeschützt: Ihr Besitzer hat das Schreibrecht entfernt, darum wird sie "
                                 "nicht ersetzt. Es wurde nichts geschrieben.");
        EXPECT_EQ(readFile(file.string()), "old\r\n") << c.name;
        EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, c.mode) << c.name;
    }
    EXPECT_EQ(leftovers(dir), 0);
    fs::remove_all(dir);
}

// A file with a second name (hard link) shows the new content under every name, as a write in
// place would; it stays one file.
TEST(FileSet, HardLinkedFileShowsTheNewContentUnderEveryName)
{
    const auto dir = tempDir("fileset-hardlink");
    const auto file = dir / "decoder.hex";
    writeFile(file.string(), "old content, longer than the new one\r\n");
    fs::create_hard_link(file, dir / "second-name.hex");
    fs::create_symlink("second-name.hex", dir / "symlink.hex");
    const ino_t inode = statOf(file).st_ino;
    for (const char* saved : {"decoder.hex", "symlink.hex"}) {
        const WriteResult r = writeLinesAtomically((dir / saved).string(), kNew);
        ASSERT_TRUE(r.written) << r.message;
        EXPECT_TRUE(r.message.empty()) << r.message;
        EXPECT_EQ(readFile(file.string()), kNewText) << saved;
        EXPECT_EQ(readFile((dir / "second-name.hex").string()), kNewText) << saved;
        EXPECT_EQ(statOf(file).st_ino, inode);
        EXPECT_EQ(statOf(file).st_nlink, 2u);
        writeFile(file.string(), "old\r\n");
    }
    EXPECT_EQ(leftovers(dir), 0);
    fs::remove_all(dir);
}

// A file the user could not open for writing is not replaced, though the folder would let a new
// file take its name (and its owner's place): another user's file, writable by its owner only,
// in a folder everybody may write - alone, with a second name, and through a link.
TEST(FileSet, AFileTheUserMayNotWriteIsRefusedAndKept)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to hand the file to another user";
    const auto dir = tempDir("fileset-foreign");
    fs::permissions(dir, fs::perms(0777));
    for (const char* name : {"alone.hex", "decoder.hex"}) {
        writeFile((dir / name).string(), "old\r\n");
        fs::permissions(dir / name, fs::perms(0644));
    }
    fs::create_hard_link(dir / "decoder.hex", dir / "second-name.hex");
    fs::create_symlink("alone.hex", dir / "link.hex");
    const bool ok = asUnprivileged([&] {
        for (const char* name : {"alone.hex", "decoder.hex", "link.hex"}) {
            const std::string path = (dir / name).string();
            const WriteResult r = writeLinesAtomically(path, kNew);
            if (r.written || r.message != "Die Datei \"" + path +
                                              "\" ist schreibgeschützt: Sie haben kein Schreibrecht für sie, darum "
                                              "wird sie nicht ersetzt. Es wurde nichts geschrieben.")
                return false;
        }
        return true;
    });
    EXPECT_TRUE(ok);
    for (const char* name : {"alone.hex", "decoder.hex", "second-name.hex"}) {
        EXPECT_EQ(readFile((dir / name).string()), "old\r\n") << name;
        EXPECT_EQ(statOf(dir / name).st_uid, 0u) << name;
    }
    EXPECT_EQ(leftovers(dir), 0);
    fs::remove_all(dir);
}

// When the hard-linked file cannot be written in place (the temporary copy took the last free
// space), the complete new file is renamed over the saved name and the old content goes back
// into the file under its other names. That is an error, not a warning, and it names which
// names show which content: the names beside it, the others counted.
TEST(FileSet, HardLinkedFileThatCannotBeWrittenInPlaceIsAnErrorNamingTheNames)
{
    const auto dir = tempDir("fileset-hardlink-full");
    fs::create_directory(dir / "elsewhere");
    const auto file = dir / "decoder.hex";
    writeFile(file.string(), "old\r\n");
    for (const auto& name : {dir / "copy-b.hex", dir / "copy-a.hex", dir / "elsewhere" / "copy-c.hex"})
        fs::create_hard_link(file, name);
    FailNextWriteInPlace(ENOSPC);
    const WriteResult r = writeLinesAtomically(file.string(), kNew);
    EXPECT_TRUE(r.written);
    EXPECT_TRUE(r.incomplete);
    EXPECT_FALSE(r.complete());
    EXPECT_EQ(r.message,
              "Die Datei \"" + file.string() +
                  "\" hat weitere Namen (harte Verknüpfungen). Die neue Fassung konnte nicht in die Datei selbst "
                  "geschrieben werden (Der Datenträger ist voll); sie steht jetzt nur unter \"" +
                  file.string() + "\". Unter \"" + (dir / "copy-a.hex").string() + "\" und \"" +
                  (dir / "copy-b.hex").string() +
                  "\" sowie einem weiteren Namen in einem anderen Ordner steht weiter die alte Fassung.");
    EXPECT_EQ(readFile(file.string()), kNewText);
    for (const auto& name : {dir / "copy-a.hex", dir / "copy-b.hex", dir / "elsewhere" / "copy-c.hex"})
        EXPECT_EQ(readFile(name.string()), "old\r\n") << name;
    EXPECT_EQ(leftovers(dir), 0);

    // The window and the tool hear it as an error, though the saved name holds the new file.
    ScriptedPrompter prompter;
    EXPECT_TRUE(ReportWrite(r, prompter));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].kind, MsgKind::Error);
    fs::remove_all(dir);
}

// A name of one of our open descriptors is written through that descriptor, where the shell
// left it: after what a file opened for appending holds. The file behind it stays the very same
// file; nothing is renamed over it or cut.
TEST(FileSet, DescriptorNamesAreWrittenThroughTheDescriptor)
{
    const auto dir = tempDir("fileset-descriptor");
    const auto log = dir / "log.txt";
    writeFile(log.string(), "earlier\n");
    const ino_t inode = statOf(log).st_ino;
    const int fd = ::open(log.c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(fd, 0);
    const std::string n = std::to_string(fd);
    fs::create_symlink("/dev/fd/" + n, dir / "to-descriptor.hex");
    std::string expected = "earlier\n";
    for (const std::string& name : {"/dev/fd/" + n, "/proc/self/fd/" + n, (dir / "to-descriptor.hex").string()}) {
        const WriteResult r = writeLinesAtomically(name, kNew);
        EXPECT_TRUE(r.written) << name << ": " << r.message;
        expected += kNewText;
        EXPECT_EQ(readFile(log.string()), expected) << name;
        EXPECT_EQ(statOf(log).st_ino, inode) << name;
    }
    ::close(fd);

    // a descriptor open for reading only, and one not open at all: nothing written
    const int readOnly = ::open(log.c_str(), O_RDONLY);
    ASSERT_GE(readOnly, 0);
    const std::string name = "/dev/fd/" + std::to_string(readOnly);
    EXPECT_EQ(writeLinesAtomically(name, kNew).message,
              "Die Datei \"" + name + "\" konnte nicht geschrieben werden: Der Dateideskriptor " +
                  std::to_string(readOnly) + " ist nicht zum Schreiben geöffnet");
    ::close(readOnly);
    EXPECT_EQ(writeLinesAtomically(name, kNew).message, "Die Datei \"" + name +
                                                            "\" konnte nicht geschrieben werden: Der Dateideskriptor " +
                                                            std::to_string(readOnly) + " ist nicht geöffnet");
    EXPECT_EQ(readFile(log.string()), expected);
    EXPECT_EQ(leftovers(dir), 0);

    struct Case {
        std::string name;
        int fd;
    } cases[] = {
        {"/dev/stdin", 0},
        {"/dev/stdout", 1},
        {"/dev/stderr", 2},
        {"/dev/fd/7", 7},
        {"/dev/./fd/12", 12},
        {"/proc/self/fd/3", 3},
        {"/proc/" + std::to_string(::getpid()) + "/fd/4", 4},
        {"/proc/1/fd/4", -1}, // another process's descriptor
        {"/dev/fd/3x", -1},
        {"/dev/fd/", -1},
        {(dir / "log.txt").string(), -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DescriptorOf(c.name), c.fd) << c.name;
    fs::remove_all(dir);
}

// A character device or a FIFO is written into and stays what it is; a full device reports its
// reason.
TEST(FileSet, DevicesAndFifosAreWrittenIntoNeverReplaced)
{
    const WriteResult null = writeLinesAtomically("/dev/null", kNew);
    EXPECT_TRUE(null.written) << null.message;
    const WriteResult full = writeLinesAtomically("/dev/full", kNew);
    EXPECT_FALSE(full.written);
    EXPECT_EQ(full.message, "Die Datei \"/dev/full\" konnte nicht geschrieben werden: Der Datenträger ist voll");
    for (const char* device : {"/dev/null", "/dev/full"})
        EXPECT_TRUE(S_ISCHR(statOf(device).st_mode)) << device;

    const auto dir = tempDir("fileset-fifo");
    const auto fifo = dir / "pipe.hex";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    fs::create_symlink("pipe.hex", dir / "to-pipe.hex");
    for (const char* name : {"pipe.hex", "to-pipe.hex"}) {
        FifoReader reader(fifo);
        const WriteResult r = writeLinesAtomically((dir / name).string(), kNew);
        EXPECT_TRUE(r.written) << r.message;
        EXPECT_EQ(reader.finish(), kNewText) << name;
        EXPECT_TRUE(S_ISFIFO(statOf(fifo).st_mode)) << name;
    }
    // The reader goes away before the end: an error, and the program lives on. More than a
    // pipe holds, so that the write is still going when the reader leaves.
    FifoReader quitter(fifo, true);
    const WriteResult cut = writeLinesAtomically(fifo.string(), std::vector<std::string>(20000, rec(0, "00112233")));
    quitter.finish();
    EXPECT_FALSE(cut.written);
    EXPECT_EQ(cut.message, "Die Datei \"" + fifo.string() +
                               "\" konnte nicht geschrieben werden: Das lesende Programm hat die Pipe geschlossen");
    EXPECT_TRUE(S_ISFIFO(statOf(fifo).st_mode));

    // A name under /proc that leads to a pipe ("/dev/stdout" of a program whose output is piped):
    // the link's text "pipe:[...]" names no file, the pipe is written all the same.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const std::string procName = "/proc/self/fd/" + std::to_string(ends[1]);
    const WriteResult piped = writeLinesAtomically(procName, kNew);
    EXPECT_TRUE(piped.written) << piped.message;
    ::close(ends[1]);
    std::string got;
    char buf[256];
    ssize_t n = 0;
    while ((n = ::read(ends[0], buf, sizeof buf)) > 0)
        got.append(buf, static_cast<std::size_t>(n));
    ::close(ends[0]);
    EXPECT_EQ(got, kNewText);
    EXPECT_EQ(leftovers(dir), 0);
    fs::remove_all(dir);
}

TEST(FileSet, BlockDevicesAndSocketsAreRefused)
{
    const auto dir = tempDir("fileset-special");
    const auto socketPath = dir / "socket.hex";
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.string().size(), sizeof addr.sun_path);
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", socketPath.c_str());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    const WriteResult s = writeLinesAtomically(socketPath.string(), kNew);
    EXPECT_FALSE(s.written);
    EXPECT_EQ(s.message, "Die Datei \"" + socketPath.string() +
                             "\" ist keine gewöhnliche Datei, sondern ein Socket; sie wird nicht ersetzt. Es wurde "
                             "nichts geschrieben.");
    EXPECT_TRUE(S_ISSOCK(statOf(socketPath).st_mode));
    ::close(sock);

    // A block device node of our own (the loop device's numbers); only root may make one.
    const auto block = dir / "disk.hex";
    if (::mknod(block.c_str(), S_IFBLK | 0644, makedev(7, 0)) == 0) {
        const WriteResult b = writeLinesAtomically(block.string(), kNew);
        EXPECT_FALSE(b.written);
        EXPECT_TRUE(has(b.message, "\" ist ein Blockgerät (ein Datenträger oder eine Partition)")) << b.message;
        EXPECT_TRUE(S_ISBLK(statOf(block).st_mode));
    }
    EXPECT_EQ(leftovers(dir), 0);
    fs::remove_all(dir);
}

// A set of three files is written completely or not at all. Member 1 is new, member 2 replaces a
// file, member 3 fails at a different stage in each case; then nothing has changed.
TEST(FileSet, AllOrNothing)
{
    const auto dir = tempDir("fileset-set");
    const auto first = dir / "d1.hex", second = dir / "d2.hex";
    fs::create_directory(dir / "folder.hex");
    writeFile((dir / "readonly.hex").string(), "frozen\r\n");
    fs::permissions(dir / "readonly.hex", fs::perms(0444));
    fs::create_symlink("d1.hex", dir / "also-d1.hex");
    struct Case {
        std::string third;
        std::string message;
    } cases[] = {
        // written last, after the other two were put in place: they are taken back
        {"/dev/full", "Die Datei \"/dev/full\" konnte nicht geschrieben werden: Der Datenträger ist voll"},
        // cannot be prepared: no folder for it
        {(dir / "missing" / "d3.hex").string(), "konnte nicht geschrieben werden: Datei oder Ordner nicht gefunden"},
        // refused before anything is prepared
        {(dir / "folder.hex").string(), "konnte nicht geschrieben werden: Es ist ein Ordner"},
        {(dir / "readonly.hex").string(), "ist schreibgeschützt"},
        {(dir / "also-d1.hex").string(),
         "Die Dateien \"" + first.string() + "\" und \"" + (dir / "also-d1.hex").string() + "\" sind dieselbe Datei"},
    };
    for (const auto& c : cases) {
        writeFile(second.string(), "old second\r\n");
        const ino_t inode = statOf(second).st_ino;
        FileSet set;
        set.add(first.string(), kNew);
        set.add(second.string(), kNew);
        set.add(c.third, kNew);
        const WriteResult r = set.commit();
        EXPECT_FALSE(r.written) << c.third;
        EXPECT_TRUE(has(r.message, c.message)) << r.message;
        EXPECT_FALSE(fs::exists(first)) << c.third;
        EXPECT_EQ(readFile(second.string()), "old second\r\n") << c.third;
        EXPECT_EQ(statOf(second).st_ino, inode) << c.third; // the very file, put back
        EXPECT_EQ(leftovers(dir), 0) << c.third;
    }
    EXPECT_TRUE(fs::is_directory(dir / "folder.hex"));
    EXPECT_EQ(readFile((dir / "readonly.hex").string()), "frozen\r\n");

    // all three can be written: all three are
    FileSet set;
    for (const char* name : {"d1.hex", "d2.hex", "d3.hex"})
        set.add((dir / name).string(), kNew);
    const WriteResult r = set.commit();
    ASSERT_TRUE(r.written) << r.message;
    for (const char* name : {"d1.hex", "d2.hex", "d3.hex"})
        EXPECT_EQ(readFile((dir / name).string()), kNewText) << name;
    EXPECT_EQ(leftovers(dir), 0);
    fs::permissions(dir / "readonly.hex", fs::perms(0644));
    fs::remove_all(dir);
}

// An output that is a file the caller reads, or another output of the same call, is refused
// before anything is written: by its name, "./x", a symbolic or a hard link, and for names not
// there yet one name in one folder, also through a linked folder.
TEST(FileSet, AnOutputThatIsAnInputOrAnotherOutputIsRefused)
{
    const auto dir = tempDir("fileset-clash");
    const std::string x = (dir / "x.hex").string(), other = (dir / "other.hex").string();
    writeFile(x, "x\r\n");
    writeFile(other, "x\r\n");
    fs::create_symlink("x.hex", dir / "symlink.hex");
    fs::create_hard_link(x, dir / "hardlink.hex");
    fs::create_directory(dir / "sub");
    fs::create_directory_symlink("sub", dir / "linked-sub");
    const std::string overwrites = "\" und würde sie überschreiben. Es wurde nichts geschrieben.";
    const std::string same = "\" sind dieselbe Datei; die eine würde die andere überschreiben. Es wurde nichts "
                             "geschrieben.";
    const std::string fresh = (dir / "sub" / "new.html").string(), viaLink = (dir / "linked-sub" / "new.html").string();
    struct Case {
        std::vector<std::string> outputs, inputs;
        std::string message; // empty: no clash
    } cases[] = {
        {{x}, {x}, "Die Ausgabe \"" + x + "\" ist dieselbe Datei wie die Eingabe \"" + x + overwrites},
        {{(dir / "." / "x.hex").string()}, {x}, "ist dieselbe Datei wie die Eingabe \"" + x + overwrites},
        {{(dir / "symlink.hex").string()}, {x}, "ist dieselbe Datei wie die Eingabe \"" + x + overwrites},
        {{(dir / "hardlink.hex").string()}, {other, x}, "ist dieselbe Datei wie die Eingabe \"" + x + overwrites},
        {{other}, {x}, ""}, // the same content is not the same file
        {{x, (dir / "hardlink.hex").string()},
         {},
         "Die Dateien \"" + x + "\" und \"" + (dir / "hardlink.hex").string() + same},
        {{fresh, viaLink}, {}, "Die Dateien \"" + fresh + "\" und \"" + viaLink + same},
        {{fresh, (dir / "sub" / "new.pdf").string()}, {x}, ""},
        {{"/dev/null"}, {"/dev/null"}, ""}, // a device read and written loses nothing
        {{x}, {(dir / "none.hex").string()}, ""},
    };
    for (const auto& c : cases) {
        const std::string clash = OutputClash(c.outputs, c.inputs);
        if (c.message.empty())
            EXPECT_EQ(clash, "") << c.outputs[0];
        else
            EXPECT_TRUE(has(clash, c.message)) << clash;
    }

    // A set keeps intact what its caller reads: nothing of it is written.
    FileSet set;
    set.add(fresh, kNew);
    set.add((dir / "symlink.hex").string(), kNew);
    set.keepIntact(x);
    const WriteResult r = set.commit();
    EXPECT_FALSE(r.written);
    EXPECT_TRUE(has(r.message, "ist dieselbe Datei wie die Eingabe \"" + x + overwrites)) << r.message;
    EXPECT_EQ(readFile(x), "x\r\n");
    EXPECT_FALSE(fs::exists(fresh));
    EXPECT_EQ(leftovers(dir), 0);
    fs::remove_all(dir);
}

TEST(FileSet, SameFileFollowsLinksAndComparesTheFileItself)
{
    const auto dir = tempDir("fileset-same");
    const auto file = dir / "x.hex";
    writeFile(file.string(), "x\r\n");
    writeFile((dir / "other.hex").string(), "x\r\n");
    fs::create_symlink("x.hex", dir / "symlink.hex");
    fs::create_hard_link(file, dir / "hardlink.hex");
    struct Case {
        std::string other;
        bool same;
    } cases[] = {
        {file.string(), true},
        {(dir / "." / "x.hex").string(), true},
        {(dir / "sub" / ".." / "x.hex").string(), false}, // no folder "sub": not a path to it
        {(dir / "symlink.hex").string(), true},
        {(dir / "hardlink.hex").string(), true},
        {(dir / "other.hex").string(), false}, // the same content is not the same file
        {(dir / "none.hex").string(), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SameFile(file.string(), c.other), c.same) << c.other;
    fs::remove_all(dir);
}
