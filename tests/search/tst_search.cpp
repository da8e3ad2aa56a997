// The search dialog: titles then texts, one stop per recipe, letter case and accents, long
// and damaged texts, the end of the scan, opening the found recipe, failing reads.
#include "bookfixture.h"
#include "book/frmrecettes.h"
#include "book/recordcombo.h"
#include "mainwin/frmmain.h"
#include "search/frmrechercher.h"
#include "search/termfinder.h"
#include "store/cp1252.h"
#include "store/module1.h"
#include "testbook.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace gratinel;
using namespace gratinel::testbook;
using namespace Qt::StringLiterals;

namespace {

const QString kNotFound = u"Texte non trouvé"_s;
const QString kNoOther = u"Pas d'autre occurrence"_s;

// Family records of the extra families, after the 16 of the minimal book.
constexpr int kDesserts = 18;
constexpr int kEntrees = 19;

// The minimal book (records 2 to 301) and two families of our own; the recipes added
// next are records 302, 303, ...
BookBuilder searchBook()
{
    BookBuilder b = minimal();
    b.addFamily(u"Desserts"_s);
    b.addFamily(u"Entrées"_s);
    return b;
}

// A running program over book and a search dialog of its own, shown.
struct Search {
    explicit Search(const BookBuilder &book, qint64 textBlockBytes = RecipeSearch::kTextBlockBytes)
    {
        ok = f.start(book) && f.frame();
        if (!ok)
            return;
        dlg = std::make_unique<frmRechercher>(f.m(), *f.book(), f.frame(), textBlockBytes);
        dlg->show();
        ok = QTest::qWaitForWindowActive(dlg.get());
    }

    // Types word and presses OK; true when a recipe is shown.
    bool find(const QString &word)
    {
        dlg->txtSaisie->setText(word);
        QTest::mouseClick(dlg->cmdOk, Qt::LeftButton);
        return dlg->isVisible() && dlg->cmdContinuerRecette->isEnabled();
    }
    bool next()
    {
        QTest::mouseClick(dlg->cmdContinuerRecette, Qt::LeftButton);
        return dlg->isVisible() && dlg->cmdContinuerRecette->isEnabled();
    }
    qint32 shown() const { return dlg->search().searchRecordNo; }

    BookFixture f;
    std::unique_ptr<frmRechercher> dlg;
    bool ok = false;
};

// A text of n characters, words and spaces, with word put in at position at.
QString longText(int n, const QString &word, int at)
{
    QString text = u"sucre "_s.repeated(n / 6 + 1).left(n);
    text.replace(at, word.size(), word);
    return text;
}

} // namespace

class TestSearch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void startShowsTheRecipeFrameAndLocksTheWord();
    void emptyWordOnlyBeeps();
    void titleThenTextOneStopPerRecipe();
    void letterCaseIgnoredAccentsKept_data();
    void letterCaseIgnoredAccentsKept();
    void wordOutsideTheCodePageFindsNothing();
    void matchAcrossTextBlocks_data();
    void matchAcrossTextBlocks();
    void textsInFileOrderShareBlockReads();
    void textsLongerThan32767Bytes_data();
    void textsLongerThan32767Bytes();
    void scanEnds_data();
    void scanEnds();
    void damagedRecordsNeitherCrashNorFail();
    void activerShowsTheFoundRecipeInTheBook();
    void escapeAndEveryAnnulerClose();
    void failingFileEndsProgramAfterTheDialogCloses_data();
    void failingFileEndsProgramAfterTheDialogCloses();
};

void TestSearch::startShowsTheRecipeFrameAndLocksTheWord()
{
    BookBuilder b = searchBook();
    b.addRecipe(kDesserts, u"Clafoutis"_s, u"Cerises"_s);
    Search s(b);
    QVERIFY(s.ok);
    frmRechercher &d = *s.dlg;
    QCOMPARE(d.windowTitle(), u"Gratinel \"Free\" - Rechercher"_s);
    QVERIFY(d.cmdOk->isDefault());
    QCOMPARE(d.cancelButton(), d.cmdAnnuler);
    QVERIFY(d.Image1->isVisible());
    QVERIFY(!d.FrameRecette->isVisible());

    QVERIFY(s.find(u"  cerises  "_s));
    QCOMPARE(d.txtSaisie->text(), u"cerises"_s);
    for (QWidget *w : std::initializer_list<QWidget *>{d.txtSaisie, d.cmdOk, d.cmdAide, d.cmdAnnuler})
        QVERIFY(!w->isEnabled());
    QVERIFY(!d.cmdOk->isDefault());
    QCOMPARE(d.cancelButton(), d.cmdAnnulerRecette);
    QVERIFY(!d.Image1->isVisible());
    QVERIFY(d.FrameRecette->isVisible());
    QVERIFY(!d.FrameMenu->isVisible());
    QVERIFY(!d.FrameTruc->isVisible());
    QCOMPARE(d.FrameTruc->title(), u"Termes, trucs et astuces"_s);
    QCOMPARE(s.f.platform().pointer, Platform::Pointer::Normal);
}

