// The importer on sources built here: format detection, JSON-LD shapes, microdata,
// Meal-Master, the French layout, the replacement table, photo names and every hard limit at
// its edge.
#include "importer/htmlpage.h"
#include "importer/importer.h"
#include "importer/limits.h"
#include "importer/markupscan.h"
#include "importer/photo.h"
#include "importer/recipelayout.h"
#include "store/cp1252.h"
#include "store/spelling.h"
#include "hostilepages.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

using namespace gratinel;
using namespace gratinel::importer;

namespace {

QByteArray page(const QByteArray &jsonLd, const QByteArray &body = "<p>Bonjour</p>")
{
    return "<!DOCTYPE html><html><head><title>t</title><script type=\"application/ld+json\">" + jsonLd
           + "</script></head><body>" + body + "</body></html>";
}

QByteArray recipeJson(const QString &name)
{
    return QJsonDocument(QJsonObject{{"@type", "Recipe"}, {"name", name}, {"recipeIngredient", QJsonArray{"1 œuf"}}})
        .toJson(QJsonDocument::Compact);
}

QStringList titles(const ParseResult &r)
{
    QStringList out;
    for (const Recipe &x : r.recipes)
        out << x.title;
    return out;
}

qsizetype storedSize(const QString &text)
{
    return cp1252::encodeText(text).size();
}

} // namespace

class tst_Importer : public QObject {
    Q_OBJECT

private slots:
    void spellingFollowsTheTable_data();
    void spellingFollowsTheTable();
    void formatIsFoundFromTheContent_data();
    void formatIsFoundFromTheContent();
    void everyJsonLdShapeGivesItsRecipes_data();
    void everyJsonLdShapeGivesItsRecipes();
    void microdataRecipeIsReadWhenThePageHasNoJsonLd();
    void textFieldsLoseTagsAndEntities();
    void recipeIsLaidOutInFrench();
    void durationsReadInFrench_data();
    void durationsReadInFrench();
    void titleIsCutAt128Characters_data();
    void titleIsCutAt128Characters();
    void textIsShortenedToTheBookLimitWithItsSourceLast_data();
    void textIsShortenedToTheBookLimitWithItsSourceLast();
    void recipesPastTheLimitAreCountedNotRead();
    void nestingLimitsHoldAtTheirEdge();
    void sourceOverTheSizeLimitIsRefused();
    void eachRecipeComesOnceAndWhole_data();
    void eachRecipeComesOnceAndWhole();
    void photoIsFoundAndStoredWhereTheBookCanKeepIt_data();
    void photoIsFoundAndStoredWhereTheBookCanKeepIt();
    void dosMealMasterIsReadAsCodePage850();
    void pageCharsetComesFromTheFirstThatGivesIt_data();
    void pageCharsetComesFromTheFirstThatGivesIt();
    void hostilePageIsParsedOrRefusedWithinLinearWork_data();
    void hostilePageIsParsedOrRefusedWithinLinearWork();
    void ordinaryDeepPagePassesTheBounds();
    void mealMasterFileGivesEachRecipe();
    void photoNamesComeFromTheTitleOnly_data();
    void photoNamesComeFromTheTitleOnly();
    void photoIsNeverWrittenOverAFile();
};

void tst_Importer::spellingFollowsTheTable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("report");
    QTest::newRow("fractions") << "⅓ et ⅔ et ⅛ et ⅝" << "1/3 et 2/3 et 1/8 et 5/8" << "remplacés : ⅓ → 1/3, ⅔ → 2/3, ⅛ → 1/8, ⅝ → 5/8";
    QTest::newRow("temperatures") << "180 ℃ ou 350 ℉" << "180 °C ou 350 °F" << "remplacés : ℃ → °C, ℉ → °F";
    QTest::newRow("signs") << "a → b ≤ c ≥ d" << "a -> b <= c >= d" << "remplacés : → → ->, ≤ → <=, ≥ → >=";
    QTest::newRow("primes") << "12″ 3′" << "12\" 3'" << "remplacés : ″ → \", ′ → '";
    QTest::newRow("spaces named by their code") << "Sel\u202F: oui\u2003!" << "Sel\u00A0: oui !"
                                                << "remplacés : U+202F → U+00A0, U+2003 → U+0020";
    QTest::newRow("dashes") << "a‐b ― c" << "a-b — c" << "remplacés : ‐ → -, ― → —";
    QTest::newRow("emoji removed") << "Poire 🍐🍐" << "Poire " << "supprimés : 🍐";
    QTest::newRow("invisible removed by code") << "ab\u200Bc\u0089" << "abc" << "supprimés : U+200B U+0089";
    QTest::newRow("code page kept") << "Crème œuf ½ € « » 0\u00A0°C" << "Crème œuf ½ € « » 0\u00A0°C" << "";
    QTest::newRow("separate accent joins its letter") << "Cre\u0300me" << "Crème" << "";
}

