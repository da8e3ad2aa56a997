// Hostile pages for the importer's bounds.
#include "hostilepages.h"

#include <functional>

namespace gratinel::testing {

namespace {

// How a shape is built: what opens the page, the unit repeated (i counts the units) until the
// page has its size, what closes it.
struct Shape {
    QString name;
    enum Kind { JsonLd, Microdata, MealMaster } kind = JsonLd;
    std::function<QByteArray(int)> unit;
    QByteArray opening; // after the head, or the microdata item's start
};

const QByteArray kScript = "<script type=\"application/ld+json\">{\"@type\":\"Recipe\",\"name\":\"Piège\","
                           "\"recipeIngredient\":[\"1 œuf\"],\"recipeInstructions\":\"Battre.\"}</script>";

QByteArray n(int i)
{
    return QByteArray::number(i);
}

const std::vector<Shape> &shapes()
{
    using K = Shape::Kind;
    static const std::vector<Shape> all = {
        {"stray end tags", K::JsonLd, [](int) { return QByteArray("<div></q>"); }, {}},
        {"self-closing divs", K::JsonLd, [](int) { return QByteArray("<div/>"); }, {}},
        {"mixed-case script", K::JsonLd, [](int i) { return QByteArray(i == 0 ? "<script>x</Script><div></q>" : "<div></q>"); }, {}},
        {"reopened formatting", K::JsonLd, [](int i) { return i < 3000 ? "<b id=" + n(i) + ">" : QByteArray("<p>x"); }, {}},
        {"deep spans", K::JsonLd, [](int i) { return QByteArray(i < 1000 ? "<span>" : "<p></p>"); }, {}},
        {"scope walks under the bound", K::JsonLd, [](int i) { return QByteArray(i < 50 ? "<span>" : "<p></p>"); }, {}},
        {"nested tables", K::JsonLd, [](int) { return QByteArray("<table><td>"); }, {}},
        {"misnested formatting", K::JsonLd, [](int) { return QByteArray("<b><div></b>"); }, {}},
        {"svg broken out", K::JsonLd, [](int i) { return QByteArray(i == 0 ? "<svg><p></p>" : "<x/>"); }, {}},
        {"one huge tag", K::JsonLd, [](int i) { return i == 0 ? QByteArray("<div") : " a" + n(i); }, {}},
        {"repeated html attributes", K::JsonLd, [](int i) { return "<html a" + n(i) + ">"; }, {}},
        {"comment ends", K::JsonLd, [](int i) { return QByteArray(i == 0 ? "<!-- --!><div></q>" : "<div></q>"); }, {}},
        {"ordinary paragraphs", K::JsonLd, [](int i) { return "<p>" + n(i) + "</p>"; }, {}},
        // libgumbo makes no element of an isindex: the end tag walks down to the body past every
        // unknown element left open, one more a repetition.
        {"unknown elements around isindex", K::JsonLd, [](int) { return QByteArray("<x></isindex><isindex>"); }, {}},
        // Each third b leaves the list of formatting elements but stays open under the spans.
        {"formatting reopened under spans", K::JsonLd, [](int) { return QByteArray("<b></span><span>"); }, {}},
        {"textarea in a frameset", K::JsonLd, [](int i) { return QByteArray(i == 0 ? "<frameset><textarea>" : "<frameset>"); }, {}},
        {"nul bytes under deep divs", K::JsonLd, [](int i) { return i < 1000 ? QByteArray("<div>") : QByteArray(1024, '\0'); }, {}},
        {"letters and nul bytes", K::JsonLd, [](int) { return QByteArray("a\0a\0a\0a\0", 8); }, {}},
        {"text under deep formatting", K::JsonLd,
         [](int i) { return i < 1015 ? QByteArray("<div>") : i == 1015 ? QByteArray("<b>") : QByteArray(1024, 'x'); }, {}},
        {"nested item properties over comments", K::Microdata,
         [](int i) { return i < 1000 ? QByteArray("<span itemprop=\"recipeIngredient\">") : QByteArray("<!-- c -->"); }, {}},
        {"nested recipe card names", K::Microdata,
         [](int i) { return i < 1000 ? QByteArray("<div class=\"wprm-recipe-name\">") : QByteArray("<!-- c -->"); }, {}},
        {"one property of many words", K::Microdata, [](int i) { return "w" + n(i) + " "; },
         "<span itemprop=\"recipeIngredient\">1 œuf</span><span itemprop=\""},
        {"Meal-Master of long dashed lines", K::MealMaster,
         [](int) { return QByteArray(1000, '-') + "x" + QByteArray(3000, '-') + " \n"; }, {}},
    };
    return all;
}

} // namespace

QStringList hostileShapes()
{
    QStringList names;
    for (const Shape &s : shapes())
        names << s.name;
    return names;
}

QByteArray hostilePage(const QString &name, qsizetype bytes)
{
    const auto it = std::find_if(shapes().begin(), shapes().end(), [&](const Shape &s) { return s.name == name; });
    if (it == shapes().end())
        return {};
    QByteArray page;
    QByteArray closing;
    switch (it->kind) {
    case Shape::JsonLd:
        page = "<!DOCTYPE html><html><head><meta charset=\"utf-8\">" + kScript + "</head><body>";
        closing = kScript + "</body></html>";
        break;
    case Shape::Microdata:
        page = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head><body>"
               "<div itemscope itemtype=\"http://schema.org/Recipe\"><h1 itemprop=\"name\">Piège</h1>"
               "<meta itemprop=\"recipeInstructions\" content=\"Battre.\">";
        closing = it->opening.isEmpty() ? "</div></body></html>" : "\">x</span></div></body></html>";
        break;
    case Shape::MealMaster:
        page = "MMMMM----- Recipe via Meal-Master (tm) v8.05\n      Title: Piège\n Categories: Œufs\n\n"
               "      1 ea Oeuf\n\n  Battre.\n";
        closing = "MMMMM\n";
        break;
    }
    page += it->opening;
    page.reserve(bytes + 1024);
    for (int i = 0; page.size() < bytes; ++i)
        page += it->unit(i);
    return page + closing;
}

} // namespace gratinel::testing