void TestSearch::emptyWordOnlyBeeps()
{
    Search s(searchBook());
    QVERIFY(s.ok);
    QVERIFY(!s.find(u"   "_s));
    QVERIFY(s.dlg->isVisible());
    QCOMPARE(s.dlg->txtSaisie->text(), QString());
    QCOMPARE(s.f.platform().count(u"beep"_s), 1);
    QVERIFY(s.f.platform().messages.empty());
    QVERIFY(s.dlg->cmdOk->isEnabled());
    QVERIFY(!s.dlg->FrameRecette->isVisible());
    QCOMPARE(QApplication::focusWidget(), s.dlg->txtSaisie);
}

void TestSearch::titleThenTextOneStopPerRecipe()
{
    BookBuilder b = searchBook();
    const int inText = b.addRecipe(kDesserts, u"Clafoutis"_s, u"Dénoyauter les CERISES.\nCerises encore."_s);
    const int inTitle = b.addRecipe(kDesserts, u"Tarte aux cerises"_s, u"Pâte brisée, cerises."_s);
    b.addRecipe(kDesserts, u"Cerises au sirop"_s, u"cerises"_s, QString(), kDeleted);
    b.addRecipe(kEntrees, u"Potage"_s, u"Poireaux"_s);
    const int titleOnly = b.addRecipe(kEntrees, u"Cerises confites"_s);
    Search s(b);
    QVERIFY(s.ok);
    frmRechercher &d = *s.dlg;

    QVERIFY(s.find(u"cerise"_s));
    QCOMPARE(s.shown(), inText);
    QCOMPARE(d.txtNomRecette->text(), u"Clafoutis"_s);
    QCOMPARE(d.txtTexteRecette->toPlainText(), u"Dénoyauter les CERISES.\nCerises encore."_s);
    QCOMPARE(QApplication::focusWidget(), d.txtTexteRecette);

    QVERIFY(s.next());
    QCOMPARE(s.shown(), inTitle);
    QCOMPARE(d.txtNomRecette->text(), u"Tarte aux cerises"_s);
    QCOMPARE(d.txtTexteRecette->toPlainText(), u"Pâte brisée, cerises."_s);
    QCOMPARE(QApplication::focusWidget(), d.txtNomRecette);

    // The deleted recipe is passed over; a recipe without text matches by its title.
    QVERIFY(s.next());
    QCOMPARE(s.shown(), titleOnly);
    QCOMPARE(d.txtTexteRecette->toPlainText(), QString());
    QCOMPARE(d.search().searchSeen, 300 + 4);

    QVERIFY(!s.next());
    QVERIFY(!d.isVisible());
    QCOMPARE(s.f.platform().messageTexts(), QStringList{kNoOther});
    QCOMPARE(s.f.platform().messages.back().icon, Platform::Icon::Information);
    QCOMPARE(s.f.m().fatalError, qint16(0));
}

void TestSearch::letterCaseIgnoredAccentsKept_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("found");
    QTest::newRow("lower word, capital text") << u"FARINE"_s << u"farine"_s << true;
    QTest::newRow("inside a longer word") << u"Saupoudrer"_s << u"POUDRE"_s << true;
    QTest::newRow("é finds É") << u"CRÈME BRÛLÉE"_s << u"crème brûlée"_s << true;
    QTest::newRow("e does not find é") << u"purée"_s << u"puree"_s << false;
    QTest::newRow("é does not find e") << u"puree"_s << u"purée"_s << false;
    QTest::newRow("œ finds Œ") << u"ŒUFS BATTUS"_s << u"œufs"_s << true;
    QTest::newRow("Œ finds œ") << u"des œufs"_s << u"ŒUFS"_s << true;
    QTest::newRow("š finds Š") << u"ŠAŠLIK"_s << u"šašlik"_s << true;
    QTest::newRow("ž finds Ž") << u"Žganci"_s << u"žganci"_s << true;
    QTest::newRow("ÿ finds Ÿ") << u"L'HAŸ-LES-ROSES"_s << u"l'haÿ"_s << true;
    QTest::newRow("ß stays ß") << u"Straße"_s << u"STRASSE"_s << false;
    QTest::newRow("ß finds ß") << u"STRAßE"_s << u"straße"_s << true;
    QTest::newRow("µ stays µ") << u"5 µg"_s << u"MG"_s << false;
    QTest::newRow("µ finds µ") << u"5 µG"_s << u"µg"_s << true;
    QTest::newRow("÷ is no small ×") << u"2 × 3"_s << u"÷"_s << false;
    QTest::newRow("ð finds Ð") << u"ÐURO"_s << u"ðuro"_s << true;
    QTest::newRow("several words as one string") << u"pâte brisée maison"_s << u"PÂTE BRISÉE"_s << true;
    QTest::newRow("inner space counts") << u"pâte  brisée"_s << u"pâte brisée"_s << false;
    QTest::newRow("word longer than text") << u"sel"_s << u"sels"_s << false;
}

