// Pages built to make the importer slow, deep or greedy: bad nesting, unclosed formatting,
// huge tags, nested microdata, long Meal-Master lines.
#pragma once

#include <QByteArray>
#include <QStringList>

namespace gratinel::testing {

// The names of the hostile shapes, one per way of abusing the parser or our walks of its tree.
QStringList hostileShapes();

// A source of about bytes bytes in the given shape that holds one recipe "Piège": for the
// shapes of HTML, as JSON-LD in the page's head and again at the end of its body, where the
// whole page must be read to reach it, or as microdata around the shape; else a Meal-Master
// file of one recipe.
QByteArray hostilePage(const QString &shape, qsizetype bytes);

} // namespace gratinel::testing
