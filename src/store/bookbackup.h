// A copy of a book's four data files into another folder, each file synced to the disk.
#pragma once

#include "store/status.h"

#include <QDateTime>
#include <QString>

#include <atomic>

namespace gratinel {

class BookChanges;

namespace bookbackup {

// The name of a backup taken at when: "AAAA-MM-JJ_HHMMSS".
QString nameFor(const QDateTime &when);
// When the backup of that folder name was taken ("AAAA-MM-JJ_HHMMSS", with or without a
// "-2", "-3"... after it); an invalid time for any other name.
QDateTime takenAt(const QString &name);

// The folder a backup taken at now goes to in parent: parent/AAAA-MM-JJ_HHMMSS, with "-2",
// "-3"... added when that folder already exists.
QString freshFolder(const QString &parent, const QDateTime &now);
// The folder a backup taken at now goes to by default: freshFolder(dir/sauvegardes, now).
QString defaultDestination(const QString &dir, const QDateTime &now);

// Copies GRTN1.DAT to GRTN4.DAT of dir into dest, which is made when missing and must not
// hold any of them yet; every copy and the folder are synced before the answer. The copies
// are made in a hidden folder beside dest (in dest when it exists) and moved into place only
// when all four are synced, so a failed or interrupted backup leaves no whole-looking book;
// such folders left by an earlier backup that was killed are removed first. With
// allowMissing, the files of dir that are there are copied (at least one must be).
// The caller holds the folder lock of dir, so that no one writes the book during the copy.
Status copyBook(const QString &dir, const QString &dest, bool allowMissing = false);

// copyBook for the book of dir while the program has it open and may write it (on the
// thread that holds changes, which marks its writes): the record files are copied between
// two changes, again when a change came meanwhile, and the text and image files up to the
// length they had then, which only ever grow. The copy is thus the book as it stood at one
// moment. dest must not exist. Returns a Status with kCopyStopped soon after stop is set
// (backupfolder.h), and leaves nothing behind.
Status copyOpenBook(const QString &dir, const QString &dest, const BookChanges &changes, const std::atomic<bool> &stop);

} // namespace bookbackup
} // namespace gratinel
