// A POSIX system (Linux): the process's own program path, umask, threads, signals and disk.

#include "core/platform/Platform.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <thread>

namespace hz::platform {

std::string ProgramPath()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

int ProcessId() { return static_cast<int>(::getpid()); }

unsigned FileCreationMask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<unsigned>(mask);
}

unsigned WorkerThreads()
{
    const unsigned n = std::thread::hardware_concurrency();
    return n > 0 ? n : 1;
}

void RunOnThreads(unsigned threads, const std::function<void()>& work)
{
    if (threads <= 1) {
        work();
        return;
    }
    std::vector<std::thread> pool;
    pool.reserve(threads);
    for (unsigned t = 0; t < threads; ++t)
        pool.emplace_back(work);
    for (std::thread& t : pool)
        t.join();
}

bool LoadsModules() { return true; }

bool ReachesDescriptor(int) { return true; }

Access DescriptorAccess(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0)
        return Access::Closed;
    switch (flags & O_ACCMODE) {
    case O_RDONLY: return Access::Read;
    case O_WRONLY: return Access::Write;
    default: return Access::ReadWrite;
    }
}

int SyncDescriptor(int fd) { return ::fsync(fd) == 0 ? 0 : errno; }

int Link(const std::string& existing, const std::string& name)
{
    return ::link(existing.c_str(), name.c_str()) == 0 ? 0 : errno;
}

// SIGPIPE is held back (blocked) while the guard lives; one raised meanwhile is taken off the
// pending signals again before the old mask returns, unless it was pending before.
struct BrokenPipeGuard::State {
    sigset_t pipe{}, before{};
    bool wasPending = false;
};

BrokenPipeGuard::BrokenPipeGuard() : m_state(std::make_unique<State>())
{
    sigemptyset(&m_state->pipe);
    sigaddset(&m_state->pipe, SIGPIPE);
    sigset_t pending;
    sigemptyset(&pending);
    sigpending(&pending);
    m_state->wasPending = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &m_state->pipe, &m_state->before);
}

BrokenPipeGuard::~BrokenPipeGuard()
{
    sigset_t pending;
    sigemptyset(&pending);
    sigpending(&pending);
    if (!m_state->wasPending && sigismember(&pending, SIGPIPE) == 1) {
        const timespec now{};
        sigtimedwait(&m_state->pipe, nullptr, &now);
    }
    pthread_sigmask(SIG_SETMASK, &m_state->before, nullptr);
}

} // namespace hz::platform