void TestSearch::letterCaseIgnoredAccentsKept()
{
    QFETCH(QString, stored);
    QFETCH(QString, word);
    QFETCH(bool, found);
    // The stored text at every offset of a longer one, so that the many-bytes-at-a-time
    // path and the byte-by-byte end of the scan both meet it.
    const TermFinder finder(cp1252::encode(word));
    for (int at = 0; at < 70; ++at) {
        const QByteArray text = QByteArray(at, '-') + cp1252::encode(stored) + QByteArray(70 - at, '-');
        QCOMPARE(finder.find(text) >= 0, found);
        if (found)
            QCOMPARE(finder.find(text) >= at, true);
    }
    QCOMPARE(finder.find(cp1252::encode(stored)) >= 0, found);
}

void TestSearch::wordOutsideTheCodePageFindsNothing()
{
    // "?" is what a character outside the code page would turn into when encoded.
    BookBuilder b = searchBook();
    b.addRecipe(kDesserts, u"Qui ? Quoi ?"_s, u"Pourquoi ?"_s);
    Search s(b);
    QVERIFY(s.ok);
    QVERIFY(!s.find(u"\u2603"_s));
    QCOMPARE(s.f.platform().messageTexts(), QStringList{kNotFound});
}

void TestSearch::matchAcrossTextBlocks_data()
{
    QTest::addColumn<int>("block");
    QTest::newRow("16-byte blocks") << 16;
    QTest::newRow("64-byte blocks") << 64;
    QTest::newRow("one block") << int(RecipeSearch::kTextBlockBytes);
}

void TestSearch::matchAcrossTextBlocks()
{
    QFETCH(int, block);
    // Texts of 1000 bytes stored one after the other, the word at a different place in
    // each: on, before and after block edges. Each such text is followed by one where
    // the word is broken by a letter, which must not stop the search.
    BookBuilder b = searchBook();
    b.addRecipe(kDesserts, u"Sorbet"_s, u"abc"_s);
    QList<int> expected;
    for (int at : {0, 5, 14, 15, 16, 17, 60, 62, 63, 64, 65, 126, 127, 128, 991}) {
        expected << b.addRecipe(kDesserts, u"Coulis %1"_s.arg(at), longText(1000, u"Framboise"_s, at));
        b.addRecipe(kDesserts, u"Gelée %1"_s.arg(at), longText(1000, u"Frambxise"_s, at));
    }
    Search s(b, block);
    QVERIFY(s.ok);
    QList<int> stops;
    for (bool shown = s.find(u"FRAMBOISE"_s); shown; shown = s.next())
        stops << s.shown();
    QCOMPARE(stops, expected);
    QCOMPARE(s.f.platform().messageTexts(), QStringList{kNoOther});
}

void TestSearch::textsInFileOrderShareBlockReads()
{
    // 300 short texts one after the other: one block read serves them all.
    Search s(searchBook());
    QVERIFY(s.ok);
    QVERIFY(!s.find(u"zut"_s));
    QCOMPARE(s.dlg->search().searchSeen, 300);
    QCOMPARE(s.dlg->search().textBlocks().reads(), 1);
}

void TestSearch::textsLongerThan32767Bytes_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("at");
    QTest::newRow("40000, word past 32767") << 40000 << 39990;
    QTest::newRow("70000, word past 65535") << 70000 << 65600;
    QTest::newRow("3 MB, word past the first block") << 3'000'000 << 2'500'000;
}

