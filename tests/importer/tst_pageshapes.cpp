// The importer on the shapes real sources take: every schema.org shape, pages without it,
// letters the book cannot hold, Meal-Master as it is written. One table per kind of source.
#include "importer/importer.h"
#include "store/cp1252.h"
#include "store/spelling.h"

#include <QtTest>

using namespace gratinel;
using namespace gratinel::importer;

namespace {

QByteArray ld(const QByteArray &script, const QByteArray &body = "<p>Bonjour</p>")
{
    return "<!DOCTYPE html><html><head><script type=\"application/ld+json\">" + script + "</script></head><body>"
           + body + "</body></html>";
}

// A recipe with fields, named R, with an ingredient and a step unless fields give them.
QByteArray recipe(const QByteArray &fields)
{
    QByteArray all = "{\"@type\":\"Recipe\"," + fields;
    if (!fields.startsWith("\"name\""))
        all += ",\"name\":\"R\"";
    if (!fields.contains("recipeIngredient"))
        all += ",\"recipeIngredient\":[\"sel\"]";
    if (!fields.contains("recipeInstructions"))
        all += ",\"recipeInstructions\":\"Saler.\"";
    return ld(all + "}");
}

QByteArray page(const QByteArray &head, const QByteArray &body)
{
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\">" + head + "</head><body>" + body + "</body></html>";
}

// A Meal-Master line with its right column at 41.
QByteArray mm(const QByteArray &left, const QByteArray &right = {})
{
    return right.isEmpty() ? left + "\n" : left.leftJustified(41, ' ') + right + "\n";
}

QByteArray mmRecipe(const QByteArray &header, const QByteArray &ingredients)
{
    return "MMMMM----- Recipe via Meal-Master (tm) v8.05\n\n" + header + "\n" + ingredients + "\n  Servir.\nMMMMM\n";
}

void addColumns()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("title");    // empty: no recipe
    QTest::addColumn<QStringList>("wanted"); // parts of the text, in order
    QTest::addColumn<QString>("remarks");
}

void check()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, title);
    QFETCH(QStringList, wanted);
    QFETCH(QString, remarks);
    const ParseResult r = parseSource(content, "p.html");
    if (title.isEmpty()) {
        QVERIFY2(r.recipes.empty(), qPrintable(r.recipes.empty() ? QString() : r.recipes.front().text));
        return;
    }
    QCOMPARE(int(r.recipes.size()), 1);
    const Recipe &got = r.recipes.front();
    QCOMPARE(got.title, title);
    qsizetype at = 0;
    for (const QString &w : wanted) {
        const qsizetype found = got.text.indexOf(w, at);
        QVERIFY2(found >= 0, qPrintable(QStringLiteral("« %1 » missing or out of order in:\n%2").arg(w, got.text)));
        at = found + w.size();
    }
    QCOMPARE(got.remarks.join(QStringLiteral(" ; ")), remarks);
    QVERIFY(cp1252::canEncode(got.text));
}

} // namespace

class tst_PageShapes : public QObject {
    Q_OBJECT

private slots:
    void schemaOrgShapesAreRead_data();
    void schemaOrgShapesAreRead() { check(); }
    void pagesWithoutMarkupGiveTheRecipeTheyShow_data();
    void pagesWithoutMarkupGiveTheRecipeTheyShow() { check(); }
    void lettersTheBookCannotHoldLoseOnlyTheirMark_data();
    void lettersTheBookCannotHoldLoseOnlyTheirMark();
    void mealMasterIsReadAsItIsWritten_data();
    void mealMasterIsReadAsItIsWritten() { check(); }
};