void tst_Importer::spellingFollowsTheTable()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(QString, report);
    spelling::Changes changes;
    const QString out = spelling::storableSpelling(text, &changes);
    QCOMPARE(out, expected);
    QVERIFY(cp1252::canEncode(out));
    QCOMPARE(changes.describe(), report);
}

void tst_Importer::formatIsFoundFromTheContent_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("format");
    QTest::newRow("book text") << QByteArray("\n@@ Desserts\n## Tarte\n") << int(Format::BookText);
    QTest::newRow("meal-master MMMMM") << QByteArray("x\nMMMMM----- Recipe via Meal-Master (tm) v8.05\n") << int(Format::MealMaster);
    QTest::newRow("meal-master dashes") << QByteArray("---------- Recipe via Meal-Master (tm) v8.02\n") << int(Format::MealMaster);
    QTest::newRow("json object") << QByteArray("  {\"@type\":\"Recipe\"}") << int(Format::Json);
    QTest::newRow("json array with bom") << QByteArray("\xEF\xBB\xBF[{}]") << int(Format::Json);
    QTest::newRow("html") << QByteArray("<div>x</div>") << int(Format::Html);
    QTest::newRow("html after text") << QByteArray("garbage\n<!DOCTYPE HTML><html>") << int(Format::Html);
    QTest::newRow("plain text") << QByteArray("Tarte aux pommes\n3 pommes") << int(Format::Unknown);
}

void tst_Importer::formatIsFoundFromTheContent()
{
    QFETCH(QByteArray, content);
    QFETCH(int, format);
    QCOMPARE(int(detectFormat(content)), format);
}

void tst_Importer::everyJsonLdShapeGivesItsRecipes_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("titles");
    const QByteArray a = recipeJson("A");
    const QByteArray b = recipeJson("B");
    QTest::newRow("single object") << page(a) << QStringList{"A"};
    QTest::newRow("array") << page("[" + a + "," + b + "]") << QStringList{"A", "B"};
    QTest::newRow("graph") << page("{\"@context\":\"https://schema.org\",\"@graph\":[{\"@type\":\"WebSite\"}," + b + "]}")
                           << QStringList{"B"};
    QTest::newRow("type list") << page("{\"@type\":[\"Recipe\",\"NewsArticle\"],\"name\":\"C\",\"recipeInstructions\":\"Cuire.\"}") << QStringList{"C"};
    QTest::newRow("type address") << page("{\"@type\":\"http://schema.org/Recipe\",\"name\":\"D\",\"recipeInstructions\":\"Cuire.\"}") << QStringList{"D"};
    QTest::newRow("main entity") << page("{\"@type\":\"WebPage\",\"mainEntity\":" + a + "}") << QStringList{"A"};
    QTest::newRow("two scripts") << page(a) + "<script type=\"application/ld+json\">" + b + "</script>"
                                 << QStringList{"A", "B"};
    QTest::newRow("broken script beside a good one") << page("{\"@type\":") + "<script type='application/ld+json'>" + b + "</script>"
                                                     << QStringList{"B"};
    QTest::newRow("plain json file") << QByteArray(a) << QStringList{"A"};
    QTest::newRow("no recipe") << page("{\"@type\":\"Article\",\"name\":\"E\"}") << QStringList{};
}

void tst_Importer::everyJsonLdShapeGivesItsRecipes()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, titles);
    QCOMPARE(::titles(parseSource(content, "p.html")), titles);
}