void TestSearch::textsLongerThan32767Bytes()
{
    QFETCH(int, length);
    QFETCH(int, at);
    BookBuilder b = searchBook();
    const int target = b.addRecipe(kDesserts, u"Très longue"_s, longText(length, u"pistache"_s, at));
    Search s(b);
    QVERIFY(s.ok);
    QVERIFY(s.find(u"Pistache"_s));
    QCOMPARE(s.shown(), target);
    QVERIFY(!s.f.platform().ended);
    QCOMPARE(s.dlg->search().FindTerm(cp1252::encode(longText(length, u"PISTACHE"_s, at))), qint64(at + 1));
    QCOMPARE(s.dlg->search().FindTerm(QByteArray(length, 'x')), qint64(0));
}

void TestSearch::scanEnds_data()
{
    QTest::addColumn<int>("where");       // 0: no match; 1: match in the last record; 2: in the one before
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("stops");
    QTest::newRow("nothing found") << 0 << QStringList{kNotFound} << 0;
    QTest::newRow("match in the last record") << 1 << QStringList{kNoOther} << 1;
    QTest::newRow("matches in the last two records") << 2 << QStringList{kNoOther} << 2;
}

void TestSearch::scanEnds()
{
    QFETCH(int, where);
    QFETCH(QStringList, messages);
    QFETCH(int, stops);
    BookBuilder b = searchBook();
    b.addRecipe(kDesserts, where == 2 ? u"Nougat"_s : u"Praliné"_s);
    b.addRecipe(kDesserts, where >= 1 ? u"Nougat glacé"_s : u"Flan"_s);
    Search s(b);
    QVERIFY(s.ok);
    int shown = s.find(u"nougat"_s) ? 1 : 0;
    while (s.dlg->isVisible() && s.next())
        ++shown;
    QCOMPARE(shown, stops);
    QVERIFY(!s.dlg->isVisible());
    QCOMPARE(s.f.platform().messageTexts(), messages);
    if (stops > 0)
        QCOMPARE(s.shown(), 303);
}

void TestSearch::damagedRecordsNeitherCrashNorFail()
{
    // In a family the book does not show at its start, which would read them itself.
    constexpr int kHidden = 3;
    BookBuilder b = searchBook();
    const int pastEnd = b.addRecipe(kHidden, u"Abîmée 1"_s, u"Texte"_s);
    const int negative = b.addRecipe(kHidden, u"Abîmée 2"_s, u"Texte"_s);
    const int cut = b.addRecipe(kHidden, u"Coupée"_s, u"La fin manque : nectarine"_s);
    BookFixture f;
    QVERIFY(f.write(b));
    const QString recipes = f.path(u"GRTN2.DAT"_s);
    const qint32 textSize = qint32(f.bytes(u"GRTN3.DAT"_s).size());
    QVERIFY(patchFile(recipes, (pastEnd - 1) * 150 + 134, le32(textSize + 1000) + le32(0x7fffffff)));
    QVERIFY(patchFile(recipes, (negative - 1) * 150 + 138, le32(-5)));
    // The last text claims far more bytes than the file holds: what is there is tested.
    QVERIFY(patchFile(recipes, (cut - 1) * 150 + 138, le32(0x7fff0000)));
    QVERIFY(f.start());
    // A cut record at the end, and a count higher than the records in use.
    QVERIFY(writeFile(recipes, readFile(recipes) + QByteArray(100, '\xff')));
    f.m().recipeHeader.state = 2000;

    frmRechercher d(f.m(), *f.book(), f.frame());
    d.txtSaisie->setText(u"nectarine"_s);
    d.cmdOk_Click();
    QCOMPARE(d.search().searchRecordNo, cut);
    QVERIFY(d.txtTexteRecette->toPlainText().endsWith(u"nectarine"_s));
    d.cmdContinuerRecette_Click();
    QCOMPARE(f.platform().messageTexts(), QStringList{kNoOther});
    QCOMPARE(d.search().searchRecordNo, cut);

    frmRechercher absent(f.m(), *f.book(), f.frame());
    absent.txtSaisie->setText(u"introuvable"_s);
    absent.cmdOk_Click();
    QCOMPARE(absent.search().searchRecordNo, cut);
    QCOMPARE(f.platform().messageTexts(), (QStringList{kNoOther, kNotFound}));
    QCOMPARE(f.m().fatalError, qint16(0));
    QVERIFY(!f.platform().ended);
}

