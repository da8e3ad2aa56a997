// Adding a family or a recipe on the add page: checks and messages, what reaches the disk,
// the list page afterwards, the clear button, and the book after a failed write.
#include "bookfixture.h"
#include "book/frmrecettes.h"
#include "book/limitedtextedit.h"
#include "book/recordcombo.h"
#include "book/tabstrip.h"
#include "mainwin/frmmain.h"
#include "store/cp1252.h"
#include "store/module1.h"
#include "testbook.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace gratinel;
using namespace gratinel::testbook;
using namespace Qt::StringLiterals;

namespace {

// The minimal book with a family "Desserts" (record 18) holding "Crème brûlée" (record 302).
BookBuilder dessertBook()
{
    BookBuilder b = minimal();
    b.addFamily(u"Desserts"_s);
    b.addRecipe(18, u"Crème brûlée"_s, u"Cuire au bain-marie."_s);
    return b;
}

// Starts the book on the add page with "Desserts" shown on the list page, the frame active
// so that focus moves can be seen.
bool startOnAddPage(BookFixture &f, const BookBuilder &b = dessertBook())
{
    if (!f.start(b))
        return false;
    QApplication::setActiveWindow(f.frame());
    if (!QTest::qWaitForWindowActive(f.frame()))
        return false;
    frmRecettes *book = f.book();
    choose(book->ComboFamilles, book->ComboFamilles->entries().rowOfRecord(18));
    book->TabStrip1->selectTab(2);
    f.platform().calls.clear();
    return book->currentTab == 2;
}

struct Files {
    QByteArray f1, f2, f3, f4;
};

Files filesOf(const BookFixture &f)
{
    return {f.bytes(u"GRTN1.DAT"_s), f.bytes(u"GRTN2.DAT"_s), f.bytes(u"GRTN3.DAT"_s), f.bytes(u"GRTN4.DAT"_s)};
}

bool sameFiles(const Files &a, const Files &b)
{
    return a.f1 == b.f1 && a.f2 == b.f2 && a.f3 == b.f3 && a.f4 == b.f4;
}

// A recipe record as it must be on disk, built field by field.
QByteArray recipeRecord(qint32 family, const QByteArray &title, qint32 textPos, qint32 textLen, qint32 imagePos,
                        qint32 imageLen)
{
    return le16(-1) + le32(family) + title.leftJustified(128, ' ') + le32(textPos) + le32(textLen) + le32(imagePos)
           + le32(imageLen);
}

} // namespace

class TestAdd : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void familyRefusedWithNothingWritten_data();
    void familyRefusedWithNothingWritten();
    void familyAddedTrimmedAndShownSelected();
    void recipeAddedAndShown_data();
    void recipeAddedAndShown();
    void recipeOnDiskByteForByteWhenHandlerReturns();
    void sameTitleTwiceInOneFamily();
    void recipeRefusedWithNothingWritten_data();
    void recipeRefusedWithNothingWritten();
    void modeSwitchAndPageReturnEmptyTheInputs();
    void clearButtonAsksOnlyWhenSomethingTyped_data();
    void clearButtonAsksOnlyWhenSomethingTyped();
    void textBoxesKeepTheirLimits_data();
    void textBoxesKeepTheirLimits();
    void failedWriteEndsProgramAndBookStillOpens_data();
    void failedWriteEndsProgramAndBookStillOpens();
    void helpButtonOpensTheHelp();
};

void TestAdd::familyRefusedWithNothingWritten_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("beep");
    QTest::addColumn<QString>("boxAfter");

    const QString empty = u"Il faut saisir le nom de la nouvelle famille de recettes."_s;
    const QString exists = u"Cette famille de recettes existe déjà !"_s;
    QTest::newRow("nothing") << u""_s << empty << false << u""_s;
    QTest::newRow("spaces only") << u"    "_s << empty << false << u""_s;
    QTest::newRow("same name") << u"Desserts"_s << exists << true << u"Desserts"_s;
    QTest::newRow("upper case, spaced") << u"  DESSERTS "_s << exists << true << u"DESSERTS"_s;
    QTest::newRow("lower case") << u"desserts"_s << exists << true << u"desserts"_s;
    QTest::newRow("starter family") << u"famille 07"_s << exists << true << u"famille 07"_s;
}