void tst_Importer::microdataRecipeIsReadWhenThePageHasNoJsonLd()
{
    const QByteArray html =
        "<html><body><div itemscope itemtype=\"https://schema.org/Recipe\">"
        "<h1 itemprop=\"name\">Far breton</h1><meta itemprop=\"recipeYield\" content=\"8\">"
        "<meta itemprop=\"prepTime\" content=\"PT10M\"><img itemprop=\"image\" src=\"/far.jpg\">"
        "<ul><li itemprop=\"recipeIngredient\">1 l de lait</li><li itemprop=\"recipeIngredient\">4 œufs</li></ul>"
        "<div itemprop=\"recipeInstructions\" itemscope itemtype=\"https://schema.org/HowToStep\">"
        "<span itemprop=\"text\">Mélanger.</span></div>"
        "<div itemprop=\"recipeInstructions\" itemscope itemtype=\"https://schema.org/HowToStep\">"
        "<span itemprop=\"text\">Cuire.</span></div></div></body></html>";
    const ParseResult r = parseSource(html, "far.html");
    QCOMPARE(titles(r), QStringList{"Far breton"});
    QCOMPARE(r.recipes.front().imageUrl, QStringLiteral("/far.jpg"));
    QCOMPARE(r.recipes.front().text,
             QStringLiteral("Pour 8 personnes\nPréparation : 10 min\n\nIngrédients :\n- 1 l de lait\n- 4 œufs\n\n"
                            "Préparation :\n1. Mélanger.\n2. Cuire.\n\nSource : far.html"));
}

void tst_Importer::textFieldsLoseTagsAndEntities()
{
    const QByteArray json = "{\"@type\":\"Recipe\",\"name\":\"Cr&egrave;me &amp; <i>sucre</i>\","
                            "\"recipeIngredient\":[\"&#8531; de tasse\",\"<a href='x'>sel</a> &lt; 2 g\"],"
                            "\"recipeInstructions\":\"<p>Battre.</p><p>Servir&nbsp;frais.</p>\"}";
    const ParseResult r = parseSource(page(json), "c.html");
    QCOMPARE(titles(r), QStringList{"Crème & sucre"});
    QCOMPARE(r.recipes.front().text, QStringLiteral("Ingrédients :\n- 1/3 de tasse\n- sel < 2 g\n\nPréparation :\n"
                                                    "1. Battre.\n2. Servir\u00A0frais.\n\nSource : c.html"));
    QCOMPARE(r.recipes.front().changes.describe(), QStringLiteral("remplacés : ⅓ → 1/3"));
}

void tst_Importer::recipeIsLaidOutInFrench()
{
    RecipeFields f;
    f.name = "  Tarte   tatin ";
    f.yield = "6";
    f.prepTime = "PT20M";
    f.cookTime = "PT1H5M";
    f.ingredients = {{"6 pommes"}, {"Pâte", true}, {"1 pâte brisée"}};
    f.steps = {{"", "Caraméliser."}, {"Montage", "Couvrir."}, {"Montage", "Cuire à 180 ℃."}};
    const Recipe r = layoutRecipe(f, "https://exemple.fr/tatin");
    QCOMPARE(r.title, QStringLiteral("Tarte tatin"));
    QCOMPARE(r.text, QStringLiteral("Pour 6 personnes\nPréparation : 20 min – Cuisson : 1 h 5 min\n\nIngrédients :\n"
                                    "- 6 pommes\nPâte :\n- 1 pâte brisée\n\nPréparation :\n1. Caraméliser.\n\nMontage :\n"
                                    "1. Couvrir.\n2. Cuire à 180 °C.\n\nSource : https://exemple.fr/tatin"));
    QVERIFY(cp1252::canEncode(r.text));
}

void tst_Importer::durationsReadInFrench_data()
{
    QTest::addColumn<QString>("iso");
    QTest::addColumn<QString>("french");
    QTest::newRow("minutes") << "PT15M" << "15 min";
    QTest::newRow("hours and minutes") << "PT1H5M" << "1 h 5 min";
    QTest::newRow("minutes past the hour") << "PT90M" << "1 h 30 min";
    QTest::newRow("seconds round up") << "PT30S" << "1 min";
    QTest::newRow("one day in hours") << "P1DT2H" << "26 h";
    QTest::newRow("days") << "P2DT3H" << "2 j 3 h";
    QTest::newRow("nothing") << "PT0S" << "";
    QTest::newRow("not a duration") << "une demi-heure" << "";
}

