// Format detection and the way from a source to laid-out recipes.
#include "importer/importer.h"

#include "importer/charset.h"
#include "importer/dostext.h"
#include "importer/htmlpage.h"
#include "importer/limits.h"
#include "importer/mealmaster.h"
#include "importer/recipelayout.h"
#include "importer/recipenodes.h"
#include "importer/schemaorg.h"
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
    const QString shown = name.isEmpty() ? QStringLiteral("(sans titre)") : QStringLiteral("« %1 »").arg(name.left(kMaxTitleChars));
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

void addRecipes(const RecipeNodes &nodes, const QString &address, ParseResult &result)
{
    result.recipesFound += nodes.found();
    for (const QJsonObject &o : nodes.recipes()) {
        const RecipeFields f = fieldsOf(o);
        if (const QString why = unstorable(f); !why.isEmpty()) {
            result.refused << why;
            continue;
        }
        result.recipes.push_back(layoutRecipe(f, f.url.isEmpty() ? address : f.url));
    }
}

void fromJson(const QJsonValue &root, const QString &address, ParseResult &result)
{
    RecipeNodes nodes;
    nodes.add(root);
    addRecipes(nodes, address, result);
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

void fromPage(const Page &page, const QString &address, ParseResult &result)
{
    const QString where = page.canonical.startsWith(QLatin1String("http")) ? page.canonical : address;
    // Every script of the page together: the same recipe may be given in several.
    RecipeNodes nodes;
    for (const QString &script : page.jsonLd) {
        // Some sites leave comments or a stray ';' around the object: only the JSON part is read.
        QString json = script.trimmed();
        if (json.startsWith(QLatin1String("<!--")))
            json = json.mid(4);
        if (json.endsWith(QLatin1String("-->")))
            json.chop(3);
        json = json.trimmed();
        if (json.endsWith(u';'))
            json.chop(1);
        const QJsonDocument doc = QJsonDocument::fromJson(json.toUtf8());
        if (!doc.isNull())
            nodes.add(doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object()));
    }
    // Microdata only when the page has no JSON-LD recipe: most pages give both.
    if (nodes.found() == 0)
        nodes.add(page.microdata);
    addRecipes(nodes, where, result);
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
        const QJsonDocument doc = QJsonDocument::fromJson(decodeText(content, declared).toUtf8(), &error);
        if (doc.isNull())
            return refuse(QStringLiteral("JSON illisible (%1, position %2)").arg(error.errorString()).arg(error.offset));
        fromJson(doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object()), address, result);
        return result;
    }
    case Format::Html: {
        const QByteArray utf8 = decodeText(content, declared.isEmpty() ? metaCharset(content) : declared).toUtf8();
        // Most pages give their recipe as JSON-LD in their head: the part of the page up to the
        // end of its last JSON-LD script is parsed first (the parser reads a part exactly as
        // the beginning of the whole), and the whole page only when that part gives no recipe.
        const qsizetype head = jsonLdEnd(utf8);
        if (head > 0 && head < utf8.size()) {
            const Page part = readPage(utf8.left(head));
            if (part.problem.isEmpty()) {
                fromPage(part, address, result);
                if (result.recipesFound > 0)
                    return result;
                result.refused.clear();
            }
        }
        const Page page = readPage(utf8);
        if (!page.problem.isEmpty())
            return refuse(page.problem);
        fromPage(page, address, result);
        return result;
    }
    }
    return result;
}

} // namespace gratinel::importer
