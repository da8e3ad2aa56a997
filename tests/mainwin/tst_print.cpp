// Printing: the word wrap and page breaks on a recording printer and on a PDF printer, and the print command.
#include "bookfixture.h"
#include "book/frmrecettes.h"
#include "mainwin/frmmain.h"
#include "mainwin/printwrapped.h"
#include "platform/qtprinter.h"
#include "store/module1.h"
#include "cookbook.h"
#include "testbook.h"

#include <QAction>
#include <QDialog>
#include <QRadioButton>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace gratinel;

namespace {

// Passes every operation on to a real printer and notes where each word was printed.
class RecordingPrinter : public Printer {
public:
    struct Word {
        QString text;
        int x, y, width, page;
    };

    explicit RecordingPrinter(Printer &inner) : inner_(inner) {}

    bool setFontSize(int points) override { return inner_.setFontSize(points); }
    int currentX() const override { return inner_.currentX(); }
    bool setCurrentX(int twips) override { return inner_.setCurrentX(twips); }
    int currentY() const override { return inner_.currentY(); }
    bool textWidth(const QString &text, int &twips) override { return inner_.textWidth(text, twips); }
    bool textHeight(const QString &text, int &twips) override { return inner_.textHeight(text, twips); }
    int printableWidth() const override { return inner_.printableWidth(); }
    int printableHeight() const override { return inner_.printableHeight(); }
    bool print(const QString &text) override
    {
        int width = 0;
        inner_.textWidth(text, width);
        words.push_back({text, currentX(), currentY(), width, pages});
        return inner_.print(text);
    }
    bool endLine() override { return inner_.endLine(); }
    bool newPage() override
    {
        ++pages;
        return inner_.newPage();
    }
    bool endDoc() override { return inner_.endDoc(); }

    std::vector<Word> words;
    int pages = 1;

private:
    Printer &inner_;
};

// Pages of a PDF file, from its page objects.
int pdfPages(const QString &path)
{
    const QString pdf = QString::fromLatin1(testbook::readFile(path));
    return int(pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
}

QString paragraphsOf(int count, int wordsEach)
{
    QStringList paragraphs;
    for (int p = 0; p < count; ++p) {
        QStringList words;
        for (int w = 0; w < wordsEach; ++w)
            words << QStringLiteral("mot%1-%2").arg(p).arg(w);
        paragraphs << words.join(u' ');
    }
    return paragraphs.join(QStringLiteral("\r\n"));
}

} // namespace

class TestPrint : public QObject {
    Q_OBJECT

private slots:
    // The recording fake prints 100 twips per character and 240 per line; a line shows
    // its 500-twip margin as five spaces, a new page as "<page>".
    void wrapsWordsAndPages_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QStringList>("lines");

