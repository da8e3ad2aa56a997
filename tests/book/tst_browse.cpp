// Browsing the book: the sorted family and recipe lists, the shown text and image, damaged files.
#include "bookfixture.h"
#include "book/frmrecettes.h"
#include "book/recordcombo.h"
#include "book/tabstrip.h"
#include "mainwin/frmmain.h"
#include "store/module1.h"
#include "testbook.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QLineEdit>
#include <QFileInfo>
#include <QDir>
#include <QPlainTextEdit>
#include <QtTest>

using namespace gratinel;
using namespace gratinel::testbook;
using namespace Qt::StringLiterals;

namespace {

// The minimal book and a family "Aaa" (record 18) that sorts first, so that its first
// recipe (record 302 for the first one added) is the one shown after the load.
constexpr int kAaa = 18;
constexpr int kOwnRecipe = 302;

BookBuilder withFirstFamily()
{
    BookBuilder b = minimal();
    b.addFamily(u"Aaa"_s);
    return b;
}

QList<int> records(const QComboBox *combo)
{
    QList<int> out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemData(i).toInt();
    return out;
}

// Enabled states of the image submenu and of the "Camera" button.
QPair<bool, bool> imageCommands(const frmMain *frame)
{
    return {frame->menuItem(u"mnuViewImage"_s)->isEnabled(), frame->button(u"Camera"_s)->isEnabled()};
}

QPair<bool, bool> both(bool enabled)
{
    return {enabled, enabled};
}

bool patchOwnRecipe(BookFixture &f, int offset, qint32 value)
{
    return patchFile(f.path(u"GRTN2.DAT"_s), (kOwnRecipe - 1) * 150 + offset, le32(value));
}

} // namespace

class TestBrowse : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void familyListsSortedAlikeInFrenchOrder_data();
    void familyListsSortedAlikeInFrenchOrder();
    void loadShowsAlphabeticallyFirstFamily();
    void recipeListHoldsSelectedFamilyInOrder();
    void familyWithoutRecipeDisablesListAndText();
    void shownTextCutAt30000Bytes_data();
    void shownTextCutAt30000Bytes();
    void missingImageWarnsOnceAndIsDroppedOnDisk_data();
    void missingImageWarnsOnceAndIsDroppedOnDisk();
    void imageCommandsFollowShownRecipe_data();
    void imageCommandsFollowShownRecipe();
    void familyWithoutRecipeOffersNoImage();
    void wrongCountsStillListEverything_data();
    void wrongCountsStillListEverything();
    void dataFileRemovedWhileRunning_data();
    void dataFileRemovedWhileRunning();
    void largeBookListsEveryEntry();
};

void TestBrowse::familyListsSortedAlikeInFrenchOrder_data()
{
    QTest::addColumn<QStringList>("names");    // record order, from record 2
    QTest::addColumn<QStringList>("expected"); // list order

    QTest::newRow("accented capitals in their letter")
        << QStringList{u"Fromages"_s, u"Écrevisses"_s, u"Desserts"_s, u"Entrées"_s, u"Éclairs"_s}
        << QStringList{u"Desserts"_s, u"Éclairs"_s, u"Écrevisses"_s, u"Entrées"_s, u"Fromages"_s};
    QTest::newRow("case ignored, oe ligature as o and e")
        << QStringList{u"Bœuf"_s, u"avocats"_s, u"Oignons"_s, u"BROCHETTES"_s, u"Oeufs durs"_s, u"Œufs brouillés"_s}
        << QStringList{u"avocats"_s, u"Bœuf"_s, u"BROCHETTES"_s, u"Œufs brouillés"_s, u"Oeufs durs"_s, u"Oignons"_s};
    QTest::newRow("an accent orders words otherwise equal")
        << QStringList{u"Pâtes"_s, u"Pates"_s, u"Crêpes"_s, u"Crepes"_s}
        << QStringList{u"Crepes"_s, u"Crêpes"_s, u"Pates"_s, u"Pâtes"_s};
    QTest::newRow("equal but for case, in record order")
        << QStringList{u"tartes"_s, u"Œufs"_s, u"TARTES"_s, u"Tartes"_s, u"œufs"_s}
        << QStringList{u"Œufs"_s, u"œufs"_s, u"tartes"_s, u"TARTES"_s, u"Tartes"_s};
    QTest::newRow("spaces around names removed")
        << QStringList{u"   Salades"_s, u"Soupes      "_s, u"  Rôtis  "_s}
        << QStringList{u"Rôtis"_s, u"Salades"_s, u"Soupes"_s};
}

