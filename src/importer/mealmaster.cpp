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

// "-----FILLING-----" or "MMMMM----FILLING----": the name, or no value.
std::optional<QString> subHeading(const QString &line)
{
    static const QRegularExpression re(QStringLiteral("^(?:MMMMM)?-{4,}\\s*([^-].*?)\\s*-{2,}\\s*$"));
    const QRegularExpressionMatch m = re.match(line);
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1);
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

struct Ingredient {
    bool ok = false;
    bool continuation = false;
    QString text;
};

// One ingredient column: quantity in 7 characters, the unit code in 2, a space, the name.
Ingredient ingredientAt(const QString &line, qsizetype at)
{
    Ingredient in;
    const QString part = line.mid(at, at == 0 ? 41 : -1);
    if (part.trimmed().isEmpty() || part.size() < 11)
        return in;
    static const QRegularExpression quantity(QStringLiteral("^[ 0-9/.\\-]{7}$"));
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
        words << n;
    words << name;
    in.text = words.join(u' ');
    return in;
}

void addIngredient(RecipeFields &f, const Ingredient &in)
{
    if (in.continuation && !f.ingredients.empty() && !f.ingredients.back().heading)
        f.ingredients.back().text += u' ' + in.text;
    else if (f.ingredients.size() < size_t(kMaxLines))
        f.ingredients.push_back({in.text});
}

RecipeFields readOne(const QStringList &lines)
{
    RecipeFields f;
    qsizetype i = 0;
    static const QRegularExpression field(QStringLiteral("^\\s*(Title|Categories|Yield|Servings)\\s*:\\s*(.*)$"),
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
        if (key == QLatin1String("title"))
            f.name = value;
        else if (key == QLatin1String("categories")) {
            for (const QString &c : value.split(u',', Qt::SkipEmptyParts))
                if (!c.trimmed().isEmpty() && c.trimmed().compare(QLatin1String("None"), Qt::CaseInsensitive) != 0)
                    f.categories << c.trimmed();
        } else {
            f.yield = value;
        }
    }
    // Ingredients, then directions from the first line that is neither.
    for (; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.trimmed().isEmpty())
            continue;
        if (const std::optional<QString> h = subHeading(line)) {
            if (f.ingredients.size() < size_t(kMaxLines))
                f.ingredients.push_back({*h, true});
            continue;
        }
        const Ingredient left = ingredientAt(line, 0);
        if (!left.ok)
            break;
        addIngredient(f, left);
        if (line.size() > 41)
            if (const Ingredient right = ingredientAt(line, 41); right.ok)
                addIngredient(f, right);
    }
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

} // namespace

bool looksLikeMealMaster(const QString &text)
{
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

std::vector<RecipeFields> readMealMaster(const QString &text, int &found)
{
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
        QString line = text.mid(from, to - from);
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
