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
    QTest::addColumn<QString>("title");    // empty: no recipe; several recipes: their titles, one a line
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
        QVERIFY2(r.recipes.empty(), qPrintable(r.recipes.empty() ? QString() : r.recipes.front().title + u'\n' + r.recipes.front().text));
        return;
    }
    // Each recipe of the page, counted as found (the drop and the tool say how many).
    QStringList titles, texts;
    for (const Recipe &got : r.recipes) {
        titles << got.title;
        texts << got.text;
        QCOMPARE(got.remarks.join(QStringLiteral(" ; ")), remarks);
        QVERIFY(cp1252::canEncode(got.text));
    }
    QCOMPARE(titles, title.split(u'\n'));
    QCOMPARE(r.recipesFound, int(titles.size()));
    const QString all = texts.join(u'\n');
    qsizetype at = 0;
    for (const QString &w : wanted) {
        const qsizetype found = all.indexOf(w, at);
        QVERIFY2(found >= 0, qPrintable(QStringLiteral("« %1 » missing or out of order in:\n%2").arg(w, all)));
        at = found + w.size();
    }
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
    // Sections hold every block up to the next heading of their rank.
    const QByteArray cook = "<h2>Préparation</h2><ol><li>Mélangez la farine et les œufs.</li><li>Faites cuire 20 min.</li></ol>";
    const QByteArray pantry = "<h2>Ingrédients</h2><ul><li>200 g de farine</li><li>2 œufs</li></ul>";
    QTest::newRow("paragraphs before the lists, yield above them")
        << page("<title>Flan</title>", "<h1>Flan</h1><h2>Ingrédients</h2><p>Pour 6 personnes</p><ul><li>1 l de lait</li><li>4 œufs</li></ul>"
                                      "<h2>Préparation</h2><p>Préchauffez le four à 180 °C.</p><ol><li>Battez les œufs.</li><li>Versez le lait.</li>"
                                      "<li>Faites cuire 40 min.</li></ol><p>Bon appétit ! Si vous avez aimé cette recette, partagez-la.</p>"
                                      "<p>Retrouvez aussi mes autres flans.</p>")
        << "Flan" << QStringList{"Pour 6 personnes\n", "- 1 l de lait\n- 4 œufs\n",
                                 "1. Préchauffez le four à 180 °C.\n2. Battez les œufs.\n3. Versez le lait.\n4. Faites cuire 40 min.\n\nSource"}
        << unmarked;
    QTest::newRow("yield said in another language")
        << page("<title>Suppe</title>", "<h1>Suppe</h1><h2>Zutaten</h2><p>Für 4 Personen:</p><ul><li>1 l Brühe</li><li>2 Karotten</li></ul>"
                                       "<h2>Zubereitung</h2><p>Alles 20 Minuten kochen.</p>")
        << "Suppe" << QStringList{"Pour 4 personnes\n", "- 1 l Brühe\n"} << unmarked;
    QTest::newRow("headings of one role under one recipe")
        << page("<title>Tarte</title>", "<h1>Tarte</h1><h3>Ingrédients pour la pâte</h3><ul><li>200 g de farine</li><li>100 g de beurre</li></ul>"
                                       "<h3>Ingrédients pour la crème</h3><ul><li>50 cl de lait</li><li>3 jaunes d'œufs</li></ul>"
                                       "<h3>Préparation de la pâte</h3><ol><li>Sablez la farine et le beurre.</li></ol>"
                                       "<h3>Préparation de la crème</h3><ol><li>Faites chauffer le lait.</li><li>Versez-le sur les jaunes.</li></ol>")
        << "Tarte" << QStringList{"Pour la pâte :\n- 200 g de farine\n- 100 g de beurre\nPour la crème :\n- 50 cl de lait\n- 3 jaunes d'œufs\n",
                                  "Préparation de la pâte :\n1. Sablez la farine et le beurre.\n\nPréparation de la crème :\n1. Faites chauffer le lait.\n2. Versez"}
        << unmarked;
    QTest::newRow("sub-headings in bold, column headings of a table")
        << page("<title>Gâteau</title>", "<h1>Gâteau</h1><h2>Ingrédients</h2><p><strong>Pour la pâte</strong></p>"
                                        "<table><tr><th>Quantité</th><th>Ingrédient</th></tr><tr><td>200 g</td><td>farine</td></tr>"
                                        "<tr><td>3</td><td>œufs</td></tr></table><ul><li><strong>Pour le glaçage</strong></li><li>100 g de sucre glace</li></ul>" + cook)
        << "Gâteau" << QStringList{"Ingrédients :\nPour la pâte :\n- 200 g farine\n- 3 œufs\nPour le glaçage :\n- 100 g de sucre glace\n"} << unmarked;
    QTest::newRow("steps without a heading after the list")
        << page("<title>Oats</title>", "<h1>Oats</h1><h2>Ingredients</h2><ul><li>50 g oats</li><li>150 ml milk</li></ul>"
                                      "<ol><li>Mix the oats and milk.</li><li>Leave overnight.</li></ol><p>Enjoy!</p>")
        << "Oats" << QStringList{"- 50 g oats\n- 150 ml milk\n", "1. Mix the oats and milk.\n2. Leave overnight.\n\nSource"} << unmarked;
    QTest::newRow("headings in a table's head and over a list")
        << page("<title>Grütze</title>", "<h1>Grütze</h1><table><thead><tr><th colspan=\"2\">Zutaten</th></tr></thead><tr><td>500 g</td><td>Beeren</td></tr>"
                                        "<tr><td>80 g</td><td>Zucker</td></tr></table><dl><dt>Zubereitung</dt><dd><ol><li>Alles 5 Minuten kochen.</li></ol></dd></dl>")
        << "Grütze" << QStringList{"- 500 g Beeren\n- 80 g Zucker\n", "1. Alles 5 Minuten kochen."} << unmarked;
    QTest::newRow("heading words as sites write them")
        << page("<title>Tortilla</title>", "<h1>Tortilla</h1><h2>Lista de ingredientes</h2><ul><li>6 huevos</li><li>500 g de patatas</li></ul>"
                                          "<h2>Modo de preparación</h2><p>Fríe las patatas 20 minutos.</p><p>Cuaja los huevos.</p>")
        << "Tortilla" << QStringList{"- 6 huevos\n", "1. Fríe las patatas 20 minutos.\n2. Cuaja los huevos."} << unmarked;
    QTest::newRow("UTF-16 without byte order mark")
        << QByteArray(reinterpret_cast<const char *>(u"<html><body><h1>Pâté</h1><h2>Zutaten</h2><ul><li>500 g Leber</li>"
                                                    u"<li>1 Zwiebel</li></ul><h2>Zubereitungsschritte</h2><p>Alles 2 Stunden backen.</p></body></html>"),
                      qsizetype(sizeof(u"<html><body><h1>Pâté</h1><h2>Zutaten</h2><ul><li>500 g Leber</li><li>1 Zwiebel</li></ul>"
                                       u"<h2>Zubereitungsschritte</h2><p>Alles 2 Stunden backen.</p></body></html>") - 2))
        << "Pâté" << QStringList{"- 500 g Leber\n- 1 Zwiebel\n", "1. Alles 2 Stunden backen."} << unmarked;
    // Several recipes on one page, each under its own title.
    QTest::newRow("two recipes")
        << page("<title>Deux soupes</title>", "<h1>Deux soupes</h1><h2>Soupe verte</h2>" + pantry + cook + "<h2>Soupe rouge</h2>"
                                             "<h3>Ingrédients</h3><ul><li>1 kg de tomates</li><li>1 oignon</li></ul><h3>Préparation</h3><p>Mixez les tomates.</p>")
        << "Soupe verte\nSoupe rouge" << QStringList{"- 200 g de farine\n", "- 1 kg de tomates\n- 1 oignon\n", "1. Mixez les tomates."} << unmarked;
    QTest::newRow("three cocktails under labels")
        << page("<title>Cocktails</title>", "<h1>Nos cocktails</h1><h2>Mojito</h2><p><strong>Ingrédients</strong></p><ul><li>4 cl de rhum</li>"
                                           "<li>6 feuilles de menthe</li></ul><p><strong>Préparation</strong></p><p>Écrasez la menthe, ajoutez le rhum.</p>"
                                           "<h2>Spritz</h2><p><strong>Ingrédients</strong></p><ul><li>6 cl de prosecco</li><li>4 cl d'Apérol</li></ul>"
                                           "<p><strong>Préparation</strong></p><p>Versez sur des glaçons.</p><h2>Kir</h2><p><strong>Ingrédients</strong></p>"
                                           "<ul><li>1 cl de crème de cassis</li><li>9 cl de vin blanc</li></ul><p><strong>Préparation</strong></p>"
                                           "<p>Versez le cassis puis le vin.</p><p>À consommer avec modération.</p>")
        << "Mojito\nSpritz\nKir" << QStringList{"- 4 cl de rhum\n", "- 6 cl de prosecco\n", "1. Versez le cassis puis le vin.\n\nSource"} << unmarked;
    QTest::newRow("forum thread, two cooks post theirs")
        << page("<title>Vos crêpes ? - Forum</title>",
                "<h1>Vos crêpes ?</h1><div class=\"post\"><p>Qui a une recette ?</p></div>"
                "<div class=\"post\"><b>Anne</b><div class=\"content\"><b>Crêpes de Anne</b><br>Ingrédients :<br>250 g de farine<br>4 œufs<br>"
                "Préparation :<br>Mélangez la farine et les œufs.<br>Bonne dégustation !</div></div>"
                "<div class=\"post\"><b>Paul</b><div class=\"content\"><b>Crêpes à la bière</b><br>Ingrédients :<br>300 g de farine<br>"
                "25 cl de bière<br>Préparation :<br>Versez la bière sur la farine.</div></div>")
        << "Crêpes de Anne\nCrêpes à la bière" << QStringList{"1. Mélangez la farine et les œufs.\n\nSource", "- 25 cl de bière\n"} << unmarked;
    QTest::newRow("shop's recipe page offering its products")
        << ld("{\"@type\":\"Product\",\"name\":\"Farine T55\"}", "<h1>Tarte aux pommes</h1>" + pantry + cook) << "Tarte aux pommes"
        << QStringList{"- 200 g de farine\n"} << unmarked;
    // Heading words as recipe sites write them, language by language.
    struct Words {
        const char *language, *ingredients, *steps, *first, *second, *step;
    };
    for (const Words &w : std::initializer_list<Words>{
             {"French", "Liste des ingrédients", "Étapes de préparation", "200 g de farine", "3 œufs", "Mélangez et faites cuire 20 minutes."},
             {"English", "What you'll need", "Directions", "2 cups flour", "1 tsp salt", "Whisk and bake for 20 minutes."},
             {"German", "Zutaten für 4 Personen", "Zubereitungsschritte", "200 g Mehl", "2 Eier", "Alles verrühren und 20 Minuten backen."},
             {"Dutch", "Benodigdheden", "Bereidingswijze", "200 g bloem", "2 eieren", "Meng alles en bak 20 minuten."},
             {"Italian", "Ingredienti per 4 persone", "Come preparare la torta", "200 g di farina", "2 uova", "Mescolate e cuocete per 20 minuti."},
             {"Spanish", "Ingredientes para 4 personas", "Pasos", "200 g de harina", "2 huevos", "Mezcla y hornea 20 minutos."},
             {"Portuguese", "Ingredientes", "Modo de preparo", "2 xícaras de farinha", "3 ovos", "Misture tudo e asse por 20 minutos."},
             {"Polish", "Składniki na ciasto", "Sposób przygotowania", "200 g mąki", "2 jajka", "Wymieszaj i piecz 20 minut."},
             {"Swedish", "Du behöver", "Gör så här", "2 dl mjölk", "3 ägg", "Vispa och grädda i 20 minuter."},
             {"Danish", "Ingredienser", "Fremgangsmåde", "200 g mel", "2 æg", "Rør det hele sammen og bag i 20 minutter."},
             {"Finnish", "Ainekset", "Valmistus", "2 dl maitoa", "1 muna", "Sekoita ja paista 20 minuuttia."},
             {"Czech", "Suroviny", "Postup", "200 g mouky", "2 vejce", "Smíchejte a pečte 20 minut."},
             {"Hungarian", "Hozzávalók", "Elkészítés", "20 dkg liszt", "2 tojás", "Keverjük össze és süssük 20 percig."},
             {"Turkish", "Malzemeler", "Yapılışı", "2 su bardağı un", "2 adet yumurta", "Karıştırın ve 20 dakika pişirin."}})
        QTest::addRow("%s headings", w.language)
            << page("<title>R</title>", QByteArray("<h1>R</h1><h2>") + w.ingredients + "</h2><ul><li>" + w.first + "</li><li>" + w.second
                                            + "</li></ul><h3>" + w.steps + "</h3><p>" + w.step + "</p>")
            << "R" << QStringList{spelling::storableSpelling(QStringLiteral("- %1\n- %2\n").arg(QString::fromUtf8(w.first), QString::fromUtf8(w.second))),
                                  spelling::storableSpelling(QString::fromUtf8(w.step))}
            << unmarked;
    // The blogger's closing words after the steps, language by language: no step, and the steps end.
    for (const char *closing : {"Bon appétit ! Si vous avez aimé cette recette, partagez-la.", "Retrouvez aussi mes gratins.",
                                "If you make this, let me know in the comments!", "Guten Appetit! Teile es mit deinen Freunden.",
                                "Eet smakelijk! Laat hieronder een reactie achter.", "Buon appetito!", "¡Buen provecho!", "Bom apetite!",
                                "Smacznego!", "Smaklig måltid!", "Dobrou chuť!", "Jó étvágyat!", "Afiyet olsun!"})
        QTest::addRow("closing words « %s »", closing)
            << page("<title>G</title>", "<h1>G</h1>" + pantry + "<h2>Préparation</h2><ol><li>Mélangez la farine et les œufs.</li></ol><p>" + closing
                                            + "</p><p>Faites cuire 2 heures au four.</p>")
            << "G" << QStringList{"1. Mélangez la farine et les œufs.\n\nSource"} << unmarked;
    // Recipe plug-ins' markup without their script.
    struct Plugin {
        const char *name, *title, *ingredients, *steps;
    };
    for (const Plugin &p : std::initializer_list<Plugin>{{"Tasty Recipes", "tasty-recipes-title", "tasty-recipes-ingredients", "tasty-recipes-instructions"},
                                                        {"Mediavine Create", "mv-create-title", "mv-create-ingredients", "mv-create-instructions"},
                                                        {"EasyRecipe", "ERSName", "ERSIngredients", "ERSInstructions"},
                                                        {"Zip Recipes", "zlrecipe-title", "zlrecipe-ingredients-list", "zlrecipe-instructions-list"},
                                                        {"a theme's card", "recipe__title", "recipe__ingredients", "recipe__method"}})
        QTest::addRow("%s", p.name) << page("<title>Blog</title>", QByteArray("<h1>Blog</h1><div class=\"card\"><h2 class=\"") + p.title
                                                                      + "\">Flan</h2><div class=\"" + p.ingredients + "\"><ul><li>1 l de lait</li>"
                                                                      "<li>4 œufs</li></ul></div><div class=\"" + p.steps + "\"><ol><li>Battez les œufs "
                                                                      "avec le lait.</li><li>Faites cuire 40 min.</li></ol></div></div>")
                                    << "Flan" << QStringList{"- 1 l de lait\n- 4 œufs\n", "1. Battez les œufs avec le lait.\n2. Faites cuire 40 min."}
                                    << unmarked;
    QTest::newRow("steps numbered apart, by words or by a dash")
        << page("<title>S</title>", "<h1>S</h1>" + pantry + "<h2>Préparation</h2><ol><li><span class=\"n\">1</span><p>Mélangez tout.</p></li>"
                                   "<li><span class=\"n\">2</span><p>Faites cuire.</p></li></ol><h2>Cuisson</h2><p><strong>Étape 1</strong></p>"
                                   "<p>Étape 2 : Laissez refroidir.</p><p>3 - Servez tiède.</p>")
        << "S" << QStringList{"1. Mélangez tout.\n2. Faites cuire.\n\nCuisson :\n1. Laissez refroidir.\n2. Servez tiède."} << unmarked;
    // What a section holds besides its lists.
    QTest::newRow("groups as items holding their list, a time among the steps, a tip after them")
        << page("<title>Pâte</title>", "<h1>Pâte</h1><h2>Ingrédients</h2><ul><li>Pâte<ul><li>200 g de farine</li><li>1 œuf</li></ul></li>"
                                      "<li>Garniture<ul><li>3 pommes</li></ul></li></ul><h2>Préparation</h2><p>Temps de cuisson : 30 min</p>"
                                      "<ol><li>Étalez la pâte.</li><li>Faites cuire 30 min.</li></ol><p>Astuce : servez tiède.</p>")
        << "Pâte" << QStringList{"Pâte :\n- 200 g de farine\n- 1 œuf\nGarniture :\n- 3 pommes\n", "1. Étalez la pâte.\n2. Faites cuire 30 min.\n\nSource"}
        << unmarked;
    QTest::newRow("old page: labels in a layout table, lines cut by <br>, a credit after a rule")
        << page("<title>Kartoffelsalat</title>", "<table><tr><td><a href=\"/\">Start</a></td><td><h2>Kartoffelsalat</h2><table><tr><td><b>Zutaten:</b></td>"
                                                "<td>1 kg Kartoffeln<br>3 EL Essig</td></tr><tr><td><b>Zubereitung:</b></td><td>Kartoffeln kochen und schneiden.<br>"
                                                "Mit Essig mischen.</td></tr></table><hr><p>Eingesandt von Helga</p></td></tr></table>")
        << "Kartoffelsalat" << QStringList{"- 1 kg Kartoffeln\n- 3 EL Essig\n", "1. Kartoffeln kochen und schneiden.\n2. Mit Essig mischen.\n\nSource"}
        << unmarked;
    QTest::newRow("the same recipe shown twice, then its card")
        << page("<title>Crumble</title>", "<h1>Crumble</h1><h2>Les ingrédients</h2><ul><li>4 pommes</li><li>100 g de farine</li></ul>"
                                         "<h2>La préparation en images</h2><p>Épluchez les pommes.</p><div class=\"card\"><h2>Crumble</h2><h3>Ingrédients</h3>"
                                         "<ul><li>4 pommes</li><li>100 g de farine</li></ul><h3>Préparation</h3><ol><li>Épluchez les pommes.</li>"
                                         "<li>Couvrez de farine et faites cuire 35 minutes.</li></ol></div>")
        << "Crumble" << QStringList{"1. Épluchez les pommes.\n2. Couvrez de farine et faites cuire 35 minutes."} << unmarked;
    // Titles: the recipe's own name.
    QTest::newRow("site name and generic word after the name")
        << page("<title>Pannenkoeken – Recept – Smulweb</title><meta property=\"og:title\" content=\"Pannenkoeken – Recept\">", pantry + cook)
        << "Pannenkoeken" << QStringList{} << unmarked;
    QTest::newRow("recipe after the name, date glued to the heading")
        << page("<title>Lemon loaf recipe | Bakes</title>", "<h1>Lemon loaf <span class=\"date\">3 March 2023</span></h1>" + pantry + cook)
        << "Lemon loaf" << QStringList{} << unmarked;
    QTest::newRow("site's heading over the recipe's name")
        << page("<title>Grains — Soupe miso</title>", "<header><h1>Grains</h1></header><h2>Soupe miso</h2>" + pantry + cook)
        << "Soupe miso" << QStringList{} << unmarked;
    QTest::newRow("site first in the title, the name shown as a heading")
        << page("<title>Chez Lucette :: Soupe de potiron</title>", "<h2>Soupe de potiron</h2>" + pantry + cook) << "Soupe de potiron"
        << QStringList{} << unmarked;
    QTest::newRow("no name before the recipe")
        << page("", pantry + cook + "<h3>Gaufres</h3>") << "Gaufres" << QStringList{} << unmarked;
    QTest::newRow("page that links other recipes first")
        << page("<title>Cuisine</title>", "<div class=\"top\"><h1><a href=\"/r/1\">Tarte au citron</a></h1></div><h1>Gratin</h1>" + pantry + cook)
        << "Gratin" << QStringList{} << unmarked;
    QTest::newRow("forum thread") << page("<title>Forum cuisine</title>",
                                          "<div class=\"post\"><p>Quels ingrédients pour un gâteau ?</p></div>"
                                          "<div class=\"post\"><p>Ingrédients : de la farine, des oeufs.</p><p>Préparation : facile.</p></div>")
                                  << "" << QStringList{} << "";
    // What a cooking site shows that is no recipe.
    QTest::newRow("shopping list") << page("<title>Ma liste de courses</title>",
                                           "<h1>Ma liste de courses</h1><h2>Ingrédients (3)</h2><ul><li>300 g de farine</li><li>6 œufs</li>"
                                           "<li>1 l de lait</li></ul><h2>Instructions</h2><p>Cochez les articles au fur et à mesure de vos achats.</p>")
                                   << "" << QStringList{} << "";
    QTest::newRow("instructions of a basket") << page("<title>Mon panier</title>",
                                                      "<h2>Ingrédients</h2><ul><li>300 g de farine</li><li>6 œufs</li></ul>"
                                                      "<h2>Instructions</h2><p>Cochez les articles au fur et à mesure de vos achats.</p>")
                                              << "" << QStringList{} << "";
    QTest::newRow("nutrition page") << page("<title>Pain complet</title>",
                                            "<h2>Ingrédients</h2><ul><li>Farine complète</li><li>Eau</li><li>Sel</li></ul>"
                                            "<h2>Méthode de calcul</h2><p>Les valeurs sont calculées pour 100 g de pain.</p>")
                                    << "" << QStringList{} << "";
    QTest::newRow("index filters") << page("<title>Desserts</title>",
                                           "<h3>Ingrédients</h3><ul><li><a href=\"?i=1\">Chocolat (12)</a></li><li><a href=\"?i=2\">Pommes (8)</a></li></ul>"
                                           "<h3>Préparation</h3><ul><li><a href=\"?t=1\">Moins de 15 min</a></li><li><a href=\"?t=2\">Moins de 30 min</a></li></ul>")
                                   << "" << QStringList{} << "";
    QTest::newRow("shop page of a pan")
        << page("<meta property=\"og:type\" content=\"website\"><script type=\"application/ld+json\">{\"@type\":\"Product\",\"name\":\"Poêle\","
                "\"offers\":{\"@type\":\"Offer\",\"price\":\"59\"}}</script>",
                "<h1>Poêle en fonte</h1><h2>Ingrédients pour la culotter</h2><ul><li>1 cuillère à soupe d'huile</li><li>du gros sel</li></ul>"
                "<h2>Instructions</h2><p>Chauffez la poêle avec l'huile 5 minutes.</p>")
        << "" << QStringList{} << "";
    QTest::newRow("how-to") << page("<title>How to fix a flat tyre</title>",
                                    "<h2>What you need</h2><ul><li>2 tyre levers</li><li>a spare tube</li><li>a pump</li></ul>"
                                    "<h2>Steps</h2><ol><li>Remove the wheel from the frame.</li><li>Lever the tyre off and fit the tube.</li></ol>")
                            << "" << QStringList{} << "";
    QTest::newRow("list of recipes") << ld("{\"@type\":\"ItemList\",\"itemListElement\":[{\"@type\":\"ListItem\",\"url\":\"https://s.example/1\"}]}",
                                           "<h2>Soupe à l'oignon</h2>" + pantry + cook)
                                     << "" << QStringList{} << "";
    QTest::newRow("restaurant's menu") << page("<title>La carte</title>", "<h1>La carte</h1><h2>Entrées</h2><ul><li>Soupe de poissons 9 €</li>"
                                                                       "<li>Terrine 8 €</li></ul><h2>Desserts</h2><ul><li>Tarte Tatin 8 €</li></ul>")
                                       << "" << QStringList{} << "";
    QTest::newRow("shampoo's ingredients and directions")
        << page("<title>Shampoing</title>", "<h1>Shampoing</h1><h2>Ingredients</h2><ul><li>Aqua (Water)</li><li>Sodium Laureth Sulfate</li>"
                                           "<li>Parfum</li><li>Citric Acid</li></ul><h2>Directions</h2><p>Apply to wet hair, massage and rinse.</p>")
        << "" << QStringList{} << "";
    QTest::newRow("tips under recipe headings")
        << page("<title>Astuces</title>", "<h1>10 astuces</h1><h2>Les ingrédients</h2><p>Sortez le beurre et les œufs du réfrigérateur une heure avant.</p>"
                                         "<p>Pesez tout avant de commencer, la pâtisserie est une science exacte.</p><h2>La préparation</h2>"
                                         "<p>Préchauffez toujours votre four au moins quinze minutes.</p>")
        << "" << QStringList{} << "";
    QTest::newRow("category page") << ld("{\"@graph\":[{\"@type\":\"CollectionPage\",\"name\":\"Soupes\"}]}",
                                         "<article><h2>Soupe verte</h2>" + pantry + cook + "</article>")
                                   << "" << QStringList{} << "";
    QTest::newRow("index filters as boxes to tick")
        << page("<title>Soupes</title>", "<h1>Soupes</h1><div class=\"filter-title\">Ingrédients</div><ul><li><label><input type=\"checkbox\">Carotte (14)"
                                        "</label></li><li><label><input type=\"checkbox\">Potiron (9)</label></li></ul><div class=\"filter-title\">Préparation"
                                        "</div><ul><li><label><input type=\"checkbox\">Moins de 15 min</label></li><li><label><input type=\"checkbox\">"
                                        "Moins de 30 min</label></li></ul>")
        << "" << QStringList{} << "";
    QTest::newRow("shopping list in Polish") << page("<title>Lista zakupów</title>", "<h2>Składniki</h2><ul><li>1 kg ziemniaków</li><li>500 g mąki</li></ul>"
                                                                                  "<h2>Instrukcja</h2><p>Zaznacz produkty, które już kupiłeś.</p>")
                                             << "" << QStringList{} << "";
    QTest::newRow("order page") << page("<title>Commande</title>", pantry + "<h2>Préparation de votre commande</h2><p>Nous préparons les œufs sous 2 jours.</p>")
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