void tst_PageShapes::schemaOrgShapesAreRead_data()
{
    addColumns();
    QTest::newRow("yield list with a unit") << recipe("\"recipeYield\":[\"2\",\"2 cups\"]") << "R" << QStringList{"Pour 2 cups\n"} << "";
    QTest::newRow("yield list, number first") << recipe("\"recipeYield\":[\"39\",\"39 cookies\"]") << "R" << QStringList{"Pour 39 cookies\n"} << "";
    QTest::newRow("yield as quantitative value")
        << recipe("\"recipeYield\":{\"@type\":\"QuantitativeValue\",\"value\":6,\"unitCode\":\"IE\"}") << "R"
        << QStringList{"Pour 6 personnes\n"} << "";
    QTest::newRow("step names and sections")
        << recipe("\"recipeInstructions\":[{\"@type\":\"HowToStep\",\"name\":\"Préparation de la rhubarbe\",\"text\":\"Éplucher.\"},"
                  "{\"@type\":\"HowToStep\",\"name\":\"Mélanger la farine…\",\"text\":\"Mélanger la farine et le sucre.\"},"
                  "{\"@type\":\"HowToSection\",\"Name\":\"Cuisson\",\"itemListElement\":[[{\"@type\":\"HowToStep\",\"name\":\"Step 1\",\"text\":\"Cuire.\"}]]}]")
        << "R" << QStringList{"1. Préparation de la rhubarbe : Éplucher.\n2. Mélanger la farine et le sucre.\n\nCuisson :\n1. Cuire."} << "";
    QTest::newRow("nested ingredient lists, null entries")
        << recipe("\"recipeIngredient\":[[\"1 oeuf\",null],[\"2 g de sel\"]],\"recipeInstructions\":\"Battre.\"") << "R"
        << QStringList{"- 1 oeuf\n- 2 g de sel\n"} << "";
    QTest::newRow("loose ISO durations")
        << recipe("\"prepTime\":\"PT0D0H30M\",\"cookTime\":\"PTH5M\"") << "R" << QStringList{"Préparation : 30 min – Cuisson : 5 min"} << "";
    QTest::newRow("durations in words")
        << recipe("\"prepTime\":\"1 h 30\",\"cookTime\":\"20 minutes\"") << "R" << QStringList{"Préparation : 1 h 30 min – Cuisson : 20 min"} << "";
    QTest::newRow("minutes without T") << recipe("\"totalTime\":\"P30M\"") << "R" << QStringList{"Temps total : 30 min"} << "";
    QTest::newRow("unreadable duration left out")
        << recipe("\"prepTime\":\"PT10M\",\"cookTime\":\"selon le four\"") << "R" << QStringList{"Préparation : 10 min\n"}
        << "durée illisible laissée de côté : « selon le four »";
    QTest::newRow("references decoded to the end, address kept")
        << recipe("\"name\":\"Fil&amp;amp;Co lim&amp;atilde;o\",\"url\":\"https://x.example/r?id=3&section=2\"")
        << "Fil&Co limão" << QStringList{"Source : https://x.example/r?id=3&section=2"} << "";
    QTest::newRow("comment wrapper, trailing commas, raw line break")
        << ld("<!--\n{\"@type\":\"Recipe\",\"name\":\"Pain\",\"recipeIngredient\":[\"farine\",\"eau\",],\n"
              "\"recipeInstructions\":\"Pétrir.\nCuire.\",}\n-->")
        << "Pain" << QStringList{"- farine\n- eau\n", "1. Pétrir.\n2. Cuire."} << "";
    QTest::newRow("CDATA wrapper, tab in a string")
        << ld("// <![CDATA[\n{\"@type\":\"Recipe\",\"name\":\"Riz\tau lait\",\"recipeIngredient\":\"riz\"}\n// ]]>")
        << "Riz au lait" << QStringList{"- riz\n"} << "";
    QTest::newRow("two objects in one script, the recipe second")
        << ld("{\"@type\":\"WebSite\",\"name\":\"Site\"}\n{\"@type\":\"Recipe\",\"name\":\"Flan\",\"recipeIngredient\":[\"lait\"]};")
        << "Flan" << QStringList{"- lait\n"} << "";
    QTest::newRow("microdata cut by a script in its middle")
        << QByteArray("<html><head></head><body><div itemscope itemtype=\"http://schema.org/Recipe\"><h1 itemprop=\"name\">Gratin</h1>"
            "<li itemprop=\"recipeIngredient\">1 kg de pommes de terre</li>"
            "<script type=\"application/ld+json\">{\"@type\":\"BreadcrumbList\"}</script>"
            "<time itemprop=\"cookTime\" datetime=\"PT1H\">une heure</time><a itemprop=\"url\" href=\"https://g.example/?a=1&amp;b=2\">lien</a>"
            "<div itemprop=\"recipeInstructions\" itemscope itemtype=\"http://schema.org/HowToStep\"><meta itemprop=\"text\" content=\"Cuire.\"></div>"
            "</div></body></html>")
        << "Gratin" << QStringList{"Cuisson : 1 h\n", "- 1 kg de pommes de terre\n", "1. Cuire.", "Source : https://g.example/?a=1&b=2"} << "";
}

