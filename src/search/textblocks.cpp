// Block reads of the text file.
#include "search/textblocks.h"

#include <algorithm>

namespace gratinel {

TextBlocks::TextBlocks(DataFile &file, qint64 blockBytes) : file_(file), blockBytes_(std::max<qint64>(blockBytes, 1))
{
}

void TextBlocks::setMinimumBlockBytes(qint64 bytes)
{
    blockBytes_ = std::max(blockBytes_, bytes);
}

void TextBlocks::setFileSize(qint64 size)
{
    if (size != fileSize_)
        filled_ = 0;
    fileSize_ = size;
}

Status TextBlocks::view(qint64 offset, qint64 len, const char *&data)
{
    if (offset < 0 || len < 0 || len > blockBytes_ || offset + len > fileSize_)
        return Status::corrupt(QStringLiteral("%1 : %2 octets en %3 hors du fichier").arg(file_.path()).arg(len).arg(offset));
    if (offset < start_ || offset + len > start_ + filled_) {
        if (block_.size() < blockBytes_)
            block_.resize(blockBytes_);
        const qint64 n = std::min(blockBytes_, fileSize_ - offset);
        filled_ = 0;
        Status s = file_.read(offset, n, block_.data());
        ++reads_;
        if (!s.isOk())
            return s;
        start_ = offset;
        filled_ = n;
    }
    data = block_.constData() + (offset - start_);
    return Status::ok();
}

} // namespace gratinel
