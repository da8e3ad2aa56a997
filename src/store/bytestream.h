// A file of bytes addressed by 1-based positions, into which texts and image paths are appended.
#pragma once

#include "store/datafile.h"

#include <QByteArray>
#include <QtGlobal>

namespace gratinel {

class ByteStream {
public:
    DataFile &file() { return file_; }
    Status open(const QString &path) { return file_.open(path); }
    Status openReadOnly(const QString &path) { return file_.openReadOnly(path); }
    Status length(qint64 &bytes) const { return file_.length(bytes); }

    // The len bytes that start at 1-based position pos. A position below 1, a negative
    // length or bytes past the end of the file are reported, never read.
    Status read(qint32 pos, qint32 len, QByteArray &bytes);
    // The bytes of the range that the file holds: a range that runs past the end is cut
    // there, one that starts past the end, below position 1 or has a length below 1 gives
    // nothing. outside, when given, tells whether the range was not wholly in the file.
    Status readAvailable(qint32 pos, qint32 len, QByteArray &bytes, bool *outside = nullptr);
    // Whether pos and len name bytes a file of size bytes holds: no bytes at all
    // (pos 0, len 0), or len bytes from 1-based position pos, all before the end.
    static bool rangeInside(qint32 pos, qint32 len, qint64 size);
    // Writes bytes at 1-based position pos.
    Status write(qint32 pos, const QByteArray &bytes);
    // Writes bytes at the end of the file and gives their position. Refused, with
    // nothing written, when the bytes would end past the signed 32-bit range.
    Status append(const QByteArray &bytes, qint32 &pos);
    // Whether bytes of this length can still be appended.
    Status canAppend(qint64 len) const;

private:
    DataFile file_;
};

} // namespace gratinel
