// The book tool's livret command run as a user runs it: refusals that write nothing, then a
// booklet of the families asked for.
#include "cookbook.h"
#include "testbook.h"
#include "toolrun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace gratinel;

class TestBookToolLivret : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString book_;

    ToolRun livret(const QStringList &args) { return runTool(QStringLiteral(BOOKTOOL_PATH), QStringList{QStringLiteral("livret")} + args); }

private slots:
    void initTestCase()
    {
        book_ = dir_.filePath(QStringLiteral("livre"));
        QVERIFY(QDir().mkpath(book_));
        QVERIFY(cookbook::build(book_).writeTo(book_).isOk());
    }

    void refusedRunsWriteNothing_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("said");
        QTest::addColumn<bool>("damaged");
        const QString out = QStringLiteral("OUT/livret.pdf");
        QTest::addRow("pas un PDF") << QStringList{QStringLiteral("BOOK"), QStringLiteral("OUT/GRTN3.DAT")}
                                    << QStringLiteral("doit avoir l'extension .pdf") << false;
        QTest::addRow("dossier absent") << QStringList{QStringLiteral("BOOK"), QStringLiteral("OUT/absent/livret.pdf")}
                                        << QStringLiteral("n'existe pas") << false;
        QTest::addRow("un dossier") << QStringList{QStringLiteral("BOOK"), QStringLiteral("OUT/dossier.pdf")}
                                    << QStringLiteral("est un dossier") << false;
        QTest::addRow("famille inconnue") << QStringList{QStringLiteral("BOOK"), out, QStringLiteral("--famille"),
                                                         QStringLiteral("Desserts"), QStringLiteral("--famille"),
                                                         QStringLiteral("Entremets")}
                                          << QStringLiteral("famille inconnue : « Entremets »") << false;
        QTest::addRow("famille sans recette") << QStringList{QStringLiteral("BOOK"), out, QStringLiteral("--famille"), QStringLiteral("vide")}
                                              << QStringLiteral("n'a aucune recette") << false;
        QTest::addRow("livre à réparer") << QStringList{QStringLiteral("BOOK"), out}
                                         << QStringLiteral("« gratinel-book repair") << true;
    }

    void refusedRunsWriteNothing()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, said);
        QFETCH(bool, damaged);
        QTemporaryDir out;
        QVERIFY(QDir(out.path()).mkdir(QStringLiteral("dossier.pdf")));
        QTemporaryDir damagedBook;
        QString book = book_;
        if (damaged) {
            // The header counts one recipe more than the book holds.
            QVERIFY(cookbook::build(damagedBook.path()).writeTo(damagedBook.path()).isOk());
            book = damagedBook.path();
            QVERIFY(testbook::patchFile(QDir(book).filePath(QStringLiteral("GRTN2.DAT")), 0, testbook::le16(13)));
        }
        for (QString &a : args)
            a.replace(QStringLiteral("BOOK"), book).replace(QStringLiteral("OUT"), out.path());
        const QStringList before = QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

        const ToolRun run = livret(args);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(said), qPrintable(run.err));
        QVERIFY(run.err.contains(QStringLiteral("aucun livret écrit")));
        QCOMPARE(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
    }

    void booklet()
    {
        QTemporaryDir out;
        const QString pdf = out.filePath(QStringLiteral("Desserts.PDF"));
        // An older file of that name is replaced only by a whole booklet.
        QVERIFY(testbook::writeFile(pdf, "ancien"));
        ToolRun run = livret({book_, pdf, QStringLiteral("--famille"), QStringLiteral("  desserts "),
                              QStringLiteral("--famille"), QStringLiteral("Goûters"), QStringLiteral("--a5")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains(QStringLiteral("Livret : 100 %")));
        QVERIFY(run.out.contains(QStringLiteral("Photo laissée de côté : « Flan » (Desserts) : /nulle/part/flan.jpg (fichier absent)")));
        QVERIFY(run.out.contains(QStringLiteral("12 recette(s), 1 photo(s) laissée(s) de côté.")));
        QVERIFY(run.err.isEmpty() || !run.err.contains(QStringLiteral("gratinel-book")));
        QVERIFY(cookbook::info(pdf).contains(QStringLiteral("(A5)")));
        const QStringList pages = cookbook::pages(pdf);
        QVERIFY(pages.value(0).contains(QStringLiteral("Mes recettes")));
        QCOMPARE(cookbook::numberedLines(pages.value(1)).size(), 2);
        QCOMPARE(cookbook::imageList(pdf).count(u'\n'), 3);

        run = livret({book_, pdf, QStringLiteral("--famille"), QStringLiteral("Goûters"), QStringLiteral("--sans-images")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(cookbook::info(pdf).contains(QStringLiteral("(A4)")));
        QVERIFY(cookbook::pages(pdf).value(0).contains(QStringLiteral("Goûters")));
        QCOMPARE(cookbook::imageList(pdf).count(u'\n'), 2);
    }
};

QTEST_MAIN(TestBookToolLivret)
#include "tst_booktoollivret.moc"
