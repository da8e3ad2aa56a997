// Backups of a book, file by file, synced.
#include "store/bookbackup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace gratinel::bookbackup {

namespace {

const char *const kNames[] = {"GRTN1.DAT", "GRTN2.DAT", "GRTN3.DAT", "GRTN4.DAT"};

bool syncFile(QFile &file)
{
#ifdef Q_OS_WIN
    return file.flush() && _commit(file.handle()) == 0;
#else
    return file.flush() && ::fsync(file.handle()) == 0;
#endif
}

// A new directory entry reaches the disk only when its folder is synced too.
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

Status copyFile(const QString &from, const QString &to)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return Status::ioError(QStringLiteral("%1 : %2").arg(from, in.errorString()));
    QFile out(to);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return Status::ioError(QStringLiteral("%1 : %2").arg(to, out.errorString()));
    QByteArray block;
    while (!in.atEnd()) {
        block = in.read(1 << 20);
        if (block.isEmpty() && in.error() != QFileDevice::NoError)
            return Status::ioError(QStringLiteral("%1 : %2").arg(from, in.errorString()));
        if (out.write(block) != block.size())
            return Status::ioError(QStringLiteral("%1 : %2").arg(to, out.errorString()));
    }
    if (in.error() != QFileDevice::NoError)
        return Status::ioError(QStringLiteral("%1 : %2").arg(from, in.errorString()));
    if (!syncFile(out))
        return Status::ioError(QStringLiteral("%1 : synchronisation (%2)").arg(to, out.errorString()));
    if (out.size() != in.size())
        return Status::ioError(QStringLiteral("%1 : copie incomplète").arg(to));
    return Status::ok();
}

} // namespace

QString defaultDestination(const QString &dir, const QDateTime &now)
{
    const QString base = QDir(dir).filePath(QStringLiteral("sauvegardes/") + now.toString(QStringLiteral("yyyy-MM-dd_HHmmss")));
    QString dest = base;
    for (int n = 2; QFileInfo::exists(dest); ++n)
        dest = base + QStringLiteral("-%1").arg(n);
    return dest;
}

Status copyBook(const QString &dir, const QString &dest)
{
    const QDir from(dir);
    const QDir to(dest);
    for (const char *name : kNames) {
        if (!QFileInfo(from.filePath(QLatin1String(name))).isFile())
            return Status::notFound(from.filePath(QLatin1String(name)));
        if (QFileInfo::exists(to.filePath(QLatin1String(name))))
            return Status::ioError(QStringLiteral("%1 existe déjà : la sauvegarde n'écrit jamais sur un livre")
                                       .arg(to.filePath(QLatin1String(name))));
    }
    // The copies are made in a hidden folder and come into view only once all four are on
    // the disk: a backup that fails or is cut short never looks like a whole book.
    const bool destExists = QFileInfo(dest).isDir();
    const QString parent = destExists ? to.absolutePath() : QFileInfo(to.absolutePath()).absolutePath();
    if (!QDir().mkpath(parent))
        return Status::ioError(QStringLiteral("impossible de créer le dossier %1").arg(parent));
    QTemporaryDir work(QDir(parent).filePath(QStringLiteral(".sauvegarde-en-cours-XXXXXX")));
    if (!work.isValid())
        return Status::ioError(QStringLiteral("impossible de créer un dossier dans %1 (%2)").arg(parent, work.errorString()));
    const QDir staging(work.path());
    for (const char *name : kNames) {
        const Status s = copyFile(from.filePath(QLatin1String(name)), staging.filePath(QLatin1String(name)));
        if (!s.isOk())
            return s;
    }
    if (!syncFolder(staging.absolutePath()))
        return Status::ioError(QStringLiteral("%1 : synchronisation du dossier").arg(dest));
    if (destExists) {
        for (const char *name : kNames) {
            if (!QFile::rename(staging.filePath(QLatin1String(name)), to.filePath(QLatin1String(name))))
                return Status::ioError(QStringLiteral("impossible de placer %1 dans %2").arg(QLatin1String(name), dest));
        }
    } else if (!QDir().rename(staging.absolutePath(), to.absolutePath())) {
        return Status::ioError(QStringLiteral("impossible de créer le dossier %1").arg(dest));
    } else {
        work.setAutoRemove(false);
    }
    if (!syncFolder(to.absolutePath()) || !syncFolder(parent))
        return Status::ioError(QStringLiteral("%1 : synchronisation du dossier").arg(dest));
    return Status::ok();
}

} // namespace gratinel::bookbackup
