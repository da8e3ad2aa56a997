// Pages built to make an HTML parser slow or deep: bad nesting, unclosed formatting, huge tags.
#pragma once

#include <QByteArray>
#include <QStringList>

namespace gratinel::testing {

// The names of the hostile shapes, one per way of abusing the parser.
QStringList hostileShapes();

// A page of about bytes bytes in the given shape, with a JSON-LD recipe "Piège" in its head
// and another script at the end of its body, where the whole page must be read to reach it.
QByteArray hostilePage(const QString &shape, qsizetype bytes);

} // namespace gratinel::testing
