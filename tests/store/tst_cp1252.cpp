// Windows-1252 conversion of stored texts and the CRLF form of recipe texts.
#include "store/cp1252.h"

#include <QtTest>

using namespace gratinel;

class TestCp1252 : public QObject {
    Q_OBJECT

private slots:
    void everyByteSurvivesDecodeThenEncode();
    void highBytesDecodeToTheirCodePageCharacters_data();
    void highBytesDecodeToTheirCodePageCharacters();
    void charactersOutsideTheCodePageBecomeOneQuestionMark_data();
    void charactersOutsideTheCodePageBecomeOneQuestionMark();
    void frenchTextEncodesOneBytePerCharacter();
    void encodeTextStoresEveryLineEndAsCrlf_data();
    void encodeTextStoresEveryLineEndAsCrlf();
    void storedTextDecodesBackToEditorLines();
};

void TestCp1252::everyByteSurvivesDecodeThenEncode()
{
    QByteArray all(256, '\0');
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    const QString text = cp1252::decode(all);
    QCOMPARE(text.size(), 256);
    QVERIFY(cp1252::canEncode(text));
    QCOMPARE(cp1252::encode(text), all);
}

void TestCp1252::highBytesDecodeToTheirCodePageCharacters_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("unicode");
    QTest::newRow("euro") << 0x80 << 0x20AC;
    QTest::newRow("ellipsis") << 0x85 << 0x2026;
    QTest::newRow("OE ligature") << 0x8C << 0x0152;
    QTest::newRow("right single quote") << 0x92 << 0x2019;
    QTest::newRow("en dash") << 0x96 << 0x2013;
    QTest::newRow("oe ligature") << 0x9C << 0x0153;
    QTest::newRow("Y diaeresis") << 0x9F << 0x0178;
    QTest::newRow("undefined 81") << 0x81 << 0x0081;
    QTest::newRow("undefined 9D") << 0x9D << 0x009D;
    QTest::newRow("nbsp") << 0xA0 << 0x00A0;
    QTest::newRow("e acute") << 0xE9 << 0x00E9;
    QTest::newRow("y diaeresis") << 0xFF << 0x00FF;
}

void TestCp1252::highBytesDecodeToTheirCodePageCharacters()
{
    QFETCH(int, byte);
    QFETCH(int, unicode);
    const QString text = cp1252::decode(QByteArray(1, char(byte)));
    QCOMPARE(text.size(), 1);
    QCOMPARE(int(text[0].unicode()), unicode);
    QCOMPARE(cp1252::encode(text), QByteArray(1, char(byte)));
}

void TestCp1252::charactersOutsideTheCodePageBecomeOneQuestionMark_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("named"); // as a message names them: by their code when unseen
    QTest::newRow("a macron") << QStringLiteral("pā") << QByteArray("p?") << QStringLiteral("ā");
    QTest::newRow("C1 control not in the page") << QString(QChar(0x80)) << QByteArray("?") << QStringLiteral("U+0080");
    QTest::newRow("C1 controls whose bytes are other characters")
        << QStringLiteral("Pa\u0089te \u009F\u0089") << QByteArray("Pa?te ??") << QStringLiteral("U+0089 U+009F");
    QTest::newRow("joiner and narrow no-break space") << QStringLiteral("a\u200Bb\u202F:") << QByteArray("a?b?:")
                                                      << QStringLiteral("U+200B U+202F");
    QTest::newRow("emoji is one character") << QStringLiteral("a\U0001F600b") << QByteArray("a?b") << QStringLiteral("\U0001F600");
    QTest::newRow("two emoji") << QStringLiteral("\U0001F600\U0001F355") << QByteArray("??")
                               << QStringLiteral("\U0001F600 \U0001F355");
    QTest::newRow("lone high surrogate") << (QString(QChar(0xD83D)) + u'x') << QByteArray("?x") << QStringLiteral("U+D83D");
    QTest::newRow("lone low surrogate") << QString(QChar(0xDE00)) << QByteArray("?") << QStringLiteral("U+DE00");
}

void TestCp1252::charactersOutsideTheCodePageBecomeOneQuestionMark()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, stored);
    QFETCH(QString, named);
    QVERIFY(!cp1252::canEncode(text));
    QCOMPARE(cp1252::encode(text), stored);
    QCOMPARE(cp1252::storable(text), QString::fromLatin1(stored));
    QCOMPARE(cp1252::unstorable(text).join(u' '), named);
}

void TestCp1252::frenchTextEncodesOneBytePerCharacter()
{
    const QString text = QStringLiteral("Bœuf à l’étouffée… 5 €");
    QVERIFY(cp1252::canEncode(text));
    const QByteArray bytes = cp1252::encode(text);
    QCOMPARE(bytes.size(), text.size());
    QCOMPARE(bytes, QByteArray("B\x9C" "uf \xE0 l\x92\xE9touff\xE9" "e\x85 5 \x80"));
    QCOMPARE(cp1252::storable(text), text);
}

void TestCp1252::encodeTextStoresEveryLineEndAsCrlf_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("one line") << QStringLiteral("Sel") << QByteArray("Sel");
    QTest::newRow("LF") << QStringLiteral("a\nb") << QByteArray("a\r\nb");
    QTest::newRow("lone CR") << QStringLiteral("a\rb") << QByteArray("a\r\nb");
    QTest::newRow("CRLF kept") << QStringLiteral("a\r\nb") << QByteArray("a\r\nb");
    QTest::newRow("blank line") << QStringLiteral("a\n\nb") << QByteArray("a\r\n\r\nb");
    QTest::newRow("CR then LF of the next line") << QStringLiteral("a\r\r\nb") << QByteArray("a\r\n\r\nb");
    QTest::newRow("LF then CR") << QStringLiteral("a\n\rb") << QByteArray("a\r\n\r\nb");
    QTest::newRow("line end last") << QStringLiteral("a\n") << QByteArray("a\r\n");
    QTest::newRow("accented lines") << QStringLiteral("Crème\nbrûlée") << QByteArray("Cr\xE8me\r\nbr\xFBl\xE9" "e");
}

void TestCp1252::encodeTextStoresEveryLineEndAsCrlf()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, stored);
    QCOMPARE(cp1252::encodeText(text), stored);
}

void TestCp1252::storedTextDecodesBackToEditorLines()
{
    // Three lines: the stored length counts each line end as two bytes.
    const QString edited = QStringLiteral("Œufs\nLait\nSucre");
    const QByteArray stored = cp1252::encodeText(edited);
    QCOMPARE(stored.size(), edited.size() + 2);
    QCOMPARE(cp1252::decodeText(stored), edited);
    // A lone CR in the file is not a line end the editor knows; it is kept as it is.
    QCOMPARE(cp1252::decodeText(QByteArray("a\rb\r\nc")), QStringLiteral("a\rb\nc"));
}

QTEST_APPLESS_MAIN(TestCp1252)
#include "tst_cp1252.moc"