void tst_PageShapes::pagesWithoutMarkupGiveTheRecipeTheyShow_data()
{
    addColumns();
    const QString unmarked = QStringLiteral("sans balisage de recette : à relire");
    QTest::newRow("French headings")
        << page("<meta property=\"og:title\" content=\"Tarte aux poires | Chez Lou\"><meta property=\"og:site_name\" content=\"Chez Lou\">"
                "<meta property=\"og:image\" content=\"https://lou.example/t.jpg\">",
                "<nav><h2>Ingrédients</h2><ul><li>menu</li><li>menu</li></ul></nav><h1>Tarte aux poires</h1><p>Une tarte.</p>"
                "<h2>Ingrédients pour 6 personnes</h2><ul><li>3 poires</li><li>1 pâte</li></ul><h3>Crème</h3><ul><li>2 oeufs</li></ul>"
                "<h2>Préparation : 20 min</h2><h2>Préparation</h2><ol><li>Étaler la pâte.</li><li>Cuire.</li></ol>"
                "<h2>Commentaires</h2><ol><li>Miam</li></ol>")
        << "Tarte aux poires" << QStringList{"- 3 poires\n- 1 pâte\nCrème :\n- 2 oeufs\n", "1. Étaler la pâte.\n2. Cuire.\n\n"} << unmarked;
    QTest::newRow("German labels and line breaks")
        << page("<title>Apfelkuchen - Omas Küche</title>",
                "<p><strong>Zutaten:</strong><br>500 g Äpfel<br>200 g Mehl</p><p><b>Zubereitung</b></p>"
                "<p>1. Äpfel schälen.</p><p>2. Backen.</p>")
        << "Apfelkuchen" << QStringList{"- 500 g Äpfel\n- 200 g Mehl\n", "1. Äpfel schälen.\n2. Backen."} << unmarked;
    QTest::newRow("recipe plug-in markup")
        << page("", "<h1>Mon blog</h1><div class=\"wprm-recipe-container\"><h2 class=\"wprm-recipe-name\">Soupe froide</h2>"
                    "<div class=\"wprm-recipe-ingredients-container\"><h3>Ingredients</h3><h4 class=\"wprm-recipe-group-name\">Base</h4>"
                    "<ul class=\"wprm-recipe-ingredients\"><li class=\"wprm-recipe-ingredient\"><span>2</span> <span>concombres</span></li>"
                    "<li class=\"wprm-recipe-ingredient\">1 yaourt</li></ul></div>"
                    "<div class=\"wprm-recipe-instructions-container\"><ul class=\"wprm-recipe-instructions\">"
                    "<li><div class=\"wprm-recipe-instruction-text\">Mixer.</div></li></ul></div>"
                    "<div class=\"wprm-recipe-notes-container\"><h3>Notes</h3><p>Servir frais.</p></div></div>")
        << "Soupe froide" << QStringList{"Base :\n- 2 concombres\n- 1 yaourt\n", "1. Mixer.\n\n"} << unmarked;
    QTest::newRow("schema recipe with null ingredients and no steps")
        << ld("{\"@type\":\"Recipe\",\"name\":\"Crêpes\",\"recipeIngredient\":[null]}",
              "<h2>Ingredientes</h2><ul><li>250 g de harina</li><li>3 huevos</li></ul><h2>Elaboración</h2><p>Mezclar.</p><p>Cocinar.</p>")
        << "Crêpes" << QStringList{"- 250 g de harina\n- 3 huevos\n", "1. Mezclar.\n2. Cocinar."}
        << "ingrédients lus dans le texte de la page : à relire ; étapes lues dans le texte de la page : à relire";
    QTest::newRow("article") << page("<meta property=\"og:title\" content=\"Le marché\">",
                                     "<h1>Le marché</h1><h2>Les producteurs</h2><ul><li>Paul</li><li>Anne</li></ul>"
                                     "<h2>Préparation du marché</h2><p>Tout commence à 5 h.</p>")
                             << "" << QStringList{} << "";
    QTest::newRow("shop page") << page("<title>Épicerie fine</title>",
                                       "<h2>Ingrédients de qualité</h2><ul><li>Huile d'olive 12 €</li><li>Safran 9 €</li></ul>"
                                       "<h2>Instructions de livraison</h2><p>Sous 48 h.</p>")
                               << "" << QStringList{} << "";
    QTest::newRow("product page") << page("<meta property=\"og:type\" content=\"product\">",
                                          "<h1>Préparation pour gâteau</h1><h2>Ingrédients</h2><ul><li>farine</li><li>cacao</li></ul>"
                                          "<h2>Instructions</h2><p>Ajouter 3 oeufs, cuire 25 min.</p>")
                                  << "" << QStringList{} << "";
    QTest::newRow("forum thread") << page("<title>Forum cuisine</title>",
                                          "<div class=\"post\"><p>Quels ingrédients pour un gâteau ?</p></div>"
                                          "<div class=\"post\"><p>Ingrédients : de la farine, des oeufs.</p><p>Préparation : facile.</p></div>")
                                  << "" << QStringList{} << "";
}

