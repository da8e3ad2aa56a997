// A copy of a book's four data files into another folder, each file synced to the disk.
#pragma once

#include "store/status.h"

#include <QDateTime>
#include <QString>

namespace gratinel::bookbackup {

// The folder a backup taken at now goes to by default: dir/sauvegardes/AAAA-MM-JJ_HHMMSS,
// with "-2", "-3"... added when that folder already exists.
QString defaultDestination(const QString &dir, const QDateTime &now);

// Copies GRTN1.DAT to GRTN4.DAT of dir into dest, which is made when missing and must not
// hold any of them yet; every copy and the folder are synced before the answer. The copies
// are made in a hidden folder beside dest (in dest when it exists) and moved into place only
// when all four are synced, so a failed or interrupted backup leaves no whole-looking book.
// The caller holds the folder lock of dir, so that no one writes the book during the copy.
Status copyBook(const QString &dir, const QString &dest);

} // namespace gratinel::bookbackup