void tst_Importer::durationsReadInFrench()
{
    QFETCH(QString, iso);
    QFETCH(QString, french);
    QCOMPARE(frenchDuration(iso), french);
}

void tst_Importer::titleIsCutAt128Characters_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("kept");
    QTest::newRow("at the limit") << kMaxTitleChars << kMaxTitleChars;
    QTest::newRow("one past") << kMaxTitleChars + 1 << kMaxTitleChars;
    QTest::newRow("empty") << 0 << 18;
}

void tst_Importer::titleIsCutAt128Characters()
{
    QFETCH(int, length);
    QFETCH(int, kept);
    RecipeFields f;
    f.name = QString(length, u'é');
    QCOMPARE(layoutRecipe(f, "s").title.size(), kept);
}

void tst_Importer::textIsShortenedToTheBookLimitWithItsSourceLast_data()
{
    QTest::addColumn<int>("extra");
    QTest::addColumn<bool>("shortened");
    QTest::newRow("exactly at the limit") << 0 << false;
    QTest::newRow("one byte over") << 1 << true;
    QTest::newRow("far over") << 50000 << true;
}

void tst_Importer::textIsShortenedToTheBookLimitWithItsSourceLast()
{
    QFETCH(int, extra);
    QFETCH(bool, shortened);
    // "Préparation :" CRLF "1. " step CRLF CRLF "Source : s": the step's length sets the size.
    const int fixed = int(storedSize(QStringLiteral("Préparation :\n1. \n\nSource : s")));
    RecipeFields f;
    f.name = "Long";
    f.steps = {{"", QString(kMaxTextBytes - fixed + extra, u'a')}};
    const Recipe r = layoutRecipe(f, "s");
    QCOMPARE(r.shortened, shortened);
    QVERIFY(storedSize(r.text) <= kMaxTextBytes);
    QVERIFY(r.text.endsWith(QStringLiteral("\n\nSource : s")));
    if (!shortened)
        QCOMPARE(storedSize(r.text), qsizetype(kMaxTextBytes));
}

void tst_Importer::recipesPastTheLimitAreCountedNotRead()
{
    QJsonArray all;
    for (int i = 0; i <= kMaxRecipes; ++i)
        all.append(QJsonObject{{"@type", "Recipe"}, {"name", QStringLiteral("Recette %1").arg(i)}, {"recipeInstructions", "Cuire."}});
    const ParseResult r = parseSource(QJsonDocument(all).toJson(QJsonDocument::Compact), "f.json");
    QCOMPARE(int(r.recipes.size()), kMaxRecipes);
    QCOMPARE(r.recipesFound, kMaxRecipes + 1);
}

void tst_Importer::nestingLimitsHoldAtTheirEdge()
{
    // html, body, the divs and the script: depth elements, the recipe at the deepest.
    const auto nested = [](int depth) {
        return "<html><body>" + QByteArray("<div>").repeated(depth - 3) + "<script type=\"application/ld+json\">"
               + recipeJson("N") + "</script>" + QByteArray("</div>").repeated(depth - 3) + "</body></html>";
    };
    QCOMPARE(scanMarkup(nested(kMaxHtmlNesting), kHtmlWorkBase).depth, kMaxHtmlNesting);
    QCOMPARE(titles(parseSource(nested(kMaxHtmlNesting), "p")), QStringList{"N"});
    QString problem;
    QVERIFY(parseSource(nested(kMaxHtmlNesting + 1), "p", &problem).recipes.empty());
    QVERIFY(problem.contains(QString::number(kMaxHtmlNesting)));
    // Elements HTML closes by itself do not count.
    QVERIFY(scanMarkup(QByteArray("<p>a<li>b<br><img src=x>").repeated(5000), kHtmlWorkBase).depth <= 5);

    // A recipe under more levels of JSON than the walk follows is not found.
    const auto inJson = [](int depth) {
        return QByteArray("[").repeated(depth) + recipeJson("J") + QByteArray("]").repeated(depth);
    };
    QCOMPARE(titles(parseSource(inJson(kMaxDepth), "j")), QStringList{"J"});
    QVERIFY(parseSource(inJson(kMaxDepth + 1), "j").recipes.empty());
}

