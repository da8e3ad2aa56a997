// JSON-LD as servers really write it, read into JSON values.
#pragma once

#include <QJsonValue>
#include <QString>

#include <vector>

namespace gratinel::importer {

// The JSON values of a script's text: the text as strict JSON when it is, otherwise mended
// first: HTML comment and CDATA wrappers and JavaScript comments outside strings removed,
// raw line breaks, tabs and other control characters inside strings escaped, commas before
// a closing bracket dropped, a stray ';' ignored, and several values one after the other
// read one by one. A value that stays unreadable is left out.
std::vector<QJsonValue> readJsonValues(const QString &text);

} // namespace gratinel::importer
