// gratinel-book import run as a program on the starter book: saved pages, JSON and Meal-Master
// files and links served from a local HTTP server, the family each recipe goes to, a second
// import that adds nothing, the photo of a link, and sources without recipe.
#include "localhttpserver.h"
#include "toolrun.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace gratinel;

namespace {

using Run = ToolRun;

// Runs the tool while this process's event loop keeps serving pages.
Run tool(const QStringList &args)
{
    return runTool(QStringLiteral(BOOKTOOL_PATH), args);
}

QByteArray recipePage(const QByteArray &name, const QByteArray &category, const QByteArray &image = {})
{
    return "<!DOCTYPE html><html><head><script type=\"application/ld+json\">{\"@context\":\"https://schema.org\","
           "\"@type\":\"Recipe\",\"name\":\"" + name + "\",\"recipeCategory\":\"" + category + "\","
           "\"recipeIngredient\":[\"⅓ de litre de lait\"],\"recipeInstructions\":\"Cuire à 180 ℃.\""
           + (image.isEmpty() ? QByteArray() : ",\"image\":\"" + image + "\"") + "}</script></head><body></body></html>";
}

const QByteArray kMealMaster = "MMMMM----- Recipe via Meal-Master (tm) v8.05\n"
                               "      Title: Soupe au pistou\n"
                               " Categories: soupes, Été\n"
                               "      Yield: 4\n\n"
                               "      1 c  Basilic\n\n"
                               "  Piler.\n"
                               "MMMMM\n";

QByteArray jpeg()
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

} // namespace

class tst_BookImport : public QObject {
    Q_OBJECT

private slots:
    void init();
    void recipesGoToTheFamilyOfTheirCategoryAndASecondImportAddsNothing();
    void familyOptionPutsEveryRecipeInIt();
    void linkBringsItsPhotoIntoTheBookFolder();
    void photoOfARecipeNotAddedIsRemoved_data();
    void photoOfARecipeNotAddedIsRemoved();
    void sourcesWithoutRecipeAreSaid();
    void familyOptionNeedsAName();

private:
    QString write(const QString &name, const QByteArray &bytes);
    // The book's text form, as export writes it.
    QString exported();

    std::unique_ptr<QTemporaryDir> tmp_;
    QString book_;
};

void tst_BookImport::init()
{
    tmp_ = std::make_unique<QTemporaryDir>();
    book_ = tmp_->filePath(QStringLiteral("livre"));
    const Run created = tool({QStringLiteral("create"), book_, QStringLiteral(LIVRE_PATH)});
    QVERIFY2(created.exitCode == 0, qPrintable(created.err));
}

QString tst_BookImport::write(const QString &name, const QByteArray &bytes)
{
    QFile f(tmp_->filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return {};
    return f.fileName();
}

QString tst_BookImport::exported()
{
    const QString path = tmp_->filePath(QStringLiteral("export-%1.txt").arg(QDateTime::currentMSecsSinceEpoch()));
    if (tool({QStringLiteral("export"), book_, path}).exitCode != 0)
        return {};
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}

void tst_BookImport::recipesGoToTheFamilyOfTheirCategoryAndASecondImportAddsNothing()
{
    const QString page = write("tarte.html", recipePage("Tarte au citron", "DESSERTS"));
    const QString json = write("flan.json", "{\"@type\":\"Recipe\",\"name\":\"Flan\",\"recipeCategory\":[\"Entremets\"],"
                                                  "\"recipeInstructions\":\"Cuire.\"}");
    const QString mmf = write("soupes.mmf", kMealMaster);
    const QStringList args = {QStringLiteral("import"), book_, page, json, mmf};

    const Run first = tool(args);
    QVERIFY2(first.exitCode == 0, qPrintable(first.out + first.err));
    QVERIFY2(first.out.contains(QStringLiteral("Modifié : %1 : « Tarte au citron » : remplacés : ⅓ → 1/3, ℃ → °C").arg(page)),
             qPrintable(first.out));
    QCOMPARE(first.out.count(QStringLiteral("Ajouté : ")), 3);
    QVERIFY2(first.out.contains(QStringLiteral("1 famille(s) et 3 recette(s) ajoutée(s), 0 recette(s) ignorée(s)")),
             qPrintable(first.out));
    const QString text = exported();
    // Case as the add page compares: "DESSERTS" is the book's "Desserts"; no family is named
    // "Entremets" or "soupes", so those go to the imported recipes.
    const qsizetype desserts = text.indexOf(QStringLiteral("@@ Desserts\n"));
    const qsizetype next = text.indexOf(QStringLiteral("\n@@ "), desserts + 1);
    QVERIFY(text.indexOf(QStringLiteral("## Tarte au citron\n")) > desserts);
    QVERIFY(text.indexOf(QStringLiteral("## Tarte au citron\n")) < next);
    QVERIFY(text.contains(QStringLiteral("@@ Recettes importées\n## Flan\nPréparation :\n1. Cuire.\n\nSource : flan.json\n## Soupe au pistou\n")));
    QVERIFY(text.contains(QStringLiteral("Ingrédients :\n- 1/3 de litre de lait\n\nPréparation :\n1. Cuire à 180 °C.\n")));

    const Run second = tool(args);
    QCOMPARE(second.exitCode, 1);
    QCOMPARE(second.out.count(QStringLiteral("Ignoré : ")), 3);
    QVERIFY2(second.out.contains(QStringLiteral("0 famille(s) et 0 recette(s) ajoutée(s), 3 recette(s) ignorée(s)")),
             qPrintable(second.out));
    QCOMPARE(exported(), text);
}

void tst_BookImport::familyOptionPutsEveryRecipeInIt()
{
    const QString page = write("tarte.html", recipePage("Tarte au citron", "Desserts"));
    const QString mmf = write("soupes.mmf", kMealMaster);
    const Run run = tool({QStringLiteral("import"), book_, QStringLiteral("--famille"), QStringLiteral("Du web"), page, mmf});
    QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));
    QVERIFY(exported().contains(QStringLiteral("@@ Du web\n## Tarte au citron\n")));
    QVERIFY(exported().contains(QStringLiteral("## Soupe au pistou\n")));
}

