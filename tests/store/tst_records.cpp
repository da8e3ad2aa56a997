// Byte layout of the family and recipe records, fixed text fields and header filler bytes.
#include "store/bookbuilder.h"
#include "store/records.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace gratinel;

namespace {

QByteArray encoded(const FamilyRecord &r)
{
    QByteArray bytes(FamilyRecord::kSize, '\x55');
    r.encodeTo(bytes.data());
    return bytes;
}

QByteArray encoded(const RecipeRecord &r)
{
    QByteArray bytes(RecipeRecord::kSize, '\x55');
    r.encodeTo(bytes.data());
    return bytes;
}

QByteArray randomBytes(int size, quint32 seed)
{
    QRandomGenerator gen(seed);
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(gen.bounded(256));
    // Make sure the values a reader might treat specially are there.
    bytes[0] = '\0';
    bytes[1] = '\xFF';
    bytes[size - 1] = '\0';
    return bytes;
}

} // namespace

class TestRecords : public QObject {
    Q_OBJECT

private slots:
    void familyRecordLayout();
    void recipeRecordLayout();
    void fixedTextField_data();
    void fixedTextField();
    void fieldTextTrimsOnlySpaces_data();
    void fieldTextTrimsOnlySpaces();
    void headerFillerSurvivesDecodeAndEncode();
    void bookPastTheLargestPositionIsRefused();
};

void TestRecords::familyRecordLayout()
{
    FamilyRecord r;
    r.state = kInUse;
    r.setName(QStringLiteral("Pâtes"));
    const QByteArray bytes = encoded(r);
    QCOMPARE(bytes.left(2), QByteArray("\xFF\xFF"));
    QCOMPARE(bytes.mid(2, 5), QByteArray("P\xE2tes"));
    QCOMPARE(bytes.mid(7), QByteArray(123, ' '));

    r.state = 0x1234;
    QCOMPARE(encoded(r).left(2), QByteArray("\x34\x12"));
    r.state = kDeleted;
    QCOMPARE(encoded(r).left(2), QByteArray(2, '\0'));

    const FamilyRecord back = FamilyRecord::decode(bytes.constData());
    QCOMPARE(back.state, kInUse);
    QCOMPARE(back.nameText(), QStringLiteral("Pâtes"));
}

void TestRecords::recipeRecordLayout()
{
    RecipeRecord r;
    r.state = kInUse;
    r.familyRecord = 0x01020304;
    r.setTitle(QStringLiteral("Flan"));
    r.textPos = 0x11223344;
    r.textLen = -2;
    r.imagePos = 0x7FFFFFFF;
    r.imageLen = 0x00000105;
    const QByteArray bytes = encoded(r);
    QCOMPARE(bytes.size(), 150);
    QCOMPARE(bytes.mid(0, 2), QByteArray("\xFF\xFF"));
    QCOMPARE(bytes.mid(2, 4), QByteArray("\x04\x03\x02\x01"));
    QCOMPARE(bytes.mid(6, 4), QByteArray("Flan"));
    QCOMPARE(bytes.mid(10, 124), QByteArray(124, ' '));
    QCOMPARE(bytes.mid(134, 4), QByteArray("\x44\x33\x22\x11"));
    QCOMPARE(bytes.mid(138, 4), QByteArray("\xFE\xFF\xFF\xFF"));
    QCOMPARE(bytes.mid(142, 4), QByteArray("\xFF\xFF\xFF\x7F"));
    QCOMPARE(bytes.mid(146, 4), QByteArray("\x05\x01\x00\x00", 4));

    const RecipeRecord back = RecipeRecord::decode(bytes.constData());
    QCOMPARE(back.state, kInUse);
    QCOMPARE(back.familyRecord, r.familyRecord);
    QCOMPARE(back.titleText(), QStringLiteral("Flan"));
    QCOMPARE(back.textPos, r.textPos);
    QCOMPARE(back.textLen, -2);
    QCOMPARE(back.imagePos, r.imagePos);
    QCOMPARE(back.imageLen, r.imageLen);
}

