// The clipboard commands on the recipe book's text boxes, from the menu, the toolbar and their keys.
#include "bookfixture.h"
#include "book/frmrecettes.h"
#include "book/recordcombo.h"
#include "book/tabstrip.h"
#include "mainwin/frmmain.h"
#include "testbook.h"

#include <QAction>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocumentFragment>
#include <QTemporaryDir>
#include <QDir>
#include <QtTest>

using namespace gratinel;

namespace {

// The text boxes of the add page, as the commands meet them there.
struct AddPageBoxes {
    QLineEdit *line;
    QPlainTextEdit *plain;
    explicit AddPageBoxes(frmRecettes *book)
        : line(new QLineEdit(book->Frame1[2])), plain(new QPlainTextEdit(book->Frame1[2]))
    {
        line->setGeometry(10, 10, 200, 24);
        plain->setGeometry(10, 40, 200, 100);
        line->show();
        plain->show();
    }
};

QString textOf(QWidget *w)
{
    if (auto *line = qobject_cast<QLineEdit *>(w))
        return line->text();
    return static_cast<QPlainTextEdit *>(w)->toPlainText();
}

void setTextAndSelection(QWidget *w, const QString &text, int start, int length)
{
    if (auto *line = qobject_cast<QLineEdit *>(w)) {
        line->setText(text);
        line->setSelection(start, length);
        if (length == 0)
            line->setCursorPosition(start);
        return;
    }
    auto *plain = static_cast<QPlainTextEdit *>(w);
    plain->setPlainText(text);
    QTextCursor c(plain->document());
    c.setPosition(start);
    c.setPosition(start + length, QTextCursor::KeepAnchor);
    plain->setTextCursor(c);
}

QString selectionOf(QWidget *w)
{
    if (auto *line = qobject_cast<QLineEdit *>(w))
        return line->selectedText();
    return static_cast<QPlainTextEdit *>(w)->textCursor().selection().toPlainText();
}

void runCommand(frmMain *frame, const QString &command)
{
    if (command == u"mnuEditCut")
        frame->mnuEditCut_Click();
    else if (command == u"mnuEditCopy")
        frame->mnuEditCopy_Click();
    else if (command == u"mnuEditPaste")
        frame->mnuEditPaste_Click();
    else
        frame->mnuEditSelect_Click();
}

} // namespace

class TestClipboard : public QObject {
    Q_OBJECT

private slots:
    void commandsActOnTheFocusedTextBox_data()
    {
        // "recipe" (the list page's read-only text), "image" (the add page's path box, read-only
        // for typing), "line", "plain"
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("textAfter");
        QTest::addColumn<QString>("clipboardAfter"); // the clipboard held "avant" before
        QTest::addColumn<QString>("selectionAfter");
        QTest::addColumn<bool>("beeps");

        QTest::newRow("copy from the read-only recipe")
            << "recipe" << "mnuEditCopy" << "4 œufs\nsucre" << 2 << 4 << "4 œufs\nsucre" << "œufs" << "œufs" << false;
        QTest::newRow("copy across lines gives line breaks")
            << "plain" << "mnuEditCopy" << "ab\ncd" << 1 << 3 << "ab\ncd" << "b\nc" << "b\nc" << false;
        QTest::newRow("copy of nothing keeps the clipboard")
            << "line" << "mnuEditCopy" << "abc" << 1 << 0 << "abc" << "avant" << "" << true;
        QTest::newRow("cut") << "line" << "mnuEditCut" << "abcdef" << 2 << 2 << "abef" << "cd" << "" << false;
        QTest::newRow("cut of nothing empties the clipboard")
            << "plain" << "mnuEditCut" << "abc" << 1 << 0 << "abc" << "" << "" << false;
        // A read-only box shows the book's text: it is never changed from here.
        QTest::newRow("cut from the read-only recipe")
            << "recipe" << "mnuEditCut" << "abcdef" << 2 << 2 << "abcdef" << "avant" << "cd" << true;
        QTest::newRow("paste over the selection")
            << "plain" << "mnuEditPaste" << "abcdef" << 1 << 4 << "aavantf" << "avant" << "" << false;
        QTest::newRow("paste at the caret") << "line" << "mnuEditPaste" << "abc" << 3 << 0 << "abcavant" << "avant" << "" << false;
        QTest::newRow("paste into the read-only recipe")
            << "recipe" << "mnuEditPaste" << "abc" << 1 << 0 << "abc" << "avant" << "" << true;
        // A chosen image is taken off the recipe to be added by Cut, whatever is selected.
        QTest::newRow("cut the chosen image")
            << "image" << "mnuEditCut" << "/photos/tarte.jpg" << 3 << 0 << "" << "/photos/tarte.jpg" << "" << false;
        // Pasted paths go through the same check as chosen ones: "avant" is no image.
        QTest::newRow("paste into the image box")
            << "image" << "mnuEditPaste" << "" << 0 << 0 << "" << "avant" << "" << true;
        QTest::newRow("select all lines") << "recipe" << "mnuEditSelect" << "un\ndeux\n\ntrois" << 0 << 0
                                          << "un\ndeux\n\ntrois" << "avant" << "un\ndeux\n\ntrois" << false;
        QTest::newRow("select all in a line") << "line" << "mnuEditSelect" << "Tarte" << 2 << 0 << "Tarte" << "avant" << "Tarte" << false;
    }
    void commandsActOnTheFocusedTextBox()
    {
        QFETCH(QString, box);
        QFETCH(QString, command);
        QFETCH(QString, text);
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QString, textAfter);
        QFETCH(QString, clipboardAfter);
        QFETCH(QString, selectionAfter);
        QFETCH(bool, beeps);

