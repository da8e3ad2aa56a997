// The benchmarks' books: valid for start-up, shaped as announced, the same bytes every time.
#include "maxbook.h"
#include "store/cp1252.h"
#include "store/module1.h"
#include "testbook.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <map>

using namespace gratinel;
using namespace gratinel::bench;

namespace {

struct Shape {
    int families = 0;
    int recipes = 0;
    std::map<qint32, int> perFamily;
    int shortest = 1 << 30;
    int longest = 0;
    qint64 textBytes = 0;
    bool linesWhole = true;
};

// Opens the book as start-up does and walks every record through the store.
bool shapeOf(const QString &dir, Shape &shape)
{
    testbook::OpenedBook book(dir);
    Module1 &m = book.m;
    if (!book.started)
        return false;
    qint32 lastFamily = 0, lastRecipe = 0;
    if (!m.familyFile.lastRecord(lastFamily).isOk() || !m.recipeFile.lastRecord(lastRecipe).isOk())
        return false;
    m.familyFile.scan(2, lastFamily, [&](qint32, const FamilyRecord &r) {
        shape.families += r.state == kInUse;
        return true;
    });
    bool ok = true;
    m.recipeFile.scan(2, lastRecipe, [&](qint32, const RecipeRecord &r) {
        if (r.state != kInUse)
            return true;
        ++shape.recipes;
        ++shape.perFamily[r.familyRecord];
        QByteArray text;
        if (r.textPos > 0)
            ok = ok && m.textFile.read(r.textPos, r.textLen, text).isOk();
        shape.shortest = std::min(shape.shortest, r.textLen);
        shape.longest = std::max(shape.longest, r.textLen);
        shape.textBytes += r.textLen;
        shape.linesWhole = shape.linesWhole && !text.startsWith('\n') && !text.endsWith('\r') &&
                           text.count("\r\n") == text.count('\n');
        return ok;
    });
    return ok && m.familyCount() == shape.families && m.recipeCount() == shape.recipes;
}

} // namespace

class TestMaxBook : public QObject {
    Q_OBJECT

private slots:
    void maximalBookHasTheAnnouncedShape()
    {
        QTemporaryDir dir;
        MaxBookInfo info;
        QVERIFY(writeMaxBook(dir.path(), {}, &info).isOk());
        Shape shape;
        QVERIFY(shapeOf(dir.path(), shape));
        QCOMPARE(shape.families, 1000);
        QCOMPARE(shape.recipes, 32767);
        QCOMPARE(int(shape.perFamily.size()), 1000);
        QCOMPARE(shape.perFamily[info.bigFamilyRecord], 5000);
        // Past the protected records, so that the delete page accepts it.
        QVERIFY(info.bigFamilyRecord > 17);
        for (const auto &[family, count] : shape.perFamily) {
            if (family != info.bigFamilyRecord)
                QVERIFY2(count == 27 || count == 28, qPrintable(QString::number(count)));
        }
        QVERIFY(shape.linesWhole);
        QVERIFY(shape.shortest >= 500 && shape.longest <= 2500);
        QVERIFY(qAbs(shape.textBytes / shape.recipes - 1500) < 30);
        QCOMPARE(info.textFileBytes, shape.textBytes);

        const QByteArray texts = testbook::readFile(QDir(dir.path()).filePath(QStringLiteral("GRTN3.DAT")));
        const QString sample = cp1252::decode(texts.left(20000));
        for (const QString &accented : {QStringLiteral("é"), QStringLiteral("œ"), QStringLiteral("°"),
                                        QStringLiteral("’"), QStringLiteral("«")})
            QVERIFY2(sample.contains(accented), qPrintable(accented));
        const QByteArray titles = testbook::readFile(QDir(dir.path()).filePath(QStringLiteral("GRTN2.DAT")));
        const QByteArray families = testbook::readFile(QDir(dir.path()).filePath(QStringLiteral("GRTN1.DAT")));
        for (const QByteArray &bytes : {texts, titles, families})
            QVERIFY(!bytes.toLower().contains(kAbsentWord));
    }

    void sameSpecGivesSameBytes_hugeTextsAllOneLength()
    {
        QTemporaryDir a, b;
        QVERIFY(writeHugeBook(a.path(), 40).isOk());
        QVERIFY(writeHugeBook(b.path(), 40).isOk());
        for (const char *name : {"GRTN1.DAT", "GRTN2.DAT", "GRTN3.DAT", "GRTN4.DAT"}) {
            const QString file = QLatin1String(name);
            QCOMPARE(testbook::readFile(QDir(a.path()).filePath(file)),
                     testbook::readFile(QDir(b.path()).filePath(file)));
        }
        Shape shape;
        QVERIFY(shapeOf(a.path(), shape));
        QCOMPARE(shape.recipes, 32767);
        QCOMPARE(shape.shortest, 40);
        QCOMPARE(shape.longest, 40);
        QVERIFY(shape.linesWhole);
    }

    void refusesWhatTheHeadersCannotCount()
    {
        QTemporaryDir dir;
        MaxBookShape shape;
        shape.recipes = 32768;
        QVERIFY(!writeMaxBook(dir.path(), shape).isOk());
        QVERIFY(!QFileInfo::exists(QDir(dir.path()).filePath(QStringLiteral("GRTN2.DAT"))));
    }

    void starterBookStarts()
    {
        QTemporaryDir dir;
        QString error;
        QVERIFY2(makeStarterBook(dir.path(), &error), qPrintable(error));
        Shape shape;
        QVERIFY(shapeOf(dir.path(), shape));
        QVERIFY(shape.recipes >= kMinRecipes);
    }
};

QTEST_MAIN(TestMaxBook)
#include "tst_maxbook.moc"
