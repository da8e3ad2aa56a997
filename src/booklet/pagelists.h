// The booklet's lists with page numbers: the contents at the front, the index at the back.
#pragma once

#include <QString>

#include <vector>

namespace gratinel {

class PageWriter;

struct PageListEntry {
    QString label;   // a family's name or a recipe's title
    QString numbers; // its page or pages, "12" or "12, 45"
    QString group;   // the index's letter; a heading comes where it changes
};

// Writes the list from the top of the page the caller started, under heading (the pages
// that follow start numbered, without a family). With numberWidth, the numbers keep to a
// column that wide, so that the list takes the same pages whatever its numbers; without,
// each entry's own numbers make room for themselves. An entry never breaks across pages,
// nor does a group's heading end one.
void writePageList(PageWriter &pages, const QString &heading, const std::vector<PageListEntry> &entries,
                   qreal numberWidth, bool spaced);

// The heading of a chapter or a list at the top of a page: large, over a rule.
void writeHeading(PageWriter &pages, const QString &heading);

} // namespace gratinel