void TestAdd::familyRefusedWithNothingWritten()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(bool, beep);
    QFETCH(QString, boxAfter);

    BookFixture f;
    QVERIFY(startOnAddPage(f));
    frmRecettes *book = f.book();
    const Files before = filesOf(f);
    QTest::mouseClick(book->Option1[0], Qt::LeftButton);
    QVERIFY(book->txtSaisieFamille->isEnabled());
    book->txtSaisieFamille->setText(typed);
    book->cmdValideAjouter->click();

    FakePlatform &p = f.platform();
    QCOMPARE(p.messageTexts(), QStringList{message});
    QCOMPARE(p.messages.front().icon, Platform::Icon::Information);
    QCOMPARE(p.count(u"beep"_s), beep ? 1 : 0);
    // The pointer is normal when the message shows and stays so.
    QCOMPARE(p.calls.at(p.calls.indexOf(u"msgBox"_s) - (beep ? 2 : 1)), u"pointer:normal"_s);
    QCOMPARE(p.pointer, Platform::Pointer::Normal);
    QCOMPARE(book->txtSaisieFamille->text(), boxAfter);
    QVERIFY(book->txtSaisieFamille->hasFocus());
    QCOMPARE(book->currentTab, 2);
    QVERIFY(sameFiles(filesOf(f), before));
}

void TestAdd::familyAddedTrimmedAndShownSelected()
{
    BookFixture f;
    QVERIFY(startOnAddPage(f));
    frmRecettes *book = f.book();
    const QByteArray f1 = f.bytes(u"GRTN1.DAT"_s);
    QTest::mouseClick(book->Option1[0], Qt::LeftButton);
    book->txtSaisieFamille->setText(u"  Desserts glacés  "_s);
    book->cmdValideAjouter->click();

    FakePlatform &p = f.platform();
    QVERIFY(p.messages.empty());
    QVERIFY(!p.programEnded());
    QCOMPARE(p.pointer, Platform::Pointer::Normal);
    const QByteArray after = f.bytes(u"GRTN1.DAT"_s);
    QCOMPARE(after.size(), f1.size() + 130);
    QCOMPARE(after.left(130).mid(2), f1.left(130).mid(2));
    QCOMPARE(int16At(after, 0), qint16(18));
    QCOMPARE(after.mid(f1.size()), le16(-1) + QByteArray("Desserts glac\xE9s").leftJustified(128, ' '));
    QCOMPARE(after.left(f1.size()).mid(130), f1.mid(130));

    // Back on the list page, the new family selected, with its empty recipe list.
    QCOMPARE(book->currentTab, 1);
    QCOMPARE(f.m().pageCode, qint16(11));
    QCOMPARE(book->ComboFamilles->selectedText(), u"Desserts glacés"_s);
    QCOMPARE(book->ComboFamilles->selectedRecord(), 19);
    QCOMPARE(book->ComboRecettes->count(), 0);
    QVERIFY(!book->ComboRecettes->isEnabled());
    QVERIFY(book->txtSaisieFamille->text().isEmpty());
    // Every family list holds it.
    QCOMPARE(book->ComboFamillesAjouter->entries().rowOfRecord(19), book->ComboFamilles->currentIndex());
    QVERIFY(book->ComboFamillesModifier->entries().rowOfRecord(19) >= 0);
    QCOMPARE(book->ComboFamilles->count(), 18);
}

void TestAdd::recipeAddedAndShown_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("image"); // file name in the book's folder, or empty
    QTest::addColumn<QString>("shownTitle");
    QTest::addColumn<QByteArray>("storedText");
    QTest::addColumn<QStringList>("messages");

    const QString notViewable = u"Ce type de fichier ne sera pas affichable par le visualisateur interne d'images."_s;
    QTest::newRow("title only") << u"Sorbet"_s << u""_s << u""_s << u"Sorbet"_s << QByteArray() << QStringList{};
    QTest::newRow("spaces around, accent") << u"  Tarte Tatin "_s << u"  Mélanger.  "_s << u""_s << u"Tarte Tatin"_s
                                           << QByteArray("M\xE9langer.") << QStringList{};
    QTest::newRow("lines end in CRLF") << u"Flan"_s << u"Ligne 1\nLigne 2\n\n"_s << u""_s << u"Flan"_s
                                       << QByteArray("Ligne 1\r\nLigne 2\r\n\r\n") << QStringList{};
    QTest::newRow("viewable image") << u"Clafoutis"_s << u"Cerises"_s << u"clafoutis.JPG"_s << u"Clafoutis"_s
                                    << QByteArray("Cerises") << QStringList{};
    QTest::newRow("image not viewable here") << u"Gaufres"_s << u""_s << u"gaufres.tif"_s << u"Gaufres"_s
                                             << QByteArray() << QStringList{notViewable};
}

