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
    return startsUtf16(content);
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
