// Page-break rules of a recipe: whole when it fits a page, no line alone at a page's top,
// a heading line kept with what follows it.
#include "booklet/recipeplacer.h"

#include "booklet/pagewriter.h"
#include "booklet/textflow.h"

#include <QStringList>

#include <vector>

namespace gratinel {

namespace {

// Lines under the title that a long recipe needs to start at the bottom of a page.
constexpr int kLeastLinesToStart = 4;

qreal baselineIn(const CharWidths &font, qreal top)
{
    return top + (font.lineHeight() - font.ascent() - font.descent()) / 2 + font.ascent();
}

} // namespace

void RecipePlacer::drawTitle(const QStringList &lines)
{
    BookletStyle &s = pages_.style();
    for (const QString &line : lines) {
        pages_.text(*s.title, s.left, baselineIn(*s.title, pages_.y()), line, s.ink);
        pages_.moveDown(s.title->lineHeight());
    }
}

void RecipePlacer::drawContinued(const QString &title)
{
    BookletStyle &s = pages_.style();
    for (const QString &line : flowTitle(title + QStringLiteral(" (suite)"), s.column, *s.bodyBold)) {
        pages_.text(*s.bodyBold, s.left, baselineIn(*s.bodyBold, pages_.y()), line, s.quiet);
        pages_.moveDown(s.bodyBold->lineHeight());
    }
    pages_.moveDown(s.body->lineHeight() * 0.5);
}

int RecipePlacer::place(const QString &title, const QString &text, QSizeF photoSize, const std::function<QImage()> &photo)
{
    BookletStyle &s = pages_.style();
    CharWidths &body = *s.body;
    const qreal lh = body.lineHeight();

    const QStringList titleLines = flowTitle(title, s.column, *s.title);
    std::vector<FlowLine> lines;
    flowText(text, s.column, body, lines);
    // Empty lines typed before the first line or after the last print nothing.
    while (!lines.empty() && lines.back().blank())
        lines.pop_back();
    size_t first = 0;
    while (first < lines.size() && lines[first].blank())
        ++first;
    lines.erase(lines.begin(), lines.begin() + qsizetype(first));

    const qreal titleGap = lh * 0.35;
    const qreal head = titleLines.size() * s.title->lineHeight() + titleGap
        + (photoSize.isEmpty() ? 0 : photoSize.height() + lh * 0.6);
    const qreal whole = head + lines.size() * lh;
    const qreal separator = lh * 1.6;
    const qreal bodyHeight = s.bottom - s.top;

    const bool underRule = !pages_.atTop() && placed_;
    const qreal before = underRule ? separator : 0;
    if (before + whole > pages_.room()) {
        const bool fitsAPage = whole <= bodyHeight + 0.01;
        if (fitsAPage || before + head + kLeastLinesToStart * lh > pages_.room())
            pages_.newPage();
    }
    placed_ = true;
    if (!pages_.atTop() && underRule) {
        const qreal y = pages_.y() + separator / 2;
        pages_.rule(s.left + s.column / 2 - 20, s.left + s.column / 2 + 20, y, 0.5, s.accent);
        pages_.moveDown(separator);
    }

    const int page = pages_.page();
    drawTitle(titleLines);
    pages_.moveDown(titleGap);
    if (!photoSize.isEmpty()) {
        if (pages_.painting()) {
            const QRectF place(s.left + (s.column - photoSize.width()) / 2, pages_.y(), photoSize.width(),
                               photoSize.height());
            pages_.image(place, photo());
        }
        pages_.moveDown(photoSize.height() + lh * 0.6);
    }

    size_t i = 0;
    const size_t n = lines.size();
    while (i < n) {
        const size_t fit = size_t(qMax(0.0, (pages_.room() + 0.01) / lh));
        size_t end = n;
        if (fit < n - i) {
            end = i + fit;
            // A paragraph's last line never starts a page alone: the line before goes with it.
            if (end > i && lines[end].last && !lines[end].first && !lines[end].blank())
                --end;
            // A heading line ("Préparation :") never ends a page.
            if (end > i + 1 && lines[end - 1].first && lines[end - 1].last && lines[end - 1].text.endsWith(u':'))
                --end;
        }
        for (; i < end; ++i) {
            const FlowLine &l = lines[i];
            pages_.text(body, s.left + l.indent, baselineIn(body, pages_.y()), l.text, s.ink);
            pages_.moveDown(lh);
        }
        if (i == n)
            break;
        pages_.newPage();
        drawContinued(title);
        while (i < n && lines[i].blank())
            ++i;
    }
    return page;
}

} // namespace gratinel