void TestBrowse::familyListsSortedAlikeInFrenchOrder()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, expected);

    QList<int> expectedRecords;
    for (const QString &text : expected) {
        const auto named = std::find_if(names.cbegin(), names.cend(), [&](const QString &n) { return n.trimmed() == text; });
        expectedRecords << 2 + int(named - names.cbegin());
    }
    // Filled up to the sixteen families start-up asks for, with names that sort last.
    for (int i = int(names.size()); i < 16; ++i) {
        names << u"Zz %1"_s.arg(i, 2, 10, QLatin1Char(u'0'));
        expected << names.last();
        expectedRecords << 2 + i;
    }
    BookBuilder b;
    for (const QString &name : names)
        b.addFamily(name);
    for (int i = 0; i < 300; ++i)
        b.addRecipe(2, u"R"_s);

    BookFixture f;
    QVERIFY(f.start(b));
    frmRecettes *book = f.book();
    for (const RecordCombo *combo : {book->ComboFamilles, book->ComboFamillesAjouter, book->ComboFamillesModifier}) {
        QCOMPARE(texts(combo), expected);
        QCOMPARE(records(combo), expectedRecords);
    }
}

void TestBrowse::loadShowsAlphabeticallyFirstFamily()
{
    BookBuilder b = minimal();
    b.addFamily(u"Apéritifs"_s); // record 18, after the families it sorts before
    b.addRecipe(18, u"Tapenade"_s, u"Olives noires"_s);
    b.addRecipe(18, u"Gougères"_s, u"Pâte à choux\nGruyère"_s);

    BookFixture f;
    QVERIFY(f.start(b));
    frmRecettes *book = f.book();
    QCOMPARE(book->ComboFamilles->currentIndex(), 0);
    QCOMPARE(book->ComboFamilles->selectedRecord(), 18);
    QCOMPARE(texts(book->ComboRecettes), (QStringList{u"Gougères"_s, u"Tapenade"_s}));
    QCOMPARE(book->txtRecette->toPlainText(), u"Pâte à choux\nGruyère"_s);
    QVERIFY(f.platform().messages.empty());
    QCOMPARE(f.platform().pointer, Platform::Pointer::Normal);
}

void TestBrowse::recipeListHoldsSelectedFamilyInOrder()
{
    BookBuilder b = minimal();
    const int desserts = b.addFamily(u"Desserts"_s);
    const int entrees = b.addFamily(u"Entrées"_s);
    const int tarte = b.addRecipe(desserts, u"Tarte   "_s);
    b.addRecipe(entrees, u"Terrine"_s);
    const int eclair = b.addRecipe(desserts, u"  éclair"_s);
    b.addRecipe(desserts, u"Baba"_s, {}, {}, kDeleted);
    const int creme = b.addRecipe(desserts, u"crème brûlée"_s, u"Crème"_s);
    const int crepes = b.addRecipe(desserts, u"Crêpes"_s);
    const int anglaise = b.addRecipe(desserts, u"Crème anglaise"_s, u"Lait"_s);

    BookFixture f;
    QVERIFY(f.start(b));
    frmRecettes *book = f.book();
    choose(book->ComboFamilles, book->ComboFamilles->findText(u"Desserts"_s));
    QCOMPARE(texts(book->ComboRecettes),
             (QStringList{u"Crème anglaise"_s, u"crème brûlée"_s, u"Crêpes"_s, u"éclair"_s, u"Tarte"_s}));
    QCOMPARE(records(book->ComboRecettes), (QList<int>{anglaise, creme, crepes, eclair, tarte}));
    QCOMPARE(book->txtRecette->toPlainText(), u"Lait"_s);
    choose(book->ComboRecettes, 1);
    QCOMPARE(book->txtRecette->toPlainText(), u"Crème"_s);

    choose(book->ComboFamilles, book->ComboFamilles->findText(u"Entrées"_s));
    QCOMPARE(texts(book->ComboRecettes), QStringList{u"Terrine"_s});
}

