// Recipes dropped on the add page: saved pages, Meal-Master files and links from a local HTTP
// server fill the page for review, the book unchanged; the messages of the other outcomes.
#include "bookfixture.h"
#include "book/frmrecettes.h"
#include "book/limitedtextedit.h"
#include "book/recordcombo.h"
#include "book/tabstrip.h"
#include "hostilepages.h"
#include "localhttpserver.h"
#include "mainwin/frmmain.h"
#include "testbook.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QDropEvent>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace gratinel;

namespace {

BookBuilder dessertBook()
{
    BookBuilder b = testbook::minimal();
    b.addFamily(QStringLiteral("Desserts"));
    return b;
}

QByteArray recipePage(const QByteArray &name, const QByteArray &image = {})
{
    return "<html><head><script type=\"application/ld+json\">{\"@type\":\"Recipe\",\"name\":\"" + name
           + "\",\"recipeCategory\":\"desserts\",\"recipeIngredient\":[\"2 œufs\"]"
           + (image.isEmpty() ? QByteArray() : ",\"image\":\"" + image + "\"") + "}</script></head></html>";
}

const QString kText = QStringLiteral("Ingrédients :\n- 2 œufs\n\nSource : %1");

} // namespace

class tst_ImportDrop : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init();
    void cleanup() { fx_.reset(); }
    void droppedPageFillsThePageAndWritesNothing_data();
    void droppedPageFillsThePageAndWritesNothing();
    void linkPhotoIsFetchedOnlyWhenThePageIsValidated_data();
    void linkPhotoIsFetchedOnlyWhenThePageIsValidated();
    void otherOutcomesAreSaid_data();
    void otherOutcomesAreSaid();
    void windowStaysUsableWhileADropIsRead_data();
    void windowStaysUsableWhileADropIsRead();
    void savedPagePhotoGetsNoExemptionFromItsAddress();

private:
    QString write(const QString &name, const QByteArray &bytes);
    // Drops source on the add page and waits until it is read.
    void drop(const QString &source);

    std::unique_ptr<BookFixture> fx_;
    QTemporaryDir files_;
};

void tst_ImportDrop::init()
{
    fx_ = std::make_unique<BookFixture>();
    QVERIFY(fx_->start(dessertBook()));
    fx_->book()->TabStrip1->selectTab(2);
    fx_->book()->fetchTimeoutMs = 2000;
    fx_->platform().calls.clear();
}

void tst_ImportDrop::drop(const QString &source)
{
    fx_->book()->fillAddPageFrom(source);
    QTRY_VERIFY_WITH_TIMEOUT(!fx_->book()->readingDrop(), 60000);
}

QString tst_ImportDrop::write(const QString &name, const QByteArray &bytes)
{
    QFile f(files_.filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return {};
    return f.fileName();
}

void tst_ImportDrop::droppedPageFillsThePageAndWritesNothing_data()
{
    QTest::addColumn<QString>("target"); // where the file is dropped, or "" for the call itself
    QTest::newRow("on the page") << "Frame1";
    QTest::newRow("on the text box") << "txtSaisieRecetteAjouter";
    QTest::newRow("fill called") << "";
}

void tst_ImportDrop::droppedPageFillsThePageAndWritesNothing()
{
    QFETCH(QString, target);
    frmRecettes *book = fx_->book();
    const QString page = write("far.html", recipePage("Far breton"));
    const QByteArray before = fx_->dataFiles();
    if (target.isEmpty()) {
        book->fillAddPageFrom(page);
    } else {
        QWidget *w = target == QLatin1String("Frame1") ? static_cast<QWidget *>(book->Frame1[2])
                                                       : book->txtSaisieRecetteAjouter->viewport();
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(page)});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &drop);
    }
    QTRY_COMPARE(book->txtSaisieNomRecette->text(), QStringLiteral("Far breton"));
    QVERIFY(book->Option1[1]->isChecked());
    QCOMPARE(book->ComboFamillesAjouter->currentText(), QStringLiteral("Desserts"));
    QCOMPARE(book->txtSaisieRecetteAjouter->toPlainText(), kText.arg("far.html"));
    QVERIFY(book->txtImageAjouter->text().isEmpty());
    QVERIFY(fx_->platform().messages.empty());
    QCOMPARE(fx_->dataFiles(), before);
}

