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
    Status length(qint64 &bytes) const { return file_.length(bytes); }

    // The len bytes that start at 1-based position pos. A position below 1, a negative
    // length or bytes past the end of the file are reported, never read.
    Status read(qint32 pos, qint32 len, QByteArray &bytes);
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
