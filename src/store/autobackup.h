// The backup the program makes by itself once a day, and which of those backups it keeps.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <atomic>

namespace gratinel {

class BookChanges;

namespace autobackup {

// The free space a backup must leave on the disk, whatever the book's size.
constexpr qint64 kLeastFreeBytes = qint64(100) * 1024 * 1024;

// Where the automatic backups of the book of dir go: dir/sauvegardes/auto. The backups made
// by hand (dir/sauvegardes/AAAA-MM-JJ_HHMMSS) are never touched here.
QString folder(const QString &dir);

// True when no automatic backup of the book of dir was made on now's day: the last one is
// older than that day, or there is none.
bool isDue(const QString &dir, const QDateTime &now);

// Of the backup folder names given ("AAAA-MM-JJ_HHMMSS"), those to remove: the seven newest
// stay, and of the older ones, the oldest of each of the four weeks (Monday to Sunday) before
// the week of the seventh newest. Names of another form are never listed.
QStringList toRemove(const QStringList &names);

struct Result {
    enum class Outcome {
        NotDue,  // a backup was already made that day
        Done,    // path holds the new backup
        NoRoom,  // skipped: the disk would keep too little free space; why says it
        Failed,  // why says what went wrong; nothing that looks like a backup was left
        Stopped, // stop was set; nothing was left
    };
    Outcome outcome = Outcome::NotDue;
    QString path;
    QString why;
};

// The day's backup of the book of dir, open in the program (whose writes changes marks): when
// it is due and the disk keeps, after the copy, at least twice the book's size and
// leastFreeBytes free, a copy of the book in folder(dir)/AAAA-MM-JJ_HHMMSS (now), then the
// removal of the automatic backups toRemove names (only their four files and the emptied
// folder: a folder holding anything else stays). For a thread of its own: it blocks.
Result run(const QString &dir, const QDateTime &now, const BookChanges &changes, const std::atomic<bool> &stop,
           qint64 leastFreeBytes = kLeastFreeBytes);

} // namespace autobackup
} // namespace gratinel
