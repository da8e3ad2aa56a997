// Bringing a backup back in place of a book, so that a crash never leaves half of each.
#pragma once

#include "store/backupfolder.h"
#include "store/status.h"

#include <QString>

#include <memory>

namespace gratinel::bookrestore {

// The folder of dir from which a restore moves the backup's files over the book's. It gets
// its name only once the four files are all in it and synced, so that while it is there the
// restore is to be finished, file by file, whatever happened meanwhile.
QString pendingFolder(const QString &dir);

// Finishes a restore that was cut short: the files still in pendingFolder(dir) replace the
// book's, then the folder goes. Ok, with nothing done, when there is none. The caller holds
// the folder lock of dir; finished tells whether there was one.
Status finishPending(const QString &dir, bool *finished = nullptr);

// Copies the four files of the backup in the folder backup into a hidden folder of dir and
// syncs them: the book is not touched. The folder goes when staged dies, unless putInPlace
// took it.
Status stage(const QString &backup, const QString &dir, std::unique_ptr<StagingFolder> &staged);

// Puts the files staged for dir in place of the book's: the folder is renamed to
// pendingFolder(dir), then finishPending does the rest. The caller holds the folder lock.
Status putInPlace(const QString &dir, std::unique_ptr<StagingFolder> staged);

} // namespace gratinel::bookrestore