void tst_Importer::sourceOverTheSizeLimitIsRefused()
{
    QByteArray content = page(recipeJson("G"));
    content += QByteArray(kMaxSourceBytes - content.size(), ' ');
    QCOMPARE(titles(parseSource(content, "g")), QStringList{"G"});
    content += ' ';
    QString problem;
    QVERIFY(parseSource(content, "g", &problem).recipes.empty());
    QCOMPARE(problem, QStringLiteral("plus de 10 Mo"));
}

void tst_Importer::eachRecipeComesOnceAndWhole_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("firstText"); // a line the first recipe's text holds
    QTest::addColumn<QString>("refused");
    const QByteArray full = "{\"@type\":\"Recipe\",\"@id\":\"https://k.fr/#r\",\"name\":\"Kouign-amann\","
                            "\"recipeIngredient\":[\"250 g de beurre\"],\"recipeInstructions\":\"Feuilleter.\"}";
    const QByteArray stub = "{\"@type\":\"Review\",\"itemReviewed\":{\"@type\":\"Recipe\",\"name\":\"Kouign-amann\"}}";
    const QByteArray rating = "<script type=\"application/ld+json\">{\"@type\":\"Recipe\",\"@id\":\"https://k.fr/#r\","
                              "\"aggregateRating\":{\"ratingValue\":5}}</script>";
    QTest::newRow("review stub, full recipe, rating by @id")
        << page("{\"@graph\":[" + stub + "," + full + "]}") + rating << QStringList{"Kouign-amann"} << "- 250 g de beurre" << "";
    QTest::newRow("stub under a review beside another recipe")
        << page("[{\"@type\":\"Review\",\"itemReviewed\":{\"@type\":\"Recipe\",\"name\":\"Far\","
                "\"recipeInstructions\":\"Cuire.\"}}," + recipeJson("Crêpes") + "]")
        << QStringList{"Crêpes"} << "- 1 œuf" << "";
    QTest::newRow("same name in two scripts, fields joined")
        << page("{\"@type\":\"Recipe\",\"name\":\"Far\",\"recipeYield\":\"6\"}")
               + "<script type=\"application/ld+json\">{\"@type\":\"Recipe\",\"name\":\"Far\","
                 "\"recipeIngredient\":[\"1 l de lait\"]}</script>"
        << QStringList{"Far"} << "- 1 l de lait" << "";
    QTest::newRow("neither ingredients nor steps") << page("{\"@type\":\"Recipe\",\"name\":\"Vide\"}") << QStringList{}
                                                   << "" << "";
    QTest::newRow("title without a letter") << page(recipeJson("🍰 🍰")) << QStringList{} << "" << "« 🍰 🍰 » : titre illisible";
    QTest::newRow("no title") << page(recipeJson("")) << QStringList{} << "" << "(sans titre) : titre illisible";
    QTest::newRow("text in another alphabet")
        << page("{\"@type\":\"Recipe\",\"name\":\"Borchtch\",\"recipeIngredient\":[\"свёкла\",\"капуста\"]}")
        << QStringList{} << "" << "« Borchtch » : texte dans un alphabet que le livre ne peut pas garder";
}

void tst_Importer::eachRecipeComesOnceAndWhole()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, titles);
    QFETCH(QString, firstText);
    QFETCH(QString, refused);
    const ParseResult r = parseSource(content, "p.html");
    QCOMPARE(::titles(r), titles);
    QCOMPARE(r.recipesFound, int(titles.size() + (refused.isEmpty() ? 0 : 1)));
    if (!titles.isEmpty())
        QVERIFY2(r.recipes.front().text.split(u'\n').contains(firstText), qPrintable(r.recipes.front().text));
    QCOMPARE(r.refused, refused.isEmpty() ? QStringList{} : QStringList{refused});
}

