// Backups of a book, file by file, synced.
#include "store/bookbackup.h"

#include "store/backupfolder.h"
#include "store/bookchanges.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <chrono>
#include <optional>
#include <thread>

namespace gratinel::bookbackup {

namespace {

const QString kStaging = QStringLiteral(".sauvegarde-en-cours-");

// How long a copy of the open book waits for a moment between two changes.
constexpr qint64 kPatienceMs = 60 * 1000;

// Copies left behind by a backup that was killed, in parent and in the book's own backup folders.
void cleanBackupFolders(const QString &dir, const QString &parent)
{
    QStringList folders{QDir(parent).absolutePath(), QDir(dir).absoluteFilePath(QStringLiteral("sauvegardes")),
                        QDir(dir).absoluteFilePath(QStringLiteral("sauvegardes/auto"))};
    folders.removeDuplicates();
    for (const QString &folder : folders)
        cleanStale(folder, kStaging);
}

Status folderSynced(const QString &folder, const QString &dest)
{
    return syncFolder(folder) ? Status::ok() : Status::ioError(QStringLiteral("%1 : synchronisation du dossier").arg(dest));
}

} // namespace

QString nameFor(const QDateTime &when)
{
    return when.toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
}

QDateTime takenAt(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{4}-\\d\\d-\\d\\d_\\d{6})(-\\d+)?$"));
    const QRegularExpressionMatch m = pattern.match(name);
    return m.hasMatch() ? QDateTime::fromString(m.captured(1), QStringLiteral("yyyy-MM-dd_HHmmss")) : QDateTime();
}

QString freshFolder(const QString &parent, const QDateTime &now)
{
    const QString base = QDir(parent).filePath(nameFor(now));
    QString dest = base;
    for (int n = 2; QFileInfo::exists(dest); ++n)
        dest = base + QStringLiteral("-%1").arg(n);
    return dest;
}

QString defaultDestination(const QString &dir, const QDateTime &now)
{
    return freshFolder(QDir(dir).filePath(QStringLiteral("sauvegardes")), now);
}

Status copyBook(const QString &dir, const QString &dest, bool allowMissing)
{
    const QDir from(dir);
    const QDir to(dest);
    QStringList names;
    for (const QString &name : bookFileNames()) {
        if (!QFileInfo(from.filePath(name)).isFile()) {
            if (allowMissing)
                continue;
            return Status::notFound(from.filePath(name));
        }
        if (QFileInfo::exists(to.filePath(name)))
            return Status::ioError(QStringLiteral("%1 existe déjà : la sauvegarde n'écrit jamais sur un livre")
                                       .arg(to.filePath(name)));
        names << name;
    }
    if (names.isEmpty())
        return Status::notFound(from.filePath(bookFileNames().first()));
    // The copies are made in a hidden folder and come into view only once all of them are on
    // the disk: a backup that fails or is cut short never looks like a whole book.
    const bool destExists = QFileInfo(dest).isDir();
    const QString parent = destExists ? to.absolutePath() : QFileInfo(to.absolutePath()).absolutePath();
    cleanBackupFolders(dir, parent);
    StagingFolder staging(parent, kStaging);
    if (!staging.isValid())
        return Status::ioError(staging.error());
    for (const QString &name : names) {
        const Status s = copySynced(from.filePath(name), staging.filePath(name), QFileInfo(from.filePath(name)).size(),
                                  true, nullptr);
        if (!s.isOk())
            return s;
    }
    if (Status s = folderSynced(staging.path(), dest); !s.isOk())
        return s;
    if (destExists) {
        for (const QString &name : names) {
            if (!QFile::rename(staging.filePath(name), to.filePath(name)))
                return Status::ioError(QStringLiteral("impossible de placer %1 dans %2").arg(name, dest));
        }
    } else if (!staging.moveTo(to.absolutePath())) {
        return Status::ioError(QStringLiteral("impossible de créer le dossier %1").arg(dest));
    }
    if (Status s = folderSynced(to.absolutePath(), dest); !s.isOk())
        return s;
    return folderSynced(parent, dest);
}

Status copyOpenBook(const QString &dir, const QString &dest, const BookChanges &changes, const std::atomic<bool> &stop)
{
    const QDir from(dir);
    for (const QString &name : bookFileNames()) {
        if (!QFileInfo(from.filePath(name)).isFile())
            return Status::notFound(from.filePath(name));
    }
    const QString target = QDir(dest).absolutePath();
    if (QFileInfo::exists(target))
        return Status::ioError(QStringLiteral("%1 existe déjà").arg(target));
    const QString parent = QFileInfo(target).absolutePath();
    cleanBackupFolders(dir, parent);
    StagingFolder staging(parent, kStaging);
    if (!staging.isValid())
        return Status::ioError(staging.error());

    const QStringList &names = bookFileNames();
    qint64 streamLength[2] = {0, 0};
    QByteArray records[2];
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (stop.load())
            return Status::ioError(kCopyStopped);
        if (waited.elapsed() > kPatienceMs)
            return Status::ioError(QStringLiteral("%1 : le livre a changé sans cesse pendant la copie").arg(dir));
        const std::optional<quint64> stamp = changes.stamp();
        if (!stamp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        // Texts and image paths are appended before the record that points to them: the
        // lengths of their files now cover every record read while nothing changes. The
        // record files (a few megabytes at most) are read whole, so that the moment to
        // catch between two changes is as short as can be.
        streamLength[0] = QFileInfo(from.filePath(names[2])).size();
        streamLength[1] = QFileInfo(from.filePath(names[3])).size();
        Status s;
        for (int i = 0; i < 2 && s.isOk(); ++i) {
            QFile file(from.filePath(names[i]));
            if (!file.open(QIODevice::ReadOnly))
                s = Status::ioError(QStringLiteral("%1 : %2").arg(file.fileName(), file.errorString()));
            else if (records[i] = file.readAll(); records[i].size() != file.size())
                s = Status::ioError(QStringLiteral("%1 : lecture incomplète").arg(file.fileName()));
        }
        if (changes.unchangedSince(*stamp)) {
            if (!s.isOk())
                return s;
            break;
        }
    }
    for (int i = 0; i < 2; ++i) {
        QFile out(staging.filePath(names[i]));
        if (!out.open(QIODevice::WriteOnly) || out.write(records[i]) != records[i].size() || !out.flush()
            || !syncFileToDisk(out.handle()))
            return Status::ioError(QStringLiteral("%1 : %2").arg(out.fileName(), out.errorString()));
    }
    // Those bytes stay as they are: later changes append after them.
    for (int i = 0; i < 2; ++i) {
        const Status s = copySynced(from.filePath(names[2 + i]), staging.filePath(names[2 + i]), streamLength[i], false, &stop);
        if (!s.isOk())
            return s;
    }
    if (Status s = folderSynced(staging.path(), dest); !s.isOk())
        return s;
    if (!staging.moveTo(target))
        return Status::ioError(QStringLiteral("impossible de créer le dossier %1").arg(dest));
    return folderSynced(parent, dest);
}

} // namespace gratinel::bookbackup
