// Reading Meal-Master files.
#include "importer/mealmaster.h"

#include "importer/htmlpage.h"
#include "importer/limits.h"

#include <QHash>
#include <QRegularExpression>

namespace gratinel::importer {

namespace {

bool isHeader(const QString &line)
{
    return (line.startsWith(QLatin1String("MMMMM")) || line.startsWith(QLatin1String("-----")))
           && line.contains(QLatin1String("Meal-Master"), Qt::CaseInsensitive);
}

bool isEnd(const QString &line)
{
    const QString t = line.trimmed();
    return t == QLatin1String("MMMMM") || t == QLatin1String("-----");
}

// "-----FILLING-----" or "MMMMM----FILLING----": the name, or no value. Read by hand, in one
// pass: a line of dashes with a few letters would take a regular expression quadratic time.
std::optional<QString> subHeading(const QString &line)
{
    QStringView rest(line);
    if (rest.startsWith(QLatin1String("MMMMM")))
        rest = rest.mid(5);
    qsizetype lead = 0;
    while (lead < rest.size() && rest.at(lead) == u'-')
        ++lead;
    rest = rest.mid(lead).trimmed();
    qsizetype trail = 0;
    while (trail < rest.size() && rest.at(rest.size() - 1 - trail) == u'-')
        ++trail;
    if (lead < 4 || trail < 2 || trail == rest.size())
        return std::nullopt;
    const QStringView name = rest.chopped(trail).trimmed();
    if (name.isEmpty() || name.startsWith(u'-'))
        return std::nullopt;
    return name.toString();
}

QString unitName(const QString &code)
{
    static const QHash<QString, QString> units = {
        {QStringLiteral("x"), QString()},         {QStringLiteral("ea"), QString()},
        {QStringLiteral("t"), QStringLiteral("c. à café")},  {QStringLiteral("ts"), QStringLiteral("c. à café")},
        {QStringLiteral("T"), QStringLiteral("c. à soupe")}, {QStringLiteral("tb"), QStringLiteral("c. à soupe")},
        {QStringLiteral("c"), QStringLiteral("tasse")},      {QStringLiteral("pt"), QStringLiteral("pinte")},
        {QStringLiteral("qt"), QStringLiteral("quart")},     {QStringLiteral("ga"), QStringLiteral("gallon")},
        {QStringLiteral("oz"), QStringLiteral("oz")},        {QStringLiteral("fl"), QStringLiteral("oz liq.")},
        {QStringLiteral("lb"), QStringLiteral("livre")},     {QStringLiteral("ml"), QStringLiteral("ml")},
        {QStringLiteral("cl"), QStringLiteral("cl")},        {QStringLiteral("dl"), QStringLiteral("dl")},
        {QStringLiteral("l"), QStringLiteral("l")},          {QStringLiteral("mg"), QStringLiteral("mg")},
        {QStringLiteral("cg"), QStringLiteral("cg")},        {QStringLiteral("dg"), QStringLiteral("dg")},
        {QStringLiteral("g"), QStringLiteral("g")},          {QStringLiteral("kg"), QStringLiteral("kg")},
        {QStringLiteral("sm"), QStringLiteral("petit")},     {QStringLiteral("md"), QStringLiteral("moyen")},
        {QStringLiteral("lg"), QStringLiteral("gros")},      {QStringLiteral("cn"), QStringLiteral("boîte")},
        {QStringLiteral("pk"), QStringLiteral("paquet")},    {QStringLiteral("pn"), QStringLiteral("pincée")},
        {QStringLiteral("dr"), QStringLiteral("goutte")},    {QStringLiteral("ds"), QStringLiteral("trait")},
        {QStringLiteral("ct"), QStringLiteral("carton")},    {QStringLiteral("bn"), QStringLiteral("botte")},
        {QStringLiteral("sl"), QStringLiteral("tranche")},   {QStringLiteral("cb"), QStringLiteral("cube")},
        {QStringLiteral("wf"), QStringLiteral("gousse")},    {QStringLiteral("pg"), QStringLiteral("paquet")},
    };
    return units.value(code, code);
}

// The French unit names that take an "s" for two or more.
QString plural(const QString &unit)
{
    static const QStringList invariable = {QStringLiteral("c. à café"), QStringLiteral("c. à soupe"), QStringLiteral("oz"),
                                           QStringLiteral("oz liq."), QStringLiteral("gros")};
    if (unit.isEmpty() || invariable.contains(unit) || unit.at(unit.size() - 1).isUpper() || unit.size() <= 2)
        return unit;
    return unit + u's';
}

// The amount a quantity names ("1 1/2", "1,5", "3/4"), 0 when it names none.
double amount(const QString &q)
{
    double total = 0;
    for (const QString &part : q.split(u' ', Qt::SkipEmptyParts)) {
        const qsizetype slash = part.indexOf(u'/');
        if (slash > 0)
            total += part.left(slash).toDouble() / std::max(1.0, part.mid(slash + 1).toDouble());
        else
            total += QString(part).replace(u',', u'.').toDouble();
    }
    return total;
}

struct Ingredient {
    bool ok = false;
    bool continuation = false;
    QString text;
};

// One ingredient column: quantity in 7 characters, the unit code in 2, a space, the name; the
// left column ends at width when a right one follows.
Ingredient ingredientAt(const QString &line, qsizetype at, qsizetype width = -1)
{
    Ingredient in;
    const QString part = line.mid(at, width);
    if (part.trimmed().isEmpty() || part.size() < 11)
        return in;
    static const QRegularExpression quantity(QStringLiteral("^[ 0-9/.,\\-]{7}$"));
    static const QRegularExpression unit(QStringLiteral("^[ a-zA-Z]{2}$"));
    const QString q = part.left(7);
    const QString u = part.mid(8, 2);
    if (!quantity.match(q).hasMatch() || part.at(7) != u' ' || !unit.match(u).hasMatch() || part.at(10) != u' ')
        return in;
    const QString name = part.mid(11).trimmed();
    if (name.isEmpty() && q.trimmed().isEmpty())
        return in;
    in.ok = true;
    if (q.trimmed().isEmpty() && u.trimmed().isEmpty() && name.startsWith(u'-')) {
        in.continuation = true;
        in.text = name.mid(1).trimmed();
        return in;
    }
    QStringList words;
    if (!q.trimmed().isEmpty())
        words << q.trimmed();
    if (const QString n = unitName(u.trimmed()); !n.isEmpty())
        words << (amount(q.trimmed()) >= 2 ? plural(n) : n);
    words << name;
    in.text = words.join(u' ');
    return in;
}

// An ingredient to its column; a continuation line joins the ingredient above it there.
void addIngredient(QStringList &column, const Ingredient &in)
{
    if (in.continuation && !column.isEmpty())
        column.last() += u' ' + in.text;
    else if (column.size() < kMaxLines)
        column << in.text;
}

RecipeFields readOne(const QStringList &lines)
{
    RecipeFields f;
    qsizetype i = 0;
    // The English header names, and those of the German and French versions.
    static const QRegularExpression field(
        QStringLiteral("^\\s*(Title|Titel|Titre|Categories|Kategorien|Catégories|Categorie|Yield|Servings|Menge|"
                       "Portionen|Portions|Quantité|Rendement)\\s*:\\s*(.*)$"),
        QRegularExpression::CaseInsensitiveOption);
    // The header fields, up to the first line that is none of them once one was seen.
    bool seen = false;
    for (; i < lines.size(); ++i) {
        const QRegularExpressionMatch m = field.match(lines.at(i));
        if (!m.hasMatch()) {
            if (seen && !lines.at(i).trimmed().isEmpty())
                break;
            continue;
        }
        seen = true;
        const QString key = m.captured(1).toLower();
        const QString value = m.captured(2).trimmed();
        if (key.startsWith(QLatin1String("tit")))
            f.name = value;
        else if (key.startsWith(QLatin1String("cat")) || key.startsWith(QLatin1String("kat"))) {
            for (const QString &c : value.split(u',', Qt::SkipEmptyParts))
                if (!c.trimmed().isEmpty() && c.trimmed().compare(QLatin1String("None"), Qt::CaseInsensitive) != 0)
                    f.categories << c.trimmed();
        } else {
            f.yield = value;
        }
    }
    // Ingredients, then directions from the first line that is neither. Two columns side by
    // side read down the left one, then down the right one, group by group.
    QStringList left;
    QStringList right;
    const auto endGroup = [&] {
        for (const QStringList *column : {&left, &right})
            for (const QString &text : *column)
                if (f.ingredients.size() < size_t(kMaxLines))
                    f.ingredients.push_back({text});
        left.clear();
        right.clear();
    };
    for (; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.trimmed().isEmpty())
            continue;
        if (const std::optional<QString> h = subHeading(line)) {
            endGroup();
            if (f.ingredients.size() < size_t(kMaxLines))
                f.ingredients.push_back({*h, true});
            continue;
        }
        // A right column only when it reads as an ingredient: a longer line is one ingredient.
        const Ingredient second = line.size() > 41 ? ingredientAt(line, 41) : Ingredient();
        const Ingredient first = ingredientAt(line, 0, second.ok ? 41 : -1);
        // The right column may run on below a shorter left one.
        const bool leftBlank = second.ok && line.left(41).trimmed().isEmpty();
        if (!first.ok && !leftBlank)
            break;
        if (first.ok)
            addIngredient(left, first);
        if (second.ok)
            addIngredient(right, second);
    }
    endGroup();
    QString paragraph;
    QString section;
    const auto flush = [&] {
        if (!paragraph.trimmed().isEmpty() && int(f.steps.size()) < kMaxLines)
            f.steps.push_back({section, collapseSpaces(paragraph).left(kMaxFieldChars)});
        paragraph.clear();
    };
    for (; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (const std::optional<QString> h = subHeading(line)) {
            flush();
            section = *h;
        } else if (line.trimmed().isEmpty()) {
            flush();
        } else if (paragraph.size() < kMaxFieldChars) {
            paragraph += u' ' + line.trimmed();
        }
    }
    flush();
    return f;
}

// text with every line end as '\n': CR LF, and CR alone as old Macs wrote it.
QString withLineFeeds(const QString &text)
{
    if (!text.contains(u'\r'))
        return text;
    return QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
}

} // namespace

