// The folder lock: flock() on Unix, an unshared open on Windows.
#include "platform/instancelock.h"

#include <QDir>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace gratinel {

InstanceLock::~InstanceLock()
{
    release();
}

#ifdef Q_OS_WIN

bool InstanceLock::tryLock(const QString &dir)
{
    release();
    const QString path = QDir::toNativeSeparators(QDir(dir).filePath(lockFileName()));
    HANDLE h = CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()), GENERIC_READ, 0, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return GetLastError() != ERROR_SHARING_VIOLATION;
    handle_ = h;
    return true;
}

bool InstanceLock::isHeld() const
{
    return handle_ != nullptr;
}

void InstanceLock::release()
{
    if (handle_) {
        CloseHandle(static_cast<HANDLE>(handle_));
        handle_ = nullptr;
    }
}

#else

bool InstanceLock::tryLock(const QString &dir)
{
    release();
    const QByteArray path = QFile::encodeName(QDir(dir).filePath(lockFileName()));
    int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd >= 0) {
        // Let the other users of the folder open it too, whatever our umask.
        ::fchmod(fd, 0666);
    } else {
        fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    }
    if (fd < 0)
        return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return !busy;
    }
    fd_ = fd;
    return true;
}

bool InstanceLock::isHeld() const
{
    return fd_ >= 0;
}

void InstanceLock::release()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

#endif

} // namespace gratinel
