// Browsing the book: the sorted family and recipe lists, the shown text and image, damaged files.
#include "bookfixture.h"
#include "book/frmrecettes.h"
#include "book/recordcombo.h"
#include "mainwin/frmmain.h"
#include "mainwin/launch.h"
#include "store/module1.h"
#include "testbook.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest>

using namespace gratinel;
using namespace gratinel::testbook;
using namespace Qt::StringLiterals;

namespace {

const QString kFatal = QStringLiteral("Erreur fatale. Impossibilité de continuer.");

// Record numbers of the book made by withFirstFamily: the family "Aaa" sorts before the
// sixteen families of the minimal book, so that it is the one shown after the load.
constexpr int kAaa = 18;
constexpr int kFirstOwnRecipe = 302;

BookBuilder withFirstFamily()
{
    BookBuilder b = minimal();
    b.addFamily(QStringLiteral("Aaa"));
    return b;
}

// Selects an entry of a list as the user does: the list's activation runs its handler.
void choose(QComboBox *combo, int row)
{
    combo->setCurrentIndex(row);
    Q_EMIT combo->activated(row);
}

int rowOf(const QComboBox *combo, const QString &text)
{
    return combo->findText(text, Qt::MatchExactly);
}

QStringList texts(const QComboBox *combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

QList<int> records(const QComboBox *combo)
{
    QList<int> out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemData(i).toInt();
    return out;
}

bool imageCommandsEnabled(const frmMain *frame, bool enabled)
{
    return frame->menuItem(QStringLiteral("mnuViewImage"))->isEnabled() == enabled
        && frame->button(QStringLiteral("Camera"))->isEnabled() == enabled;
}

} // namespace

class TestBrowse : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void familyListsAreSortedAlikeInFrenchOrder_data();
    void familyListsAreSortedAlikeInFrenchOrder();
    void firstFamilyShownIsAlphabeticallyFirst();
    void recipeListHoldsTheFamilysRecipesInOrder();
    void familyWithoutRecipeDisablesListAndText();

    void shownTextIsCutAt30000Bytes_data();
    void shownTextIsCutAt30000Bytes();

    void missingImageWarnsOnceAndIsDroppedOnDisk();
    void imageCommandsFollowTheShownRecipe_data();
    void imageCommandsFollowTheShownRecipe();

    void tooHighRecipeCountIsCorrectedOnDisk();
    void tooHighFamilyCountListsTheFamiliesThere();
    void damagedRecipeEndsInFatalError_data();
    void damagedRecipeEndsInFatalError();
    void dataFileRemovedWhileRunning_data();
    void dataFileRemovedWhileRunning();

    void familyFileRemovedBeforeBookLoads();
    void largeBookListsEveryEntry();
};

void TestBrowse::familyListsAreSortedAlikeInFrenchOrder_data()
{
    QTest::addColumn<QStringList>("names");    // in record order, from record 2
    QTest::addColumn<QStringList>("expected"); // as listed

    QTest::newRow("accented capital in its letter")
        << QStringList{u"Fromages"_s, u"Écrevisses"_s, u"Desserts"_s, u"Entrées"_s, u"Éclairs"_s}
        << QStringList{u"Desserts"_s, u"Éclairs"_s, u"Écrevisses"_s, u"Entrées"_s, u"Fromages"_s};
    QTest::newRow("letter case ignored")
        << QStringList{u"Bœuf"_s, u"avocats"_s, u"Canard"_s, u"agneau"_s, u"BROCHETTES"_s}
        << QStringList{u"agneau"_s, u"avocats"_s, u"Bœuf"_s, u"BROCHETTES"_s, u"Canard"_s};
    QTest::newRow("oe ligature as o and e")
        << QStringList{u"Poissons"_s, u"Oignons"_s, u"Œufs brouillés"_s, u"Oeufs durs"_s, u"Nems"_s}
        << QStringList{u"Nems"_s, u"Œufs brouillés"_s, u"Oeufs durs"_s, u"Oignons"_s, u"Poissons"_s};
    QTest::newRow("accents after plain letters")
        << QStringList{u"Pâtes"_s, u"Pates"_s, u"Crêpes"_s, u"Crepes"_s}
        << QStringList{u"Crepes"_s, u"Crêpes"_s, u"Pates"_s, u"Pâtes"_s};
    QTest::newRow("equal but for case keep record order")
        << QStringList{u"tartes"_s, u"Œufs"_s, u"TARTES"_s, u"Tartes"_s, u"œufs"_s}
        << QStringList{u"Œufs"_s, u"œufs"_s, u"tartes"_s, u"TARTES"_s, u"Tartes"_s};
    QTest::newRow("spaces around names removed")
        << QStringList{u"   Salades"_s, u"Soupes      "_s, u"  Rôtis  "_s}
        << QStringList{u"Rôtis"_s, u"Salades"_s, u"Soupes"_s};
}