bool looksLikeMealMaster(const QString &raw)
{
    const QString text = withLineFeeds(raw.left(256 * 1024));
    qsizetype from = 0;
    for (int n = 0; n < 200 && from < text.size(); ++n) {
        qsizetype to = text.indexOf(u'\n', from);
        if (to < 0)
            to = text.size();
        if (isHeader(text.mid(from, std::min<qsizetype>(to - from, 200))))
            return true;
        from = to + 1;
    }
    return false;
}

std::vector<RecipeFields> readMealMaster(const QString &raw, int &found)
{
    const QString text = withLineFeeds(raw);
    std::vector<RecipeFields> recipes;
    QStringList block;
    bool inside = false;
    const auto finish = [&] {
        if (inside) {
            ++found;
            if (int(recipes.size()) < kMaxRecipes)
                recipes.push_back(readOne(block));
        }
        block.clear();
        inside = false;
    };
    qsizetype from = 0;
    while (from <= text.size()) {
        qsizetype to = text.indexOf(u'\n', from);
        if (to < 0)
            to = text.size();
        // Lines of the format are short: a longer one is cut before anything reads it.
        QString line = text.mid(from, std::min<qsizetype>(to - from, kMaxLineChars));
        from = to + 1;
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (isHeader(line)) {
            finish();
            inside = true;
        } else if (inside && isEnd(line)) {
            finish();
        } else if (inside && int(recipes.size()) < kMaxRecipes) {
            block << line;
        }
    }
    finish();
    return recipes;
}

} // namespace gratinel::importer
