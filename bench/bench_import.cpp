// Recipe pages brought into the starter book: 1000 saved pages of about 150 KB imported by the
// tool in one run (every page read by its reader process, every write synced, as the tool always
// does), and one page's import by the importer over the HTML parse alone of the same page, and
// the same for a page without schema.org read under its headings; what the reader process adds
// to a page. Exits 1 when the book does not hold every imported recipe afterwards. Last, the
// slowest of the hostile sources of 10 MB read by the reader, as the tool and the drop read them.
#include "testpaths.h"
#include "figures.h"

#include "hostilepages.h"
#include "importer/importer.h"
#include "importer/pagereader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gumbo.h>

using namespace gratinel;
using namespace gratinel::bench;

namespace {

constexpr int kPages = 1000;
constexpr int kStarterFamilies = 21;
constexpr int kStarterRecipes = 339;

// A page as recipe sites make them: navigation, comments and scripts around the recipe's JSON-LD.
QByteArray recipePage(int n)
{
    QByteArray page = "<!DOCTYPE html><html lang=\"fr\"><head><meta charset=\"utf-8\"><title>Recette</title>"
                      "<link rel=\"canonical\" href=\"https://recettes.example/r/" + QByteArray::number(n) + "\">"
                      "<script>var tracker = {site: 'recettes', page: " + QByteArray::number(n) + "};</script>"
                      "<script type=\"application/ld+json\">{\"@context\":\"https://schema.org\",\"@type\":\"Recipe\","
                      "\"name\":\"Tarte n° " + QByteArray::number(n) + " aux pommes &amp; à la cannelle\","
                      "\"recipeCategory\":\"Desserts\",\"recipeYield\":\"6\",\"prepTime\":\"PT25M\",\"cookTime\":\"PT45M\","
                      "\"recipeIngredient\":[";
    for (int i = 0; i < 12; ++i)
        page += QByteArray(i ? "," : "") + "\"" + QByteArray::number(i + 1) + "00 g d'ingrédient numéro " + QByteArray::number(i) + "\"";
    page += "],\"recipeInstructions\":[";
    for (int i = 0; i < 8; ++i)
        page += QByteArray(i ? "," : "") + "{\"@type\":\"HowToStep\",\"text\":\"Étape " + QByteArray::number(i + 1)
                + " : mélanger, laisser reposer dix minutes, puis cuire à 180 ℃ en surveillant la couleur.\"}";
    page += "],\"image\":\"https://recettes.example/photos/" + QByteArray::number(n) + ".jpg\"}</script></head><body>";
    const QByteArray block = "<div class=\"card\"><a href=\"/r/autre\"><img src=\"/i.jpg\" alt=\"\"></a>"
                             "<p>Une autre recette de saison, simple et rapide, pour toute la famille &amp; les amis.</p>"
                             "<ul><li>Entrées</li><li>Plats</li><li>Desserts</li></ul></div>\n";
    while (page.size() < 150 * 1024)
        page += block;
    return page + "</body></html>";
}

// A page without schema.org: the recipe under its « Ingrédients » and « Préparation » headings,
// in the middle of the same navigation and cards.
QByteArray unmarkedPage()
{
    const QByteArray block = "<div class=\"card\"><a href=\"/r/autre\"><img src=\"/i.jpg\" alt=\"\"></a>"
                             "<p>Une autre recette de saison, simple et rapide, pour toute la famille &amp; les amis.</p>"
                             "<ul><li>Entrées</li><li>Plats</li><li>Desserts</li></ul></div>\n";
    QByteArray page = "<!DOCTYPE html><html lang=\"fr\"><head><meta charset=\"utf-8\"><title>Tarte | Recettes</title>"
                      "<meta property=\"og:title\" content=\"Tarte aux pommes | Recettes\">"
                      "<meta property=\"og:site_name\" content=\"Recettes\">"
                      "<meta property=\"og:image\" content=\"https://recettes.example/t.jpg\"></head><body>";
    while (page.size() < 75 * 1024)
        page += block;
    page += "<article><h1>Tarte aux pommes</h1><h2>Ingrédients</h2><ul>";
    for (int i = 0; i < 12; ++i)
        page += "<li>" + QByteArray::number(i + 1) + "00 g d'ingrédient numéro " + QByteArray::number(i) + "</li>";
    page += "</ul><h2>Préparation</h2><ol>";
    for (int i = 0; i < 8; ++i)
        page += "<li>Étape " + QByteArray::number(i + 1) + " : mélanger, laisser reposer, puis cuire à 180 ℃.</li>";
    page += "</ol></article>";
    while (page.size() < 150 * 1024)
        page += block;
    return page + "</body></html>";
}

bool runTool(const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(testpaths::bookTool(), args);
    p.closeWriteChannel();
    if (!p.waitForFinished(-1)) 
        return false;
    p.readAllStandardOutput();
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString starter = dir.filePath(QStringLiteral("starter"));
    const QString book = dir.filePath(QStringLiteral("book"));
    if (!dir.isValid() || !runTool({QStringLiteral("create"), starter, testpaths::starterSource()})
        || !bookHolds(starter, kStarterFamilies, kStarterRecipes) || !QDir().mkpath(book)) {
        note(QStringLiteral("bench_import : impossible de créer le livre de départ"));
        return 1;
    }
    QStringList args = {QStringLiteral("import"), book};
    for (int n = 0; n < kPages; ++n) {
        QFile f(dir.filePath(QStringLiteral("page%1.html").arg(n)));
        if (!f.open(QIODevice::WriteOnly) || f.write(recipePage(n)) < 150 * 1024)
            return 1;
        args << f.fileName();
    }

    bool ok = true;
    figure("import_1000_pages_ms",
           medianMs(
               3, [&] { ok = runTool(args) && ok; },
               [&] {
                   QDir(book).removeRecursively();
                   QDir().mkpath(book);
                   copyBook(starter, book);
               }),
           "ms");
    if (!ok || !bookHolds(book, kStarterFamilies, kStarterRecipes + kPages)) {
        note(QStringLiteral("bench_import : l'import n'a pas ajouté les %1 recettes").arg(kPages));
        return 1;
    }

    // One page: everything the importer does to it, over libgumbo's parse of the same bytes.
    const QByteArray page = recipePage(7);
    int recipes = 0;
    const double import = medianMs(31, [&] {
        recipes = int(importer::parseSource(page, QStringLiteral("page7.html")).recipes.size());
    });
    const double parse = medianMs(31, [&] {
        GumboOutput *out = gumbo_parse_with_options(&kGumboDefaultOptions, page.constData(), size_t(page.size()));
        gumbo_destroy_output(&kGumboDefaultOptions, out);
    });
    if (recipes != 1 || parse <= 0) {
        note(QStringLiteral("bench_import : la page ne donne pas sa recette"));
        return 1;
    }
    note(QStringLiteral("import d'une page : %1 ms, analyse HTML seule : %2 ms").arg(import).arg(parse));
    figure("import_page_vs_parse", import / parse, "x");

    // A page without schema.org, read under its headings, over the HTML parse alone of it.
    const QByteArray unmarked = unmarkedPage();
    int ingredients = 0;
    const double fallback = medianMs(31, [&] {
        const importer::ParseResult r = importer::parseSource(unmarked, QStringLiteral("tarte.html"));
        ingredients = r.recipes.size() == 1 ? int(r.recipes.front().text.count(QStringLiteral("\n- "))) : 0;
    });
    const double unmarkedParse = medianMs(31, [&] {
        GumboOutput *out = gumbo_parse_with_options(&kGumboDefaultOptions, unmarked.constData(), size_t(unmarked.size()));
        gumbo_destroy_output(&kGumboDefaultOptions, out);
    });
    if (ingredients != 12 || unmarkedParse <= 0) {
        note(QStringLiteral("bench_import : la page sans balisage ne donne pas sa recette"));
        return 1;
    }
    note(QStringLiteral("page sans balisage : %1 ms, analyse HTML seule : %2 ms").arg(fallback).arg(unmarkedParse));
    figure("import_fallback_page_vs_parse", fallback / unmarkedParse, "x");

    // The same page through the reader process, kept from one page to the next as the tool does.
    importer::PageReader reader;
    const QString address = QStringLiteral("page7.html");
    int read = 0;
    const double throughReader = medianMs(31, [&] {
        read = int(reader.read({page, address, {}}).result.recipes.size());
    });
    if (read != 1 || reader.started() != 1) {
        note(QStringLiteral("bench_import : le lecteur ne donne pas la recette de la page"));
        return 1;
    }
    note(QStringLiteral("une page par le lecteur : %1 ms, dans le programme : %2 ms").arg(throughReader).arg(import));
    figure("reader_overhead_page_ms", std::max(0.0, throughReader - import), "ms");

    // Sources of 10 MB made to make the parser or our walks slow, deep or greedy: each is read or
    // refused, the slowest counts.
    double worst = 0;
    for (const QString &shape : testing::hostileShapes()) {
        const QByteArray hostile = testing::hostilePage(shape, 10 * 1000 * 1000);
        QString outcome;
        const double ms = medianMs(3, [&] {
            const importer::ReadOutcome out = reader.read({hostile, QStringLiteral("piege.html"), {}});
            outcome = out.problem.isEmpty() ? QStringLiteral("%1 recette(s)").arg(out.result.recipes.size()) : out.problem;
        });
        note(QStringLiteral("source hostile « %1 » : %2 ms, %3").arg(shape).arg(ms).arg(outcome));
        worst = std::max(worst, ms);
    }
    figure("import_hostile_10mb_ms", worst, "ms");
    return 0;
}
