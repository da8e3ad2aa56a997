// Reads, in-place writes and appends of the text and image-path files.
#include "store/bytestream.h"

#include <algorithm>
#include <limits>

namespace gratinel {

Status ByteStream::read(qint32 pos, qint32 len, QByteArray &bytes)
{
    if (pos < 1 || len < 0)
        return Status::corrupt(QStringLiteral("%1 : position %2, longueur %3 invalides").arg(file_.path()).arg(pos).arg(len));
    qint64 size = 0;
    Status s = file_.length(size);
    if (!s.isOk())
        return s;
    if (qint64(pos) - 1 + len > size)
        return Status::corrupt(QStringLiteral("%1 : %2 octets en %3 après la fin du fichier").arg(file_.path()).arg(len).arg(pos));
    bytes.resize(len);
    return file_.read(qint64(pos) - 1, len, bytes.data());
}

Status ByteStream::readAvailable(qint32 pos, qint32 len, QByteArray &bytes, bool *outside)
{
    bytes.clear();
    qint64 size = 0;
    Status s = file_.length(size);
    if (!s.isOk())
        return s;
    if (outside)
        *outside = !rangeInside(pos, len, size);
    if (pos < 1 || len < 1 || pos > size)
        return Status::ok();
    const qint64 available = std::min<qint64>(len, size - (qint64(pos) - 1));
    bytes.resize(available);
    return file_.read(qint64(pos) - 1, available, bytes.data());
}

bool ByteStream::rangeInside(qint32 pos, qint32 len, qint64 size)
{
    if (pos == 0)
        return len == 0;
    return pos >= 1 && len >= 0 && qint64(pos) - 1 + len <= size;
}

Status ByteStream::write(qint32 pos, const QByteArray &bytes)
{
    if (pos < 1)
        return Status::corrupt(QStringLiteral("%1 : position %2 invalide").arg(file_.path()).arg(pos));
    if (qint64(pos) - 1 + bytes.size() > std::numeric_limits<qint32>::max())
        return Status::full(QStringLiteral("%1 : fichier plein").arg(file_.path()));
    return file_.write(qint64(pos) - 1, bytes.constData(), bytes.size());
}

Status ByteStream::canAppend(qint64 len) const
{
    qint64 size = 0;
    Status s = file_.length(size);
    if (!s.isOk())
        return s;
    if (size + len > std::numeric_limits<qint32>::max())
        return Status::full(QStringLiteral("%1 : fichier plein").arg(file_.path()));
    return Status::ok();
}

Status ByteStream::append(const QByteArray &bytes, qint32 &pos)
{
    Status s = canAppend(bytes.size());
    if (!s.isOk())
        return s;
    qint64 size = 0;
    s = file_.length(size);
    if (!s.isOk())
        return s;
    // Even empty bytes are given position size + 1, which has to be a 32-bit position too.
    if (size >= std::numeric_limits<qint32>::max())
        return Status::full(QStringLiteral("%1 : fichier plein").arg(file_.path()));
    s = file_.append(size, bytes.constData(), bytes.size());
    if (s.isOk())
        pos = qint32(size + 1);
    return s;
}

} // namespace gratinel