void TestAdd::recipeAddedAndShown()
{
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(QString, image);
    QFETCH(QString, shownTitle);
    QFETCH(QByteArray, storedText);
    QFETCH(QStringList, messages);

    BookFixture f;
    QVERIFY(startOnAddPage(f));
    frmRecettes *book = f.book();
    const Files before = filesOf(f);
    QString imagePath;
    if (!image.isEmpty()) {
        imagePath = f.path(image);
        QVERIFY(writeFile(imagePath, "image"));
        f.platform().nextOpenFileName(imagePath);
        book->cmdImageAjouter->click();
    }
    QCOMPARE(book->ComboFamillesAjouter->selectedRecord(), 18);
    QTest::keyClicks(book->txtSaisieNomRecette, title);
    book->txtSaisieRecetteAjouter->setPlainText(text);
    book->cmdValideAjouter->click();

    FakePlatform &p = f.platform();
    QCOMPARE(p.messageTexts(), messages);
    QCOMPARE(p.count(u"beep"_s), 0);
    QVERIFY(!p.programEnded());
    QCOMPARE(p.pointer, Platform::Pointer::Normal);

    const Files after = filesOf(f);
    const qint32 n = 303;
    QCOMPARE(after.f2.size(), before.f2.size() + 150);
    QCOMPARE(int16At(after.f2, 0), qint16(302));
    QCOMPARE(after.f3.left(before.f3.size()), before.f3);
    QCOMPARE(after.f3.mid(before.f3.size()), storedText);
    const QByteArray path = imagePath.toLatin1();
    QCOMPARE(after.f4.mid(before.f4.size()), path);
    QCOMPARE(after.f2.mid((n - 1) * 150),
             recipeRecord(18, shownTitle.toLatin1(),
                          storedText.isEmpty() ? 0 : before.f3.size() + 1, storedText.size(),
                          path.isEmpty() ? 0 : before.f4.size() + 1, path.size()));
    QCOMPARE(after.f1, before.f1);

    // The list page shows the new recipe in its family; the add inputs are empty.
    QCOMPARE(book->currentTab, 1);
    QCOMPARE(f.m().pageCode, qint16(11));
    QCOMPARE(book->ComboFamilles->selectedRecord(), 18);
    QCOMPARE(book->ComboRecettes->selectedRecord(), n);
    QCOMPARE(book->ComboRecettes->selectedText(), shownTitle);
    QCOMPARE(book->txtRecette->toPlainText(), QString::fromLatin1(storedText).replace(u"\r\n"_s, u"\n"_s));
    QCOMPARE(book->imagePath(), imagePath);
    QCOMPARE(f.frame()->menuItem(u"mnuViewImage"_s)->isEnabled(), !imagePath.isEmpty());
    QVERIFY(book->txtSaisieNomRecette->text().isEmpty());
    QVERIFY(book->txtSaisieRecetteAjouter->toPlainText().isEmpty());
    QVERIFY(book->txtImageAjouter->text().isEmpty());
}

