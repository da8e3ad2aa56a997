// Byte-exact encoding and decoding of the family and recipe records.
#include "store/records.h"

#include "store/cp1252.h"

#include <QtEndian>

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace gratinel {

namespace {

qint16 get16(const char *p) { return qFromLittleEndian<qint16>(p); }
qint32 get32(const char *p) { return qFromLittleEndian<qint32>(p); }
void put16(char *p, qint16 v) { qToLittleEndian<qint16>(v, p); }
void put32(char *p, qint32 v) { qToLittleEndian<qint32>(v, p); }

QByteArray exactly(const QByteArray &field)
{
    QByteArray out = field.left(kFixedTextSize);
    if (out.size() < kFixedTextSize)
        out.append(kFixedTextSize - out.size(), ' ');
    return out;
}

} // namespace

QByteArray fixedText(const QString &text, int size)
{
    QByteArray bytes = cp1252::encode(text).left(size);
    bytes.append(size - bytes.size(), ' ');
    return bytes;
}

QString trimSpaces(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin);
}

QString fieldText(const QByteArray &field)
{
    return fieldText(field.constData(), int(field.size()));
}

QString fieldText(const char *field, int size)
{
    // A space byte is the only byte that decodes to a space: trimming the bytes first
    // gives the same text and decodes only what is kept. Fields are mostly padding, so the
    // trailing spaces are passed over sixteen at a time where the processor can.
    int begin = 0;
    int end = size;
    while (begin < end && field[begin] == ' ')
        ++begin;
#if defined(__SSE2__)
    const __m128i spaces = _mm_set1_epi8(' ');
    while (end - begin >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(field + end - 16));
        const unsigned text = ~unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, spaces))) & 0xFFFFu;
        if (text) {
            // Bit i stands for byte end - 16 + i: the highest set bit is the last non-space.
            end -= 15 - (31 - __builtin_clz(text));
            return cp1252::decode(field + begin, end - begin);
        }
        end -= 16;
    }
#endif
    while (end > begin && field[end - 1] == ' ')
        --end;
    return cp1252::decode(field + begin, end - begin);
}

FamilyRecord FamilyRecord::decode(const char *bytes)
{
    FamilyRecord r;
    r.state = get16(bytes);
    r.name = QByteArray(bytes + 2, kFixedTextSize);
    return r;
}

void FamilyRecord::encodeTo(char *bytes) const
{
    put16(bytes, state);
    std::memcpy(bytes + 2, exactly(name).constData(), kFixedTextSize);
}

RecipeRecord RecipeRecord::decode(const char *bytes)
{
    RecipeRecord r;
    r.state = get16(bytes);
    r.familyRecord = get32(bytes + 2);
    r.title = QByteArray(bytes + 6, kFixedTextSize);
    r.textPos = get32(bytes + 134);
    r.textLen = get32(bytes + 138);
    r.imagePos = get32(bytes + 142);
    r.imageLen = get32(bytes + 146);
    return r;
}

void RecipeRecord::encodeTo(char *bytes) const
{
    put16(bytes, state);
    put32(bytes + 2, familyRecord);
    std::memcpy(bytes + 6, exactly(title).constData(), kFixedTextSize);
    put32(bytes + 134, textPos);
    put32(bytes + 138, textLen);
    put32(bytes + 142, imagePos);
    put32(bytes + 146, imageLen);
}

} // namespace gratinel
