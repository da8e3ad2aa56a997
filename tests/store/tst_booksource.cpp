// The book source text: what its lines hold, read and then written back.
#include "store/booksource.h"

#include <QtTest>

using namespace gratinel;
using namespace Qt::StringLiterals;

class TestBookSource : public QObject {
    Q_OBJECT

private slots:
    void escapedByteAndCharacterNeverMeet_data();
    void escapedByteAndCharacterNeverMeet();
};

// "\xHH" is the book's byte HH (its Windows-1252 character); a character in a line is itself,
// refused when the book has no byte for it. Writing the recipe and reading it again gives the
// same text, and the same problem.
void TestBookSource::escapedByteAndCharacterNeverMeet_data()
{
    QTest::addColumn<QString>("line");    // the recipe's one text line
    QTest::addColumn<QString>("text");    // what the recipe holds
    QTest::addColumn<QString>("problem"); // the recipe's problem, empty when the book holds it
    const QString refused = u"ligne 3 : caractères impossibles à enregistrer dans le livre (hors du jeu Windows-1252) : "_s;
    QTest::newRow("byte 89 escaped") << u"%%\\ Pa\\x89te"_s << u"Pa‰te"_s << QString();
    QTest::newRow("character U+0089") << u"Pa\u0089te"_s << u"Pa\u0089te"_s << refused + u"U+0089"_s;
    QTest::newRow("character U+0089 in an escaped line") << u"%%\\ Pa\u0089te\\t"_s << u"Pa\u0089te\t"_s
                                                         << refused + u"U+0089"_s;
    QTest::newRow("byte 9F escaped") << u"%%\\ \\x9F\\x85"_s << u"Ÿ…"_s << QString();
    QTest::newRow("C1 controls and a joiner, each named once")
        << u"\u0085\u009F\u200B\u0085 fin"_s << u"\u0085\u009F\u200B\u0085 fin"_s << refused + u"U+0085 U+009F U+200B"_s;
    // The five bytes the code page leaves undefined are the book's own, read as the same codes.
    QTest::newRow("undefined byte 81 escaped") << u"%%\\ a\\x81\\x9d"_s << u"a\u0081\u009D"_s << QString();
    QTest::newRow("character U+0081, the byte 81") << u"a\u0081"_s << u"a\u0081"_s << QString();
    QTest::newRow("emoji shown as itself") << u"Poire 🍐"_s << u"Poire 🍐"_s << refused + u"🍐"_s;
}

void TestBookSource::escapedByteAndCharacterNeverMeet()
{
    QFETCH(QString, line);
    QFETCH(QString, text);
    QFETCH(QString, problem);
    const booksource::Source first = booksource::parse(u"@@ Desserts\n## Tarte\n"_s + line + u'\n');
    QCOMPARE(first.recipeCount(), 1);
    QCOMPARE(first.families[0].recipes[0].text, text);
    QCOMPARE(first.families[0].recipes[0].problem, problem);

    const QString written = booksource::write(first.families);
    const booksource::Source second = booksource::parse(written);
    QCOMPARE(second.recipeCount(), 1);
    QCOMPARE(second.families[0].recipes[0].text, text);
    QCOMPARE(second.allProblems(), first.allProblems());
    QCOMPARE(booksource::write(second.families), written);
}

QTEST_GUILESS_MAIN(TestBookSource)
#include "tst_booksource.moc"
