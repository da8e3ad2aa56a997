// A file of fixed-length records numbered from 1, read and written whole, scanned in large blocks.
#pragma once

#include "store/datafile.h"

#include <QByteArray>
#include <QScopeGuard>
#include <QtGlobal>

#include <algorithm>
#include <limits>
#include <utility>

namespace gratinel {

template <class Record>
class RecordFile {
public:
    static constexpr int kRecordLength = Record::kSize;
    // Records read by one system call during a scan.
    static constexpr int kScanBlock = 1024;

    DataFile &file() { return file_; }
    Status open(const QString &path) { return file_.open(path); }
    Status openReadOnly(const QString &path) { return file_.openReadOnly(path); }

    // True when the file's length is a whole number of records.
    Status isWhole(bool &whole) const
    {
        qint64 len = 0;
        Status s = file_.length(len);
        whole = s.isOk() && len % kRecordLength == 0;
        return s;
    }

    // Number of the last record: file length / record length, rounded to the nearest.
    Status lastRecord(qint32 &n) const
    {
        qint64 len = 0;
        Status s = file_.length(len);
        if (!s.isOk())
            return s;
        const qint64 last = (len + kRecordLength / 2) / kRecordLength;
        if (last > std::numeric_limits<qint32>::max())
            return Status::full(QStringLiteral("%1 : trop d'enregistrements").arg(file_.path()));
        n = qint32(last);
        return Status::ok();
    }

    Status read(qint32 n, Record &record)
    {
        if (n < 1)
            return Status::corrupt(QStringLiteral("%1 : enregistrement %2 invalide").arg(file_.path()).arg(n));
        char bytes[kRecordLength];
        Status s = file_.read(offsetOf(n), kRecordLength, bytes);
        if (s.isOk())
            record = Record::decode(bytes);
        return s;
    }

    Status write(qint32 n, const Record &record)
    {
        if (n < 1)
            return Status::corrupt(QStringLiteral("%1 : enregistrement %2 invalide").arg(file_.path()).arg(n));
        char bytes[kRecordLength];
        record.encodeTo(bytes);
        return file_.write(offsetOf(n), bytes, kRecordLength);
    }

    // Writes count records as the records first, first + 1, ... in one system call.
    Status writeRun(qint32 first, const Record *records, qsizetype count)
    {
        if (first < 1)
            return Status::corrupt(QStringLiteral("%1 : enregistrement %2 invalide").arg(file_.path()).arg(first));
        QByteArray bytes(count * kRecordLength, Qt::Uninitialized);
        for (qsizetype i = 0; i < count; ++i)
            records[i].encodeTo(bytes.data() + i * kRecordLength);
        return file_.write(offsetOf(first), bytes.constData(), bytes.size());
    }

    // Writes the record after the last one and gives its number.
    Status append(const Record &record, qint32 &n)
    {
        qint32 last = 0;
        Status s = lastRecord(last);
        if (!s.isOk())
            return s;
        // The last record may hold the highest number there is; then there is no next one.
        if (last == std::numeric_limits<qint32>::max())
            return Status::full(QStringLiteral("%1 : trop d'enregistrements").arg(file_.path()));
        char bytes[kRecordLength];
        record.encodeTo(bytes);
        s = file_.append(offsetOf(last + 1), bytes, kRecordLength);
        if (s.isOk())
            n = last + 1;
        return s;
    }

    // Reads records first..last in file order, many per system call, and hands each to
    // visit(number, record); visit returns false to stop the scan there.
    template <class Visit>
    Status scan(qint32 first, qint32 last, Visit visit)
    {
        return scanBytes(first, last,
                         [&](qint32 n, const char *bytes) { return visit(n, Record::decode(bytes)); });
    }

    // The same scan handing over each record's kRecordLength bytes as they lie in the file,
    // valid during the call only: for long scans that look at a field or two of most
    // records (Record's field readers) and decode few.
    template <class Visit>
    Status scanBytes(qint32 first, qint32 last, Visit visit)
    {
        // The block of the last scan serves again: a fresh one of this size would be new
        // pages from the system at each scan. A scan started inside a visit gets its own.
        QByteArray block = std::exchange(spareBlock_, QByteArray());
        const auto keepBlock = qScopeGuard([&] { spareBlock_ = std::move(block); });
        for (qint64 n = first; n <= last;) {
            const qint64 count = std::min<qint64>(kScanBlock, qint64(last) - n + 1);
            block.resize(count * kRecordLength);
            Status s = file_.read(offsetOf(qint32(n)), block.size(), block.data());
            if (!s.isOk())
                return s;
            const char *bytes = block.constData();
            for (qint64 i = 0; i < count; ++i) {
                if (!visit(qint32(n + i), bytes + i * kRecordLength))
                    return Status::ok();
            }
            n += count;
        }
        return Status::ok();
    }

private:
    static qint64 offsetOf(qint32 n) { return (qint64(n) - 1) * kRecordLength; }

    DataFile file_;
    QByteArray spareBlock_;
};

} // namespace gratinel