void tst_ImportDrop::linkPhotoIsFetchedOnlyWhenThePageIsValidated_data()
{
    QTest::addColumn<bool>("validated"); // else the inputs are erased
    QTest::newRow("validated") << true;
    QTest::newRow("erased") << false;
}

void tst_ImportDrop::linkPhotoIsFetchedOnlyWhenThePageIsValidated()
{
    QFETCH(bool, validated);
    LocalHttpServer server;
    LocalHttpServer::Answer page;
    page.body = recipePage("Far breton", "far.png");
    server.serve("/recettes/far", page);
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    LocalHttpServer::Answer photo;
    QBuffer buffer(&photo.body);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(image.save(&buffer, "PNG"));
    server.serve("/recettes/far.png", photo);
    const QByteArray before = fx_->dataFiles();

    frmRecettes *book = fx_->book();
    book->fillAddPageFrom(server.url("/recettes/far"));
    // The hourglass on the page while it is read, not over the whole program.
    QCOMPARE(book->Frame1[2]->cursor().shape(), Qt::BusyCursor);
    QTRY_VERIFY_WITH_TIMEOUT(!book->readingDrop(), 60000);
    QVERIFY(!book->Frame1[2]->testAttribute(Qt::WA_SetCursor));
    QCOMPARE(book->txtSaisieRecetteAjouter->toPlainText(), kText.arg(server.url("/recettes/far")));
    QCOMPARE(book->txtImageAjouter->text(), server.url("/recettes/far.png"));
    QCOMPARE(fx_->platform().pointer, Platform::Pointer::Normal);
    QVERIFY(fx_->platform().messages.empty());
    QCOMPARE(fx_->dataFiles(), before);
    QVERIFY(!QFile::exists(fx_->path("images")));

    const QString stored = QDir::toNativeSeparators(fx_->path("images/far-breton.jpg"));
    if (validated) {
        book->cmdValideAjouter->click();
        QCOMPARE(book->imagePath(), stored);
        QFile f(stored);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().startsWith("\xFF\xD8\xFF")); // converted to JPEG
    } else {
        fx_->platform().answerNext(Platform::Answer::Yes);
        book->cmdEffacerAjouter->click();
        book->txtSaisieNomRecette->setText(QStringLiteral("Far"));
        book->cmdValideAjouter->click();
        QVERIFY(!QFile::exists(stored));
    }
}

void tst_ImportDrop::otherOutcomesAreSaid_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    const QByteArray mm = "MMMMM----- Recipe via Meal-Master (tm) v8.05\n      Title: Riz\n\n  Cuire.\nMMMMM\n"
                          "MMMMM----- Recipe via Meal-Master (tm) v8.05\n      Title: Pâtes\n\n  Cuire.\nMMMMM\n";
    QTest::newRow("several recipes") << "deux.mmf" << mm
                                     << "2 recettes ont été trouvées dans %1 : la première est affichée." << "Riz";
    QTest::newRow("no recipe") << "article.html" << QByteArray("<html><body>Bonjour</body></html>")
                               << "Aucune recette n'a été trouvée dans %1." << "";
    QTest::newRow("missing link") << "" << QByteArray()
                                  << "La page %1 n'a pas pu être lue : le serveur a répondu 404 Not Found." << "";
    QTest::newRow("folder") << "dossier/" << QByteArray() << "Le fichier %1 ne peut pas être lu." << "";
    QTest::newRow("title refused") << "zh.json" << QByteArray("{\"@type\":\"Recipe\",\"name\":\"饺子\",\"recipeInstructions\":\"Cuire.\"}")
                                   << "Aucune recette de %1 ne peut aller dans le livre : « 饺子 » : titre illisible." << "";
    QTest::newRow("characters replaced") << "tiers.json" << QByteArray("{\"@type\":\"Recipe\",\"name\":\"⅓ de tarte\",\"recipeInstructions\":\"Cuire.\"}")
                                         << "Caractères que le livre ne peut pas garder, remplacés : ⅓ → 1/3." << "1/3 de tarte";
    QTest::newRow("recipe without markup") << "flan.html"
                                           << QByteArray("<h1>Flan</h1><h2>Ingrédients</h2><ul><li>1 l de lait</li><li>4 oeufs</li></ul>"
                                                         "<h2>Préparation</h2><p>Cuire.</p>")
                                           << "Sans balisage de recette : à relire." << "Flan";
}

