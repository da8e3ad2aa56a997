// Limits on Linux (prlimit, /proc) and on Windows (a Job Object); elsewhere the deadline alone.
#include "importer/readerlimits.h"

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(Q_OS_LINUX)
#include <QFile>
#include <sys/resource.h>
#include <unistd.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define GRATINEL_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GRATINEL_ADDRESS_SANITIZER 1
#endif
#endif

namespace gratinel::importer {

#if defined(Q_OS_WIN)

// The Job Object branch: committed memory and processor time of the one process in it; the
// job ends the process when the program lets go of it.
ReaderLimits::~ReaderLimits()
{
    if (job_)
        CloseHandle(static_cast<HANDLE>(job_));
}

bool ReaderLimits::limitMemory(qint64 pid, qint64 bytes)
{
    HANDLE process = OpenProcess(PROCESS_SET_QUOTA | PROCESS_TERMINATE, FALSE, DWORD(pid));
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION info{};
    info.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_PROCESS_MEMORY | JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    info.ProcessMemoryLimit = SIZE_T(bytes);
    const bool ok = process && job && SetInformationJobObject(job, JobObjectExtendedLimitInformation, &info, sizeof info)
                    && AssignProcessToJobObject(job, process);
    if (process)
        CloseHandle(process);
    if (!ok && job)
        CloseHandle(job);
    job_ = ok ? job : nullptr;
    return ok;
}

void ReaderLimits::limitProcessorTime(qint64 pid, qint64 ms)
{
    const qint64 used = processorMs(pid);
    if (!job_ || used < 0)
        return;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION info{};
    QueryInformationJobObject(static_cast<HANDLE>(job_), JobObjectExtendedLimitInformation, &info, sizeof info, nullptr);
    info.BasicLimitInformation.LimitFlags |= JOB_OBJECT_LIMIT_PROCESS_TIME;
    info.BasicLimitInformation.PerProcessUserTimeLimit.QuadPart = LONGLONG(used + ms + 1000) * 10000; // 100 ns units
    SetInformationJobObject(static_cast<HANDLE>(job_), JobObjectExtendedLimitInformation, &info, sizeof info);
}

qint64 ReaderLimits::processorMs(qint64 pid)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    if (!process)
        return -1;
    FILETIME created, ended, kernel, user;
    const bool ok = GetProcessTimes(process, &created, &ended, &kernel, &user);
    CloseHandle(process);
    if (!ok)
        return -1;
    const auto ms = [](const FILETIME &t) { return ((qint64(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000; };
    return ms(kernel) + ms(user);
}

#elif defined(Q_OS_LINUX)

ReaderLimits::~ReaderLimits() = default;

namespace {

// The fields of /proc/PID/stat after the command name, which may itself hold spaces.
QList<QByteArray> statFields(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = f.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close < 0 ? QList<QByteArray>() : line.mid(close + 2).split(' ');
}

} // namespace

bool ReaderLimits::limitMemory(qint64 pid, qint64 bytes)
{
    rlim_t cap = rlim_t(bytes);
#ifdef GRATINEL_ADDRESS_SANITIZER
    // The sanitizer reserves terabytes of address space at start: the cap counts from there.
    const QList<QByteArray> fields = statFields(pid);
    if (fields.size() > 20)
        cap += rlim_t(fields.at(20).toULongLong()); // vsize, in bytes
#endif
    const rlimit r{cap, cap};
    return prlimit(pid_t(pid), RLIMIT_AS, &r, nullptr) == 0;
}

void ReaderLimits::limitProcessorTime(qint64 pid, qint64 ms)
{
    const qint64 used = processorMs(pid);
    if (used < 0)
        return;
    // Whole seconds: a second more than asked, then SIGXCPU; a second later SIGKILL.
    const rlim_t soft = rlim_t((used + ms) / 1000 + 2);
    const rlimit r{soft, soft + 1};
    prlimit(pid_t(pid), RLIMIT_CPU, &r, nullptr);
}

qint64 ReaderLimits::processorMs(qint64 pid)
{
    const QList<QByteArray> fields = statFields(pid);
    if (fields.size() < 13)
        return -1;
    static const long ticks = sysconf(_SC_CLK_TCK);
    return (fields.at(11).toLongLong() + fields.at(12).toLongLong()) * 1000 / std::max(1L, ticks);
}

#else

ReaderLimits::~ReaderLimits() = default;
bool ReaderLimits::limitMemory(qint64, qint64) { return true; }
void ReaderLimits::limitProcessorTime(qint64, qint64) {}
qint64 ReaderLimits::processorMs(qint64) { return -1; }

#endif

} // namespace gratinel::importer
