// What the cook wrote survives: every byte of a text through every way in and out, characters
// the book cannot hold refused before anything is written, a full disk that locks no one out.
#include "bookfixture.h"
#include "book/exacttext.h"
#include "book/frmrecettes.h"
#include "book/limitedtextedit.h"
#include "book/recordcombo.h"
#include "book/tabstrip.h"
#include "mainwin/frmmain.h"
#include "smalldisk.h"
#include "store/cp1252.h"
#include "store/module1.h"
#include "testbook.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <limits>

using namespace gratinel;
using namespace gratinel::testbook;
using namespace Qt::StringLiterals;

namespace {

constexpr int kEpices = 18; // beside the minimal book: the family of the recipe below
constexpr int kSel = 302;

// A stored text with the tab and every byte from 20 to FF, sixteen a line, after a line with
// the no-break spaces a word processor puts before ":" and inside "180 °C".
QByteArray everyByte()
{
    QByteArray bytes("Sel\xA0: 1\xA0pinc\xE9" "e, four \xE0 180\xA0\xB0" "C\r\n\t");
    for (int b = 0x20; b <= 0xFF; ++b) {
        bytes += char(b);
        if ((b & 0x0F) == 0x0F && b != 0xFF)
            bytes += "\r\n";
    }
    return bytes;
}

BookBuilder bookWith(const QByteArray &text)
{
    BookBuilder b = minimal();
    b.addFamily(u"Épices"_s);
    b.addStoredRecipe(kEpices, u"Sel"_s, text, {});
    return b;
}

// The bytes of recipe n's text as they are on disk now.
QByteArray storedText(const BookFixture &f, int n)
{
    const qint32 pos = f.recipeFieldOnDisk(n, recipefield::textPos);
    const qint32 len = f.recipeFieldOnDisk(n, recipefield::textLen);
    return f.bytes(u"GRTN3.DAT"_s).mid(pos - 1, len);
}

// "" when equal, else where the two first differ, for the failure message.
QByteArray difference(const QByteArray &got, const QByteArray &wanted)
{
    if (got == wanted)
        return {};
    qsizetype i = 0;
    while (i < got.size() && i < wanted.size() && got[i] == wanted[i])
        ++i;
    return "first difference at byte " + QByteArray::number(i) + ": got "
           + (i < got.size() ? "0x" + QByteArray::number(uchar(got[i]), 16) : "the end") + ", wanted "
           + (i < wanted.size() ? "0x" + QByteArray::number(uchar(wanted[i]), 16) : "the end");
}

#define COMPARE_BYTES(got, wanted)                                                   \
    do {                                                                             \
        const QByteArray diff = difference((got), (wanted));                         \
        QVERIFY2(diff.isEmpty(), diff.constData());                                  \
    } while (false)

bool startOnSel(BookFixture &f, const QByteArray &text)
{
    if (!f.start(bookWith(text)))
        return false;
    choose(f.book()->ComboFamilles, f.book()->ComboFamilles->entries().rowOfRecord(kEpices));
    return f.book()->ComboRecettes->entries().rowOfRecord(kSel) == f.book()->ComboRecettes->currentIndex();
}

QWidget *boxNamed(frmRecettes *book, const QString &name)
{
    return book->findChild<QWidget *>(name);
}

QString textOf(QWidget *box)
{
    if (auto *line = qobject_cast<QLineEdit *>(box))
        return line->text();
    return exactText(static_cast<QPlainTextEdit *>(box));
}

QString selectionOf(QWidget *box)
{
    if (auto *line = qobject_cast<QLineEdit *>(box))
        return line->selectedText();
    return exactSelection(static_cast<QPlainTextEdit *>(box)->textCursor());
}

QByteArray allFiles(const BookFixture &f)
{
    QByteArray all;
    for (const char *name : {"GRTN1.DAT", "GRTN2.DAT", "GRTN3.DAT", "GRTN4.DAT"})
        all += f.bytes(QString::fromLatin1(name));
    return all;
}

} // namespace

