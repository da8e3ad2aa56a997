// The replacement table of the characters outside Windows-1252.
#include "store/spelling.h"

#include "store/charactername.h"
#include "store/cp1252.h"

#include <QHash>

namespace gratinel::spelling {

namespace {

const QHash<char32_t, QString> &table()
{
    static const QHash<char32_t, QString> t = {
        // Fractions
        {U'⅓', QStringLiteral("1/3")}, {U'⅔', QStringLiteral("2/3")}, {U'⅕', QStringLiteral("1/5")},
        {U'⅖', QStringLiteral("2/5")}, {U'⅗', QStringLiteral("3/5")}, {U'⅘', QStringLiteral("4/5")},
        {U'⅙', QStringLiteral("1/6")}, {U'⅚', QStringLiteral("5/6")}, {U'⅛', QStringLiteral("1/8")},
        {U'⅜', QStringLiteral("3/8")}, {U'⅝', QStringLiteral("5/8")}, {U'⅞', QStringLiteral("7/8")},
        {U'⅐', QStringLiteral("1/7")}, {U'⅑', QStringLiteral("1/9")}, {U'⅒', QStringLiteral("1/10")},
        {U'↉', QStringLiteral("0/3")}, {U'⁄', QStringLiteral("/")},
        // Temperatures and signs
        {U'℃', QStringLiteral("°C")}, {U'℉', QStringLiteral("°F")},
        {U'→', QStringLiteral("->")}, {U'←', QStringLiteral("<-")}, {U'⇒', QStringLiteral("=>")},
        {U'≤', QStringLiteral("<=")}, {U'≥', QStringLiteral(">=")}, {U'≠', QStringLiteral("!=")},
        {U'≈', QStringLiteral("~")}, {U'−', QStringLiteral("-")},
        // Quotes and primes
        {U'″', QStringLiteral("\"")}, {U'′', QStringLiteral("'")}, {U'‛', QStringLiteral("'")},
        {U'‟', QStringLiteral("\"")},
        // Spaces
        {U'\u2000', QStringLiteral(" ")}, {U'\u2001', QStringLiteral(" ")}, {U'\u2002', QStringLiteral(" ")},
        {U'\u2003', QStringLiteral(" ")}, {U'\u2004', QStringLiteral(" ")}, {U'\u2005', QStringLiteral(" ")},
        {U'\u2006', QStringLiteral(" ")}, {U'\u2008', QStringLiteral(" ")}, {U'\u200A', QStringLiteral(" ")},
        {U'\u205F', QStringLiteral(" ")}, {U'\u3000', QStringLiteral(" ")},
        {U'\u2007', QStringLiteral("\u00A0")}, {U'\u2009', QStringLiteral("\u00A0")},
        {U'\u202F', QStringLiteral("\u00A0")},
        // Dashes
        {U'‐', QStringLiteral("-")}, {U'‑', QStringLiteral("-")}, {U'‒', QStringLiteral("–")},
        {U'―', QStringLiteral("—")},
        // Ligatures
        {U'ﬀ', QStringLiteral("ff")}, {U'ﬁ', QStringLiteral("fi")}, {U'ﬂ', QStringLiteral("fl")},
        {U'ﬃ', QStringLiteral("ffi")}, {U'ﬄ', QStringLiteral("ffl")},
        // Line breaks
        {U'\u2028', QStringLiteral("\n")}, {U'\u2029', QStringLiteral("\n")},
    };
    return t;
}

// Letters with a stroke or without their dot, that Unicode does not write as a base letter
// and a mark.
const QHash<char32_t, QString> &strokeLetters()
{
    static const QHash<char32_t, QString> t = {
        {U'ł', QStringLiteral("l")}, {U'Ł', QStringLiteral("L")}, {U'đ', QStringLiteral("d")}, {U'Đ', QStringLiteral("D")},
        {U'ı', QStringLiteral("i")}, {U'ħ', QStringLiteral("h")}, {U'Ħ', QStringLiteral("H")}, {U'ŧ', QStringLiteral("t")},
        {U'Ŧ', QStringLiteral("T")}, {U'ŀ', QStringLiteral("l")}, {U'Ŀ', QStringLiteral("L")}, {U'ƀ', QStringLiteral("b")},
        {U'ɨ', QStringLiteral("i")}, {U'ƶ', QStringLiteral("z")}, {U'Ƶ', QStringLiteral("Z")}, {U'ĸ', QStringLiteral("k")},
    };
    return t;
}

// A letter with a diacritic the book cannot hold as the nearest letter it can: its marks
// dropped from the last, so that "ǘ" keeps its "ü" and "č" becomes "c"; empty for a
// character that is no such letter.
QString baseLetter(char32_t c)
{
    if (const auto it = strokeLetters().constFind(c); it != strokeLetters().constEnd())
        return it.value();
    if (!QChar::isLetter(c))
        return {};
    QString d = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_D);
    if (d.size() < 2)
        return {};
    while (d.size() > 1 && QChar::category(d.back().unicode()) == QChar::Mark_NonSpacing) {
        d.chop(1);
        const QString composed = d.normalized(QString::NormalizationForm_C);
        if (cp1252::canEncode(composed))
            return composed;
    }
    return {};
}

} // namespace

void Changes::merge(const Changes &other)
{
    for (const QString &r : other.replaced)
        if (!replaced.contains(r))
            replaced << r;
    for (const QString &r : other.removed)
        if (!removed.contains(r))
            removed << r;
}

QString Changes::describe() const
{
    QStringList parts;
    if (!replaced.isEmpty())
        parts << QStringLiteral("remplacés : ") + replaced.join(QStringLiteral(", "));
    if (!removed.isEmpty())
        parts << QStringLiteral("supprimés : ") + removed.join(u' ');
    return parts.join(QStringLiteral(" ; "));
}

const QString *replacement(char32_t c)
{
    const auto it = table().constFind(c);
    return it == table().constEnd() ? nullptr : &it.value();
}

QString storableSpelling(const QString &text, Changes *changes)
{
    if (cp1252::canEncode(text))
        return text;
    const QString composed = text.normalized(QString::NormalizationForm_C);
    QString out;
    out.reserve(composed.size());
    for (qsizetype i = 0; i < composed.size();) {
        const char32_t c = composed.at(i).isHighSurrogate() && i + 1 < composed.size() && composed.at(i + 1).isLowSurrogate()
                               ? QChar::surrogateToUcs4(composed.at(i), composed.at(i + 1))
                               : composed.at(i).unicode();
        const qsizetype width = c > 0xFFFF ? 2 : 1;
        const QString original = composed.mid(i, width);
        i += width;
        if (cp1252::canEncode(original)) {
            out += original;
            continue;
        }
        const QString *spelled = replacement(c);
        const QString base = spelled ? QString() : baseLetter(c);
        if (!base.isEmpty())
            spelled = &base;
        if (spelled)
            out += *spelled;
        if (!changes)
            continue;
        // An invisible character (joiner, control, typographic space) is named by its code, and
        // so is a replacement that is one space.
        QString entry = characterName(c);
        if (spelled && *spelled == u"\n")
            entry += QStringLiteral(" → ↵");
        else if (spelled)
            entry += QStringLiteral(" → ")
                     + (spelled->size() == 1 && spelled->at(0).isSpace() ? characterCode(spelled->at(0).unicode()) : *spelled);
        QStringList &list = spelled ? changes->replaced : changes->removed;
        if (!list.contains(entry))
            list << entry;
    }
    return out;
}

} // namespace gratinel::spelling
