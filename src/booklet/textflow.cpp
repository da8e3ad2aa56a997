// Line breaking of recipe texts: glued spaces, hanging lists, words cut only when too wide.
#include "booklet/textflow.h"

#include "booklet/charwidths.h"

#include <QStringList>

namespace gratinel {

namespace {

constexpr qreal kSlack = 0.01; // points: sums of advances in floating point

struct Word {
    QString text;
    QString gapAfter; // the spaces typed after it
    bool glued = false; // no break in gapAfter
};

bool isSpace(QChar c)
{
    return c == u' ';
}

// Marks that start an item of a list: "-", "•", "1.", "2)", "a)".
bool isListMark(const QString &w)
{
    static const QString marks = QStringLiteral("-–—•*·>");
    if (w.size() == 1 && marks.contains(w.at(0)))
        return true;
    if (w.size() >= 2 && (w.back() == u'.' || w.back() == u')')) {
        const QStringView body = QStringView(w).chopped(1);
        bool digits = true;
        for (QChar c : body)
            digits = digits && c.isDigit();
        if (digits && body.size() <= 3)
            return true;
        return body.size() == 1 && body.at(0).isLetter();
    }
    return false;
}

bool endsWithNumber(const QString &w)
{
    if (w.isEmpty())
        return false;
    const QChar c = w.back();
    return c.isDigit() || c == u'½' || c == u'¼' || c == u'¾';
}

bool isUnit(const QString &w)
{
    static const QStringList units = {
        QStringLiteral("g"),   QStringLiteral("kg"),  QStringLiteral("mg"),  QStringLiteral("l"),
        QStringLiteral("L"),   QStringLiteral("cl"),  QStringLiteral("dl"),  QStringLiteral("ml"),
        QStringLiteral("cm"),  QStringLiteral("mm"),  QStringLiteral("min"), QStringLiteral("mn"),
        QStringLiteral("h"),   QStringLiteral("s"),   QStringLiteral("°C"),  QStringLiteral("°F"),
        QStringLiteral("°"),   QStringLiteral("%"),   QStringLiteral("€"),   QStringLiteral("cc"),
        QStringLiteral("cs"),  QStringLiteral("cl."), QStringLiteral("g."),  QStringLiteral("min."),
        QStringLiteral("c."),  QStringLiteral("g,"),  QStringLiteral("cl,"), QStringLiteral("min,"),
        QStringLiteral("kg,"), QStringLiteral("ml,"), QStringLiteral("h,"),  QStringLiteral("°C."),
        QStringLiteral("°C,"), QStringLiteral("g)"),  QStringLiteral("min)"), QStringLiteral("°C)"),
    };
    return units.contains(w);
}

// Whether the spaces between a and b must not break, as French print sets them.
bool glue(const QString &a, const QString &b, bool aIsMark)
{
    static const QString before = QStringLiteral(":;!?»›%");
    if (aIsMark)
        return true;
    if (!b.isEmpty() && before.contains(b.at(0)))
        return true;
    if (!a.isEmpty() && (a.back() == u'«' || a.back() == u'‹'))
        return true;
    if (a.compare(QLatin1String("n°"), Qt::CaseInsensitive) == 0)
        return true;
    return endsWithNumber(a) && isUnit(b);
}

// What the page draws of a typed paragraph: tabs as four spaces, no control characters.
QString drawable(QStringView typed)
{
    QString out;
    out.reserve(typed.size());
    for (QChar c : typed) {
        if (c == u'\t')
            out += QStringLiteral("    ");
        else if (c.category() != QChar::Other_Control)
            out += c;
    }
    return out;
}

class Breaker {
public:
    Breaker(qreal width, CharWidths &widths, std::vector<FlowLine> &lines, int paragraph)
        : width_(width), widths_(widths), lines_(lines), paragraph_(paragraph)
    {
    }