void TestBrowse::familyWithoutRecipeDisablesListAndText()
{
    BookBuilder b = minimal();
    b.addFamily(u"Vide"_s);
    BookFixture f;
    QVERIFY(f.start(b));
    frmRecettes *book = f.book();

    choose(book->ComboFamilles, book->ComboFamilles->findText(u"Vide"_s));
    QCOMPARE(book->ComboRecettes->count(), 0);
    QVERIFY(!book->ComboRecettes->isEnabled());
    QVERIFY(book->txtRecette->toPlainText().isEmpty());
    QVERIFY(!book->txtRecette->isEnabled());

    choose(book->ComboFamilles, book->ComboFamilles->findText(u"Famille 01"_s));
    QCOMPARE(book->ComboRecettes->count(), 300);
    QVERIFY(book->ComboRecettes->isEnabled());
    QVERIFY(book->txtRecette->isEnabled());
    QCOMPARE(book->txtRecette->toPlainText(), u"Texte 1"_s);
}

void TestBrowse::shownTextCutAt30000Bytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("textPos"); // written over the stored position when below 1
    QTest::addColumn<QString>("shown");

    const QString exact = u"abcdefghijklmnopqrstuvwxyz0123"_s.repeated(1000);
    QTest::newRow("exactly 30000") << exact << 1 << exact;
    QTest::newRow("30001, cut") << exact + u'!' << 1 << exact;
    QTest::newRow("accented, one byte each") << QString(30005, u'é') << 1 << QString(30000, u'é');
    // Lines of 10 characters take 12 bytes each: 2500 of them fill 30000 bytes.
    QStringList lines;
    for (int i = 1; i <= 2600; ++i)
        lines << u"ligne %1"_s.arg(i, 4, 10, QLatin1Char('0'));
    QTest::newRow("a line end counts two") << lines.join(u'\n') << 1 << lines.mid(0, 2500).join(u'\n') + u'\n';
    QTest::newRow("position 0 means no text") << u"Texte"_s << 0 << QString();
    QTest::newRow("negative position means no text") << u"Texte"_s << -7 << QString();
}

void TestBrowse::shownTextCutAt30000Bytes()
{
    QFETCH(QString, text);
    QFETCH(int, textPos);
    QFETCH(QString, shown);

    BookBuilder b = withFirstFamily();
    b.addRecipe(kAaa, u"Longue"_s, text);
    BookFixture f;
    QVERIFY(f.write(b));
    if (textPos < 1)
        QVERIFY(patchOwnRecipe(f, recipefield::textPos, textPos));
    QVERIFY(f.start());
    QCOMPARE(f.book()->ComboRecettes->selectedRecord(), kOwnRecipe);
    QCOMPARE(f.book()->txtRecette->toPlainText(), shown);
    QVERIFY(f.platform().messages.empty());
}