void TestBrowse::familyListsAreSortedAlikeInFrenchOrder()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, expected);

    BookBuilder b;
    for (const QString &name : names)
        b.addFamily(name);
    // Up to the sixteen families start-up asks for; they sort after the others.
    QStringList filler;
    for (int i = int(names.size()); i < 16; ++i)
        filler << QStringLiteral("Zz %1").arg(i, 2, 10, QLatin1Char('0'));
    for (const QString &name : filler)
        b.addFamily(name);
    for (int i = 0; i < 300; ++i)
        b.addRecipe(2, QStringLiteral("R"));

    BookFixture f;
    QVERIFY(f.start(b));
    frmRecettes *book = f.book();

    QList<int> expectedRecords;
    for (const QString &text : expected) {
        int i = 0;
        while (i < names.size() && names[i].trimmed() != text)
            ++i;
        QVERIFY2(i < names.size(), qPrintable(text));
        expectedRecords << 2 + i;
    }
    for (int i = 0; i < filler.size(); ++i)
        expectedRecords << 2 + int(names.size()) + i;

    for (const RecordCombo *combo : {book->ComboFamilles, book->ComboFamillesAjouter, book->ComboFamillesModifier}) {
        QCOMPARE(texts(combo), expected + filler);
        QCOMPARE(records(combo), expectedRecords);
    }
}

void TestBrowse::firstFamilyShownIsAlphabeticallyFirst()
{
    BookBuilder b = minimal();
    b.addFamily(QStringLiteral("Apéritifs")); // record 18, after the families it sorts before
    b.addRecipe(18, QStringLiteral("Tapenade"), QStringLiteral("Olives noires"));
    b.addRecipe(18, QStringLiteral("Gougères"), QStringLiteral("Pâte à choux\nGruyère"));

    BookFixture f;
    QVERIFY(f.start(b));
    frmRecettes *book = f.book();
    QCOMPARE(book->ComboFamilles->currentIndex(), 0);
    QCOMPARE(book->ComboFamilles->currentText(), u"Apéritifs"_s);
    QCOMPARE(book->ComboFamilles->selectedRecord(), 18);
    QCOMPARE(texts(book->ComboRecettes), (QStringList{u"Gougères"_s, u"Tapenade"_s}));
    QCOMPARE(book->ComboRecettes->currentIndex(), 0);
    QCOMPARE(book->txtRecette->toPlainText(), u"Pâte à choux\nGruyère"_s);
    QCOMPARE(f.m().recipeWork.familyRecord, 18);
    QVERIFY(f.platform().messages.empty());
    QCOMPARE(f.platform().pointer, Platform::Pointer::Normal);
}

