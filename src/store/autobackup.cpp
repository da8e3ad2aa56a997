// The daily backup: when it is due, the room it needs, the copy, and the rotation.
#include "store/autobackup.h"

#include "store/backupfolder.h"
#include "store/bookbackup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStorageInfo>

#include <algorithm>
#include <map>
#include <vector>

namespace gratinel::autobackup {

namespace {

constexpr int kDaily = 7;
constexpr int kWeekly = 4;

struct Backup {
    QString name;
    QDateTime at;
};

// The backups among names, newest first (for one second, the last made first).
std::vector<Backup> backupsIn(const QStringList &names)
{
    std::vector<Backup> found;
    for (const QString &name : names) {
        const QDateTime at = bookbackup::takenAt(name);
        if (at.isValid())
            found.push_back({name, at});
    }
    std::sort(found.begin(), found.end(), [](const Backup &a, const Backup &b) {
        if (a.at != b.at)
            return a.at > b.at;
        return a.name.size() != b.name.size() ? a.name.size() > b.name.size() : a.name > b.name;
    });
    return found;
}

// The Julian day of the Monday of the week of day.
qint64 mondayOf(const QDate &day)
{
    return day.toJulianDay() - (day.dayOfWeek() - 1);
}

QStringList backupNames(const QString &dir)
{
    return QDir(folder(dir)).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

// Removes a backup folder that holds nothing but files of a book.
bool removeBackup(const QString &path)
{
    QDir d(path);
    const QStringList inside = d.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : inside) {
        if (!bookFileNames().contains(name) || !QFileInfo(d.filePath(name)).isFile())
            return false;
    }
    for (const QString &name : inside) {
        if (!d.remove(name))
            return false;
    }
    return QDir().rmdir(path);
}

qint64 bookSize(const QString &dir)
{
    qint64 bytes = 0;
    for (const QString &name : bookFileNames())
        bytes += QFileInfo(QDir(dir).filePath(name)).size();
    return bytes;
}

QString megabytes(qint64 bytes)
{
    return QLocale(QLocale::French).toString(std::max<qint64>(bytes, 0) / (1024 * 1024));
}

} // namespace

QString folder(const QString &dir)
{
    return QDir(dir).absoluteFilePath(QStringLiteral("sauvegardes/auto"));
}

bool isDue(const QString &dir, const QDateTime &now)
{
    for (const Backup &b : backupsIn(backupNames(dir))) {
        if (b.at.date() == now.date())
            return false;
    }
    return true;
}

QStringList toRemove(const QStringList &names)
{
    const std::vector<Backup> backups = backupsIn(names);
    if (backups.size() <= size_t(kDaily))
        return {};
    // One a week before the daily ones: the oldest of each week, which stays while the
    // following days leave the daily ones.
    const qint64 lastDailyWeek = mondayOf(backups[kDaily - 1].at.date());
    std::map<qint64, size_t> oldestOfWeek;
    for (size_t i = kDaily; i < backups.size(); ++i) {
        const qint64 week = mondayOf(backups[i].at.date());
        const qint64 weeksBefore = (lastDailyWeek - week) / 7;
        if (weeksBefore >= 1 && weeksBefore <= kWeekly)
            oldestOfWeek[week] = i;
    }
    QStringList removed;
    for (size_t i = kDaily; i < backups.size(); ++i) {
        const auto kept = oldestOfWeek.find(mondayOf(backups[i].at.date()));
        if (kept == oldestOfWeek.end() || kept->second != i)
            removed << backups[i].name;
    }
    return removed;
}

Result run(const QString &dir, const QDateTime &now, const BookChanges &changes, const std::atomic<bool> &stop,
           qint64 leastFreeBytes)
{
    Result result;
    if (!isDue(dir, now))
        return result;

    // The room is measured on the disk the copy goes to, at its nearest folder already there.
    const qint64 size = bookSize(dir);
    QString probe = folder(dir);
    while (!QFileInfo::exists(probe) && QFileInfo(probe).absolutePath() != probe)
        probe = QFileInfo(probe).absolutePath();
    const QStorageInfo disk(probe);
    if (disk.isValid() && disk.isReady()) {
        const qint64 freeAfter = disk.bytesAvailable() - size;
        const qint64 needed = std::max(2 * size, leastFreeBytes);
        if (freeAfter < needed) {
            result.outcome = Result::Outcome::NoRoom;
            result.why = QStringLiteral("Pas de sauvegarde automatique du livre aujourd'hui : il ne resterait que %1 Mo "
                                        "libres sur le disque, il en faut au moins %2 Mo. Libérez de la place.")
                             .arg(megabytes(freeAfter), megabytes(needed));
            return result;
        }
    }

    const QString dest = bookbackup::freshFolder(folder(dir), now);
    const Status s = bookbackup::copyOpenBook(dir, dest, changes, stop);
    if (!s.isOk()) {
        result.outcome = s.message() == kCopyStopped ? Result::Outcome::Stopped : Result::Outcome::Failed;
        result.why = s.code() == Status::Code::NotFound ? QStringLiteral("%1 : fichier absent").arg(s.message()) : s.message();
        return result;
    }
    result.outcome = Result::Outcome::Done;
    result.path = dest;

    bool removed = false;
    for (const QString &name : toRemove(backupNames(dir)))
        removed = removeBackup(QDir(folder(dir)).filePath(name)) || removed;
    if (removed)
        syncFolder(folder(dir));
    return result;
}

} // namespace gratinel::autobackup