        QTest::newRow("one line") << "abc def" << 11000 << 15000 << QStringList{"     abc def", ""};
        // "def " ends at 1300: its trailing space counts, so it goes to the next line.
        QTest::newRow("trailing space counted") << "abc def " << 1200 << 15000 << QStringList{"     abc ", "     def ", ""};
        QTest::newRow("exact fit") << "abc def" << 1200 << 15000 << QStringList{"     abc def", ""};
        QTest::newRow("two spaces") << "a  b" << 11000 << 15000 << QStringList{"     a  b", ""};
        QTest::newRow("empty paragraphs, final break")
            << "\r\nabc\r\n\r\ndef\r\n" << 11000 << 15000 << QStringList{"     ", "     abc", "     ", "     def", ""};
        QTest::newRow("lone CR and LF stay in words") << "a\rb\nc" << 11000 << 15000 << QStringList{"     a\rb\nc", ""};
        QTest::newRow("word wider than the line")
            << "a longwordlongword b" << 1000 << 15000 << QStringList{"     a ", "     longwordlongword ", "     b", ""};
        // A paragraph that starts with a word too wide starts with it, not with an empty line.
        QTest::newRow("paragraph starting with a wide word")
            << "longwordlongword b" << 1000 << 15000 << QStringList{"     longwordlongword ", "     b", ""};
        // Three lines fit on a page of 720 twips.
        QTest::newRow("wrapped line to a new page")
            << "aa bb cc dd ee" << 800 << 720 << QStringList{"     aa ", "     bb ", "     cc ", "<page>     dd ", "     ee", ""};
        // The line that follows a paragraph's end gets its own page test: none is drawn
        // below the page's bottom.
        QTest::newRow("paragraph end to a new page")
            << "a\r\nb\r\nc\r\nd\r\ne" << 11000 << 720 << QStringList{"     a", "     b", "     c", "<page>     d", "     e", ""};
    }
    void wrapsWordsAndPages()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QStringList, lines);

        FakePrinter printer;
        printer.width = width;
        printer.height = height;
        QVERIFY(PrintWrapped(printer, kPrintLeftMargin, text));
        QCOMPARE(printer.lines, lines);
    }

    void printsTextsOfAnyLength()
    {
        // A run without spaces far longer than 32767 characters is one word on one line.
        FakePrinter printer;
        const QString run(40000, u'x');
        QVERIFY(PrintWrapped(printer, kPrintLeftMargin, QStringLiteral("a ") + run));
        QCOMPARE(printer.lines, (QStringList{"     a ", "     " + run, ""}));
    }

    void stopsAtTheFirstRefusedOperation()
    {
        FakePrinter printer;
        printer.failAfter = 6;
        QVERIFY(!PrintWrapped(printer, kPrintLeftMargin, QStringLiteral("un deux trois quatre cinq")));
        QCOMPARE(printer.lines.join(u'|'), QStringLiteral("     un "));
    }

    // On a real page (A4, PDF): every word of a 30000-character recipe is printed, lines
    // start at the margin and stay within the width unless one word fills them, and no line
    // is drawn below a page's bottom.
    void laysOutALongRecipeOnAPdfPrinter()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("recette.pdf"));
        QString text = paragraphsOf(120, 30) + QStringLiteral("\r\n\r\n") + QString(300, u'W');
        text += QStringLiteral("\r\n") + paragraphsOf(200, 5);
        QVERIFY(text.size() > 30000);

        int height = 0;
        {
            QtPrinter pdfPrinter(pdf);
            RecordingPrinter printer(pdfPrinter);
            QVERIFY(PrintWrapped(printer, kPrintLeftMargin, text));
            QVERIFY(printer.textHeight(QStringLiteral("Ag"), height));
            // 10 points: a line is a little more than 200 twips high.
            QVERIFY2(height >= 200 && height <= 320, qPrintable(QString::number(height)));

            QString printed;
            for (const auto &w : printer.words)
                printed += w.text;
            QString expected = text;
            expected.remove(QStringLiteral("\r\n"));
            QCOMPARE(printed, expected);

            for (size_t i = 0; i < printer.words.size(); ++i) {
                const auto &w = printer.words[i];
                const bool firstOnLine = i == 0 || printer.words[i - 1].y != w.y || printer.words[i - 1].page != w.page;
                if (firstOnLine)
                    QCOMPARE(w.x, kPrintLeftMargin);
                else
                    QVERIFY2(w.x + w.width <= printer.printableWidth(), qPrintable(w.text));
                QVERIFY2(w.y + height <= printer.printableHeight(), qPrintable(w.text));
            }
            QVERIFY(printer.pages > 2);
            QCOMPARE(printer.words.back().page, printer.pages);
            QVERIFY(printer.endDoc());
            QCOMPARE(pdfPages(pdf), printer.pages);
        }
    }

    void noPrinterInstalledFailsWithoutWritingAFile()
    {
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("a printer is installed here: the test would print on it");
        QTemporaryDir dir;
        const QString before = QDir::currentPath();
        QDir::setCurrent(dir.path());
        {
            QtPrinter printer;
            QVERIFY(!PrintWrapped(printer, kPrintLeftMargin, QStringLiteral("Tarte")));
            QVERIFY(!printer.endDoc());
        }
        QDir::setCurrent(before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }

    // The print command, through the platform's printer.
    void printsTheShownRecipe_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        const QStringList head{"     Gratinel \"Free\" (Edition du 5/3/2024)", "     ",
                               "     Famille de recettes : Famille 01", "     ", "     Recette : Recette 001"};
        QTest::newRow("with text") << "Texte 1\nsuite" << head + QStringList{"     ", "     Texte 1", "     suite", ""};
        // No text: the recipe line is the last one.
        QTest::newRow("empty text") << "" << head + QStringList{""};
    }
    void printsTheShownRecipe()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        BookFixture f;
        QVERIFY(f.start(testbook::minimal()));
        f.book()->txtRecette->setPlainText(text);
        f.platform().calls.clear();
        f.frame()->menuItem(QStringLiteral("mnuFilePrint"))->trigger();
        QCOMPARE(f.platform().printer.lines, lines);
        QVERIFY(f.platform().printer.ended);
        QCOMPARE(f.platform().calls, (QStringList{"pointer:hourglass", "printJob", "pointer:normal"}));
    }

    void aPrinterFailureIsReported_data()
    {
        QTest::addColumn<int>("failure"); // 0: no printer, 1: fails part-way, 2: job refused at the end
        QTest::newRow("no printer") << 0;
        QTest::newRow("fails part-way") << 1;
        QTest::newRow("job refused") << 2;
    }
    void aPrinterFailureIsReported()
    {
        QFETCH(int, failure);
        BookFixture f;
        QVERIFY(f.start(testbook::minimal()));
        FakePlatform &p = f.platform();
        p.printerMissing = failure == 0;
        if (failure == 1)
            p.printer.failAfter = 12;
        p.printer.failEndDoc = failure == 2;
        p.calls.clear();
        f.frame()->tbToolBar_ButtonClick(QStringLiteral("Print"));
        // What was printed is still sent.
        QCOMPARE(p.printer.ended, failure != 0);
        QCOMPARE(p.calls.mid(p.calls.size() - 3), (QStringList{"pointer:normal", "beep", "msgBox"}));
        QCOMPARE(p.messages.back().text, QStringLiteral("Erreur imprimante"));
        QCOMPARE(p.messages.back().icon, Platform::Icon::Critical);
    }

    void printsABooklet_data()
    {
        QTest::addColumn<QString>("choice"); // the dialog's button pressed, or "" to cancel it
        QTest::addColumn<bool>("printDialogAccepted");
        QTest::addColumn<QString>("job");    // the print dialog's call
        QTest::addColumn<QString>("cover");  // what the first page says, "" for no PDF
        QTest::newRow("family") << "optFamille" << true << "pagedJob:Famille 01:A4" << "Famille 01";
        QTest::newRow("whole book on A5") << "optA5" << true << "pagedJob:Mes recettes:A5" << "Mes recettes";
        QTest::newRow("dialog cancelled") << "" << true << "" << "";
        QTest::newRow("print dialog cancelled") << "optFamille" << false << "pagedJob:Famille 01:A4" << "";
    }
    void printsABooklet()
    {
        QFETCH(QString, choice);
        QFETCH(bool, printDialogAccepted);
        QFETCH(QString, job);
        QFETCH(QString, cover);
        BookFixture f;
        QVERIFY(f.start(testbook::minimal()));
        QTemporaryDir out;
        const QString pdf = out.filePath(QStringLiteral("livret.pdf"));
        FakePlatform &p = f.platform();
        p.pagedJobFile = printDialogAccepted ? pdf : QString();
        const QByteArray before = f.dataFiles();
        p.calls.clear();
        QTimer::singleShot(0, f.frame(), [choice] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            if (choice.isEmpty())
                return dialog->reject();
            if (choice == QLatin1String("optA5"))
                dialog->findChild<QRadioButton *>(QStringLiteral("optLivre"))->setChecked(true);
            dialog->findChild<QRadioButton *>(choice)->setChecked(true);
            dialog->accept();
        });
        f.frame()->menuItem(QStringLiteral("mnuFilePrintLivret"))->trigger();

        QCOMPARE(p.calls.filter(QStringLiteral("pagedJob:")), job.isEmpty() ? QStringList() : QStringList{job});
        QVERIFY(p.messages.empty());
        QCOMPARE(p.pointer, Platform::Pointer::Normal);
        QCOMPARE(f.dataFiles(), before);
        QCOMPARE(QFile::exists(pdf), !cover.isEmpty());
        if (!cover.isEmpty()) {
            const QStringList pages = cookbook::pages(pdf);
            QVERIFY(pages.value(0).contains(cover));
            QVERIFY(pages.value(0).contains(QStringLiteral("300 recettes")));
            QVERIFY(pages.join(u'\n').contains(QStringLiteral("Recette 300")));
        }
        // The book is still there to use.
        QVERIFY(f.frame()->menuItem(QStringLiteral("mnuFilePrintLivret"))->isEnabled());
    }
};

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