void TestBrowse::recipeListHoldsTheFamilysRecipesInOrder()
{
    BookBuilder b = minimal();
    const int desserts = b.addFamily(QStringLiteral("Desserts"));
    const int other = b.addFamily(QStringLiteral("Entrées"));
    const int tarte = b.addRecipe(desserts, QStringLiteral("Tarte   "));
    b.addRecipe(other, QStringLiteral("Terrine"));
    const int eclair = b.addRecipe(desserts, QStringLiteral("  éclair"));
    b.addRecipe(desserts, QStringLiteral("Baba"), {}, {}, kDeleted);
    const int creme = b.addRecipe(desserts, QStringLiteral("crème brûlée"), QStringLiteral("Crème"));
    const int crepes = b.addRecipe(desserts, QStringLiteral("Crêpes"));
    const int anglaise = b.addRecipe(desserts, QStringLiteral("Crème anglaise"), QStringLiteral("Lait"));

    BookFixture f;
    QVERIFY(f.start(b));
    frmRecettes *book = f.book();
    choose(book->ComboFamilles, rowOf(book->ComboFamilles, u"Desserts"_s));

    QCOMPARE(texts(book->ComboRecettes),
             (QStringList{u"Crème anglaise"_s, u"crème brûlée"_s, u"Crêpes"_s, u"éclair"_s, u"Tarte"_s}));
    QCOMPARE(records(book->ComboRecettes), (QList<int>{anglaise, creme, crepes, eclair, tarte}));
    QVERIFY(book->ComboRecettes->isEnabled());
    QCOMPARE(book->txtRecette->toPlainText(), u"Lait"_s);

    choose(book->ComboRecettes, 1);
    QCOMPARE(book->txtRecette->toPlainText(), u"Crème"_s);

    choose(book->ComboFamilles, rowOf(book->ComboFamilles, u"Entrées"_s));
    QCOMPARE(texts(book->ComboRecettes), QStringList{u"Terrine"_s});
    QVERIFY(f.platform().messages.empty());
}

void TestBrowse::familyWithoutRecipeDisablesListAndText()
{
    BookBuilder b = minimal();
    b.addFamily(QStringLiteral("Vide"));

    BookFixture f;
    QVERIFY(f.start(b));
    frmRecettes *book = f.book();
    QVERIFY(book->txtRecette->isEnabled());

    choose(book->ComboFamilles, rowOf(book->ComboFamilles, u"Vide"_s));
    QCOMPARE(book->ComboRecettes->count(), 0);
    QVERIFY(!book->ComboRecettes->isEnabled());
    QVERIFY(book->txtRecette->toPlainText().isEmpty());
    QVERIFY(!book->txtRecette->isEnabled());

    // Back to a family with recipes: everything comes back, once.
    choose(book->ComboFamilles, rowOf(book->ComboFamilles, u"Famille 01"_s));
    QCOMPARE(book->ComboRecettes->count(), 300);
    QVERIFY(book->ComboRecettes->isEnabled());
    QVERIFY(book->txtRecette->isEnabled());
    QCOMPARE(book->txtRecette->toPlainText(), u"Texte 1"_s);
    QVERIFY(f.platform().messages.empty());
}

void TestBrowse::shownTextIsCutAt30000Bytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("textPos");  // written over the stored position, unless 1 and up
    QTest::addColumn<QString>("shown");

    const QString alphabet = u"abcdefghijklmnopqrstuvwxyz0123"_s;
    const QString long30000 = alphabet.repeated(1000);
    QTest::newRow("exactly 30000") << long30000 << 1 << long30000;
    QTest::newRow("30001 cut") << long30000 + u"!"_s << 1 << long30000;
    QTest::newRow("far longer cut") << long30000.repeated(3) << 1 << long30000;
    QTest::newRow("accented, one byte each") << QString(30005, u'é') << 1 << QString(30000, u'é');

    // Lines of 10 characters: 12 bytes stored each, so 2500 lines fill 30000 bytes.
    QStringList lines;
    for (int i = 1; i <= 2600; ++i)
        lines << QStringLiteral("ligne %1").arg(i, 4, 10, QLatin1Char('0'));
    QTest::newRow("line ends count two") << lines.join(u'\n') << 1 << lines.mid(0, 2500).join(u'\n') + u'\n';

    QTest::newRow("no text") << QString() << 1 << QString();
    QTest::newRow("position 0 means none") << u"Texte"_s << 0 << QString();
    QTest::newRow("negative position means none") << u"Texte"_s << -7 << QString();
}

