// Format detection and the way from a source to laid-out recipes.
#include "importer/importer.h"

#include "importer/charset.h"
#include "importer/dostext.h"
#include "importer/htmlpage.h"
#include "importer/jsonrepair.h"
#include "importer/limits.h"
#include "importer/mealmaster.h"
#include "importer/recipelayout.h"
#include "importer/recipenodes.h"
#include "importer/schemaorg.h"
#include "store/charactername.h"
#include "store/cp1252.h"
#include "store/spelling.h"

#include <QJsonDocument>

namespace gratinel::importer {

namespace {

QByteArray withoutBom(const QByteArray &content)
{
    return content.startsWith("\xEF\xBB\xBF") ? content.mid(3) : content;
}

int letters(const QString &text)
{
    return int(std::count_if(text.begin(), text.end(), [](QChar c) { return c.isLetter(); }));
}

// Why the book cannot take the recipe of f, or empty: a title without a letter once spelled
// for the book, or a text that keeps less than half of its letters (another alphabet).
QString unstorable(const RecipeFields &f)
{
    const QString name = f.name.simplified();
    const QString shown = name.isEmpty() ? QStringLiteral("(sans titre)") : QStringLiteral("« %1 »").arg(visibleText(name.left(kMaxTitleChars)));
    if (letters(spelling::storableSpelling(name)) == 0)
        return shown + QStringLiteral(" : titre illisible");
    QString text;
    for (const IngredientLine &i : f.ingredients)
        text += i.text + u'\n';
    for (const RecipeFields::Step &s : f.steps)
        text += u'\n' + s.section + u'\n' + s.text;
    const int before = letters(text);
    if (before > 0 && 2 * letters(spelling::storableSpelling(text)) < before)
        return shown + QStringLiteral(" : texte dans un alphabet que le livre ne peut pas garder");
    return {};
}

// The fields of every recipe of nodes; found counts them.
std::vector<RecipeFields> fieldsOfNodes(const RecipeNodes &nodes, int &found)
{
    found += nodes.found();
    std::vector<RecipeFields> fields;
    for (const QJsonObject &o : nodes.recipes())
        fields.push_back(fieldsOf(o));
    return fields;
}

// The recipes the book can take laid out, the others refused by name.
void layOut(const std::vector<RecipeFields> &fields, const QString &address, ParseResult &result)
{
    for (const RecipeFields &f : fields) {
        if (const QString why = unstorable(f); !why.isEmpty()) {
            result.refused << why;
            continue;
        }
        result.recipes.push_back(layoutRecipe(f, f.url.isEmpty() ? address : f.url));
    }
}

// The end of the last JSON-LD script of a page ("</script>" included), or 0.
qsizetype jsonLdEnd(const QByteArray &html)
{
    const QByteArray lower = html.toLower();
    const qsizetype type = lower.lastIndexOf("application/ld+json");
    if (type < 0)
        return 0;
    const qsizetype close = lower.indexOf("</script", type);
    const qsizetype end = close < 0 ? -1 : lower.indexOf('>', close);
    return end < 0 ? 0 : end + 1;
}

// The schema.org recipes of a page, every script together (the same recipe may be given in
// several): its JSON-LD, or its microdata when it has no JSON-LD recipe (most pages give both).
// others: the products and lists the page's data says it shows.
std::vector<RecipeFields> markedRecipes(const Page &page, int &found, NonRecipes *others = nullptr)
{
    RecipeNodes nodes;
    for (const QString &script : page.jsonLd)
        for (const QJsonValue &value : readJsonValues(script)) {
            nodes.add(value);
            if (others)
                describedNonRecipes(value, *others);
        }
    if (nodes.found() == 0)
        nodes.add(page.microdata);
    return fieldsOfNodes(nodes, found);
}

bool allComplete(const std::vector<RecipeFields> &fields)
{
    return !fields.empty() && std::all_of(fields.begin(), fields.end(), [](const RecipeFields &f) {
        return !f.ingredients.empty() && !f.steps.empty();
    });
}

// A page's recipes with what the page shows: a marked recipe that lacks its ingredients or
// its steps takes them from under the page's headings; a page without marked recipe gives the
// Meal-Master recipes of its <pre> blocks, or every recipe under its headings, unless its
// markup says it is a list of recipes, or the product the page is named after (a shop's page
// of a pan; a shop's recipe page may offer products beside its recipe).
void completeFromPage(const ShownPage &shown, const NonRecipes &others, std::vector<RecipeFields> &fields, int &found)
{
    if (found == 0 && !shown.mealMaster.isEmpty()) {
        for (const QString &text : shown.mealMaster)
            for (RecipeFields &f : readMealMaster(text, found))
                if (int(fields.size()) < kMaxRecipes)
                    fields.push_back(std::move(f));
        return;
    }
    if (found == 0) {
        const auto isProduct = [&](const QString &title) {
            const QString t = title.simplified().toLower();
            return std::any_of(others.products.begin(), others.products.end(), [&](const QString &p) {
                const QString name = p.toLower();
                return name.isEmpty() || t.contains(name) || name.contains(t);
            });
        };
        if (others.list || std::any_of(shown.recipes.begin(), shown.recipes.end(), [&](const ShownRecipe &r) { return isProduct(r.title); }))
            return;
        for (const ShownRecipe &r : shown.recipes) {
            RecipeFields f;
            f.name = r.title;
            f.yield = r.yield;
            f.ingredients = r.ingredients;
            f.steps = r.steps;
            f.image = r.image;
            f.remarks << QStringLiteral("sans balisage de recette : à relire");
            fields.push_back(std::move(f));
        }
        found = int(fields.size());
        return;
    }
    if (fields.size() != 1)
        return;
    RecipeFields &f = fields.front();
    if (f.ingredients.empty() && shown.parts.ingredientCount() >= 2) {
        f.ingredients = shown.parts.ingredients;
        f.remarks << QStringLiteral("ingrédients lus dans le texte de la page : à relire");
    }
    if (f.steps.empty() && !shown.parts.steps.empty()) {
        f.steps = shown.parts.steps;
        f.remarks << QStringLiteral("étapes lues dans le texte de la page : à relire");
    }
    if (f.image.isEmpty())
        f.image = shown.parts.image;
}

// What Qt's JSON parser says, in French.
QString jsonError(const QJsonParseError &error)
{
    switch (error.error) {
    case QJsonParseError::UnterminatedObject: return QStringLiteral("objet non fermé");
    case QJsonParseError::UnterminatedArray: return QStringLiteral("liste non fermée");
    case QJsonParseError::UnterminatedString: return QStringLiteral("texte non fermé");
    case QJsonParseError::MissingNameSeparator: return QStringLiteral("« : » manquant");
    case QJsonParseError::MissingValueSeparator: return QStringLiteral("« , » manquante");
    case QJsonParseError::DeepNesting: return QStringLiteral("imbrication trop profonde");
    case QJsonParseError::DocumentTooLarge: return QStringLiteral("document trop grand");
    case QJsonParseError::IllegalUTF8String: return QStringLiteral("caractères UTF-8 invalides");
    default: return QStringLiteral("syntaxe invalide");
    }
}

QString addressOf(const Page &page, const QString &address)
{
    return page.canonical.startsWith(QLatin1String("http")) ? page.canonical : address;
}

} // namespace

QString decodeSource(const QByteArray &content)
{
    return decodeText(content);
}

Format detectFormat(const QByteArray &content)
{
    const QByteArray head = withoutBom(content.left(64 * 1024));
    const QByteArray start = head.trimmed();
    if (start.startsWith("@@") || start.startsWith("##"))
        return Format::BookText;
    // A saved page that shows a Meal-Master recipe is a page: its <pre> is read.
    if (start.startsWith('<'))
        return Format::Html;
    if (looksLikeMealMaster(decodeSource(head)))
        return Format::MealMaster;
    if (start.startsWith('{') || start.startsWith('['))
        return Format::Json;
    const QByteArray lower = head.left(4096).toLower();
    if (start.startsWith('<') || lower.contains("<!doctype html") || lower.contains("<html"))
        return Format::Html;
    return Format::Unknown;
}

ParseResult parseSource(const QByteArray &source, const QString &address, QString *problem, const QByteArray &charset)
{
    ParseResult result;
    const auto refuse = [&](const QString &why) {
        if (problem)
            *problem = why;
        return result;
    };
    if (source.size() > kMaxSourceBytes)
        return refuse(QStringLiteral("plus de %1 Mo").arg(kMaxSourceBytes / (1024 * 1024)));
    // A text in UTF-16 is read as UTF-8 from here on.
    const bool utf16 = isUtf16(source);
    const QByteArray content = utf16 ? decodeText(source).toUtf8() : source;
    const QByteArray declared = utf16 ? QByteArray("utf-8") : charset;
    result.format = detectFormat(content);
    switch (result.format) {
    case Format::Unknown:
        return refuse(QStringLiteral("format non reconnu (ni page web, ni JSON, ni Meal-Master)"));
    case Format::BookText:
        return result;
    case Format::MealMaster: {
        // Many Meal-Master files come from DOS and its code page 850.
        const QString text = looksLikeDosText(content) ? decodeCp850(withoutBom(content)) : decodeText(content, declared);
        for (const RecipeFields &f : readMealMaster(text, result.recipesFound)) {
            if (const QString why = unstorable(f); !why.isEmpty())
                result.refused << why;
            else
                result.recipes.push_back(layoutRecipe(f, address));
        }
        return result;
    }
    case Format::Json: {
        QJsonParseError error;
        const QString json = decodeText(content, declared);
        const QJsonDocument doc = QJsonDocument::fromJson(json.toUtf8(), &error);
        std::vector<QJsonValue> values;
        if (!doc.isNull())
            values.push_back(doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object()));
        else
            values = readJsonValues(json);
        if (values.empty())
            return refuse(QStringLiteral("JSON illisible (%1, position %2)").arg(jsonError(error)).arg(error.offset));
        RecipeNodes nodes;
        for (const QJsonValue &v : values)
            nodes.add(v);
        layOut(fieldsOfNodes(nodes, result.recipesFound), address, result);
        return result;
    }
    case Format::Html: {
        const QByteArray utf8 = decodeText(content, declared.isEmpty() ? metaCharset(content) : declared).toUtf8();
        // Most pages give their recipe as JSON-LD in their head: the part of the page up to the
        // end of its last JSON-LD script is parsed first (the parser reads a part exactly as
        // the beginning of the whole), and the whole page only when that part gives no recipe
        // with its ingredients and steps (a microdata recipe may be cut by a script in it).
        const qsizetype head = jsonLdEnd(utf8);
        if (head > 0 && head < utf8.size()) {
            const Page part = readPage(utf8.left(head));
            int found = 0;
            std::vector<RecipeFields> fields = markedRecipes(part, found);
            if (part.problem.isEmpty() && allComplete(fields)) {
                result.recipesFound = found;
                layOut(fields, addressOf(part, address), result);
                return result;
            }
        }
        const Page page = readPage(utf8, true);
        if (!page.problem.isEmpty())
            return refuse(page.problem);
        NonRecipes others;
        std::vector<RecipeFields> fields = markedRecipes(page, result.recipesFound, &others);
        completeFromPage(page.shown, others, fields, result.recipesFound);
        layOut(fields, addressOf(page, address), result);
        return result;
    }
    }
    return result;
}

} // namespace gratinel::importer