void tst_ImportDrop::otherOutcomesAreSaid()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QFETCH(QString, title);
    LocalHttpServer server;
    QString source = name.isEmpty() ? server.url("/absente") : QString();
    if (name.endsWith(u'/'))
        source = QDir::toNativeSeparators(QDir(files_.path()).absolutePath());
    else if (!name.isEmpty())
        source = write(name, content);
    drop(source);
    QCOMPARE(fx_->platform().messageTexts(), QStringList{message.contains("%1") ? message.arg(source) : message});
    QCOMPARE(fx_->book()->txtSaisieNomRecette->text(), title);
    QCOMPARE(fx_->platform().pointer, Platform::Pointer::Normal);
}

void tst_ImportDrop::windowStaysUsableWhileADropIsRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("title");   // what the page shows once read
    QTest::addColumn<QString>("message"); // and says, %1 the source
    QTest::newRow("slow link") << "link" << "Far breton" << "";
    QTest::newRow("page that passes the reader's limits")
        << "hostile" << "tape pendant la lecture" << "%1 n'a pas été lu : page trop lourde ou trop complexe pour être lue.";
}

void tst_ImportDrop::windowStaysUsableWhileADropIsRead()
{
    QFETCH(QString, kind);
    QFETCH(QString, title);
    QFETCH(QString, message);
    LocalHttpServer server;
    LocalHttpServer::Answer slow;
    slow.body = recipePage("Far breton");
    slow.delayMs = 1500;
    server.serve("/lente", slow);
    const QString source = kind == QLatin1String("link")
                               ? server.url("/lente")
                               : write("piege.html", testing::hostilePage("nested item properties over comments", 2000000));
    frmRecettes *book = fx_->book();
    book->fillAddPageFrom(source);
    QVERIFY(book->readingDrop());
    // The page takes typing, and a second drop is refused, while the first is read.
    book->txtSaisieNomRecette->setFocus();
    QTest::keyClicks(book->txtSaisieNomRecette, QStringLiteral("tape pendant la lecture"));
    QCOMPARE(book->txtSaisieNomRecette->text(), QStringLiteral("tape pendant la lecture"));
    book->fillAddPageFrom(write("autre.html", recipePage("Autre")));
    QCOMPARE(fx_->platform().messageTexts(),
             QStringList{QStringLiteral("%1 est encore en cours de lecture : déposez l'autre page quand celle-ci sera affichée.").arg(source)});
    fx_->platform().messages.clear();
    QTRY_VERIFY_WITH_TIMEOUT(!book->readingDrop(), 60000);
    QCOMPARE(book->txtSaisieNomRecette->text(), title);
    QCOMPARE(fx_->platform().messageTexts(), message.isEmpty() ? QStringList() : QStringList{message.arg(source)});
}

void tst_ImportDrop::savedPagePhotoGetsNoExemptionFromItsAddress()
{
    // A saved page that claims to come from a server of this machine names a photo there.
    LocalHttpServer server;
    const QByteArray claimed = server.url("/recettes/far").toUtf8();
    const QString page = write("far.html", "<html><head><link rel=\"canonical\" href=\"" + claimed + "\">"
                                           "<script type=\"application/ld+json\">{\"@type\":\"Recipe\",\"name\":\"Far\","
                                           "\"url\":\"" + claimed + "\",\"image\":\"/admin/reboot?confirm=1\","
                                           "\"recipeIngredient\":[\"2 œufs\"]}</script></head></html>");
    drop(page);
    frmRecettes *book = fx_->book();
    QCOMPARE(book->txtImageAjouter->text(), server.url("/admin/reboot?confirm=1"));
    book->cmdValideAjouter->click();
    QVERIFY(server.requests.isEmpty());
    QCOMPARE(fx_->platform().messageTexts().size(), 1);
    QVERIFY2(fx_->platform().messageTexts().first().contains(QStringLiteral("adresse locale ou privée")),
             qPrintable(fx_->platform().messageTexts().first()));
}

QTEST_MAIN(tst_ImportDrop)
#include "tst_importdrop.moc"
