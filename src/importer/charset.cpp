// Charsets of sources: byte order marks, Content-Type values, <meta> in a page's head.
#include "importer/charset.h"

#include "store/cp1252.h"

#include <QStringDecoder>

#include <cctype>

namespace gratinel::importer {

namespace {

// A page's head as far as its <meta> tags are looked for.
constexpr qsizetype kMetaScanBytes = 4096;

bool startsUtf16(const QByteArray &b)
{
    return b.startsWith("\xFF\xFE") || b.startsWith("\xFE\xFF");
}

enum class Utf16 { No, LittleEndian, BigEndian };

// UTF-16 without a byte order mark, told by its bytes: the text of a page or a file is mostly
// ASCII, whose characters in UTF-16 have a zero byte every other byte (the second one in
// little-endian order, the first in big-endian), where no text of an 8-bit charset has any.
Utf16 utf16ByBytes(const QByteArray &b)
{
    const qsizetype n = std::min<qsizetype>(b.size(), 4096) & ~qsizetype(1);
    if (n < 16)
        return Utf16::No;
    qsizetype evenZeros = 0, oddZeros = 0;
    for (qsizetype i = 0; i < n; i += 2) {
        evenZeros += b.at(i) == 0 ? 1 : 0;
        oddZeros += b.at(i + 1) == 0 ? 1 : 0;
    }
    const qsizetype pairs = n / 2;
    if (10 * oddZeros >= 7 * pairs && 20 * evenZeros <= pairs)
        return Utf16::LittleEndian;
    if (10 * evenZeros >= 7 * pairs && 20 * oddZeros <= pairs)
        return Utf16::BigEndian;
    return Utf16::No;
}

QByteArray cleanName(QByteArray name)
{
    name = name.trimmed().toLower();
    if (name.startsWith('"') || name.startsWith('\''))
        name = name.mid(1);
    qsizetype end = 0;
    while (end < name.size() && (std::isalnum(uchar(name.at(end))) || name.at(end) == '-' || name.at(end) == '_'
                                 || name.at(end) == ':' || name.at(end) == '.'))
        ++end;
    return name.left(end);
}

// The value after "charset=" in text (lower case), or empty.
QByteArray charsetParameter(const QByteArray &lower)
{
    const qsizetype at = lower.indexOf("charset");
    if (at < 0)
        return {};
    qsizetype i = at + 7;
    while (i < lower.size() && (lower.at(i) == ' ' || lower.at(i) == '\t'))
        ++i;
    if (i >= lower.size() || lower.at(i) != '=')
        return {};
    return cleanName(lower.mid(i + 1));
}

} // namespace

bool isUtf16(const QByteArray &content)
{
    return startsUtf16(content) || utf16ByBytes(content) != Utf16::No;
}

QByteArray charsetOf(const QByteArray &contentType)
{
    return charsetParameter(contentType.toLower());
}

QByteArray metaCharset(const QByteArray &html)
{
    const QByteArray head = html.left(kMetaScanBytes).toLower();
    for (qsizetype at = head.indexOf("<meta"); at >= 0; at = head.indexOf("<meta", at + 5)) {
        const qsizetype end = head.indexOf('>', at);
        if (const QByteArray name = charsetParameter(head.mid(at, end < 0 ? -1 : end - at)); !name.isEmpty())
            return name;
    }
    return {};
}

QString decodeText(const QByteArray &content, const QByteArray &declared)
{
    if (content.startsWith("\xEF\xBB\xBF"))
        return QStringDecoder(QStringDecoder::Utf8)(content.mid(3));
    if (content.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE)(content.mid(2));
    if (content.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE)(content.mid(2));
    if (const Utf16 order = utf16ByBytes(content); order != Utf16::No)
        return QStringDecoder(order == Utf16::LittleEndian ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE)(content);
    const QByteArray name = declared.toLower();
    if (name == "utf-8" || name == "utf8")
        return QStringDecoder(QStringDecoder::Utf8)(content);
    // As browsers do, the Latin-1 and ASCII labels mean Windows-1252.
    if (name == "windows-1252" || name == "cp1252" || name == "iso-8859-1" || name == "latin1"
        || name == "iso8859-1" || name == "us-ascii" || name == "ascii")
        return cp1252::decode(content);
    // A UTF-16 label without a byte order mark is most often wrong (the page's bytes are ASCII
    // when its <meta> could be read): it is not followed.
    if (!name.isEmpty() && !name.startsWith("utf-16")) {
        QStringDecoder other(name.constData());
        if (other.isValid())
            return other(content);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(content);
    if (!utf8.hasError())
        return text;
    return cp1252::decode(content);
}

} // namespace gratinel::importer
