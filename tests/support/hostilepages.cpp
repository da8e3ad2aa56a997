// Hostile pages for the importer's bounds.
#include "hostilepages.h"

namespace gratinel::testing {

namespace {

QByteArray unit(const QString &shape, int i)
{
    const QByteArray n = QByteArray::number(i);
    if (shape == "stray end tags")
        return "<div></q>";
    if (shape == "self-closing divs")
        return "<div/>";
    if (shape == "mixed-case script")
        return i == 0 ? "<script>x</Script><div></q>" : "<div></q>";
    if (shape == "reopened formatting")
        return i < 3000 ? "<b id=" + n + ">" : "<p>x";
    if (shape == "deep spans")
        return i < 1000 ? QByteArray("<span>") : QByteArray("<p></p>");
    if (shape == "scope walks under the bound")
        return i < 50 ? QByteArray("<span>") : QByteArray("<p></p>");
    if (shape == "nested tables")
        return "<table><td>";
    if (shape == "misnested formatting")
        return "<b><div></b>";
    if (shape == "svg broken out")
        return i == 0 ? "<svg><p></p>" : "<x/>";
    if (shape == "one huge tag")
        return i == 0 ? "<div" : " a" + n;
    if (shape == "repeated html attributes")
        return "<html a" + n + ">";
    if (shape == "comment ends")
        return i == 0 ? "<!-- --!><div></q>" : "<div></q>";
    return "<p>" + n + "</p>";
}

} // namespace

QStringList hostileShapes()
{
    return {"stray end tags", "self-closing divs", "mixed-case script", "reopened formatting", "deep spans",
            "scope walks under the bound", "nested tables", "misnested formatting", "svg broken out", "one huge tag", "repeated html attributes",
            "comment ends", "ordinary paragraphs"};
}

QByteArray hostilePage(const QString &shape, qsizetype bytes)
{
    const QByteArray script = "<script type=\"application/ld+json\">{\"@type\":\"Recipe\",\"name\":\"Piège\","
                              "\"recipeIngredient\":[\"1 œuf\"],\"recipeInstructions\":\"Battre.\"}</script>";
    QByteArray page = "<!DOCTYPE html><html><head><meta charset=\"utf-8\">" + script + "</head><body>";
    page.reserve(bytes + 1024);
    for (int i = 0; page.size() < bytes; ++i)
        page += unit(shape, i);
    return page + script + "</body></html>";
}

} // namespace gratinel::testing
