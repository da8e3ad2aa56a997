// The hidden folder a copy of a book is made in before it comes into view, and the syncs that
// make a copy, a new name or a removal reach the disk.
#pragma once

#include "store/status.h"

#include <QString>
#include <QStringList>

#include <atomic>

namespace gratinel {

// The four data files of a book, in the order they are copied.
const QStringList &bookFileNames();

// Flushes an open file's bytes to the disk; false when the system refused.
bool syncFileToDisk(int handle);
// The message of a copy stopped on request.
inline const QString kCopyStopped = QStringLiteral("copie arrêtée");

// Copies the first length bytes of from into the file to (replaced when there) and syncs
// them; with wholeFile, from must still be that long at the end. Stops between two blocks,
// with kCopyStopped, once stop (when given) is set.
Status copySynced(const QString &from, const QString &to, qint64 length, bool wholeFile,
                  const std::atomic<bool> *stop = nullptr);
// Makes the entries of a folder (new names, removals) reach the disk.
bool syncFolder(const QString &dir);
// Renames from to to, replacing a file at to in one step.
bool replaceFile(const QString &from, const QString &to);

// A hidden folder "prefix" + six random characters made in parent with the permissions the
// user's folders get (the umask's), locked while it lives (where the system has folder locks)
// so that cleanStale() leaves it alone, and removed with its content at the end unless it was
// given a new name with moveTo().
class StagingFolder {
public:
    StagingFolder(const QString &parent, const QString &prefix);
    ~StagingFolder();
    StagingFolder(const StagingFolder &) = delete;
    StagingFolder &operator=(const StagingFolder &) = delete;

    bool isValid() const { return !path_.isEmpty(); }
    // Why the folder could not be made.
    QString error() const { return error_; }
    QString path() const { return path_; }
    QString filePath(const QString &name) const;

    // Renames the folder to dest (which must not exist) and keeps it; false when refused.
    bool moveTo(const QString &dest);

private:
    QString path_;
    QString error_;
    int lock_ = -1;
};

// Removes the folders "prefix" + anything in parent that no live process is filling: none
// holds their lock and nothing in them changed for some minutes (a copy cut short by a crash,
// a killed command or a pulled plug). Anything else in parent stays.
void cleanStale(const QString &parent, const QString &prefix);

} // namespace gratinel