void TestBrowse::missingImageWarnsOnceAndIsDroppedOnDisk_data()
{
    QTest::addColumn<QString>("image"); // in the book's folder when relative
    QTest::addColumn<QString>("onDisk"); // the photo there, in the book's folder; none when empty
    QTest::addColumn<bool>("dropped");  // the link taken off the recipe on disk
    QTest::newRow("file gone") << u"tarte.jpg"_s << QString() << true;
    QTest::newRow("folder absent (a key not plugged in)") << u"cle-usb/Recettes/tarte.jpg"_s << QString() << false;
    QTest::newRow("path of Windows") << u"C:\\Mes documents\\Recettes\\far.jpg"_s << QString() << false;
    // Found as Windows found them: shown, and no warning.
    QTest::newRow("trailing spaces") << u"far.jpg  "_s << u"far.jpg"_s << false;
    QTest::newRow("other letter case") << u"Photos/FAR.JPG"_s << u"photos/far.jpg"_s << false;
    QTest::newRow("through an absent folder and ..") << u"absent/../photos/far.jpg"_s << u"photos/far.jpg"_s << false;
}

void TestBrowse::missingImageWarnsOnceAndIsDroppedOnDisk()
{
    QFETCH(QString, image);
    QFETCH(QString, onDisk);
    QFETCH(bool, dropped);
    BookFixture f;
    if (!image.startsWith(u"C:"_s))
        image = f.path(image);
    if (!onDisk.isEmpty()) {
        onDisk = f.path(onDisk);
        QVERIFY(QDir().mkpath(QFileInfo(onDisk).path()) && writeFile(onDisk, "BM"));
    }
    BookBuilder b = withFirstFamily();
    b.addRecipe(kAaa, u"Tarte"_s, u"Pommes"_s, image);
    b.addRecipe(kAaa, u"Un autre"_s, u"Poires"_s);
    QVERIFY(f.write(b));
    const QByteArray before = f.bytes(u"GRTN2.DAT"_s);
    const QByteArray paths = f.bytes(u"GRTN4.DAT"_s);
    const qint32 imagePos = f.recipeFieldOnDisk(kOwnRecipe, recipefield::imagePos);
    const qint32 textPos = f.recipeFieldOnDisk(kOwnRecipe, recipefield::textPos);

    QVERIFY(f.start());
    FakePlatform &p = f.platform();
    const QStringList warning{u"Le fichier image\r\n"_s + image + u"\r\nn'a pas été trouvé."_s};
    QCOMPARE(p.messageTexts(), onDisk.isEmpty() ? warning : QStringList());
    if (onDisk.isEmpty()) {
        QCOMPARE(p.messages[0].icon, Platform::Icon::Warning);
        QCOMPARE(p.calls.at(p.calls.indexOf(u"msgBox"_s) - 1), u"pointer:normal"_s);
    }
    QVERIFY(!p.calls.contains(u"beep"_s));
    QVERIFY(!p.ended);

    // Only the image fields changed on disk, and only when the file is really gone.
    QCOMPARE(f.recipeFieldOnDisk(kOwnRecipe, recipefield::imagePos), dropped ? 0 : imagePos);
    QCOMPARE(f.recipeFieldOnDisk(kOwnRecipe, recipefield::imageLen), dropped ? 0 : int(image.size()));
    QCOMPARE(f.recipeFieldOnDisk(kOwnRecipe, recipefield::textPos), textPos);
    QCOMPARE(f.recipeFieldOnDisk(kOwnRecipe, recipefield::familyRecord), kAaa);
    QCOMPARE(f.recipeStateOnDisk(kOwnRecipe), kInUse);
    if (!dropped)
        QCOMPARE(f.bytes(u"GRTN2.DAT"_s), before);
    QCOMPARE(f.book()->txtRecette->toPlainText(), u"Pommes"_s);
    QCOMPARE(f.book()->imagePath(), onDisk);
    QCOMPARE(imageCommands(f.frame()), both(!onDisk.isEmpty()));

    // Said once while the program runs.
    choose(f.book()->ComboRecettes, 1);
    choose(f.book()->ComboRecettes, 0);
    QCOMPARE(p.messages.size(), size_t(onDisk.isEmpty() ? 1 : 0));

    // The modify page shows the link as stored; a title-only change writes nothing about it.
    f.book()->TabStrip1->selectTab(3);
    QCOMPARE(f.book()->txtImageModifier->text(), dropped ? QString() : image);
    f.book()->txtSaisieNomRecetteModifier->setText(u"Tarte fine"_s);
    QTest::mouseClick(f.book()->cmdValideModifier, Qt::LeftButton);
    QCOMPARE(f.book()->ComboRecettes->selectedText(), u"Tarte fine"_s);
    QCOMPARE(f.recipeFieldOnDisk(kOwnRecipe, recipefield::imagePos), dropped ? 0 : imagePos);
    QCOMPARE(f.recipeFieldOnDisk(kOwnRecipe, recipefield::imageLen), dropped ? 0 : int(image.size()));
    QCOMPARE(f.bytes(u"GRTN4.DAT"_s), paths);
    QCOMPARE(p.messages.size(), size_t(onDisk.isEmpty() ? 1 : 0));
}

