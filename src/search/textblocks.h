// A window of consecutive bytes of the text file, read one large block at a time.
#pragma once

#include "store/datafile.h"

#include <QByteArray>
#include <QtGlobal>

namespace gratinel {

class TextBlocks {
public:
    TextBlocks(DataFile &file, qint64 blockBytes);

    qint64 blockBytes() const { return blockBytes_; }
    // Grows the block to at least bytes.
    void setMinimumBlockBytes(qint64 bytes);
    // The file's length as the caller last measured it; a change forgets the block held.
    void setFileSize(qint64 size);
    qint64 fileSize() const { return fileSize_; }

    // Points data at the bytes [offset, offset + len) of the file. len must not pass
    // blockBytes() and the range must lie inside the file. Bytes already in the block
    // cost nothing; otherwise one read fills the block from offset onwards, so that
    // texts stored one after the other are served by one read per block.
    Status view(qint64 offset, qint64 len, const char *&data);

    // Number of reads made so far.
    int reads() const { return reads_; }

private:
    DataFile &file_;
    qint64 blockBytes_;
    QByteArray block_;
    qint64 start_ = 0;
    qint64 filled_ = 0;
    qint64 fileSize_ = 0;
    int reads_ = 0;
};

} // namespace gratinel
