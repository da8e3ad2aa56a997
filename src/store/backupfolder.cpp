// Hidden folders for copies in progress, their clean-up after a crash, and syncs.
#include "store/backupfolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace gratinel {

namespace {

// A folder nothing has touched for this long, and whose lock nobody holds, was left behind.
constexpr qint64 kQuietSeconds = 10 * 60;

// Takes the lock of a folder for as long as the answer stays open: -1 when another process
// holds it or the system has no folder locks (then only the age tells).
int lockFolder(const QString &dir)
{
#ifdef Q_OS_WIN
    Q_UNUSED(dir);
    return -1;
#else
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
#endif
}

void unlockFolder(int fd)
{
#ifndef Q_OS_WIN
    if (fd >= 0)
        ::close(fd);
#else
    Q_UNUSED(fd);
#endif
}

bool folderLocksExist()
{
#ifdef Q_OS_WIN
    return false;
#else
    return true;
#endif
}

} // namespace

const QStringList &bookFileNames()
{
    static const QStringList names{QStringLiteral("GRTN1.DAT"), QStringLiteral("GRTN2.DAT"), QStringLiteral("GRTN3.DAT"),
                                   QStringLiteral("GRTN4.DAT")};
    return names;
}

bool syncFileToDisk(int handle)
{
#ifdef Q_OS_WIN
    return _commit(handle) == 0;
#else
    return ::fsync(handle) == 0;
#endif
}

bool syncFolder(const QString &dir)
{
#ifdef Q_OS_WIN
    Q_UNUSED(dir);
    return true;
#else
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
#endif
}

bool replaceFile(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(from).utf16()),
                       reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(to).utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

// Copies the first length bytes of from into the new file to (replaced when there) and syncs
// them; with wholeFile, from must still be that long at the end.
Status copySynced(const QString &from, const QString &to, qint64 length, bool wholeFile, const std::atomic<bool> *stop)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return Status::ioError(QStringLiteral("%1 : %2").arg(from, in.errorString()));
    QFile out(to);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return Status::ioError(QStringLiteral("%1 : %2").arg(to, out.errorString()));
    qint64 done = 0;
    QByteArray block;
    while (done < length) {
        if (stop && stop->load())
            return Status::ioError(kCopyStopped);
        block = in.read(std::min<qint64>(1 << 20, length - done));
        if (block.isEmpty())
            return Status::ioError(in.error() != QFileDevice::NoError ? QStringLiteral("%1 : %2").arg(from, in.errorString())
                                                                       : QStringLiteral("%1 : copie incomplète").arg(from));
        if (out.write(block) != block.size())
            return Status::ioError(QStringLiteral("%1 : %2").arg(to, out.errorString()));
        done += block.size();
    }
    if (!out.flush() || !syncFileToDisk(out.handle()))
        return Status::ioError(QStringLiteral("%1 : synchronisation (%2)").arg(to, out.errorString()));
    if (out.size() != length || (wholeFile && in.size() != length))
        return Status::ioError(QStringLiteral("%1 : copie incomplète").arg(to));
    return Status::ok();
}

StagingFolder::StagingFolder(const QString &parent, const QString &prefix)
{
    if (!QDir().mkpath(parent)) {
        error_ = QStringLiteral("impossible de créer le dossier %1").arg(parent);
        return;
    }
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    const QDir dir(parent);
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString name = prefix;
        for (int i = 0; i < 6; ++i)
            name += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)]);
        // A plain mkdir: the folder gets the umask's permissions, as every folder of the user.
        if (dir.mkdir(name)) {
            path_ = dir.absoluteFilePath(name);
            lock_ = lockFolder(path_);
            return;
        }
        if (!QFileInfo::exists(dir.filePath(name)))
            break;
    }
    error_ = QStringLiteral("impossible de créer un dossier dans %1").arg(parent);
}

StagingFolder::~StagingFolder()
{
    if (!path_.isEmpty())
        QDir(path_).removeRecursively();
    unlockFolder(lock_);
}

QString StagingFolder::filePath(const QString &name) const
{
    return QDir(path_).filePath(name);
}

bool StagingFolder::moveTo(const QString &dest)
{
    if (path_.isEmpty() || QFileInfo::exists(dest) || !QDir().rename(path_, dest))
        return false;
    path_.clear();
    return true;
}

void cleanStale(const QString &parent, const QString &prefix)
{
    const QDir dir(parent);
    const QDateTime now = QDateTime::currentDateTime();
    bool removed = false;
    const QFileInfoList found =
        dir.entryInfoList({prefix + u'*'}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QFileInfo &folder : found) {
        QDateTime newest = folder.lastModified();
        const QFileInfoList inside = QDir(folder.filePath()).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QFileInfo &f : inside)
            newest = std::max(newest, f.lastModified());
        if (newest.secsTo(now) < kQuietSeconds)
            continue;
        const int lock = lockFolder(folder.filePath());
        if (lock < 0 && folderLocksExist())
            continue;
        removed = QDir(folder.filePath()).removeRecursively() || removed;
        unlockFolder(lock);
    }
    if (removed)
        syncFolder(parent);
}

} // namespace gratinel
