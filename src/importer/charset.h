// The characters of a source: its charset from its byte order mark, its server, its markup or
// its bytes, in that order.
#pragma once

#include <QByteArray>
#include <QString>

namespace gratinel::importer {

// The charset a Content-Type value names ("text/html; charset=ISO-8859-1" gives
// "iso-8859-1"), lower case without quotes, or empty.
QByteArray charsetOf(const QByteArray &contentType);

// The charset the first <meta> that names one gives in the head of an HTML page
// (<meta charset=...> or <meta http-equiv="Content-Type" content="...; charset=...">), or empty.
QByteArray metaCharset(const QByteArray &html);

// content as text. A byte order mark (UTF-8, UTF-16 LE or BE) decides, or the bytes of UTF-16
// without one (a zero byte every other byte, as ASCII gives in UTF-16); else declared (the
// server's, else the page's own) when it names a charset this system knows, UTF-8 then decoded
// with a replacement character for each stray byte; else UTF-8 when the bytes are valid UTF-8,
// else Windows-1252.
QString decodeText(const QByteArray &content, const QByteArray &declared = {});

// True when content starts with a UTF-16 byte order mark, or its bytes are UTF-16 without one.
bool isUtf16(const QByteArray &content);

} // namespace gratinel::importer