    void paragraph(const QString &p)
    {
        qsizetype i = 0;
        while (i < p.size() && isSpace(p.at(i)))
            ++i;
        if (i == p.size()) {
            emitLine(QString(), 0);
            lines_.back().last = true;
            return;
        }
        const QString lead = p.left(i);
        std::vector<Word> words;
        while (i < p.size()) {
            qsizetype j = i;
            while (j < p.size() && !isSpace(p.at(j)))
                ++j;
            qsizetype k = j;
            while (k < p.size() && isSpace(p.at(k)))
                ++k;
            words.push_back({p.mid(i, j - i), p.mid(j, k - j), false});
            i = k;
        }
        const bool listed = isListMark(words.front().text) && words.size() > 1;
        for (size_t w = 0; w + 1 < words.size(); ++w)
            words[w].glued = glue(words[w].text, words[w + 1].text, w == 0 && listed);
        // The lines after an item's first hang under its first word, within reason.
        hang_ = 0;
        if (listed)
            hang_ = qMin(widths_.width(lead) + widths_.width(words.front().text) + widths_.width(words.front().gapAfter),
                         width_ * 0.4);

        line_ = lead;
        lineWidth_ = widths_.width(lead);
        indent_ = 0;
        hasWord_ = false;
        size_t w = 0;
        while (w < words.size()) {
            // A unit: words joined by glued spaces, broken only when it cannot fit alone.
            QString unit = words[w].text;
            while (words[w].glued && w + 1 < words.size()) {
                unit += words[w].gapAfter + words[w + 1].text;
                ++w;
            }
            const QString gap = words[w].gapAfter;
            ++w;
            place(unit);
            pendingGap_ = gap;
        }
        if (hasWord_)
            emitLine(line_, indent_);
        lines_.back().last = true;
    }

private:
    qreal room() const { return width_ - indent_; }

    void place(const QString &unit)
    {
        const qreal unitWidth = widths_.width(unit);
        if (hasWord_) {
            const qreal gapWidth = widths_.width(pendingGap_);
            if (lineWidth_ + gapWidth + unitWidth <= room() + kSlack) {
                line_ += pendingGap_ + unit;
                lineWidth_ += gapWidth + unitWidth;
                return;
            }
            breakLine();
        }
        if (lineWidth_ + unitWidth <= room() + kSlack) {
            line_ += unit;
            lineWidth_ += unitWidth;
            hasWord_ = true;
            return;
        }
        cut(unit);
    }

    void breakLine()
    {
        emitLine(line_, indent_);
        line_.clear();
        lineWidth_ = 0;
        indent_ = hang_;
        hasWord_ = false;
    }

    // A unit too wide for a whole line: as much as fits on each line, cut after its last
    // space, hyphen or slash that fits, else after its last character that fits.
    void cut(QString rest)
    {
        for (;;) {
            qreal w = lineWidth_;
            qsizetype fit = 0;
            while (fit < rest.size() && w + widths_.width(rest.at(fit)) <= room() + kSlack)
                w += widths_.width(rest.at(fit++));
            if (fit == rest.size()) {
                line_ += rest;
                lineWidth_ = w;
                hasWord_ = true;
                return;
            }
            qsizetype at = qMax<qsizetype>(fit, 1); // a column narrower than one character still moves on
            for (qsizetype k = fit; k > 1; --k) {
                const QChar c = rest.at(k - 1);
                if (c == u' ' || c == u'-' || c == u'/') {
                    at = k;
                    break;
                }
            }
            line_ += rest.left(at);
            rest = rest.mid(at);
            while (rest.startsWith(u' '))
                rest.remove(0, 1);
            breakLine();
            if (rest.isEmpty())
                return;
        }
    }

    void emitLine(QString text, qreal indent)
    {
        while (text.endsWith(u' '))
            text.chop(1);
        FlowLine l;
        l.indent = text.isEmpty() ? 0 : indent;
        l.text = std::move(text);
        l.paragraph = paragraph_;
        l.first = !started_;
        started_ = true;
        lines_.push_back(std::move(l));
    }

    qreal width_;
    CharWidths &widths_;
    std::vector<FlowLine> &lines_;
    int paragraph_;
    bool started_ = false;
    QString line_;
    qreal lineWidth_ = 0;
    qreal indent_ = 0;
    qreal hang_ = 0;
    QString pendingGap_;
    bool hasWord_ = false;
};

} // namespace

void flowText(const QString &text, qreal width, CharWidths &widths, std::vector<FlowLine> &lines)
{
    int paragraph = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text.at(i) != u'\n' && text.at(i) != u'\r')
            continue;
        Breaker(width, widths, lines, paragraph++).paragraph(drawable(QStringView(text).mid(start, i - start)));
        start = i + 1;
    }
}

QStringList flowTitle(const QString &text, qreal width, CharWidths &widths)
{
    std::vector<FlowLine> lines;
    Breaker(width, widths, lines, 0).paragraph(drawable(text.trimmed()));
    QStringList out;
    for (const FlowLine &l : lines)
        out << l.text;
    return out;
}

} // namespace gratinel