void TestBrowse::imageCommandsFollowShownRecipe_data()
{
    QTest::addColumn<bool>("firstHasImage");
    QTest::addColumn<bool>("secondHasImage");

    QTest::newRow("image, then none") << true << false;
    QTest::newRow("none, then image") << false << true;
    QTest::newRow("image, then image") << true << true;
}

void TestBrowse::imageCommandsFollowShownRecipe()
{
    QFETCH(bool, firstHasImage);
    QFETCH(bool, secondHasImage);

    BookFixture f;
    const QString first = f.path(u"premier.bmp"_s);
    const QString second = f.path(u"second.bmp"_s);
    QVERIFY(writeFile(first, "BM") && writeFile(second, "BM"));
    BookBuilder b = withFirstFamily();
    b.addRecipe(kAaa, u"A premier"_s, {}, firstHasImage ? first : QString());
    b.addRecipe(kAaa, u"B second"_s, {}, secondHasImage ? second : QString());
    QVERIFY(f.start(b));

    QCOMPARE(f.book()->imagePath(), firstHasImage ? first : QString());
    QCOMPARE(imageCommands(f.frame()), both(firstHasImage));
    choose(f.book()->ComboRecettes, 1);
    QCOMPARE(f.book()->imagePath(), secondHasImage ? second : QString());
    QCOMPARE(imageCommands(f.frame()), both(secondHasImage));
    QVERIFY(f.platform().messages.empty());
}

void TestBrowse::familyWithoutRecipeOffersNoImage()
{
    // The image of the recipe shown before must not stay on offer once nothing is shown.
    BookFixture f;
    const QString image = f.path(u"photo.bmp"_s);
    QVERIFY(writeFile(image, "BM"));
    BookBuilder b = withFirstFamily();
    b.addRecipe(kAaa, u"Avec photo"_s, {}, image);
    b.addFamily(u"Vide"_s);
    QVERIFY(f.start(b));
    QCOMPARE(imageCommands(f.frame()), both(true));

    choose(f.book()->ComboFamilles, f.book()->ComboFamilles->findText(u"Vide"_s));
    QVERIFY(f.book()->imagePath().isEmpty());
    QCOMPARE(imageCommands(f.frame()), both(false));
}

void TestBrowse::wrongCountsStillListEverything_data()
{
    QTest::addColumn<qint16>("familyCount");
    QTest::addColumn<qint16>("recipeCount");
    // A deletion cut short before its count was lowered leaves counts too high.
    QTest::newRow("too high") << qint16(40) << qint16(310);
    // An addition cut short between its record and its count leaves them too low: the
    // last records would stay out of every list, and later additions with them.
    QTest::newRow("too low") << qint16(16) << qint16(300);
}

