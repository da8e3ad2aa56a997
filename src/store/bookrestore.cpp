// A backup copied beside the book, then moved over it through a folder whose presence says
// that the move is to be finished.
#include "store/bookrestore.h"

#include <QDir>
#include <QFileInfo>

namespace gratinel::bookrestore {

namespace {

const QString kStaging = QStringLiteral(".restauration-copie-");

} // namespace

QString pendingFolder(const QString &dir)
{
    return QDir(dir).absoluteFilePath(QStringLiteral(".restauration-en-cours"));
}

Status finishPending(const QString &dir, bool *finished)
{
    if (finished)
        *finished = false;
    const QString pending = pendingFolder(dir);
    if (!QFileInfo(pending).isDir())
        return Status::ok();
    const QDir from(pending);
    const QDir to(dir);
    for (const QString &name : bookFileNames()) {
        if (QFileInfo(from.filePath(name)).isFile() && !replaceFile(from.filePath(name), to.filePath(name)))
            return Status::ioError(QStringLiteral("impossible de remettre %1 en place dans %2").arg(name, to.absolutePath()));
    }
    if (!syncFolder(to.absolutePath()))
        return Status::ioError(QStringLiteral("%1 : synchronisation du dossier").arg(to.absolutePath()));
    if (!QDir(pending).removeRecursively())
        return Status::ioError(QStringLiteral("impossible de supprimer le dossier %1").arg(pending));
    syncFolder(to.absolutePath());
    if (finished)
        *finished = true;
    return Status::ok();
}

Status stage(const QString &backup, const QString &dir, std::unique_ptr<StagingFolder> &staged)
{
    const QDir from(backup);
    for (const QString &name : bookFileNames()) {
        if (!QFileInfo(from.filePath(name)).isFile())
            return Status::notFound(from.filePath(name));
    }
    cleanStale(dir, kStaging);
    auto folder = std::make_unique<StagingFolder>(dir, kStaging);
    if (!folder->isValid())
        return Status::ioError(folder->error());
    for (const QString &name : bookFileNames()) {
        const QString source = from.filePath(name);
        const Status s = copySynced(source, folder->filePath(name), QFileInfo(source).size(), true);
        if (!s.isOk())
            return s;
    }
    if (!syncFolder(folder->path()))
        return Status::ioError(QStringLiteral("%1 : synchronisation du dossier").arg(folder->path()));
    staged = std::move(folder);
    return Status::ok();
}

Status putInPlace(const QString &dir, std::unique_ptr<StagingFolder> staged)
{
    // A restore left unfinished would otherwise be mixed with this one.
    if (Status s = finishPending(dir); !s.isOk())
        return s;
    if (!staged || !staged->moveTo(pendingFolder(dir)))
        return Status::ioError(QStringLiteral("impossible de préparer la remise en place dans %1").arg(dir));
    if (!syncFolder(QDir(dir).absolutePath()))
        return Status::ioError(QStringLiteral("%1 : synchronisation du dossier").arg(dir));
    return finishPending(dir);
}

} // namespace gratinel::bookrestore
