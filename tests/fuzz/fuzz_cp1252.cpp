// Fuzz target: Windows-1252 texts decode and encode back to the same bytes, and the recipe
// text form (CRLF on disk, '\n' in the boxes) settles after one pass.
#include "store/cp1252.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

using namespace gratinel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    const QString text = cp1252::decode(bytes);
    if (text.size() != bytes.size() || cp1252::encode(text) != bytes || !cp1252::canEncode(text))
        std::abort();

    const QByteArray once = cp1252::encodeText(cp1252::decodeText(bytes));
    if (cp1252::encodeText(cp1252::decodeText(once)) != once)
        std::abort();

    // The same bytes read as UTF-16, as a user might paste anything into a box.
    const QString pasted = QString::fromUtf16(reinterpret_cast<const char16_t *>(data), qsizetype(size / 2));
    const QString storable = cp1252::storable(pasted);
    if (!cp1252::canEncode(storable) || cp1252::encode(storable) != cp1252::encode(pasted))
        std::abort();
    return 0;
}