void tst_Importer::photoIsFoundAndStoredWhereTheBookCanKeepIt_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("folder"); // the book folder, relative to the current one
    QTest::addColumn<QString>("imageUrl");
    QTest::addColumn<bool>("stored");
    const QByteArray graph = "{\"@graph\":[{\"@type\":\"ImageObject\",\"@id\":\"https://k.fr/#primaryimage\","
                             "\"url\":\"https://k.fr/far.jpg\"},{\"@type\":\"Recipe\",\"name\":\"Far\","
                             "\"recipeInstructions\":\"Cuire.\",\"image\":{\"@id\":\"https://k.fr/#primaryimage\"}}]}";
    QTest::newRow("image by @id, relative folder") << page(graph) << "livre" << "https://k.fr/far.jpg" << true;
    QTest::newRow("@id of nothing on the page")
        << page("{\"@type\":\"Recipe\",\"name\":\"Far\",\"recipeInstructions\":\"Cuire.\",\"image\":{\"@id\":\"https://k.fr/#x\"}}")
        << "livre" << "" << true;
    QTest::newRow("folder outside Windows-1252") << page(recipeJson("Far")) << "книга" << "" << false;
}

void tst_Importer::photoIsFoundAndStoredWhereTheBookCanKeepIt()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, folder);
    QFETCH(QString, imageUrl);
    QFETCH(bool, stored);
    const ParseResult r = parseSource(content, "https://k.fr/far");
    QCOMPARE(int(r.recipes.size()), 1);
    QCOMPARE(r.recipes.front().imageUrl, imageUrl);
    QTemporaryDir dir;
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QString reason;
    const std::optional<QString> path = storePhoto(QByteArray("\xFF\xD8\xFF\xE0jpeg", 8), folder, "Far", reason);
    QDir::setCurrent(old);
    QCOMPARE(path.has_value(), stored);
    if (stored)
        QCOMPARE(*path, QDir::toNativeSeparators(dir.filePath(folder + "/images/far.jpg")));
    else
        QVERIFY(reason.contains(QDir::toNativeSeparators(dir.filePath(folder))));
}

void tst_Importer::dosMealMasterIsReadAsCodePage850()
{
    // "Crème brûlée" and "Mélanger à froid" as a DOS editor wrote them.
    const QByteArray mm = "MMMMM----- Recipe via Meal-Master (tm) v8.05\n      Title: Cr\x8Ame br\x96l\x82" "e\n\n"
                          "  M\x82langer \x85 froid.\nMMMMM\n";
    const ParseResult r = parseSource(mm, "dos.mmf");
    QCOMPARE(titles(r), QStringList{"Crème brûlée"});
    QVERIFY(r.recipes.front().text.contains(QStringLiteral("Mélanger à froid.")));
}

void tst_Importer::pageCharsetComesFromTheFirstThatGivesIt_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("header"); // the server's charset
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("ingredient");
    // "Crème" in UTF-8, a page with a stray Windows-1252 "é" in its ingredient, and a head.
    const QByteArray utf8 = "Cr\xC3\xA8me", latin = "Cr\xE8me";
    const auto at = [](const QByteArray &head, const QByteArray &name, const QByteArray &ingredient) {
        return "<html><head>" + head + "<script type=\"application/ld+json\">{\"@type\":\"Recipe\",\"name\":\"" + name
               + "\",\"recipeIngredient\":[\"" + ingredient + "\"]}</script></head></html>";
    };
    const QString page16 = QString::fromUtf8(at("", utf8, "sel"));
    QByteArray le("\xFF\xFE"), be("\xFE\xFF");
    for (const QChar c : page16) {
        le += char(c.unicode() & 0xFF) + QByteArray(1, char(c.unicode() >> 8));
        be += QByteArray(1, char(c.unicode() >> 8)) + char(c.unicode() & 0xFF);
    }
    QTest::newRow("BOM over the server") << "\xEF\xBB\xBF" + at("", utf8, "sel") << QByteArray("windows-1252") << "Crème" << "sel";
    QTest::newRow("UTF-16 LE") << le << QByteArray() << "Crème" << "sel";
    QTest::newRow("UTF-16 BE") << be << QByteArray() << "Crème" << "sel";
    QTest::newRow("server over meta") << at("<meta charset=\"utf-8\">", latin, "sel") << QByteArray("iso-8859-1") << "Crème" << "sel";
    QTest::newRow("server UTF-8, stray byte") << at("", utf8, "caf\xE9") << QByteArray("UTF-8") << "Crème" << "caf\uFFFD";
    QTest::newRow("meta charset") << at("<meta charset=windows-1252>", latin, "sel") << QByteArray() << "Crème" << "sel";
    QTest::newRow("meta http-equiv, stray byte")
        << at("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">", utf8, "caf\xE9") << QByteArray()
        << "Crème" << "caf\uFFFD";
    QTest::newRow("valid UTF-8") << at("", utf8, "sel") << QByteArray() << "Crème" << "sel";
    QTest::newRow("undeclared, not UTF-8") << at("", latin, "caf\xE9") << QByteArray() << "Crème" << "café";
}