void tst_PageShapes::lettersTheBookCannotHoldLoseOnlyTheirMark_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("report");
    QTest::newRow("Czech") << "Tvarohové knedličky" << "Tvarohové knedlicky" << "remplacés : č → c";
    QTest::newRow("Polish") << "Łódź" << "Lódz" << "remplacés : Ł → L, ź → z";
    QTest::newRow("Hungarian, Romanian, Turkish, Croatian") << "ő ș ğ đ ı" << "o s g d i"
                                                             << "remplacés : ő → o, ș → s, ğ → g, đ → d, ı → i";
    QTest::newRow("a mark the code page holds stays") << "ǘ" << "ü" << "remplacés : ǘ → ü";
    QTest::newRow("other scripts are no letters with a mark") << "борщ" << "" << "supprimés : б о р щ";
    QTest::newRow("letters the book holds") << "é ö ñ å Æ ß" << "é ö ñ å Æ ß" << "";
}

void tst_PageShapes::lettersTheBookCannotHoldLoseOnlyTheirMark()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(QString, report);
    spelling::Changes changes;
    QCOMPARE(spelling::storableSpelling(text, &changes), expected);
    QCOMPARE(changes.describe(), report);
}

void tst_PageShapes::mealMasterIsReadAsItIsWritten_data()
{
    addColumns();
    const QByteArray header = "      Title: Cannoli\n Categories: Desserts\n      Yield: 12\n";
    QTest::newRow("two columns, continuation in its column")
        << mmRecipe(header, mm("      2 lb Ricotta", "    1/2 c  Chocolate chips") + mm("           - well drained", "      1 ts Vanilla")
                                + mm("    3/4 c  Sugar", "     12    Cannoli shells") + mm("", "      2 tb Powdered sugar"))
        << "Cannoli"
        << QStringList{"- 2 livres Ricotta well drained\n- 3/4 tasse Sugar\n- 1/2 tasse Chocolate chips\n- 1 c. à café Vanilla\n"
                       "- 12 Cannoli shells\n- 2 c. à soupe Powdered sugar\n"}
        << "";
    QTest::newRow("long one-column line")
        << mmRecipe(header, mm("      1    Orange, the zest finely grated and the juice kept apart")) << "Cannoli"
        << QStringList{"- 1 Orange, the zest finely grated and the juice kept apart\n"} << "";
    QTest::newRow("German header, decimal comma, CR line ends")
        << mmRecipe("      Titel: Grießbrei\n Kategorien: Süßes\n      Menge: 4 Portionen\n", mm("    1,5 l  Milch") + mm("    100 g  Grieß"))
               .replace('\n', '\r')
        << "Grießbrei" << QStringList{"Pour 4 personnes\n", "- 1,5 l Milch\n- 100 g Grieß\n"} << "";
    QTest::newRow("French header, plural units")
        << mmRecipe("      Titre : Croque\n", mm("      4 sl Pain de mie") + mm("      1 sl Jambon")) << "Croque"
        << QStringList{"- 4 tranches Pain de mie\n- 1 tranche Jambon\n"} << "";
    QTest::newRow("saved page with the recipe in <pre>")
        << QByteArray("<html><body><h1>Archive</h1><pre>") + mmRecipe(header, mm("      2 c  Farine &amp; sel")) + "</pre></body></html>"
        << "Cannoli" << QStringList{"- 2 tasses Farine & sel\n", "1. Servir."} << "";
}

QTEST_GUILESS_MAIN(tst_PageShapes)
#include "tst_pageshapes.moc"