void TestRecords::fixedTextField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("readBack");

    const QString a127(127, u'a');
    const QString a128(128, u'b');
    QTest::newRow("empty") << QString() << QByteArray(128, ' ') << QString();
    QTest::newRow("short") << QStringLiteral("Crêpes") << (QByteArray("Cr\xEApes") + QByteArray(122, ' '))
                           << QStringLiteral("Crêpes");
    QTest::newRow("127") << a127 << (a127.toLatin1() + ' ') << a127;
    QTest::newRow("exactly 128") << a128 << a128.toLatin1() << a128;
    QTest::newRow("129 cut") << (a128 + u'Z') << a128.toLatin1() << a128;
    QTest::newRow("300 cut") << QString(300, u'é') << QByteArray(128, '\xE9') << QString(128, u'é');
    // The cut counts characters: an emoji is one character, stored as one '?'.
    QTest::newRow("emoji at the cut") << (a127 + QStringLiteral("\U0001F600xyz")) << (a127.toLatin1() + '?')
                                      << (a127 + u'?');
    QTest::newRow("128 emoji") << QString(QStringLiteral("\U0001F600")).repeated(128) << QByteArray(128, '?')
                               << QString(128, u'?');
    QTest::newRow("spaces around") << QStringLiteral("  Tarte  ")
                                   << (QByteArray("  Tarte") + QByteArray(121, ' ')) << QStringLiteral("Tarte");
}

void TestRecords::fixedTextField()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, field);
    QFETCH(QString, readBack);

    FamilyRecord f;
    f.state = kInUse;
    f.setName(text);
    const QByteArray familyBytes = encoded(f);
    QCOMPARE(familyBytes.mid(2), field);
    QCOMPARE(FamilyRecord::decode(familyBytes.constData()).nameText(), readBack);

    RecipeRecord r;
    r.state = kInUse;
    r.setTitle(text);
    const QByteArray recipeBytes = encoded(r);
    QCOMPARE(recipeBytes.mid(6, 128), field);
    QCOMPARE(recipeBytes.mid(134), QByteArray(16, '\0'));
    QCOMPARE(RecipeRecord::decode(recipeBytes.constData()).titleText(), readBack);
}

void TestRecords::fieldTextTrimsOnlySpaces_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("shown");
    QTest::newRow("spaces") << QByteArray("   Soupe   ") << QStringLiteral("Soupe");
    QTest::newRow("inner spaces kept") << QByteArray(" Pot au feu ") << QStringLiteral("Pot au feu");
    QTest::newRow("tab kept") << QByteArray("\tSoupe\t ") << QStringLiteral("\tSoupe\t");
    QTest::newRow("nbsp kept") << QByteArray("\xA0Soupe\xA0 ") << QStringLiteral("\u00A0Soupe\u00A0");
    QTest::newRow("nul kept") << QByteArray("Soupe\0  ", 8) << QStringLiteral("Soupe") + QChar(0);
    QTest::newRow("only spaces") << QByteArray(128, ' ') << QString();
}

void TestRecords::fieldTextTrimsOnlySpaces()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, shown);
    QCOMPARE(fieldText(field), shown);
}

void TestRecords::headerFillerSurvivesDecodeAndEncode()
{
    // Record 1 of each file: the count, then bytes that mean nothing and must come back unchanged.
    QByteArray familyHeader = QByteArray("\x10\x00", 2) + randomBytes(128, 1);
    FamilyRecord fh = FamilyRecord::decode(familyHeader.constData());
    QCOMPARE(fh.state, qint16(16));
    QCOMPARE(encoded(fh), familyHeader);
    ++fh.state;
    familyHeader[0] = '\x11';
    QCOMPARE(encoded(fh), familyHeader);

    QByteArray recipeHeader = QByteArray("\x2C\x01", 2) + randomBytes(148, 2);
    RecipeRecord rh = RecipeRecord::decode(recipeHeader.constData());
    QCOMPARE(rh.state, qint16(300));
    QCOMPARE(encoded(rh), recipeHeader);
    rh.state = 299;
    recipeHeader[0] = '\x2B';
    QCOMPARE(encoded(rh), recipeHeader);
}

// The texts of a new book, all together, must end within the 32-bit positions of its records.
void TestRecords::bookPastTheLargestPositionIsRefused()
{
    BookBuilder b;
    b.addStoredRecipe(2, QStringLiteral("Un"), QByteArray(6, 'x'), "/a.gif");
    b.addStoredRecipe(2, QStringLiteral("Deux"), QByteArray(5, 'y'), "/b.gif");
    QVERIFY(b.streamsFit(12) && !b.streamsFit(10));
}

QTEST_APPLESS_MAIN(TestRecords)
#include "tst_records.moc"