void TestBrowse::shownTextIsCutAt30000Bytes()
{
    QFETCH(QString, text);
    QFETCH(int, textPos);
    QFETCH(QString, shown);

    BookBuilder b = withFirstFamily();
    b.addRecipe(kAaa, QStringLiteral("Longue"), text);
    BookFixture f;
    QVERIFY(f.write(b));
    if (textPos < 1) {
        QVERIFY(patchFile(f.path(u"GRTN2.DAT"_s), (kFirstOwnRecipe - 1) * 150 + recipefield::textPos, le32(textPos)));
    }
    QVERIFY(f.start());
    QCOMPARE(f.book()->ComboRecettes->selectedRecord(), kFirstOwnRecipe);
    QCOMPARE(f.book()->txtRecette->toPlainText(), shown);
    QVERIFY(f.platform().messages.empty());
}

void TestBrowse::missingImageWarnsOnceAndIsDroppedOnDisk()
{
    BookFixture f;
    const QString image = f.path(u"tarte.jpg"_s);
    BookBuilder b = withFirstFamily();
    b.addRecipe(kAaa, QStringLiteral("Tarte"), QStringLiteral("Pommes"), image);
    b.addRecipe(kAaa, QStringLiteral("Un autre"), QStringLiteral("Poires"));
    QVERIFY(f.write(b));
    const qint32 textPos = f.recipeFieldOnDisk(kFirstOwnRecipe, recipefield::textPos);
    QCOMPARE(f.recipeFieldOnDisk(kFirstOwnRecipe, recipefield::imagePos), 1);

    QVERIFY(f.start());
    frmRecettes *book = f.book();
    FakePlatform &p = f.platform();
    QCOMPARE(p.messageTexts(), QStringList{u"Le fichier image\r\n"_s + image + u"\r\nn'a pas été trouvé."_s});
    QCOMPARE(p.messages[0].icon, Platform::Icon::Warning);
    QVERIFY(!p.calls.contains(u"beep"_s));
    QCOMPARE(p.calls.at(p.calls.indexOf(u"msgBox"_s) - 1), u"pointer:normal"_s);
    QVERIFY(!p.ended);

    // The recipe lost its image on disk, and nothing else.
    QCOMPARE(f.recipeFieldOnDisk(kFirstOwnRecipe, recipefield::imagePos), 0);
    QCOMPARE(f.recipeFieldOnDisk(kFirstOwnRecipe, recipefield::imageLen), 0);
    QCOMPARE(f.recipeFieldOnDisk(kFirstOwnRecipe, recipefield::textPos), textPos);
    QCOMPARE(f.recipeFieldOnDisk(kFirstOwnRecipe, recipefield::familyRecord), kAaa);
    QCOMPARE(f.recipeStateOnDisk(kFirstOwnRecipe), kInUse);
    QCOMPARE(book->txtRecette->toPlainText(), u"Pommes"_s);
    QVERIFY(book->imagePath().isEmpty());
    QVERIFY(imageCommandsEnabled(f.frame(), false));

    // Shown again: no second warning.
    choose(book->ComboRecettes, 1);
    choose(book->ComboRecettes, 0);
    QCOMPARE(book->ComboRecettes->selectedRecord(), kFirstOwnRecipe);
    QCOMPARE(p.messages.size(), size_t(1));
    QVERIFY(imageCommandsEnabled(f.frame(), false));
}

void TestBrowse::imageCommandsFollowTheShownRecipe_data()
{
    QTest::addColumn<bool>("firstHasImage");
    QTest::addColumn<bool>("secondHasImage");

    QTest::newRow("image, then none") << true << false;
    QTest::newRow("none, then image") << false << true;
    QTest::newRow("image, then image") << true << true;
    QTest::newRow("none, then none") << false << false;
}

void TestBrowse::imageCommandsFollowTheShownRecipe()
{
    QFETCH(bool, firstHasImage);
    QFETCH(bool, secondHasImage);

    BookFixture f;
    const QString first = f.path(u"premier.bmp"_s);
    const QString second = f.path(u"second.bmp"_s);
    QVERIFY(writeFile(first, "BM"));
    QVERIFY(writeFile(second, "BM"));
    BookBuilder b = withFirstFamily();
    b.addRecipe(kAaa, QStringLiteral("A premier"), {}, firstHasImage ? first : QString());
    b.addRecipe(kAaa, QStringLiteral("B second"), {}, secondHasImage ? second : QString());
    QVERIFY(f.start(b));
    frmRecettes *book = f.book();

    QCOMPARE(book->imagePath(), firstHasImage ? first : QString());
    QVERIFY(imageCommandsEnabled(f.frame(), firstHasImage));

    choose(book->ComboRecettes, 1);
    QCOMPARE(book->imagePath(), secondHasImage ? second : QString());
    QVERIFY(imageCommandsEnabled(f.frame(), secondHasImage));
    QVERIFY(f.platform().messages.empty());
    QCOMPARE(f.recipeFieldOnDisk(kFirstOwnRecipe, recipefield::imagePos), firstHasImage ? 1 : 0);
}