void TestBrowse::wrongCountsStillListEverything()
{
    QFETCH(qint16, familyCount);
    QFETCH(qint16, recipeCount);
    BookBuilder b = minimal();
    b.addFamily(u"Effacée"_s, kDeleted);
    b.addRecipe(3, u"Effacée"_s, {}, {}, kDeleted);
    b.addFamily(u"Zeste"_s);
    b.addRecipe(2, u"Zzz la dernière"_s, u"Tout au bout"_s);
    b.setFamilyCount(familyCount);
    b.setRecipeCount(recipeCount);
    BookFixture f;
    QVERIFY(f.start(b));

    QCOMPARE(f.book()->ComboFamilles->count(), 17);
    QCOMPARE(f.book()->ComboRecettes->count(), 301);
    QCOMPARE(f.book()->ComboRecettes->itemText(300), u"Zzz la dernière"_s);
    // The true counts are written back, the rest of the headers as they were.
    QCOMPARE(f.recipeCountOnDisk(), qint16(301));
    QCOMPARE(testbook::int16At(f.bytes(u"GRTN1.DAT"_s), 0), qint16(17));
    QCOMPARE(f.bytes(u"GRTN2.DAT"_s).mid(2, 148), QByteArray(148, ' '));
    QVERIFY(f.platform().messages.empty());
}

void TestBrowse::dataFileRemovedWhileRunning_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("chooseFamily"); // else a recipe

    for (const QString &file : {u"GRTN2.DAT"_s, u"GRTN3.DAT"_s, u"GRTN4.DAT"_s}) {
        QTest::addRow("%s, recipe chosen", qPrintable(file)) << file << false;
        QTest::addRow("%s, family chosen", qPrintable(file)) << file << true;
    }
}

void TestBrowse::dataFileRemovedWhileRunning()
{
    QFETCH(QString, file);
    QFETCH(bool, chooseFamily);

    BookFixture f;
    QVERIFY(f.start(minimal()));
    QVERIFY(QFile::remove(f.path(file)));
    // The family shown, chosen again, is read anew with its first recipe.
    choose(chooseFamily ? f.book()->ComboFamilles : f.book()->ComboRecettes, chooseFamily ? 0 : 1);

    FakePlatform &p = f.platform();
    QCOMPARE(p.messageTexts(), (QStringList{u"Fichier "_s + f.path(file) + u"\r\nnon trouvé ou erreur disque."_s, kFatal}));
    QCOMPARE(p.messages[0].icon, Platform::Icon::Critical);
    QCOMPARE(p.count(u"beep"_s), 2);
    QCOMPARE(p.count(u"end"_s), 1);
    QCOMPARE(p.calls.last(), u"end"_s);
}

void TestBrowse::largeBookListsEveryEntry()
{
    // 2000 families, the first in order in the last record, holding all 32767 recipes.
    BookBuilder b;
    for (int i = 2000; i >= 1; --i)
        b.addFamily(u"Famille %1"_s.arg(i, 4, 10, QLatin1Char('0')));
    for (int i = 1; i <= 32767; ++i)
        b.addRecipe(2001, u"Recette %1"_s.arg(i, 5, 10, QLatin1Char('0')));
    BookFixture f;
    QVERIFY(f.start(b));
    frmRecettes *book = f.book();

    QCOMPARE(book->ComboFamilles->count(), 2000);
    QCOMPARE(book->ComboFamillesModifier->count(), 2000);
    QCOMPARE(book->ComboFamilles->selectedRecord(), 2001);
    QCOMPARE(book->ComboRecettes->count(), 32767);
    QCOMPARE(book->ComboRecettes->itemData(32766).toInt(), 32768);
    for (RecordCombo *combo : {book->ComboFamilles, book->ComboRecettes}) {
        combo->showPopup();
        QVERIFY(combo->view()->isVisible());
        combo->hidePopup();
        QVERIFY(!combo->view()->isVisible());
    }
    choose(book->ComboRecettes, 32766);
    QCOMPARE(f.m().recipeWork.titleText(), u"Recette 32767"_s);
    QVERIFY(f.platform().messages.empty());
}

QTEST_MAIN(TestBrowse)
#include "tst_browse.moc"