void tst_Importer::pageCharsetComesFromTheFirstThatGivesIt()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, header);
    QFETCH(QString, title);
    QFETCH(QString, ingredient);
    QString problem;
    const ParseResult r = parseSource(bytes, "p.html", &problem, header);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(titles(r), QStringList{title});
    // The stray byte stands alone: the rest of the page keeps its letters.
    const QString line = r.recipes.front().text.section(u'\n', 1, 1);
    QCOMPARE(line, QStringLiteral("- ") + spelling::storableSpelling(ingredient));
}

void tst_Importer::hostilePageIsParsedOrRefusedWithinLinearWork_data()
{
    QTest::addColumn<QString>("shape");
    QTest::addColumn<int>("megabytes");
#ifdef GRATINEL_SANITIZED
    // Under the sanitizers a 10 MB page takes over a minute: the sizes' bound is checked in
    // the plain build, memory safety here on the smallest.
    const std::initializer_list<int> sizes = {1};
#else
    const std::initializer_list<int> sizes = {1, 4, 10};
#endif
    for (const QString &shape : testing::hostileShapes())
        for (const int mb : sizes)
            QTest::addRow("%s, %d Mo", qPrintable(shape), mb) << shape << mb;
}

void tst_Importer::hostilePageIsParsedOrRefusedWithinLinearWork()
{
    QFETCH(QString, shape);
    QFETCH(int, megabytes);
    const QByteArray page = testing::hostilePage(shape, qsizetype(megabytes) * 1000 * 1000);
    // The parser's walks stay within a fixed number of steps a byte, or the page is refused.
    const MarkupCost cost = scanMarkup(page, std::numeric_limits<qint64>::max());
    const bool withinBounds = !cost.misread && cost.depth <= kMaxHtmlNesting
                              && cost.work <= kHtmlWorkPerByte * page.size() + kHtmlWorkBase;
    // On a thread with the stack of a Windows main thread.
    QString problem;
    ParseResult result;
    QThread *thread = QThread::create([&] { result = parseSource(page, "p", &problem); });
    thread->setStackSize(1024 * 1024);
    thread->start();
    QVERIFY(thread->wait());
    delete thread;
    if (withinBounds) {
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY(titles(result).contains(QStringLiteral("Piège")));
    } else {
        QVERIFY(result.recipes.empty());
        QVERIFY(problem.startsWith(QLatin1String("la page ")));
    }
}

void tst_Importer::ordinaryDeepPagePassesTheBounds()
{
    // A recipe site's page at its deepest: theme wrappers, a page builder's nested sections,
    // a recipe card, replies to replies ten deep, with the tags HTML lets go unclosed.
    QByteArray html = "<!DOCTYPE html><html><head><title>t</title></head><body>";
    for (int i = 0; i < 12; ++i)
        html += "<div class=\"wrap\"><div class=\"inner\">";
    for (int i = 0; i < 4; ++i)
        html += "<section><div class=\"container\"><div class=\"row\"><div class=\"column\"><div class=\"widget\">";
    html += "<article><header><h1>Crêpes</h1></header><table><tr><td>Temps<td>20 min<tr><td>Parts<td>4</table>"
            "<ul><li><span>250 g de farine<li><span>3 œufs</ul><p>Mélanger.<p>Cuire.";
    for (int i = 0; i < 10; ++i)
        html += "<ol class=\"children\"><li><article><footer><div class=\"author\"><b>Marie</div></footer>"
                "<div class=\"content\"><p>Merci <i>beaucoup";
    html += page(recipeJson("Crêpes"));
    const MarkupCost cost = scanMarkup(html, std::numeric_limits<qint64>::max());
    QVERIFY2(cost.depth <= kMaxHtmlNesting / 4, qPrintable(QString::number(cost.depth)));
    QString problem;
    QCOMPARE(titles(parseSource(html, "p", &problem)), QStringList{"Crêpes"});
    QVERIFY(problem.isEmpty());
}

