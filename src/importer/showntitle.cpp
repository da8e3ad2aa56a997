// The title of the recipe a page shows.
#include "importer/showntitle.h"

#include "importer/htmlpage.h"
#include "importer/pagesections.h"

#include <QRegularExpression>

namespace gratinel::importer {

namespace {

const QStringList &separators()
{
    static const QStringList s = {QStringLiteral(" | "), QStringLiteral(" - "), QStringLiteral(" – "), QStringLiteral(" — "),
                                  QStringLiteral(" · "), QStringLiteral(" :: "), QStringLiteral(" » "), QStringLiteral(" • "),
                                  QStringLiteral(" ~ ")};
    return s;
}

QString core(const QString &t)
{
    return collapseSpaces(t).toLower();
}

bool agree(const QString &a, const QString &b)
{
    const QString x = core(a), y = core(b);
    return !x.isEmpty() && !y.isEmpty() && (x.contains(y) || y.contains(x));
}

// The parts of a title between its separators.
QStringList partsOf(const QString &title)
{
    QStringList parts{collapseSpaces(title)};
    for (const QString &s : separators()) {
        QStringList next;
        for (const QString &p : parts)
            next << p.split(s, Qt::SkipEmptyParts);
        parts = next;
    }
    for (QString &p : parts)
        p = p.trimmed();
    parts.removeAll(QString());
    return parts;
}

// What sites write after a recipe's name: "Recept", "Recipe", "Recette facile".
bool isGeneric(const QString &part)
{
    static const QRegularExpression re(QStringLiteral(
        "^(?:(?:la |the |une? |a )?(?:recept|recipe|recette|rezept|ricetta|receta|receita|przepis|opskrift|oppskrift|"
        "resepti|tarif|tarifi|recipes|recettes|rezepte|ricette|recetas|receitas|recepten|recepty|recepti)"
        "(?: (?:facile|easy|simple|rapide|einfach|facil|fácil|facile e veloce))?)$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return re.match(part.trimmed()).hasMatch();
}

bool isRoleless(const PageLine &line)
{
    return roleOf(line).kind.role == HeadingRole::None;
}

// The headings of the page up to line end, levels 1 to 3, that name no role and no site.
std::vector<const PageLine *> headingsBefore(const PageLines &page, std::size_t end)
{
    std::vector<const PageLine *> out;
    for (std::size_t i = 0; i < std::min(end, page.lines.size()); ++i) {
        const PageLine &l = page.lines[i];
        if (l.kind == PageLine::Heading && l.level <= 3 && !l.siteName && out.size() < 200 && isRoleless(l))
            out.push_back(&l);
    }
    return out;
}

// Ends with ":", "-" or spaces left by a cut: without them.
QString tidy(QString t)
{
    t = withoutDate(collapseSpaces(t));
    while (!t.isEmpty() && (t.endsWith(u':') || t.endsWith(u'-') || t.endsWith(u'–') || t.endsWith(u'|') || t.endsWith(u' ')))
        t.chop(1);
    return t.trimmed();
}

} // namespace

QString withoutDate(const QString &title)
{
    static const QString month = QStringLiteral(
        "(?:janvier|février|mars|avril|mai|juin|juillet|août|septembre|octobre|novembre|décembre|january|february|march|"
        "april|may|june|july|august|september|october|november|december|januar|februar|märz|juni|juli|oktober|dezember|"
        "januari|februari|maart|mei|augustus|gennaio|febbraio|marzo|aprile|maggio|giugno|luglio|agosto|settembre|ottobre|"
        "dicembre|enero|febrero|abril|mayo|junio|julio|septiembre|octubre|noviembre|diciembre|janeiro|fevereiro|março|"
        "junho|julho|setembro|outubro|dezembro)");
    // A date written in words needs a separator from the name ("Tarte – 14 juillet 2023", never
    // "Tarte du 14 juillet 2023"); one in figures does not ("Tarte 12/03/2021").
    static const QString words = QStringLiteral("(?:le )?\\d{1,2}(?:er|\\.)? %1 \\d{4}|%1 \\d{1,2},? \\d{4}").arg(month);
    static const QString figures = QStringLiteral("\\d{1,2}[/.-]\\d{1,2}[/.-]\\d{2,4}|\\d{4}-\\d{2}-\\d{2}");
    static const QRegularExpression last(
        QStringLiteral("(?:\\s*[-–—|,·(]\\s*(?:%1|%2)\\)?|\\s+(?:%2))$").arg(words, figures),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression first(QStringLiteral("^(?:%1|%2)\\s*[-–—|,·:]\\s*").arg(words, figures),
                                          QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    QString t = title;
    for (const QRegularExpression *re : {&last, &first})
        if (const QRegularExpressionMatch m = re->match(t); m.hasMatch() && m.capturedLength() < t.size())
            t.remove(m.capturedStart(), m.capturedLength());
    return t.trimmed();
}

QString withoutSiteName(const QString &title, const QString &siteName)
{
    QString t = collapseSpaces(title);
    const QString site = collapseSpaces(siteName);
    if (!site.isEmpty()) {
        if (t.compare(site, Qt::CaseInsensitive) == 0)
            return {};
        for (const QString &s : separators()) {
            if (t.endsWith(s + site, Qt::CaseInsensitive))
                t.chop(s.size() + site.size());
            else if (t.startsWith(site + s, Qt::CaseInsensitive))
                t.remove(0, s.size() + site.size());
        }
    } else {
        qsizetype cut = -1;
        for (const QString &s : separators())
            cut = std::max(cut, t.lastIndexOf(s));
        if (cut > 0 && t.size() - cut <= 40)
            t = t.left(cut).trimmed();
    }
    // "Pannenkoeken – Recept", "Tarte – Recette facile".
    for (bool cut = true; cut;) {
        cut = false;
        for (const QString &s : separators()) {
            const qsizetype at = t.lastIndexOf(s);
            if (at > 0 && isGeneric(t.mid(at + s.size()))) {
                t = t.left(at).trimmed();
                cut = true;
            }
        }
    }
    static const QRegularExpression recipeLast(QStringLiteral("\\s+(?:recipe|rezept)$"), QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch m = recipeLast.match(t); m.hasMatch() && m.capturedStart() >= 3)
        t.truncate(m.capturedStart());
    return t.trimmed();
}

QString pageRecipeTitle(const PageLines &page, std::size_t recipeStart)
{
    if (!page.pluginTitle.isEmpty())
        return tidy(page.pluginTitle);
    const std::vector<const PageLine *> headings = headingsBefore(page, recipeStart);
    // A part of <title> or og:title that the page shows as a heading is the recipe's name; of
    // two shown ("Grimgrains — Okonomiyaki"), the one shown nearer the recipe.
    QString shownPart;
    std::ptrdiff_t shownAt = -1;
    for (const QString &t : {page.ogTitle, page.pageTitle}) {
        const QStringList parts = partsOf(t);
        for (const QString &p : parts) {
            if (parts.size() < 2 || isGeneric(p) || core(p) == core(page.siteName))
                continue;
            for (std::size_t i = headings.size(); i-- > 0;)
                if (std::ptrdiff_t(i) > shownAt && core(headings[i]->text) == core(p)) {
                    shownAt = std::ptrdiff_t(i);
                    shownPart = p;
                }
        }
    }
    const QString og = withoutSiteName(page.ogTitle, page.siteName);
    const QString doc = withoutSiteName(page.pageTitle, page.siteName);

    // The page's main heading: the last <h1> before the recipe, unless it is the site's name.
    QString h1;
    for (const PageLine *h : headings) {
        if (h->level != 1 || core(h->text) == core(page.siteName))
            continue;
        // "Grimgrains" over "Grimgrains — Okonomiyaki" whose other part is a heading: the site.
        const QStringList parts = partsOf(page.pageTitle);
        if (parts.size() == 2 && !shownPart.isEmpty() && core(shownPart) != core(h->text)
            && (core(parts.at(0)) == core(h->text) || core(parts.at(1)) == core(h->text)))
            continue;
        h1 = h->text;
    }
    QString title;
    if (!h1.isEmpty()) {
        const QString ref = !og.isEmpty() ? og : !shownPart.isEmpty() ? shownPart : doc;
        if (ref.isEmpty())
            title = h1;
        else if (agree(h1, ref))
            title = h1;
        else
            title = !og.isEmpty() ? og : h1;
    } else if (!og.isEmpty()) {
        title = og;
    } else if (!shownPart.isEmpty()) {
        title = shownPart;
    } else if (!doc.isEmpty()) {
        title = doc;
    } else if (!headings.empty()) {
        title = headings.back()->text;
    } else {
        // No name before the recipe: the first heading after it that names no role.
        for (std::size_t i = recipeStart; i < page.lines.size() && i < recipeStart + 2000 && title.isEmpty(); ++i)
            if (page.lines[i].kind == PageLine::Heading && !page.lines[i].siteName && isRoleless(page.lines[i]))
                title = page.lines[i].text;
    }
    return tidy(title);
}

} // namespace gratinel::importer
