// One data file of the book, open for reading and writing at byte offsets; every write reaches the disk.
#pragma once

#include "store/bookchanges.h"
#include "store/status.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>
#include <utility>

namespace gratinel {

// Makes a file fail on demand, for tests of the error paths: the read (or write) that
// comes when the countdown is at 0 fails, and every later one too. -1 never fails.
// With shortWrites, the failing write first puts the first half of its bytes on disk, as a
// full disk does. The files that share a plan also note in trace, in order, each write that
// reached the system ('w'), each sync to the disk ('s') and each failed append cut back ('t'),
// so that tests see what a crash would keep.
struct FaultPlan {
    int readsBeforeFailure = -1;
    int writesBeforeFailure = -1;
    bool shortWrites = false;
    QByteArray trace;

    bool failRead() { return countDown(readsBeforeFailure); }
    bool failWrite() { return countDown(writesBeforeFailure); }

private:
    static bool countDown(int &n)
    {
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        --n;
        return false;
    }
};

class DataFile {
public:
    DataFile() = default;
    DataFile(const DataFile &) = delete;
    DataFile &operator=(const DataFile &) = delete;

    // Opens an existing file for reading and writing; never creates one.
    Status open(const QString &path);
    // Opens an existing file for reading only: every write is refused.
    Status openReadOnly(const QString &path);
    void close();
    bool isOpen() const { return file_.isOpen(); }
    QString path() const { return file_.fileName(); }

    Status length(qint64 &bytes) const;
    // Reads exactly len bytes at offset (0-based); fewer bytes on disk is an error.
    Status read(qint64 offset, qint64 len, char *into);
    // Writes the bytes at offset (0-based), then flushes and syncs them to the disk; inside
    // a batch the sync waits for endBatch.
    Status write(qint64 offset, const char *bytes, qint64 len);
    // Writes the bytes at offset, at or past the file's end. When the write or its sync fails
    // (a full disk), the file is cut back to the length it had and synced before the failure
    // is returned: no part of a record or a text is left behind the bytes already there.
    Status append(qint64 offset, const char *bytes, qint64 len);
    // Cuts or extends the file to bytes, then syncs it to the disk.
    Status resize(qint64 bytes);

    // Many writes under one sync: between beginBatch and endBatch the writes reach the
    // system at once, in order, and endBatch syncs them all to the disk before it returns.
    // Batches nest; the outermost endBatch syncs. endBatch syncs even after a failed
    // write, so that what was written before the failure is kept.
    void beginBatch() { ++batchDepth_; }
    Status endBatch();

    void setFaultPlan(std::shared_ptr<FaultPlan> plan) { faults_ = std::move(plan); }
    // Marks every write, append and resize on changes (which must outlive the file), so that
    // a copy made on another thread sees them; null marks nothing.
    void watchChanges(BookChanges *changes) { changes_ = changes; }

private:
    Status failure(const QString &what) const;
    // The file is open and the range is not negative.
    Status checkRange(qint64 offset, qint64 len) const;
    Status sync();
    Status openWith(const QString &path, QIODevice::OpenMode mode);

    mutable QFile file_;
    std::shared_ptr<FaultPlan> faults_;
    BookChanges *changes_ = nullptr;
    int batchDepth_ = 0;
    bool unsynced_ = false;
};

// Keeps a batch of writes open on a file for the lifetime of the scope; finish() ends it
// and gives the sync's outcome, otherwise the destructor ends it.
class SyncBatch {
public:
    explicit SyncBatch(DataFile &file) : file_(&file) { file_->beginBatch(); }
    ~SyncBatch() { finish(); }
    SyncBatch(const SyncBatch &) = delete;
    SyncBatch &operator=(const SyncBatch &) = delete;

    Status finish()
    {
        if (!file_)
            return Status::ok();
        DataFile *f = std::exchange(file_, nullptr);
        return f->endBatch();
    }

private:
    DataFile *file_;
};

} // namespace gratinel