class TestFidelity : public QObject {
    Q_OBJECT

private slots:
    void everyByteSurvivesEveryWayOut_data()
    {
        QTest::addColumn<QString>("way");
        for (const char *way : {"shown", "title changed", "text lengthened", "sent", "printed", "copied and added"})
            QTest::newRow(way) << QString::fromLatin1(way);
    }
    void everyByteSurvivesEveryWayOut()
    {
        QFETCH(QString, way);
        const QByteArray text = everyByte();
        BookFixture f;
        QVERIFY(startOnSel(f, text));
        frmRecettes *book = f.book();

        if (way == u"shown") {
            COMPARE_BYTES(cp1252::encodeText(exactText(book->txtRecette)), text);
        } else if (way == u"title changed" || way == u"text lengthened") {
            book->TabStrip1->selectTab(3);
            if (way == u"title changed") {
                book->txtSaisieNomRecetteModifier->setText(u"Sel fin"_s);
            } else {
                book->txtSaisieRecetteModifier->moveCursor(QTextCursor::End);
                book->txtSaisieRecetteModifier->insertPlainText(u"\n!"_s);
            }
            QTest::mouseClick(book->cmdValideModifier, Qt::LeftButton);
            QVERIFY(f.platform().messages.empty());
            COMPARE_BYTES(storedText(f, kSel), way == u"title changed" ? text : text + "\r\n!");
        } else if (way == u"sent") {
            f.frame()->menuItem(u"mnuEditEnvoyerNotePad"_s)->trigger();
            const QByteArray sheet = f.bytes(u"recette.txt"_s);
            COMPARE_BYTES(sheet.mid(sheet.indexOf("Recette : Sel\r\n\r\n") + 17), text + "\r\n");
        } else if (way == u"printed") {
            f.frame()->menuItem(u"mnuFilePrint"_s)->trigger();
            QVERIFY(f.platform().messages.empty());
            // Each line of the text is one printed line, after the margin.
            const QStringList printed = f.platform().printer.lines;
            for (const QByteArray &line : text.split('\n')) {
                const QString shown = QString(5, u' ') + cp1252::decode(line.endsWith('\r') ? line.chopped(1) : line);
                QVERIFY2(printed.contains(shown), qPrintable(u"not printed: "_s + shown));
            }
        } else {
            book->txtRecette->setFocus();
            f.frame()->mnuEditSelect_Click();
            f.frame()->mnuEditCopy_Click();
            COMPARE_BYTES(cp1252::encodeText(f.platform().clipboard), text);
            book->TabStrip1->selectTab(2);
            book->txtSaisieNomRecette->setText(u"Sel copié"_s);
            book->txtSaisieRecetteAjouter->setFocus();
            f.frame()->mnuEditPaste_Click();
            book->cmdValideAjouter->click();
            QVERIFY(f.platform().messages.empty());
            COMPARE_BYTES(storedText(f, kSel + 1), text);
        }
    }

