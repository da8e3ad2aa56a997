// A forked child, its answer through a pipe, and its end awaited with a deadline.
#include "platform/childcall.h"

#include <QElapsedTimer>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace gratinel {

namespace {

bool writeAll(int fd, const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

// Address space the process uses now, from /proc; 0 when unknown.
qint64 currentAddressSpace()
{
    FILE *f = std::fopen("/proc/self/statm", "r");
    if (!f)
        return 0;
    long pages = 0;
    const int read = std::fscanf(f, "%ld", &pages);
    std::fclose(f);
    return read == 1 ? qint64(pages) * sysconf(_SC_PAGESIZE) : 0;
}

[[noreturn]] void childMain(int fd, const std::function<std::optional<QByteArray>()> &work,
                            const ChildLimits &limits)
{
    // The parent's crash handlers (a test runner's, a debugger's) have nothing to do here:
    // a child that fails simply dies.
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGPIPE, SIGXCPU, SIGTERM})
        std::signal(sig, SIG_DFL);
    if (const qint64 now = currentAddressSpace(); now > 0) {
        const rlim_t cap = rlim_t(now + limits.extraAddressSpace);
        const rlimit r{cap, cap};
        setrlimit(RLIMIT_AS, &r);
    }
    const rlim_t seconds = rlim_t(limits.timeoutMs / 1000 + 1);
    const rlimit cpu{seconds, seconds};
    setrlimit(RLIMIT_CPU, &cpu);

    std::optional<QByteArray> answer;
    try {
        answer = work();
    } catch (...) {
        _exit(2);
    }
    if (!answer)
        _exit(1);
    const qint64 size = answer->size();
    const bool ok = writeAll(fd, reinterpret_cast<const char *>(&size), sizeof size)
        && writeAll(fd, answer->constData(), size);
    _exit(ok ? 0 : 3);
}

} // namespace

std::optional<QByteArray> runInChild(const std::function<std::optional<QByteArray>()> &work,
                                     const ChildLimits &limits)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return std::nullopt;
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return std::nullopt;
    }
    if (pid == 0) {
        ::close(fds[0]);
        childMain(fds[1], work, limits);
    }
    ::close(fds[1]);

    // Read the answer as it comes (a full pipe would block the child), within the deadline.
    QByteArray received;
    bool failed = false;
    QElapsedTimer clock;
    clock.start();
    char buffer[65536];
    for (;;) {
        const qint64 left = limits.timeoutMs - clock.elapsed();
        if (left <= 0) {
            failed = true;
            break;
        }
        pollfd p{fds[0], POLLIN, 0};
        const int ready = ::poll(&p, 1, int(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {
            failed = true;
            break;
        }
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            failed = true;
            break;
        }
        if (n == 0)
            break;
        if (received.size() + n > limits.maxOutputBytes + qint64(sizeof(qint64))) {
            failed = true;
            break;
        }
        received.append(buffer, n);
    }
    ::close(fds[0]);
    if (failed)
        ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (failed || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;

    qint64 size = -1;
    if (received.size() < qint64(sizeof size))
        return std::nullopt;
    std::memcpy(&size, received.constData(), sizeof size);
    if (size != received.size() - qint64(sizeof size))
        return std::nullopt;
    return received.mid(sizeof size);
}

} // namespace gratinel