void TestBrowse::tooHighRecipeCountIsCorrectedOnDisk()
{
    BookBuilder b = minimal();
    b.addRecipe(3, QStringLiteral("Effacée"), {}, {}, kDeleted);
    b.setRecipeCount(310);
    BookFixture f;
    QVERIFY(f.start(b));

    QCOMPARE(f.book()->ComboRecettes->count(), 300);
    QCOMPARE(f.recipeCountOnDisk(), qint16(300));
    QCOMPARE(f.m().recipeCount(), qint16(300));
    // The bytes after the count are written back as they were.
    QCOMPARE(f.bytes(u"GRTN2.DAT"_s).mid(2, 148), QByteArray(148, ' '));
    QVERIFY(f.platform().messages.empty());
}

void TestBrowse::tooHighFamilyCountListsTheFamiliesThere()
{
    BookBuilder b = minimal();
    b.addFamily(QStringLiteral("Effacée"), kDeleted);
    b.setFamilyCount(40);
    BookFixture f;
    QVERIFY(f.start(b));

    QCOMPARE(f.book()->ComboFamilles->count(), 16);
    QCOMPARE(f.book()->ComboFamillesModifier->count(), 16);
    QCOMPARE(f.book()->ComboRecettes->count(), 300);
    QVERIFY(f.platform().messages.empty());
}

void TestBrowse::damagedRecipeEndsInFatalError_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<qint32>("value");

    QTest::newRow("text after the end of GRTN3.DAT") << recipefield::textPos << qint32(1000000);
    QTest::newRow("text running past the end") << recipefield::textLen << qint32(20);
    QTest::newRow("negative text length") << recipefield::textLen << qint32(-5);
    QTest::newRow("text position near the 32-bit limit") << recipefield::textPos << qint32(0x7FFFFFF0);
    QTest::newRow("huge image path length") << recipefield::imageLen << qint32(0x7FFFFFFF);
    QTest::newRow("image path after the end of GRTN4.DAT") << recipefield::imagePos << qint32(5000);
    QTest::newRow("negative image position") << recipefield::imagePos << qint32(-1);
}

void TestBrowse::damagedRecipeEndsInFatalError()
{
    QFETCH(int, offset);
    QFETCH(qint32, value);

    BookFixture f;
    BookBuilder b = withFirstFamily();
    b.addRecipe(kAaa, QStringLiteral("Abîmée"), QStringLiteral("Douze octets"), f.path(u"a.png"_s));
    QVERIFY(f.write(b));
    QVERIFY(patchFile(f.path(u"GRTN2.DAT"_s), (kFirstOwnRecipe - 1) * 150 + offset, le32(value)));

    QVERIFY(!f.start());
    FakePlatform &p = f.platform();
    QCOMPARE(p.messageTexts(), QStringList{kFatal});
    QCOMPARE(p.messages[0].icon, Platform::Icon::Critical);
    const int box = int(p.calls.indexOf(u"msgBox"_s));
    QCOMPARE(p.calls.mid(box - 2, 3), (QStringList{u"pointer:normal"_s, u"beep"_s, u"msgBox"_s}));
    QCOMPARE(p.calls.last(), u"end"_s);
    QCOMPARE(p.count(u"end"_s), 1);
    QCOMPARE(f.m().fatalError, qint16(-1));
}