    // A text the box cannot show whole stays whole when only the title changes.
    // A text the cook did not touch keeps its bytes; one shown cut and then changed is written
    // only when the cook says so.
    void untouchedTextKeepsItsStoredBytes_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("cut");  // longer than the boxes show
        QTest::addColumn<int>("answer"); // to the question when the first letter is deleted; Ok: untouched
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("typed"); // at the end of the text, where it does not fit
        QByteArray loneFeeds = QByteArray(29990, 'a');
        for (int i = 1; i <= 20; ++i)
            loneFeeds[i * 1400] = '\n';
        // 28517 bytes that take 30017 once each lone line feed becomes a line end.
        QByteArray feedLines;
        for (int i = 0; i < 1500; ++i)
            feedLines += QByteArray(i < 17 ? 19 : 18, 'b') + '\n';
        QByteArray lines;
        while (lines.size() < 45000)
            lines += "Une ligne de recette ordinaire, assez longue.\r\n";
        const QByteArray longText(31000, 'a');
        const QByteArray cutInLineEnd = QByteArray(29999, 'a') + "\r\n" + QByteArray(6, 'b');
        const QByteArray loneReturns("Pommes\rPoires\r\rFin\r");
        const int no = int(Platform::Answer::No);
        static_assert(int(Platform::Answer::Ok) == 0);
        QTest::newRow("longer than shown") << longText << true << 0 << longText << QString();
        QTest::newRow("lone line feeds") << loneFeeds << false << 0 << loneFeeds << QString();
        QTest::newRow("lone line feeds, a letter typed") << loneFeeds << false << 0 << loneFeeds << u"x"_s;
        QTest::newRow("1500 lone line feeds, a line pasted") << feedLines << false << 0 << feedLines << u"Sel\npoivre"_s;
        QTest::newRow("cut inside a line end") << cutInLineEnd << true << 0 << cutInLineEnd << QString();
        QTest::newRow("long, line ends") << lines << true << 0 << lines << QString();
        QTest::newRow("lone carriage returns") << loneReturns << false << 0 << loneReturns << QString();
        QTest::newRow("changed cut text, Non") << longText << true << no << longText << QString();
        QTest::newRow("changed cut text, Oui") << longText << true << int(Platform::Answer::Yes) << QByteArray(29999, 'a')
                                               << QString();
    }
    void untouchedTextKeepsItsStoredBytes()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, cut);
        QFETCH(int, answer);
        QFETCH(QByteArray, stored);
        QFETCH(QString, typed);
        BookFixture f;
        QVERIFY(startOnSel(f, text));
        f.book()->TabStrip1->selectTab(3);
        // The modify page says what it keeps of a text it shows cut.
        const bool said = !f.platform().messages.empty()
                          && f.platform().messages.back().text.startsWith(u"Ce texte dépasse 30000 caractères"_s);
        QCOMPARE(said, cut);
        f.book()->txtSaisieNomRecetteModifier->setText(u"Sel fin"_s);
        if (!typed.isEmpty()) {
            // What does not fit is refused with the beep; what the box held stays whole.
            LimitedTextEdit *box = f.book()->txtSaisieRecetteModifier;
            const QString shown = exactText(box);
            box->moveCursor(QTextCursor::End);
            box->insertPlainText(typed);
            QCOMPARE(exactText(box), shown);
            QCOMPARE(f.platform().count(u"beep"_s), 1);
        }
        if (answer != 0) {
            QTextCursor c = f.book()->txtSaisieRecetteModifier->textCursor();
            c.movePosition(QTextCursor::Start);
            c.deleteChar();
            f.platform().answerNext(Platform::Answer(answer));
        }
        QTest::mouseClick(f.book()->cmdValideModifier, Qt::LeftButton);
        if (answer != 0) {
            QCOMPARE(f.platform().messages.back().text,
                     u"Ce texte dépasse 30000 caractères : seuls les 30000 premiers sont affichés. "
                     "Enregistrer le texte modifié et perdre la fin ?"_s);
            QCOMPARE(f.platform().messages.back().defaultAnswer, Platform::Answer::No);
        }
        QCOMPARE(f.book()->ComboRecettes->selectedText(), Platform::Answer(answer) == Platform::Answer::No ? u"Sel"_s : u"Sel fin"_s);
        COMPARE_BYTES(storedText(f, kSel), stored);
    }

    void charactersTheBookCannotHoldAreRefused_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("family");
        QTest::addColumn<QStringList>("boxes"); // the boxes filled, in order
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QString>("focus");     // the box the caret goes to
        QTest::addColumn<QString>("selected");  // the character it selects there
        QTest::addColumn<QString>("named");     // the characters the message names

        const QStringList addRecipe{u"txtSaisieNomRecette"_s, u"txtSaisieRecetteAjouter"_s};
        const QStringList modifyRecipe{u"txtSaisieNomRecetteModifier"_s, u"txtSaisieRecetteModifier"_s};
        QTest::newRow("new recipe") << 2 << false << addRecipe << QStringList{u"Tarte ⅓ sucre"_s, u"180 ℃ 🍐"_s}
                                    << u"txtSaisieNomRecette"_s << u"⅓"_s << u"⅓ ℃ 🍐"_s;
        QTest::newRow("new recipe's text") << 2 << false << addRecipe << QStringList{u"Poires"_s, u"Four\n180 ℃ ℃"_s}
                                           << u"txtSaisieRecetteAjouter"_s << u"℃"_s << u"℃"_s;
        // A control or an invisible character is named by its code.
        QTest::newRow("invisible characters") << 2 << false << addRecipe << QStringList{u"Pa\u0089te"_s, u"Sucre\u200B ℃"_s}
                                              << u"txtSaisieNomRecette"_s << u"\u0089"_s << u"U+0089 U+200B ℃"_s;
        QTest::newRow("new family") << 2 << true << QStringList{u"txtSaisieFamille"_s}
                                    << QStringList{u"Pierogi łódzkie"_s} << u"txtSaisieFamille"_s << u"ł"_s << u"ł"_s;
        QTest::newRow("renamed family") << 3 << true << QStringList{u"txtSaisieFamilleModifier"_s}
                                        << QStringList{u"Épices 🌶"_s} << u"txtSaisieFamilleModifier"_s << u"🌶"_s
                                        << u"🌶"_s;
        QTest::newRow("changed recipe's image")
            << 3 << false << QStringList{u"txtImageModifier"_s} << QStringList{u"/photos/Łódź/tarte.jpg"_s}
            << u"txtImageModifier"_s << u"Ł"_s << u"Ł ź"_s;
        // Each character once, at most ten.
        QTest::newRow("many characters") << 3 << false << modifyRecipe
                                         << QStringList{u"Sel"_s, u"αβγδεζηθικλαβ"_s} << u"txtSaisieRecetteModifier"_s
                                         << u"α"_s << u"α β γ δ ε ζ η θ ι κ"_s;
    }
    void charactersTheBookCannotHoldAreRefused()
    {
        QFETCH(int, page);
        QFETCH(bool, family);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, inputs);
        QFETCH(QString, focus);
        QFETCH(QString, selected);
        QFETCH(QString, named);

        BookFixture f;
        QVERIFY(startOnSel(f, "Sel fin"));
        frmRecettes *book = f.book();
        f.frame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.frame()));
        book->TabStrip1->selectTab(page);
        if (family)
            QTest::mouseClick(page == 2 ? book->Option1[0] : book->Option2[0], Qt::LeftButton);
        for (int i = 0; i < boxes.size(); ++i) {
            QWidget *box = boxNamed(book, boxes[i]);
            QVERIFY(box);
            if (auto *line = qobject_cast<QLineEdit *>(box))
                line->setText(inputs[i]);
            else
                static_cast<QPlainTextEdit *>(box)->setPlainText(inputs[i]);
        }
        const QByteArray before = allFiles(f);
        f.platform().calls.clear();
        QTest::mouseClick(page == 2 ? book->cmdValideAjouter : book->cmdValideModifier, Qt::LeftButton);

        QCOMPARE(f.platform().count(u"beep"_s), 1);
        QCOMPARE(f.platform().messageTexts(),
                 QStringList{(named.contains(u' ') ? u"Ces caractères ne peuvent pas être enregistrés dans le livre : "_s
                                                   : u"Ce caractère ne peut pas être enregistré dans le livre : "_s)
                             + named});
        QCOMPARE(f.platform().messages.back().icon, Platform::Icon::Warning);
        QVERIFY(!f.platform().programEnded());
        QCOMPARE(allFiles(f), before);
        QCOMPARE(book->currentTab, page);
        for (int i = 0; i < boxes.size(); ++i)
            QCOMPARE(textOf(boxNamed(book, boxes[i])), inputs[i]);
        QWidget *box = boxNamed(book, focus);
        QCOMPARE(book->window()->focusWidget(), box);
        QCOMPARE(selectionOf(box), selected);
    }

    // A folder the book cannot spell: the chosen image would be stored as "?ód?" and then
    // name no file at all.
    void imageDialogRefusesAPathTheBookCannotHold()
    {
        BookFixture f;
        QVERIFY(startOnSel(f, "Sel fin"));
        frmRecettes *book = f.book();
        for (int page : {2, 3}) {
            book->TabStrip1->selectTab(page);
            QLineEdit *box = page == 2 ? book->txtImageAjouter : book->txtImageModifier;
            const QString kept = box->text();
            f.platform().calls.clear();
            f.platform().messages.clear();
            f.platform().nextOpenFileName(u"/photos/Łódź/tarte.jpg"_s);
            (page == 2 ? book->cmdImageAjouter : book->cmdImageModifier)->click();
            QCOMPARE(f.platform().count(u"beep"_s), 1);
            QCOMPARE(f.platform().messageTexts(),
                     QStringList{u"Ces caractères ne peuvent pas être enregistrés dans le livre : Ł ź"_s});
            QCOMPARE(box->text(), kept);
        }
    }

    // Changing a recipe when its text no longer fits in the file is refused as adding is,
    // not a fatal error that ends the program.
    void changePastTheFileLimitIsRefused()
    {
        BookFixture f;
        QVERIFY(startOnSel(f, "Sel fin"));
        {
            QFile texts(f.path(u"GRTN3.DAT"_s));
            QVERIFY(texts.open(QIODevice::ReadWrite));
            QVERIFY(texts.resize(qint64(std::numeric_limits<qint32>::max()) - 5));
        }
        const QByteArray records = f.bytes(u"GRTN2.DAT"_s);
        f.book()->TabStrip1->selectTab(3);
        f.book()->txtSaisieRecetteModifier->setPlainText(u"Sel fin de Guérande"_s);
        QTest::mouseClick(f.book()->cmdValideModifier, Qt::LeftButton);
        QCOMPARE(f.platform().count(u"beep"_s), 1);
        QCOMPARE(f.platform().messageTexts().size(), 1);
        QVERIFY(f.platform().messageTexts()[0].contains(u"plein (2 Go)"_s));
        QVERIFY(!f.platform().programEnded());
        QCOMPARE(f.bytes(u"GRTN2.DAT"_s), records);
        QCOMPARE(f.book()->currentTab, 3);
    }

    // A real full disk: recipes are added until the disk refuses one; the program ends with
    // its message, and the next start opens the book with every recipe it acknowledged.
    void fullDiskLocksNoOneOut()
    {
        BookFixture f;
        const SmallDisk disk(f.path({}), 192);
        if (!disk.mounted())
            QSKIP(qPrintable(disk.why()));
        QVERIFY(startOnSel(f, "Sel fin"));
        QVERIFY(disk.fill());
        frmRecettes *book = f.book();
        // Without text only the recipe file grows: its last page fills up, then a record
        // goes half into it before the disk refuses the rest.
        int acknowledged = 0;
        for (int i = 0; i < 200 && !f.platform().programEnded(); ++i) {
            book->TabStrip1->selectTab(2);
            choose(book->ComboFamillesAjouter, book->ComboFamillesAjouter->entries().rowOfRecord(kEpices));
            book->txtSaisieNomRecette->setText(u"Tarte %1"_s.arg(i));
            book->cmdValideAjouter->click();
            if (!f.platform().programEnded())
                ++acknowledged;
        }
        QVERIFY(f.platform().programEnded());
        QCOMPARE(f.platform().messageTexts().value(0), u"Erreur fatale. Impossibilité de continuer."_s);
        QCOMPARE(f.bytes(u"GRTN2.DAT"_s).size() % 150, 0);

        QVERIFY(f.restart());
        QVERIFY(f.platform().messages.empty());
        choose(f.book()->ComboFamilles, f.book()->ComboFamilles->entries().rowOfRecord(kEpices));
        QCOMPARE(f.book()->ComboRecettes->count(), 1 + acknowledged);
        QCOMPARE(f.book()->ComboRecettes->entries().at(0).text, u"Sel"_s);
    }
};

QTEST_MAIN(TestFidelity)
#include "tst_fidelity.moc"