void TestAdd::recipeOnDiskByteForByteWhenHandlerReturns()
{
    BookFixture f;
    QVERIFY(startOnAddPage(f));
    frmRecettes *book = f.book();
    const QString image = f.path(u"pâte.gif"_s);
    QVERIFY(writeFile(image, "GIF89a"));
    const qint64 len2 = f.bytes(u"GRTN2.DAT"_s).size();
    const qint64 len3 = f.bytes(u"GRTN3.DAT"_s).size();
    const qint64 len4 = f.bytes(u"GRTN4.DAT"_s).size();

    choose(book->ComboFamillesAjouter, book->ComboFamillesAjouter->entries().rowOfRecord(3));
    book->txtSaisieNomRecette->setText(u"Pâte à choux"_s);
    book->txtSaisieRecetteAjouter->setPlainText(u"Beurre, œufs\nFarine"_s);
    f.platform().nextOpenFileName(image);
    book->cmdImageAjouter->click();
    book->cmdValideAjouter->click();
    QVERIFY(f.platform().messages.empty());

    // Read while the program still holds its files open, through handles of our own.
    QFile recipes(f.path(u"GRTN2.DAT"_s)), texts(f.path(u"GRTN3.DAT"_s)), images(f.path(u"GRTN4.DAT"_s));
    QVERIFY(recipes.open(QIODevice::ReadOnly) && texts.open(QIODevice::ReadOnly) && images.open(QIODevice::ReadOnly));
    QCOMPARE(recipes.size(), len2 + 150);
    QCOMPARE(recipes.read(2), le16(302));
    QVERIFY(recipes.seek(len2));
    const QByteArray text = "Beurre, \x9C" "ufs\r\nFarine";
    const QByteArray path = image.toLatin1();
    QCOMPARE(recipes.read(150), recipeRecord(3, "P\xE2te \xE0 choux", qint32(len3 + 1), qint32(text.size()),
                                             qint32(len4 + 1), qint32(path.size())));
    QVERIFY(texts.seek(len3));
    QCOMPARE(texts.readAll(), text);
    QVERIFY(images.seek(len4));
    QCOMPARE(images.readAll(), path);
    QCOMPARE(book->ComboFamilles->selectedRecord(), 3);
    QCOMPARE(book->ComboRecettes->selectedRecord(), 303);
}

void TestAdd::sameTitleTwiceInOneFamily()
{
    BookFixture f;
    QVERIFY(startOnAddPage(f));
    frmRecettes *book = f.book();
    for (const QString &title : {u"Crème brûlée"_s, u"CRÈME BRÛLÉE"_s}) {
        book->TabStrip1->selectTab(2);
        book->txtSaisieNomRecette->setText(title);
        book->cmdValideAjouter->click();
    }
    QVERIFY(f.platform().messages.empty());
    QCOMPARE(book->ComboRecettes->count(), 3);
    QCOMPARE(book->ComboRecettes->selectedRecord(), 304);
    QCOMPARE(f.recipeCountOnDisk(), qint16(303));
}

void TestAdd::recipeRefusedWithNothingWritten_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("image"); // set through the dialog
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("beep");
    QTest::addColumn<QString>("titleAfter");
    QTest::addColumn<QString>("imageAfter");
    QTest::addColumn<QString>("focus");

    const QString notImage = u"Ce fichier n'est pas un fichier image."_s;
    QTest::newRow("no title") << u"   "_s << u"/img/a.gif"_s << u"Il faut donner un titre à la nouvelle recette."_s
                              << false << u""_s << u"/img/a.gif"_s << u"txtSaisieNomRecette"_s;
    QTest::newRow("path ending in a dot") << u" Tarte "_s << u"/img/tarte."_s << notImage << true << u"Tarte"_s << u""_s
                                          << u"cmdImageAjouter"_s;
}

void TestAdd::recipeRefusedWithNothingWritten()
{
    QFETCH(QString, title);
    QFETCH(QString, image);
    QFETCH(QString, message);
    QFETCH(bool, beep);
    QFETCH(QString, titleAfter);
    QFETCH(QString, imageAfter);
    QFETCH(QString, focus);

    BookFixture f;
    QVERIFY(startOnAddPage(f));
    frmRecettes *book = f.book();
    const Files before = filesOf(f);
    f.platform().nextOpenFileName(image);
    book->cmdImageAjouter->click();
    QCOMPARE(book->txtImageAjouter->text(), image);
    book->txtSaisieNomRecette->setText(title);
    book->txtSaisieRecetteAjouter->setPlainText(u" Du sucre. "_s);
    book->cmdValideAjouter->click();

    FakePlatform &p = f.platform();
    QCOMPARE(p.messageTexts(), QStringList{message});
    QCOMPARE(p.messages.front().icon, Platform::Icon::Information);
    QCOMPARE(p.count(u"beep"_s), beep ? 1 : 0);
    QCOMPARE(p.pointer, Platform::Pointer::Normal);
    QCOMPARE(book->txtSaisieNomRecette->text(), titleAfter);
    QCOMPARE(book->txtImageAjouter->text(), imageAfter);
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    QCOMPARE(book->currentTab, 2);
    QVERIFY(sameFiles(filesOf(f), before));
}