void TestBrowse::dataFileRemovedWhileRunning_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("selectFamily"); // else a recipe

    QTest::newRow("GRTN2.DAT, recipe chosen") << u"GRTN2.DAT"_s << false;
    QTest::newRow("GRTN3.DAT, recipe chosen") << u"GRTN3.DAT"_s << false;
    QTest::newRow("GRTN4.DAT, recipe chosen") << u"GRTN4.DAT"_s << false;
    QTest::newRow("GRTN2.DAT, family chosen") << u"GRTN2.DAT"_s << true;
    QTest::newRow("GRTN3.DAT, family chosen") << u"GRTN3.DAT"_s << true;
    QTest::newRow("GRTN4.DAT, family chosen") << u"GRTN4.DAT"_s << true;
}

void TestBrowse::dataFileRemovedWhileRunning()
{
    QFETCH(QString, file);
    QFETCH(bool, selectFamily);

    BookFixture f;
    QVERIFY(f.start(minimal()));
    QVERIFY(QFile::remove(f.path(file)));
    frmRecettes *book = f.book();
    // The family shown, chosen again: its list is read anew and its first recipe shown.
    if (selectFamily)
        choose(book->ComboFamilles, 0);
    else
        choose(book->ComboRecettes, 1);

    FakePlatform &p = f.platform();
    QCOMPARE(p.messageTexts(),
             (QStringList{u"Fichier "_s + f.path(file) + u"\r\nnon trouvé ou erreur disque."_s, kFatal}));
    QCOMPARE(p.messages[0].icon, Platform::Icon::Critical);
    QCOMPARE(p.messages[1].icon, Platform::Icon::Critical);
    QCOMPARE(p.count(u"beep"_s), 2);
    QCOMPARE(p.count(u"end"_s), 1);
    QCOMPARE(p.calls.last(), u"end"_s);
}

void TestBrowse::familyFileRemovedBeforeBookLoads()
{
    BookFixture f;
    QVERIFY(f.write(minimal()));
    Module1 &m = f.m();
    // Gone between the start-up checks and the load of the book.
    const bool started = m.Main([&](Module1 &mm) {
        QFile::remove(f.path(u"GRTN1.DAT"_s));
        return launchMainWindow(mm);
    });
    QVERIFY(!started);
    FakePlatform &p = f.platform();
    QCOMPARE(p.messageTexts(),
             (QStringList{u"Fichier "_s + f.path(u"GRTN1.DAT"_s) + u"\r\nnon trouvé ou erreur disque."_s, kFatal}));
    QCOMPARE(p.count(u"end"_s), 1);
    QVERIFY(!m.mainWindow);
}

void TestBrowse::largeBookListsEveryEntry()
{
    BookBuilder b;
    for (int i = 1; i <= 2000; ++i)
        b.addFamily(QStringLiteral("Famille %1").arg(2001 - i, 4, 10, QLatin1Char('0')));
    for (int i = 1; i <= 32767; ++i)
        b.addRecipe(2000 + 1, QStringLiteral("Recette %1").arg(i, 5, 10, QLatin1Char('0')));
    BookFixture f;
    QVERIFY(f.start(b));
    frmRecettes *book = f.book();

    // Record 2001 holds "Famille 0001", the first in order, and every recipe.
    QCOMPARE(book->ComboFamilles->count(), 2000);
    QCOMPARE(book->ComboFamillesAjouter->count(), 2000);
    QCOMPARE(book->ComboFamilles->selectedRecord(), 2001);
    QCOMPARE(book->ComboRecettes->count(), 32767);
    QCOMPARE(book->ComboRecettes->itemText(32766), u"Recette 32767"_s);
    QCOMPARE(book->ComboRecettes->itemData(32766).toInt(), 32767 + 1);
    QCOMPARE(f.recipeCountOnDisk(), qint16(32767));

    f.frame()->show();
    for (RecordCombo *combo : {book->ComboFamilles, book->ComboRecettes}) {
        combo->showPopup();
        QVERIFY(combo->view()->isVisible());
        combo->hidePopup();
        QVERIFY(!combo->view()->isVisible());
    }
    choose(book->ComboRecettes, 32766);
    QCOMPARE(f.m().recipeWork.titleText(), u"Recette 32767"_s);
    choose(book->ComboFamilles, 1999);
    QCOMPARE(book->ComboRecettes->count(), 0);
    QVERIFY(f.platform().messages.empty());
}

QTEST_MAIN(TestBrowse)
#include "tst_browse.moc"
