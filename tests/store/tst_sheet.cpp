// The recipe sheet file: its exact bytes, its replacement on every call, and a folder where it cannot be written.
#include "fakeplatform.h"
#include "store/module1.h"
#include "store/recipesheet.h"
#include "testbook.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace gratinel;

class TestSheet : public QObject {
    Q_OBJECT

private:
    struct Program {
        QTemporaryDir dir;
        FakePlatform platform;
        Module1 m{platform, platform};
        Program() { m.programDir = dir.path() + u'/'; }
        QByteArray sheet(const QString &extension) const
        {
            return testbook::readFile(m.pathOf(QStringLiteral("recette.") + extension));
        }
    };

private slots:
    void sheetHoldsTheShownRecipeByteForByte_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("recipe");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("expected");

        const QByteArray head = "Gratinel \"Free\" (Edition du ";
        QTest::newRow("two lines") << "txt" << QDate(2024, 3, 5) << "Desserts" << "Tarte" << "abc\ndef"
                                   << head + "5/3/2024)\r\n\r\nFamille de recettes : Desserts\r\n\r\nRecette : Tarte\r\n\r\nabc\r\ndef\r\n";
        QTest::newRow("empty text") << "txt" << QDate(2024, 12, 25) << "Desserts" << "Tarte" << ""
                                    << head + "25/12/2024)\r\n\r\nFamille de recettes : Desserts\r\n\r\nRecette : Tarte\r\n\r\n\r\n";
        // The word processor gets the same plain text under another name.
        QTest::newRow("doc") << "doc" << QDate(2024, 3, 5) << "Desserts" << "Tarte" << "abc\ndef"
                             << head + "5/3/2024)\r\n\r\nFamille de recettes : Desserts\r\n\r\nRecette : Tarte\r\n\r\nabc\r\ndef\r\n";
        QTest::newRow("windows-1252") << "txt" << QDate(2025, 10, 1) << "Œufs & crèmes" << "Crème brûlée"
                                      << "Sucre, œufs…\n\n250 g à 80 °C"
                                      << head + "1/10/2025)\r\n\r\nFamille de recettes : \x8C" "ufs & cr\xE8mes\r\n\r\n"
                                                "Recette : Cr\xE8me br\xFBl\xE9" "e\r\n\r\nSucre, \x9C" "ufs\x85\r\n\r\n"
                                                "250 g \xE0 80 \xB0" "C\r\n";
        // A text already in the stored form keeps its line ends as they are.
        QTest::newRow("crlf text") << "txt" << QDate(2024, 3, 5) << "F" << "R" << "a\r\nb"
                                   << head + "5/3/2024)\r\n\r\nFamille de recettes : F\r\n\r\nRecette : R\r\n\r\na\r\nb\r\n";
    }
    void sheetHoldsTheShownRecipeByteForByte()
    {
        QFETCH(QString, extension);
        QFETCH(QDate, date);
        QFETCH(QString, family);
        QFETCH(QString, recipe);
        QFETCH(QString, text);
        QFETCH(QByteArray, expected);

        Program p;
        p.platform.date = date;
        QVERIFY(p.m.WriteRecipeSheet(extension, {family, recipe, text}));
        QCOMPARE(p.sheet(extension), expected);
    }

    void aNewSheetReplacesALongerOneCompletely()
    {
        Program p;
        QVERIFY(p.m.WriteRecipeSheet(QStringLiteral("txt"), {QStringLiteral("F"), QStringLiteral("R"), QString(5000, u'x')}));
        QVERIFY(p.m.WriteRecipeSheet(QStringLiteral("txt"), {QStringLiteral("F"), QStringLiteral("R"), QStringLiteral("court")}));
        QCOMPARE(p.sheet(QStringLiteral("txt")), recipeSheetBytes(p.platform.date, {QStringLiteral("F"), QStringLiteral("R"), QStringLiteral("court")}));
        QVERIFY(p.sheet(QStringLiteral("txt")).endsWith("court\r\n"));
    }

    void aSheetThatCannotBeWrittenGivesFalse_data()
    {
        QTest::addColumn<bool>("folderMissing");
        // A name taken by a folder can be neither deleted nor created as a file.
        QTest::newRow("name taken by a folder") << false;
        QTest::newRow("program folder gone") << true;
    }
    void aSheetThatCannotBeWrittenGivesFalse()
    {
        QFETCH(bool, folderMissing);
        Program p;
        if (folderMissing)
            p.m.programDir = p.dir.path() + QStringLiteral("/absent/");
        else
            QVERIFY(QDir(p.dir.path()).mkdir(QStringLiteral("recette.txt")));
        QVERIFY(!p.m.WriteRecipeSheet(QStringLiteral("txt"), {QStringLiteral("F"), QStringLiteral("R"), QStringLiteral("T")}));
        QVERIFY(!QFileInfo(p.m.pathOf(QStringLiteral("recette.txt"))).isFile());
    }
};

QTEST_GUILESS_MAIN(TestSheet)
#include "tst_sheet.moc"
