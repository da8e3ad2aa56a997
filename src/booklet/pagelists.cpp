// Contents and index entries: label lines, a dotted leader, numbers flush right.
#include "booklet/pagelists.h"

#include "booklet/pagewriter.h"
#include "booklet/textflow.h"

#include <QStringList>

namespace gratinel {

namespace {

qreal baselineIn(const CharWidths &font, qreal top)
{
    return top + (font.lineHeight() - font.ascent() - font.descent()) / 2 + font.ascent();
}

// Page numbers broken after their commas when they do not fit width.
QStringList numberLines(const QString &numbers, qreal width, CharWidths &font)
{
    if (font.width(numbers) <= width)
        return {numbers};
    return flowTitle(numbers, width, font);
}

} // namespace

void writeHeading(PageWriter &pages, const QString &heading)
{
    BookletStyle &s = pages.style();
    CharWidths &font = *s.chapter;
    for (const QString &line : flowTitle(heading, s.column, font)) {
        pages.text(font, s.left, baselineIn(font, pages.y()), line, s.accent);
        pages.moveDown(font.lineHeight());
    }
    pages.moveDown(font.lineHeight() * 0.2);
    pages.rule(s.left, s.left + s.column, pages.y(), 0.8, s.accent);
    pages.moveDown(s.body->lineHeight() * 1.6);
}

void writePageList(PageWriter &pages, const QString &heading, const std::vector<PageListEntry> &entries,
                   qreal numberWidth, bool spaced)
{
    BookletStyle &s = pages.style();
    CharWidths &font = *s.body;
    CharWidths &bold = *s.bodyBold;
    const qreal lh = font.lineHeight();
    const qreal gap = 14;
    const qreal right = s.left + s.column;
    writeHeading(pages, heading);

    QString group;
    for (const PageListEntry &e : entries) {
        const qreal numbersRoom = numberWidth > 0 ? numberWidth : qMin(font.width(e.numbers), s.column * 0.4);
        const QStringList numbers = numberLines(e.numbers, numbersRoom, font);
        const QStringList label = flowTitle(e.label, s.column - numbersRoom - gap, font);
        const qreal height = (label.size() - 1 + qMax<qsizetype>(numbers.size(), 1)) * lh + (spaced ? lh * 0.35 : 0);
        const bool newGroup = !e.group.isEmpty() && e.group != group;
        const qreal groupHeight = newGroup ? bold.lineHeight() + lh * 0.6 : 0;
        if (groupHeight + height > pages.room()) {
            pages.newPage();
        }
        if (newGroup) {
            group = e.group;
            if (!pages.atTop())
                pages.moveDown(lh * 0.6);
            pages.text(bold, s.left, baselineIn(bold, pages.y()), group, s.accent);
            pages.moveDown(bold.lineHeight());
        }
        for (qsizetype i = 0; i < label.size(); ++i) {
            const qreal base = baselineIn(font, pages.y());
            pages.text(font, s.left, base, label[i], s.ink);
            if (i == label.size() - 1 && !numbers.isEmpty()) {
                const qreal numberX = right - font.width(numbers.front());
                pages.leader(font, s.left + font.width(label[i]), numberX, base);
                pages.text(font, numberX, base, numbers.front(), s.ink);
            }
            pages.moveDown(lh);
        }
        for (qsizetype i = 1; i < numbers.size(); ++i) {
            pages.text(font, right - font.width(numbers[i]), baselineIn(font, pages.y()), numbers[i], s.ink);
            pages.moveDown(lh);
        }
        if (spaced)
            pages.moveDown(lh * 0.35);
    }
}

} // namespace gratinel
