// Byte-exact encoding and decoding of the family and recipe records.
#include "store/records.h"

#include "store/cp1252.h"

#include <QtEndian>

#include <cstring>

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
    // gives the same text and decodes only what is kept.
    int begin = 0;
    int end = size;
    while (begin < end && field[begin] == ' ')
        ++begin;
    while (end > begin && field[end - 1] == ' ')
        --end;
    return cp1252::decode(field + begin, end - begin);
}

qint16 FamilyRecord::stateIn(const char *bytes) { return get16(bytes); }
qint16 RecipeRecord::stateIn(const char *bytes) { return get16(bytes); }
qint32 RecipeRecord::familyRecordIn(const char *bytes) { return get32(bytes + 2); }

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