        BookFixture f;
        QVERIFY(f.start(testbook::minimal()));
        frmRecettes *book = f.book();
        QWidget *target = book->txtRecette;
        if (box == u"image") {
            book->TabStrip1->selectTab(2);
            target = book->txtImageAjouter;
        } else if (box != u"recipe") {
            book->TabStrip1->selectTab(2);
            AddPageBoxes boxes(book);
            target = box == u"line" ? static_cast<QWidget *>(boxes.line) : boxes.plain;
        }
        setTextAndSelection(target, text, start, length);
        target->setFocus();
        QCOMPARE(f.frame()->focusWidget(), target);
        f.platform().clipboard = QStringLiteral("avant");
        f.platform().calls.clear();

        // The commands run from their handlers whatever the page offers.
        runCommand(f.frame(), command);
        QCOMPARE(textOf(target), textAfter);
        QCOMPARE(f.platform().clipboard, clipboardAfter);
        QCOMPARE(selectionOf(target), selectionAfter);
        QCOMPARE(f.platform().count(QStringLiteral("beep")), beeps ? 1 : 0);
    }

    // A pasted path takes the place of the chosen one, and must name a file that is there; a
    // relative one is made full against the folder the program started in; nothing pasted
    // leaves the box as it was.
    void aPastedImagePathReplacesTheChosenOne_data()
    {
        QTest::addColumn<QString>("pasted"); // "@" stands for the photos' folder
        QTest::addColumn<QString>("box");    // afterwards, "@" as above
        QTest::newRow("an image that is there") << QStringLiteral("@/c.gif") << QStringLiteral("@/c.gif");
        QTest::newRow("an image that is not") << QStringLiteral("@/absente.gif") << QString();
        QTest::newRow("a relative path") << QStringLiteral(" c.gif") << QStringLiteral("@/c.gif");
        QTest::newRow("an empty clipboard") << QString() << QStringLiteral("@/b.gif");
    }
    void aPastedImagePathReplacesTheChosenOne()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, box);
        QTemporaryDir images;
        for (const char *name : {"b.gif", "c.gif"})
            QVERIFY(testbook::writeFile(images.filePath(QLatin1String(name)), "GIF89a"));
        const QString started = QDir::currentPath();
        QVERIFY(QDir::setCurrent(images.path()));
        BookFixture f;
        QVERIFY(f.start(testbook::minimal()));
        f.book()->TabStrip1->selectTab(2);
        f.book()->txtImageAjouter->setText(images.filePath(QStringLiteral("b.gif")));
        f.book()->txtImageAjouter->setFocus();
        f.platform().clipboard = pasted.replace(u'@', images.path());
        f.frame()->mnuEditPaste_Click();
        QDir::setCurrent(started);
        QCOMPARE(f.book()->txtImageAjouter->text(), box.replace(u'@', images.path()));
        QCOMPARE(f.platform().messageTexts(), box.isEmpty() ? QStringList{QStringLiteral("Ce fichier n'existe pas.")} : QStringList());
    }

    void aPastedPassageStaysOnOneLineInASingleLineBox()
    {
        BookFixture f;
        QVERIFY(f.start(testbook::minimal()));
        f.book()->TabStrip1->selectTab(2);
        AddPageBoxes boxes(f.book());
        boxes.line->setFocus();
        f.platform().clipboard = QStringLiteral("Tarte\r\naux\npommes");
        f.frame()->mnuEditPaste_Click();
        QCOMPARE(boxes.line->text(), QStringLiteral("Tarte aux pommes"));
    }

    void everyCommandOnlyBeepsOutsideATextBox()
    {
        BookFixture f;
        QVERIFY(f.start(testbook::minimal()));
        f.book()->ComboFamilles->setFocus();
        f.platform().clipboard = QStringLiteral("avant");
        f.platform().calls.clear();
        f.frame()->mnuEditCut_Click();
        f.frame()->mnuEditCopy_Click();
        f.frame()->mnuEditPaste_Click();
        f.frame()->mnuEditSelect_Click();
        QCOMPARE(f.platform().calls, QStringList(4, QStringLiteral("beep")));
        QCOMPARE(f.platform().clipboard, QStringLiteral("avant"));
    }

    // The keys go to the commands in every kind of text box: Ctrl+C and Ctrl+A in the
    // read-only recipe text, the four of them in the add page's boxes.
    void shortcutsWorkInEveryTextBox_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("textAfter");
        QTest::addColumn<QString>("clipboardAfter");
        QTest::addColumn<QString>("selectionAfter");
        QTest::newRow("Ctrl+C in the recipe") << 1 << "recipe" << int(Qt::Key_C) << "abcdef" << "bcd" << "bcd";
        QTest::newRow("Ctrl+A in the recipe") << 1 << "recipe" << int(Qt::Key_A) << "abcdef" << "avant" << "abcdef";
        QTest::newRow("Ctrl+X in a line") << 2 << "line" << int(Qt::Key_X) << "aef" << "bcd" << "";
        QTest::newRow("Ctrl+C in a line") << 2 << "line" << int(Qt::Key_C) << "abcdef" << "bcd" << "bcd";
        QTest::newRow("Ctrl+V in a line") << 2 << "line" << int(Qt::Key_V) << "aavantef" << "avant" << "";
        QTest::newRow("Ctrl+A in a line") << 2 << "line" << int(Qt::Key_A) << "abcdef" << "avant" << "abcdef";
        QTest::newRow("Ctrl+X in a text") << 2 << "plain" << int(Qt::Key_X) << "aef" << "bcd" << "";
        QTest::newRow("Ctrl+V in a text") << 2 << "plain" << int(Qt::Key_V) << "aavantef" << "avant" << "";
    }
    void shortcutsWorkInEveryTextBox()
    {
        QFETCH(int, page);
        QFETCH(QString, box);
        QFETCH(int, key);
        QFETCH(QString, textAfter);
        QFETCH(QString, clipboardAfter);
        QFETCH(QString, selectionAfter);

        BookFixture f;
        QVERIFY(f.start(testbook::minimal()));
        f.frame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.frame()));
        frmRecettes *book = f.book();
        book->TabStrip1->selectTab(page);
        QWidget *target = book->txtRecette;
        if (box != u"recipe") {
            AddPageBoxes boxes(book);
            target = box == u"line" ? static_cast<QWidget *>(boxes.line) : boxes.plain;
        }
        setTextAndSelection(target, QStringLiteral("abcdef"), 1, 3);
        target->setFocus();
        f.platform().clipboard = QStringLiteral("avant");
        QTest::keyClick(target, Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(textOf(target), textAfter);
        QCOMPARE(f.platform().clipboard, clipboardAfter);
        QCOMPARE(selectionOf(target), selectionAfter);
        QCOMPARE(f.platform().count(QStringLiteral("beep")), 0);
    }
};

QTEST_MAIN(TestClipboard)
#include "tst_clipboard.moc"
