// One data file of the book, open for reading and writing at byte offsets; every write reaches the disk.
#pragma once

#include "store/status.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>

namespace gratinel {

// Makes a file fail on demand, for tests of the error paths: the read (or write) that
// comes when the countdown is at 0 fails, and every later one too. -1 never fails.
struct FaultPlan {
    int readsBeforeFailure = -1;
    int writesBeforeFailure = -1;

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
    void close();
    bool isOpen() const { return file_.isOpen(); }
    QString path() const { return file_.fileName(); }

    Status length(qint64 &bytes) const;
    // Reads exactly len bytes at offset (0-based); fewer bytes on disk is an error.
    Status read(qint64 offset, qint64 len, char *into);
    // Writes the bytes at offset (0-based), then flushes and syncs them to the disk.
    Status write(qint64 offset, const char *bytes, qint64 len);

    void setFaultPlan(std::shared_ptr<FaultPlan> plan) { faults_ = std::move(plan); }

private:
    Status failure(const QString &what) const;
    // The file is open and the range is not negative.
    Status checkRange(qint64 offset, qint64 len) const;

    mutable QFile file_;
    std::shared_ptr<FaultPlan> faults_;
};

} // namespace gratinel
