// A recipe whose text or image range lies outside its file: the book still starts and shows
// what the file holds, nothing is written, and a later change never writes over other texts.
#include "bookfixture.h"
#include "book/frmrecettes.h"
#include "mainwin/frmmain.h"
#include "store/bookedits.h"
#include "store/module1.h"
#include "testbook.h"

#include <QPlainTextEdit>
#include <QtTest>

using namespace gratinel;
using testbook::le32;

namespace {

// The first recipe shown is record 2, "Recette 001", text "Texte 1" at position 1.
constexpr int kTextPos = 150 + 134;
constexpr int kTextLen = 150 + 138;
constexpr int kImagePos = 150 + 142;
constexpr int kImageLen = 150 + 146;

BookBuilder bookWithImages()
{
    BookBuilder b = testbook::minimal();
    // GRTN4.DAT holds this one path, so that the image ranges of record 2 have a file to leave.
    b.addRecipe(3, QStringLiteral("Avec image"), {}, QStringLiteral("/nulle/part.jpg"));
    return b;
}

} // namespace

class TestDamagedRange : public QObject {
    Q_OBJECT

private slots:
    void firstRecipeWithADamagedRangeStartsAndShows_data();
    void firstRecipeWithADamagedRangeStartsAndShows();
    void changingARecipeWithADamagedLengthAppends();
};

void TestDamagedRange::firstRecipeWithADamagedRangeStartsAndShows_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<qint32>("value");
    QTest::addColumn<QString>("shown");
    // GRTN3.DAT starts "Texte 1Texte 2...".
    QTest::newRow("text running past the end") << kTextLen << qint32(1 << 30) << QString();
    QTest::newRow("text starting past the end") << kTextPos << qint32(5'000'000) << QString();
    QTest::newRow("negative text length") << kTextLen << qint32(-7) << QString();
    QTest::newRow("image starting past the end") << kImagePos << qint32(9999) << QStringLiteral("Texte 1");
    QTest::newRow("image running past the end") << kImageLen << qint32(1 << 20) << QStringLiteral("Texte 1");
    QTest::newRow("negative image position") << kImagePos << qint32(-3) << QStringLiteral("Texte 1");
}

void TestDamagedRange::firstRecipeWithADamagedRangeStartsAndShows()
{
    QFETCH(int, offset);
    QFETCH(qint32, value);
    QFETCH(QString, shown);
    BookFixture f;
    QVERIFY(f.write(bookWithImages()));
    if (offset == kImagePos || offset == kImageLen) {
        QVERIFY(testbook::patchFile(f.path(QStringLiteral("GRTN2.DAT")), kImagePos, le32(1)));
        QVERIFY(testbook::patchFile(f.path(QStringLiteral("GRTN2.DAT")), kImageLen, le32(15)));
    }
    QVERIFY(testbook::patchFile(f.path(QStringLiteral("GRTN2.DAT")), offset, le32(value)));
    const QByteArray recipesBefore = f.bytes(QStringLiteral("GRTN2.DAT"));
    const QByteArray textsBefore = f.bytes(QStringLiteral("GRTN3.DAT"));

    QVERIFY(f.start());
    QCOMPARE(f.platform().messageTexts(), QStringList());
    if (shown.isNull() && value == (1 << 30)) {
        // Read as far as the file goes: from "Texte 1" to the end, cut to what a text box shows.
        QVERIFY(f.book()->txtRecette->toPlainText().startsWith(QStringLiteral("Texte 1Texte 2")));
        QVERIFY(f.book()->txtRecette->toPlainText().endsWith(QStringLiteral("Texte 300")));
    } else {
        QCOMPARE(f.book()->txtRecette->toPlainText(), shown.isNull() ? QString() : shown);
    }
    QCOMPARE(f.book()->imagePath(), QString());
    QCOMPARE(f.bytes(QStringLiteral("GRTN2.DAT")), recipesBefore);
    QCOMPARE(f.bytes(QStringLiteral("GRTN3.DAT")), textsBefore);
}

void TestDamagedRange::changingARecipeWithADamagedLengthAppends()
{
    BookFixture f;
    QVERIFY(f.write(testbook::minimal()));
    // Record 2 claims far more bytes than "Texte 1": writing over it would run into "Texte 2".
    QVERIFY(testbook::patchFile(f.path(QStringLiteral("GRTN2.DAT")), kTextLen, le32(1 << 30)));
    const QByteArray textsBefore = f.bytes(QStringLiteral("GRTN3.DAT"));
    QVERIFY(f.start());

    QVERIFY(bookedits::changeRecipe(f.m(), 2, 2, QStringLiteral("Recette 001"), QStringLiteral("Nouveau texte"), QString())
                .isOk());
    const QByteArray texts = f.bytes(QStringLiteral("GRTN3.DAT"));
    QCOMPARE(texts, textsBefore + "Nouveau texte");
    QCOMPARE(f.recipeFieldOnDisk(2, 134), qint32(textsBefore.size()) + 1);
    QCOMPARE(f.recipeFieldOnDisk(2, 138), qint32(13));
}

QTEST_MAIN(TestDamagedRange)
#include "tst_damagedrange.moc"