void tst_Importer::mealMasterFileGivesEachRecipe()
{
    const QByteArray mm =
        "Collection\r\n"
        "MMMMM----- Recipe via Meal-Master (tm) v8.05\r\n"
        " \r\n"
        "      Title: Soupe a l'oignon\r\n"
        " Categories: Soupes, None\r\n"
        "      Yield: 4 servings\r\n"
        " \r\n"
        "      4 lg Oignons                             2 tb Beurre\r\n"
        "    1/2 c  Bouillon\r\n"
        "           -de boeuf\r\n"
        "MMMMM--------------------------GARNITURE---------------------------\r\n"
        "      4 sl Pain\r\n"
        " \r\n"
        "  Faire fondre le beurre,\r\n"
        "  puis les oignons.\r\n"
        " \r\n"
        "  Mouiller.\r\n"
        "MMMMM\r\n"
        "----------- Recipe via Meal-Master (tm) v8.02\n"
        "      Title: Riz\n"
        "   Servings: 2\n"
        "\n"
        "      1 c  Riz\n"
        "\n"
        "  Cuire.\n"
        "-----\n";
    const ParseResult r = parseSource(mm, "soupes.mmf");
    QCOMPARE(int(r.format), int(Format::MealMaster));
    QCOMPARE(titles(r), (QStringList{"Soupe a l'oignon", "Riz"}));
    QCOMPARE(r.recipes[0].categories, QStringList{"Soupes"});
    QCOMPARE(r.recipes[0].text,
             QStringLiteral("Pour 4 personnes\n\nIngrédients :\n- 4 gros Oignons\n- 1/2 tasse Bouillon de boeuf\n"
                            "- 2 c. à soupe Beurre\nGARNITURE :\n- 4 tranches Pain\n\nPréparation :\n"
                            "1. Faire fondre le beurre, puis les oignons.\n2. Mouiller.\n\nSource : soupes.mmf"));
    QCOMPARE(r.recipes[1].text,
             QStringLiteral("Pour 2 personnes\n\nIngrédients :\n- 1 tasse Riz\n\nPréparation :\n1. Cuire.\n\nSource : soupes.mmf"));
}

void tst_Importer::photoNamesComeFromTheTitleOnly_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("name");
    QTest::newRow("words") << "Tarte aux pommes" << "tarte-aux-pommes.jpg";
    QTest::newRow("accents") << "Crème brûlée" << "creme-brulee.jpg";
    QTest::newRow("path in the title") << "../../etc/passwd" << "etc-passwd.jpg";
    QTest::newRow("nothing usable") << "→ ☺" << "recette.jpg";
    QTest::newRow("long") << QString(80, u'a') << QString(48, u'a') + ".jpg";
}

void tst_Importer::photoNamesComeFromTheTitleOnly()
{
    QFETCH(QString, title);
    QFETCH(QString, name);
    QCOMPARE(photoFileName(title), name);
}

void tst_Importer::photoIsNeverWrittenOverAFile()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("images"));
    QFile existing(dir.filePath("images/tarte.jpg"));
    QVERIFY(existing.open(QIODevice::WriteOnly) && existing.write("mine") == 4);
    existing.close();
    const QByteArray jpeg = "\xFF\xD8\xFF\xE0 not much of a photo";
    QString reason;
    const std::optional<QString> path = storePhoto(jpeg, dir.path(), "Tarte", reason);
    QCOMPARE(path.value_or(reason), QDir::toNativeSeparators(dir.filePath("images/tarte-2.jpg")));
    QFile check(dir.filePath("images/tarte.jpg"));
    QVERIFY(check.open(QIODevice::ReadOnly));
    QCOMPARE(check.readAll(), QByteArray("mine"));
    QVERIFY(!storePhoto("not an image", dir.path(), "Tarte", reason));
}

QTEST_GUILESS_MAIN(tst_Importer)
#include "tst_importer.moc"