void TestSearch::activerShowsTheFoundRecipeInTheBook()
{
    BookBuilder b = searchBook();
    b.addRecipe(kEntrees, u"Velouté"_s, u"Potiron"_s);
    const int target = b.addRecipe(kEntrees, u"Gaspacho"_s, u"Tomates, poivron, concombre."_s);
    Search s(b);
    QVERIFY(s.ok);
    frmRecettes &book = *s.f.book();
    QVERIFY(book.ComboFamilles->selectedRecord() != kEntrees);
    QVERIFY(s.find(u"CONCOMBRE"_s));
    QTest::mouseClick(s.dlg->cmdActiverRecette, Qt::LeftButton);
    QVERIFY(!s.dlg->isVisible());
    QCOMPARE(s.dlg->result(), int(QDialog::Accepted));
    QCOMPARE(book.ComboFamilles->selectedRecord(), kEntrees);
    QCOMPARE(book.ComboRecettes->count(), 2);
    QCOMPARE(book.ComboRecettes->selectedRecord(), target);
    QCOMPARE(book.txtRecette->toPlainText(), u"Tomates, poivron, concombre."_s);
    QCOMPARE(s.f.m().recipeWork.titleText(), u"Gaspacho"_s);
    QCOMPARE(s.f.platform().pointer, Platform::Pointer::Normal);
    QVERIFY(s.f.platform().messages.empty());
}

void TestSearch::escapeAndEveryAnnulerClose()
{
    BookBuilder b = searchBook();
    b.addRecipe(kDesserts, u"Crêpes"_s);
    {
        Search s(b);
        QVERIFY(s.ok);
        QTest::keyClick(s.dlg->txtSaisie, Qt::Key_Escape);
        QVERIFY(!s.dlg->isVisible());
    }
    {
        Search s(b);
        QVERIFY(s.ok);
        QVERIFY(s.find(u"crêpe"_s));
        QTest::keyClick(s.dlg->txtNomRecette, Qt::Key_Escape);
        QVERIFY(!s.dlg->isVisible());
        QVERIFY(s.f.platform().messages.empty());
    }
    Search s(b);
    QVERIFY(s.ok);
    for (QPushButton *annuler : {s.dlg->cmdAnnuler, s.dlg->cmdAnnulerRecette, s.dlg->cmdAnnulerMenu, s.dlg->cmdAnnulerTruc}) {
        s.dlg->show();
        annuler->setEnabled(true);
        annuler->click();
        QVERIFY2(!s.dlg->isVisible(), qPrintable(annuler->objectName()));
    }
    QCOMPARE(s.f.m().fatalError, qint16(0));
}

void TestSearch::failingFileEndsProgramAfterTheDialogCloses_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("text read fails") << u"text"_s << QStringList{kFatal};
    QTest::newRow("record read fails") << u"record"_s << QStringList{kFatal};
    QTest::newRow("GRTN3.DAT missing") << u"missing"_s << QStringList{u"missing"_s, kFatal};
}

void TestSearch::failingFileEndsProgramAfterTheDialogCloses()
{
    QFETCH(QString, failure);
    QFETCH(QStringList, messages);
    BookFixture f;
    QVERIFY(f.start(searchBook()));
    if (failure == u"missing"_s)
        messages[0] = u"Fichier "_s + f.path(u"GRTN3.DAT"_s) + f.m().crlf + u"non trouvé ou erreur disque."_s;
    QVERIFY(f.frame()->button(u"Find"_s)->isEnabled());

    bool dialogSeen = false;
    int messagesWhileOpen = -1;
    QTimer::singleShot(0, [&] {
        auto *d = qobject_cast<frmRechercher *>(QApplication::activeModalWidget());
        if (!d)
            return;
        dialogSeen = true;
        auto plan = std::make_shared<FaultPlan>();
        plan->readsBeforeFailure = 0;
        if (failure == u"text"_s)
            f.m().textFile.file().setFaultPlan(plan);
        else if (failure == u"record"_s)
            f.m().recipeFile.file().setFaultPlan(plan);
        else
            QFile::remove(f.path(u"GRTN3.DAT"_s));
        d->txtSaisie->setText(u"zut"_s);
        QTest::mouseClick(d->cmdOk, Qt::LeftButton);
        messagesWhileOpen = int(f.platform().count(u"end"_s));
        if (d->isVisible())
            d->reject();
    });
    f.frame()->tbToolBar_ButtonClick(u"Find"_s);
    QVERIFY(dialogSeen);
    // Nothing ended while the dialog was open; the fatal message came after it closed.
    QCOMPARE(messagesWhileOpen, 0);
    QCOMPARE(f.platform().messageTexts(), messages);
    QCOMPARE(f.platform().count(u"end"_s), 1);
    QCOMPARE(f.m().fatalError, qint16(-1));
}

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