void TestAdd::modeSwitchAndPageReturnEmptyTheInputs()
{
    BookFixture f;
    QVERIFY(startOnAddPage(f));
    frmRecettes *book = f.book();
    // The page opens in recipe mode, on the family of the list page, the focus in its list.
    QVERIFY(book->Option1[1]->isChecked());
    QVERIFY(!book->txtSaisieFamille->isEnabled());
    QCOMPARE(book->ComboFamillesAjouter->selectedRecord(), 18);
    QCOMPARE(QApplication::focusWidget(), book->ComboFamillesAjouter);

    f.platform().nextOpenFileName(u"/img/a.gif"_s);
    book->cmdImageAjouter->click();
    book->txtSaisieNomRecette->setText(u"Tarte"_s);
    book->txtSaisieRecetteAjouter->setPlainText(u"Pâte"_s);
    choose(book->ComboFamillesAjouter, 0);

    // Family mode drops the recipe inputs without asking.
    QTest::mouseClick(book->Option1[0], Qt::LeftButton);
    QVERIFY(f.platform().messages.empty());
    for (QWidget *w : std::initializer_list<QWidget *>{book->txtSaisieNomRecette, book->txtSaisieRecetteAjouter,
                                                       book->txtImageAjouter, book->cmdImageAjouter,
                                                       book->ComboFamillesAjouter})
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    QVERIFY(book->txtSaisieNomRecette->text().isEmpty() && book->txtImageAjouter->text().isEmpty());
    QVERIFY(book->txtSaisieRecetteAjouter->toPlainText().isEmpty());
    QCOMPARE(book->ComboFamillesAjouter->selectedRecord(), 18);
    QCOMPARE(QApplication::focusWidget(), book->txtSaisieFamille);

    // Back to recipe mode: the family name goes.
    book->txtSaisieFamille->setText(u"Glaces"_s);
    QTest::mouseClick(book->Option1[1], Qt::LeftButton);
    QVERIFY(book->txtSaisieFamille->text().isEmpty() && !book->txtSaisieFamille->isEnabled());
    QVERIFY(book->txtSaisieNomRecette->isEnabled() && book->ComboFamillesAjouter->isEnabled());
    QCOMPARE(QApplication::focusWidget(), book->ComboFamillesAjouter);

    // Leaving the page and coming back empties the typed texts but keeps the image path.
    f.platform().nextOpenFileName(u"/img/b.gif"_s);
    book->cmdImageAjouter->click();
    book->txtSaisieNomRecette->setText(u"Tarte"_s);
    book->TabStrip1->selectTab(3);
    book->TabStrip1->selectTab(2);
    QVERIFY(book->txtSaisieNomRecette->text().isEmpty());
    QCOMPARE(book->txtImageAjouter->text(), u"/img/b.gif"_s);
}

void TestAdd::clearButtonAsksOnlyWhenSomethingTyped_data()
{
    QTest::addColumn<bool>("typed");
    QTest::addColumn<int>("answer"); // Platform::Answer
    QTest::addColumn<bool>("cleared");

    QTest::newRow("nothing typed") << false << int(Platform::Answer::Yes) << true;
    QTest::newRow("typed, no") << true << int(Platform::Answer::No) << false;
    QTest::newRow("typed, yes") << true << int(Platform::Answer::Yes) << true;
}

void TestAdd::clearButtonAsksOnlyWhenSomethingTyped()
{
    QFETCH(bool, typed);
    QFETCH(int, answer);
    QFETCH(bool, cleared);

    BookFixture f;
    QVERIFY(startOnAddPage(f));
    frmRecettes *book = f.book();
    FakePlatform &p = f.platform();
    choose(book->ComboFamillesAjouter, book->ComboFamillesAjouter->entries().rowOfRecord(2));
    if (typed) {
        p.nextOpenFileName(u"/img/a.gif"_s);
        book->cmdImageAjouter->click();
        book->txtSaisieNomRecette->setText(u"Tarte"_s);
        book->txtSaisieRecetteAjouter->setPlainText(u"Pâte"_s);
    }
    p.answerNext(Platform::Answer(answer));
    book->cmdEffacerAjouter->click();

    if (typed) {
        QCOMPARE(p.messageTexts(), QStringList{u"Effacer la saisie : êtes-sur sûr ?"_s});
        const ShownMessage &m = p.messages.front();
        QCOMPARE(m.icon, Platform::Icon::Warning);
        QCOMPARE(m.buttons, Platform::Buttons::YesNo);
        QCOMPARE(m.defaultAnswer, Platform::Answer::No);
    } else {
        QVERIFY(p.messages.empty());
    }
    QCOMPARE(book->txtSaisieNomRecette->text().isEmpty(), cleared || !typed);
    QCOMPARE(book->txtSaisieRecetteAjouter->toPlainText().isEmpty(), cleared || !typed);
    QCOMPARE(book->txtImageAjouter->text().isEmpty(), cleared || !typed);
    // Clearing puts the list page's family back; answering no keeps the one chosen.
    QCOMPARE(book->ComboFamillesAjouter->selectedRecord(), cleared ? 18 : 2);
    QCOMPARE(QApplication::focusWidget(), book->ComboFamillesAjouter);
}