void tst_BookImport::linkBringsItsPhotoIntoTheBookFolder()
{
    LocalHttpServer server;
    LocalHttpServer::Answer page;
    page.body = recipePage("Crème brûlée à la lavande", "Desserts", "/photos/../../creme.jpg");
    server.serve("/creme", page);
    LocalHttpServer::Answer photo;
    photo.body = jpeg();
    photo.contentType = "image/jpeg";
    server.serve("/creme.jpg", photo);
    page.body = recipePage("Far breton", "Desserts", "/absente.jpg");
    server.serve("/far", page);

    const Run run = tool({QStringLiteral("import"), book_, server.url("/creme"), server.url("/far")});
    QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));
    const QString stored = QDir(book_).filePath(QStringLiteral("images/creme-brulee-a-la-lavande.jpg"));
    QFile f(stored);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), photo.body);
    const QString text = exported();
    QVERIFY2(text.contains(QStringLiteral("## Crème brûlée à la lavande\n!! %1\n").arg(QDir::toNativeSeparators(stored))), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Source : %1\n").arg(server.url("/creme"))));
    // A photo that cannot be had leaves the recipe without image, and says so.
    QVERIFY(text.contains(QStringLiteral("## Far breton\nIngrédients")));
    QVERIFY2(run.out.contains(QStringLiteral("« Far breton » : sans image, la photo %1 n'a pas pu être lue : le serveur a répondu 404")
                                  .arg(server.url("/absente.jpg"))),
             qPrintable(run.out));
    QCOMPARE(QDir(book_).entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name).size() +
                 QDir(book_ + "/images").entryList(QDir::Files).size(),
             1);
}

void tst_BookImport::photoOfARecipeNotAddedIsRemoved_data()
{
    QTest::addColumn<bool>("backupFails"); // else the recipe is already in the book
    QTest::newRow("backup fails") << true;
    QTest::newRow("title already there") << false;
}

void tst_BookImport::photoOfARecipeNotAddedIsRemoved()
{
    QFETCH(bool, backupFails);
    LocalHttpServer server;
    LocalHttpServer::Answer page;
    page.body = recipePage("Far breton", "Desserts", "/far.jpg");
    server.serve("/far", page);
    LocalHttpServer::Answer photo;
    photo.body = jpeg();
    server.serve("/far.jpg", photo);
    const QStringList args = {QStringLiteral("import"), book_, server.url("/far")};
    if (backupFails) {
        // A file where the backups go.
        QVERIFY(!write("livre/sauvegardes", "x").isEmpty());
    } else {
        QCOMPARE(tool(args).exitCode, 0);
        QVERIFY(QFile::remove(QDir(book_).filePath(QStringLiteral("images/far-breton.jpg"))));
    }
    const Run run = tool(args);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(QDir(book_ + "/images").entryList(QDir::Files), QStringList());
}

void tst_BookImport::sourcesWithoutRecipeAreSaid()
{
    LocalHttpServer server;
    const QString plain = write("article.html", "<html><body><p>Pas de recette ici.</p></body></html>");
    const Run run = tool({QStringLiteral("import"), book_, plain, server.url("/nulle-part")});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.out.contains(QStringLiteral("Aucune recette n'a été trouvée dans %1").arg(plain)), qPrintable(run.out));
    QVERIFY2(run.out.contains(QStringLiteral("La page %1 n'a pas pu être lue : le serveur a répondu 404 Not Found.")
                                  .arg(server.url("/nulle-part"))),
             qPrintable(run.out));
    QVERIFY(run.out.contains(QStringLiteral("0 recette(s) ajoutée(s), 0 recette(s) ignorée(s), 2 source(s)")));
}

void tst_BookImport::familyOptionNeedsAName()
{
    QCOMPARE(tool({QStringLiteral("import"), book_, QStringLiteral("x.html"), QStringLiteral("--famille")}).exitCode, 2);
    // A character that cannot be seen is named by its code where it stands.
    const Run refused = tool({QStringLiteral("import"), book_, QStringLiteral("--famille"), QStringLiteral("Tarte\u200B ⅓"),
                              QStringLiteral("x.html")});
    QCOMPARE(refused.exitCode, 2);
    QVERIFY2(refused.err.contains(QStringLiteral("« Tarte<U+200B> ⅓ »")), qPrintable(refused.err));
}

QTEST_GUILESS_MAIN(tst_BookImport)
#include "tst_bookimport.moc"
