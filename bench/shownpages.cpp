// Measures the importer on folders of saved pages against the recipes a cook sees on them.
//
//   shownpages FOLDER...          each NAME.html beside NAME.json, the expected recipes:
//                                 {"recipes":[{"title":..., "ingredients":[...], "steps":[...]}]}
//                                 (an empty list: the page holds no recipe)
//   shownpages --none FILE...     pages that hold no recipe (documentation, articles)
//   shownpages --lines FILE       the page's lines and sections, as the reader sees them
//
// Prints, for the pages with recipes, the share of recipes found, of right titles, of the
// expected ingredient lines and steps found; and the false recipes (recipes given by a page
// that holds none, or past the number a page holds). With -v, each page that misses.
// Not run by bench/run: it needs pages, which are not part of the project.
#include "importer/charset.h"
#include "importer/importer.h"
#include "importer/htmlpage.h"
#include "importer/pagesections.h"
#include "store/spelling.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gumbo.h>

#include <cstdio>

using namespace gratinel;
using namespace gratinel::importer;

namespace {

struct Tally {
    int pages = 0, expected = 0, found = 0, titles = 0, lines = 0, linesFound = 0, steps = 0, stepsFound = 0;
    int falseRecipes = 0, falsePages = 0, extraLines = 0, extraSteps = 0;
};

QString norm(const QString &text)
{
    return collapseSpaces(spelling::storableSpelling(text));
}

// The text's lines of a kind: "- " ingredient lines, or "N. " steps.
QStringList linesOf(const QString &text, bool steps)
{
    static const QRegularExpression number(QStringLiteral("^\\d+\\. "));
    QStringList out;
    for (const QString &l : text.split(u'\n')) {
        if (!steps && l.startsWith(QLatin1String("- ")))
            out << l.mid(2);
        else if (steps && number.match(l).hasMatch())
            out << l.mid(l.indexOf(u' ') + 1);
    }
    return out;
}

void say(bool verbose, const QString &text)
{
    if (verbose)
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

void measure(const QString &html, Tally &t, bool verbose)
{
    QFile page(html);
    QFile wanted(html.chopped(5) + QStringLiteral(".json"));
    if (!page.open(QIODevice::ReadOnly) || !wanted.open(QIODevice::ReadOnly))
        return;
    const QJsonArray expected = QJsonDocument::fromJson(wanted.readAll()).object().value(QLatin1String("recipes")).toArray();
    const ParseResult r = parseSource(page.readAll(), QFileInfo(html).fileName());
    ++t.pages;
    const QString name = QFileInfo(html).fileName();
    if (int(r.recipes.size()) > expected.size()) {
        t.falseRecipes += int(r.recipes.size()) - int(expected.size());
        ++t.falsePages;
        say(verbose, QStringLiteral("%1: %2 recettes, %3 attendues").arg(name).arg(r.recipes.size()).arg(expected.size()));
        for (const Recipe &got : r.recipes)
            say(verbose, QStringLiteral("    « %1 »").arg(got.title));
    }
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const QJsonObject e = expected.at(i).toObject();
        const QString title = norm(e.value(QLatin1String("title")).toString());
        QStringList ingredients, steps;
        for (const QJsonValue &v : e.value(QLatin1String("ingredients")).toArray())
            ingredients << norm(v.toString());
        for (const QJsonValue &v : e.value(QLatin1String("steps")).toArray())
            steps << norm(v.toString());
        ++t.expected;
        t.lines += int(ingredients.size());
        t.steps += int(steps.size());
        // The recipe of that title, else the one at the same place.
        const Recipe *got = nullptr;
        for (const Recipe &c : r.recipes)
            if (!got && c.title == title)
                got = &c;
        if (!got && i < qsizetype(r.recipes.size()))
            got = &r.recipes[size_t(i)];
        if (!got) {
            say(verbose, QStringLiteral("%1: « %2 » pas trouvée").arg(name, title));
            continue;
        }
        ++t.found;
        if (got->title == title)
            ++t.titles;
        else
            say(verbose, QStringLiteral("%1: titre « %2 », attendu « %3 »").arg(name, got->title, title));
        const QStringList gotLines = linesOf(got->text, false);
        const QStringList gotSteps = linesOf(got->text, true);
        for (const QString &l : ingredients) {
            if (gotLines.contains(l))
                ++t.linesFound;
            else
                say(verbose, QStringLiteral("%1: ingrédient manquant « %2 »").arg(name, l));
        }
        for (const QString &l : gotLines)
            if (!ingredients.contains(l)) {
                ++t.extraLines;
                say(verbose, QStringLiteral("%1: ingrédient en trop « %2 »").arg(name, l));
            }
        for (const QString &s : steps) {
            if (std::any_of(gotSteps.begin(), gotSteps.end(), [&](const QString &g) { return g == s; }))
                ++t.stepsFound;
            else
                say(verbose, QStringLiteral("%1: étape manquante « %2 »").arg(name, s));
        }
        for (const QString &g : gotSteps)
            if (!steps.contains(g)) {
                ++t.extraSteps;
                say(verbose, QStringLiteral("%1: étape en trop « %2 »").arg(name, g));
            }
    }
}

// The lines of a page and its sections, for whoever tunes the reader.
void showLines(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = f.readAll();
    const QByteArray utf8 = decodeText(bytes, metaCharset(bytes)).toUtf8();
    GumboOutput *out = gumbo_parse_with_options(&kGumboDefaultOptions, utf8.constData(), size_t(utf8.size()));
    const PageLines page = readPageLines(out->root);
    static const char *kinds[] = {"H", "li", "tr", "th", "p", "open", "close", "stop"};
    std::printf("og:title «%s» site «%s» title «%s» plug-in «%s»\n", qPrintable(page.ogTitle), qPrintable(page.siteName),
                qPrintable(page.pageTitle), qPrintable(page.pluginTitle));
    for (size_t i = 0; i < page.lines.size(); ++i) {
        const PageLine &l = page.lines[i];
        const LineRole r = roleOf(l);
        std::printf("%4zu %-5s%d %s%s%s role %d list %d scope %lld «%s»\n", i, kinds[l.kind], l.level, l.bold ? "b" : "",
                    l.link ? "a" : "", l.siteName ? "S" : "", int(r.kind.role), l.list,
                    l.scopeEnd == SIZE_MAX ? -1LL : (long long)l.scopeEnd, qPrintable(l.text));
    }
    for (const RecipeSections &r : findRecipeSections(page)) {
        std::printf("recipe title %lld\n", r.title == SIZE_MAX ? -1LL : (long long)r.title);
        for (const auto *list : {&r.ingredients, &r.steps})
            for (const Section &s : *list)
                std::printf("  %s %zu..%zu level %d «%s»\n", list == &r.steps ? "steps" : "ingredients", s.begin, s.end,
                            s.level, qPrintable(s.name));
    }
    gumbo_destroy_output(&kGumboDefaultOptions, out);
}

double share(int part, int whole)
{
    return whole == 0 ? 100.0 : 100.0 * part / whole;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool verbose = args.removeAll(QStringLiteral("-v")) > 0;
    const bool none = args.removeAll(QStringLiteral("--none")) > 0;
    if (args.removeAll(QStringLiteral("--lines")) > 0) {
        for (const QString &file : args)
            showLines(file);
        return 0;
    }
    Tally t;
    if (none) {
        for (const QString &file : args) {
            QFile f(file);
            if (!f.open(QIODevice::ReadOnly))
                continue;
            ++t.pages;
            const ParseResult r = parseSource(f.readAll(), file);
            if (!r.recipes.empty()) {
                ++t.falsePages;
                t.falseRecipes += int(r.recipes.size());
                say(true, QStringLiteral("%1: « %2 »").arg(file, r.recipes.front().title));
            }
        }
        std::printf("pages %d, pages with a false recipe %d, false recipes %d\n", t.pages, t.falsePages, t.falseRecipes);
        return 0;
    }
    for (const QString &folder : args) {
        const QDir dir(folder);
        for (const QString &name : dir.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name))
            measure(dir.filePath(name), t, verbose);
    }
    std::printf("pages %d, recipes %d\n", t.pages, t.expected);
    std::printf("found %.1f%%, right titles %.1f%%, ingredient lines %.1f%% (%d extra), steps %.1f%% (%d extra)\n",
                share(t.found, t.expected), share(t.titles, t.expected), share(t.linesFound, t.lines), t.extraLines,
                share(t.stepsFound, t.steps), t.extraSteps);
    std::printf("false recipes %d on %d pages\n", t.falseRecipes, t.falsePages);
    return 0;
}