void TestAdd::textBoxesKeepTheirLimits_data()
{
    QTest::addColumn<QString>("already");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("result");

    const QString a29998(29998, u'a');
    QTest::newRow("one past the limit") << QString() << QString(30001, u'b') << QString(30000, u'b');
    QTest::newRow("a line end counts two") << a29998 << u"x\nyz"_s << a29998 + u"x"_s;
    QTest::newRow("line end that fits") << a29998 << u"\nyz"_s << a29998 + u"\n"_s;
    QTest::newRow("outside the code page counts one") << a29998 << u"☺☺☺"_s << a29998 + u"☺☺"_s;
    QTest::newRow("a pair of halves is one character") << a29998 << u"😀😀😀"_s << a29998 + u"😀😀"_s;
    QTest::newRow("full box takes nothing") << QString(30000, u'a') << u"z"_s << QString(30000, u'a');
}

void TestAdd::textBoxesKeepTheirLimits()
{
    QFETCH(QString, already);
    QFETCH(QString, pasted);
    QFETCH(QString, result);

    BookFixture f;
    QVERIFY(startOnAddPage(f));
    frmRecettes *book = f.book();
    LimitedTextEdit *text = book->txtSaisieRecetteAjouter;
    text->setPlainText(already);
    text->moveCursor(QTextCursor::End);
    QApplication::clipboard()->setText(pasted);
    text->paste();
    QCOMPARE(text->toPlainText(), result);
    // Typing goes on up to the limit, never past it.
    QTest::keyClick(text, Qt::Key_Z);
    const QString held = text->toPlainText();
    QCOMPARE(held, LimitedTextEdit::storedBytes(result) < 30000 ? result + u"z"_s : result);

    // Names and titles stop at 128 characters, typed or pasted.
    book->txtSaisieNomRecette->setText(QString(200, u'é'));
    QCOMPARE(book->txtSaisieNomRecette->text().size(), 128);
    QCOMPARE(book->txtSaisieFamille->maxLength(), 128);

    // What the box holds is what reaches the file, or, when the book cannot hold it, nothing.
    const qint64 len3 = f.bytes(u"GRTN3.DAT"_s).size();
    book->cmdValideAjouter->click();
    if (!cp1252::canEncode(held)) {
        QCOMPARE(f.platform().messages.size(), size_t(1));
        QCOMPARE(f.bytes(u"GRTN3.DAT"_s).size(), len3);
        return;
    }
    QVERIFY(f.platform().messages.empty());
    QCOMPARE(f.bytes(u"GRTN3.DAT"_s).size() - len3, LimitedTextEdit::storedBytes(held));
    QCOMPARE(f.recipeFieldOnDisk(303, recipefield::textLen), LimitedTextEdit::storedBytes(held));
}

void TestAdd::failedWriteEndsProgramAndBookStillOpens_data()
{
    QTest::addColumn<bool>("family");
    QTest::addColumn<QString>("file"); // the file whose write fails
    QTest::addColumn<int>("writesBefore");
    QTest::addColumn<bool>("recordWritten"); // the new record reached the disk before the failure
    // The failing write first puts half of its bytes on disk, as a full disk does; an
    // append is then cut back, so that the book still opens.
    QTest::addColumn<bool>("shortWrite");

    for (bool shortWrite : {false, true}) {
        const char *how = shortWrite ? ", cut short" : "";
        QTest::addRow("recipe text bytes%s", how) << false << u"GRTN3.DAT"_s << 0 << false << shortWrite;
        QTest::addRow("recipe image path bytes%s", how) << false << u"GRTN4.DAT"_s << 0 << false << shortWrite;
        QTest::addRow("recipe record%s", how) << false << u"GRTN2.DAT"_s << 0 << false << shortWrite;
        QTest::addRow("recipe count%s", how) << false << u"GRTN2.DAT"_s << 1 << true << shortWrite;
        QTest::addRow("family record%s", how) << true << u"GRTN1.DAT"_s << 0 << false << shortWrite;
        QTest::addRow("family count%s", how) << true << u"GRTN1.DAT"_s << 1 << true << shortWrite;
    }
}

