// Windows-1252 conversion tables and the recipe-text line-end conversions.
#include "store/cp1252.h"

#include "store/charactername.h"

#include <cstring>

#include <array>

namespace gratinel::cp1252 {

namespace {

// Unicode values of bytes 0x80 to 0x9F; the undefined bytes map to themselves.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Unicode value of every byte.
constexpr std::array<char16_t, 256> kDecode = [] {
    std::array<char16_t, 256> t{};
    for (int b = 0; b < 256; ++b)
        t[size_t(b)] = (b >= 0x80 && b <= 0x9F) ? kHigh[size_t(b - 0x80)] : char16_t(b);
    return t;
}();

// Byte for one UTF-16 unit, or -1 when the code page has none.
int byteFor(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < int(kHigh.size()); ++i) {
        if (kHigh[i] == u)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

QString decode(const QByteArray &bytes)
{
    return decode(bytes.constData(), bytes.size());
}

QString decode(const char *bytes, qsizetype len)
{
    // Apart from 0x80 to 0x9F the code page is Latin-1, which Qt decodes fastest. The bytes
    // are tested eight at a time: a byte of that range has 100 for its top bits.
    constexpr quint64 kOnes = 0x0101010101010101ULL;
    constexpr quint64 kTop3 = 0xE0 * kOnes;
    constexpr quint64 kHigh = 0x80 * kOnes;
    bool latin1 = true;
    qsizetype i = 0;
    for (; latin1 && i + 8 <= len; i += 8) {
        quint64 word;
        std::memcpy(&word, bytes + i, 8);
        const quint64 x = (word & kTop3) ^ kHigh; // a zero byte where the byte is 0x80 to 0x9F
        latin1 = ((x - kOnes) & ~x & kHigh) == 0;
    }
    for (; latin1 && i < len; ++i)
        latin1 = (static_cast<unsigned char>(bytes[i]) & 0xE0) != 0x80;
    if (latin1)
        return QString::fromLatin1(bytes, len);
    QString out(len, Qt::Uninitialized);
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    for (qsizetype i = 0; i < len; ++i)
        dst[i] = kDecode[static_cast<unsigned char>(bytes[i])];
    return out;
}

QByteArray encode(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i; // one character outside the code page, one '?'
            out.append('?');
            continue;
        }
        const int b = byteFor(u);
        out.append(b < 0 ? '?' : char(b));
    }
    return out;
}

bool canEncode(const QString &text)
{
    for (QChar c : text) {
        if (byteFor(c.unicode()) < 0)
            return false;
    }
    return true;
}

qsizetype firstUnstorable(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (byteFor(text[i].unicode()) < 0)
            return i;
    }
    return -1;
}

QStringList unstorable(const QString &text, int max)
{
    QStringList found;
    for (qsizetype i = 0; i < text.size() && found.size() < max; ++i) {
        if (byteFor(text[i].unicode()) >= 0)
            continue;
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const QString c = characterName(pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode());
        if (!found.contains(c))
            found << c;
        if (pair)
            ++i;
    }
    return found;
}

QString storable(const QString &text)
{
    return decode(encode(text));
}

QByteArray encodeText(const QString &text)
{
    QString crlfText;
    crlfText.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            crlfText += u"\r\n";
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else if (c == u'\n') {
            crlfText += u"\r\n";
        } else {
            crlfText += c;
        }
    }
    return encode(crlfText);
}

namespace {

constexpr std::array<unsigned char, 256> makeUpperTable()
{
    std::array<unsigned char, 256> t{};
    for (int b = 0; b < 256; ++b)
        t[b] = static_cast<unsigned char>(b);
    for (int b = 'a'; b <= 'z'; ++b)
        t[b] = static_cast<unsigned char>(b - 0x20);
    // à..þ sit 0x20 above À..Þ; ÷ (F7) has no capital, and neither has ß (DF) below it.
    for (int b = 0xE0; b <= 0xFE; ++b) {
        if (b != 0xF7)
            t[b] = static_cast<unsigned char>(b - 0x20);
    }
    t[0x9A] = 0x8A; // š -> Š
    t[0x9C] = 0x8C; // œ -> Œ
    t[0x9E] = 0x8E; // ž -> Ž
    t[0xFF] = 0x9F; // ÿ -> Ÿ
    return t;
}

constexpr std::array<unsigned char, 256> kUpper = makeUpperTable();

} // namespace

const unsigned char *upperTable()
{
    return kUpper.data();
}

QByteArray toUpper(const QByteArray &bytes)
{
    QByteArray out(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = toUpper(bytes[i]);
    return out;
}

QString decodeText(const QByteArray &bytes)
{
    QString text = decode(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

} // namespace gratinel::cp1252