void TestAdd::failedWriteEndsProgramAndBookStillOpens()
{
    QFETCH(bool, family);
    QFETCH(QString, file);
    QFETCH(int, writesBefore);
    QFETCH(bool, recordWritten);
    QFETCH(bool, shortWrite);

    BookFixture f;
    QVERIFY(startOnAddPage(f));
    frmRecettes *book = f.book();
    const Files before = filesOf(f);
    const QString image = f.path(u"tarte.gif"_s);
    QVERIFY(writeFile(image, "GIF89a"));

    auto plan = std::make_shared<FaultPlan>();
    plan->writesBeforeFailure = writesBefore;
    plan->shortWrites = shortWrite;
    Module1 &m = f.m();
    DataFile *target = file == u"GRTN1.DAT" ? &m.familyFile.file()
                       : file == u"GRTN2.DAT" ? &m.recipeFile.file()
                       : file == u"GRTN3.DAT" ? &m.textFile.file()
                                              : &m.imageFile.file();
    target->setFaultPlan(plan);

    if (family) {
        QTest::mouseClick(book->Option1[0], Qt::LeftButton);
        book->txtSaisieFamille->setText(u"Glaces"_s);
    } else {
        f.platform().nextOpenFileName(image);
        book->cmdImageAjouter->click();
        book->txtSaisieNomRecette->setText(u"Tarte"_s);
        book->txtSaisieRecetteAjouter->setPlainText(u"Pâte brisée"_s);
    }
    book->cmdValideAjouter->click();

    FakePlatform &p = f.platform();
    QCOMPARE(p.messageTexts(), QStringList{kFatal});
    QCOMPARE(p.messages.back().icon, Platform::Icon::Critical);
    QCOMPARE(p.calls.last(), u"end"_s);
    QVERIFY(p.programEnded());

    // Only appends happened: every earlier byte is as it was, but for the count that a
    // header write cut short may have changed in place.
    const Files after = filesOf(f);
    const int from = shortWrite && recordWritten ? 2 : 0;
    QCOMPARE(after.f1.left(before.f1.size()).mid(from), before.f1.mid(from));
    QCOMPARE(after.f2.left(before.f2.size()).mid(from), before.f2.mid(from));
    QCOMPARE(after.f3.left(before.f3.size()), before.f3);
    QCOMPARE(after.f4.left(before.f4.size()), before.f4);

    // The book opens again with every family and every earlier recipe listed and readable;
    // a record that reached the disk before its count is found by the next start.
    QVERIFY(f.restart());
    frmRecettes *again = f.book();
    QVERIFY(f.platform().messages.empty());
    QCOMPARE(again->ComboFamilles->count(), 17 + (family && recordWritten ? 1 : 0));
    choose(again->ComboFamilles, again->ComboFamilles->entries().rowOfRecord(18));
    QCOMPARE(again->ComboRecettes->count(), 1 + (!family && recordWritten ? 1 : 0));
    QCOMPARE(again->ComboRecettes->entries().rowOfRecord(302), 0);
    choose(again->ComboRecettes, 0);
    QCOMPARE(again->txtRecette->toPlainText(), u"Cuire au bain-marie."_s);
    choose(again->ComboFamilles, again->ComboFamilles->entries().rowOfRecord(2));
    QCOMPARE(again->ComboRecettes->count(), 300);
    choose(again->ComboRecettes, 299);
    QCOMPARE(again->txtRecette->toPlainText(), u"Texte 300"_s);
    QVERIFY(f.platform().messages.empty());
}

void TestAdd::helpButtonOpensTheHelp()
{
    BookFixture f;
    QVERIFY(startOnAddPage(f));
    f.book()->cmdAideAjouter->click();
    QCOMPARE(f.platform().calls, QStringList{u"help:"_s + f.path(u"grt.hlp"_s)});
    QCOMPARE(f.book()->cmdAideAjouter->accessibleName(), u"Aide"_s);
}

QTEST_MAIN(TestAdd)
#include "tst_add.moc"
