// The book tool's create run as a program: the bytes of the book it writes, the sources it refuses,
// the book it never overwrites, and the starter book the program ships with.
#include "testpaths.h"
#include "store/module1.h"
#include "smalldisk.h"
#include "testbook.h"
#include "toolrun.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace gratinel;
using testbook::int16At;
using testbook::int32At;
using testbook::readFile;

namespace {

const QStringList kDataFiles = {QStringLiteral("GRTN1.DAT"), QStringLiteral("GRTN2.DAT"),
                                QStringLiteral("GRTN3.DAT"), QStringLiteral("GRTN4.DAT")};

ToolRun createBook(const QString &source, const QString &dir)
{
    return runTool(testpaths::bookTool(), {QStringLiteral("create"), dir, source});
}

// A source with the given numbers of families and recipes: the families "Famille 01".. (or from
// firstFamily on), all recipes "Recette 001".. in the last family.
QString plainSource(int families, int recipes, int firstFamily = 1)
{
    QString s;
    for (int f = firstFamily; f < firstFamily + families; ++f)
        s += QStringLiteral("@@ Famille %1\n").arg(f, 2, 10, QLatin1Char('0'));
    for (int r = 1; r <= recipes; ++r)
        s += QStringLiteral("## Recette %1\nTexte %1\n").arg(r, 3, 10, QLatin1Char('0'));
    return s;
}

// Four recipes whose bytes the tests check, then enough families and recipes to be accepted.
QString detailedSource()
{
    return QStringLiteral("@@ Entrées\n"
                          "## Crème brûlée\n"
                          "\n"
                          "\n"
                          "Mélangez.\n"
                          "\n"
                          "Cuire 1 h.\n"
                          "   \n"
                          "## Sans texte\n"
                          "## Œufs mimosa\n"
                          "  Écalez les œufs.\n"
                          "@@ Plats\n"
                          "##   Bœuf — mode  \n"
                          "Texte\n")
           + plainSource(14, 296, 3);
}

QByteArray fixed(const QByteArray &text)
{
    return text.leftJustified(128, ' ', true);
}

} // namespace

class TestBookCreate : public QObject {
    Q_OBJECT

private slots:
    void init();

    void writesTheBookBytes_data();
    void writesTheBookBytes();
    void refusesASource_data();
    void refusesASource();
    void keepsAnExistingBook_data();
    void keepsAnExistingBook();
    void starterBookIsAcceptedAtStartup();
    void failedCreateLeavesNoHalfMadeBook();

private:
    QString writeSource(const QByteArray &bytes);

    std::unique_ptr<QTemporaryDir> tmp_;
};

void TestBookCreate::init()
{
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
}

QString TestBookCreate::writeSource(const QByteArray &bytes)
{
    const QString path = tmp_->filePath(QStringLiteral("source.txt"));
    if (!testbook::writeFile(path, bytes))
        qFatal("cannot write the source");
    return path;
}

void TestBookCreate::writesTheBookBytes_data()
{
    QTest::addColumn<QByteArray>("source");
    const QByteArray utf8 = detailedSource().toUtf8();
    QTest::newRow("LF lines") << utf8;
    QTest::newRow("CRLF lines") << QByteArray(utf8).replace("\n", "\r\n");
    QTest::newRow("UTF-8 byte order mark") << QByteArray("\xEF\xBB\xBF") + utf8;
}

void TestBookCreate::writesTheBookBytes()
{
    QFETCH(QByteArray, source);
    // A folder that does not exist yet is made.
    const QString dir = tmp_->filePath(QStringLiteral("livre/neuf"));
    const ToolRun run = createBook(writeSource(source), dir);
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));

    const QByteArray families = readFile(QDir(dir).filePath(QStringLiteral("GRTN1.DAT")));
    QCOMPARE(families.size(), 17 * 130);
    QCOMPARE(int16At(families, 0), qint16(16));
    QCOMPARE(families.mid(130, 130), QByteArray("\xFF\xFF") + fixed("Entr\xE9" "es"));
    QCOMPARE(families.mid(260, 130), QByteArray("\xFF\xFF") + fixed("Plats"));
    QCOMPARE(families.mid(16 * 130), QByteArray("\xFF\xFF") + fixed("Famille 16"));

    const QByteArray recipes = readFile(QDir(dir).filePath(QStringLiteral("GRTN2.DAT")));
    QCOMPARE(recipes.size(), 301 * 150);
    QCOMPARE(int16At(recipes, 0), qint16(300));
    const QByteArray text1 = "M\xE9lang" "ez.\r\n\r\nCuire 1 h.";
    const QByteArray text3 = "  \xC9" "calez les \x9C" "ufs.";
    struct Expected {
        qint32 family;
        QByteArray title;
        qint32 textPos;
        qint32 textLen;
    };
    const Expected expected[] = {
        {2, "Cr\xE8me br\xFBl\xE9" "e", 1, qint32(text1.size())},
        {2, "Sans texte", 0, 0},
        {2, "\x8C" "ufs mimosa", qint32(text1.size()) + 1, qint32(text3.size())},
        {3, "B\x9C" "uf \x97 mode", qint32(text1.size() + text3.size()) + 1, 5},
    };
    for (int i = 0; i < 4; ++i) {
        const qint64 at = (i + 1) * 150;
        QCOMPARE(int16At(recipes, at), qint16(-1));
        QCOMPARE(int32At(recipes, at + 2), expected[i].family);
        QCOMPARE(recipes.mid(at + 6, 128), fixed(expected[i].title));
        QCOMPARE(int32At(recipes, at + 134), expected[i].textPos);
        QCOMPARE(int32At(recipes, at + 138), expected[i].textLen);
        QCOMPARE(int32At(recipes, at + 142), 0);
        QCOMPARE(int32At(recipes, at + 146), 0);
    }
    // The last recipe, in the last family.
    QCOMPARE(int32At(recipes, 300 * 150 + 2), 17);
    QCOMPARE(recipes.mid(300 * 150 + 6, 11), QByteArray("Recette 296"));

    const QByteArray texts = readFile(QDir(dir).filePath(QStringLiteral("GRTN3.DAT")));
    QVERIFY(texts.startsWith(text1 + text3 + "Texte" + "Texte 001" + "Texte 002"));
    QVERIFY(texts.endsWith("Texte 296"));
    QVERIFY(!texts.contains("\r\r"));
    QCOMPARE(readFile(QDir(dir).filePath(QStringLiteral("GRTN4.DAT"))), QByteArray());
}

void TestBookCreate::refusesASource_data()
{
    QTest::addColumn<QString>("source");
    QTest::newRow("15 families") << plainSource(15, 300);
    QTest::newRow("299 recipes") << plainSource(16, 299);
    QTest::newRow("a macron in a text") << plainSource(16, 300) + QStringLiteral("Sirop d’érable ā\n");
    QTest::newRow("emoji in a title") << plainSource(16, 300) + QStringLiteral("## Gâteau \U0001F382\n");
    QTest::newRow("emoji in a family") << QStringLiteral("@@ Desserts \U0001F370\n") + plainSource(16, 300);
    QTest::newRow("recipe before any family") << QStringLiteral("## Orpheline\n") + plainSource(16, 300);
    QTest::newRow("text before any recipe") << QStringLiteral("@@ Divers\nTexte perdu\n") + plainSource(16, 300);
    QTest::newRow("family without a name") << QStringLiteral("@@  \n") + plainSource(16, 300);
    QTest::newRow("title over 128 characters") << plainSource(16, 300) + QStringLiteral("## ") + QString(129, u'x') + QStringLiteral("\n");
    // A count is a signed 16-bit number: these many recipes cannot be counted in the header.
    QTest::newRow("32768 recipes") << plainSource(16, 32768);
    QTest::newRow("65836 recipes") << plainSource(16, 65836);
}

void TestBookCreate::refusesASource()
{
    QFETCH(QString, source);
    const QString dir = tmp_->filePath(QStringLiteral("livre"));
    const ToolRun run = createBook(writeSource(source.toUtf8()), dir);
    QCOMPARE(run.exitCode, 1);
    QVERIFY(!run.err.isEmpty());
    for (const QString &name : kDataFiles)
        QVERIFY2(!QFile::exists(QDir(dir).filePath(name)), qPrintable(name));
}

void TestBookCreate::keepsAnExistingBook_data()
{
    QTest::addColumn<QString>("existing");
    for (const QString &name : kDataFiles)
        QTest::newRow(qPrintable(name)) << name;
}

void TestBookCreate::keepsAnExistingBook()
{
    QFETCH(QString, existing);
    const QByteArray old("\x10\x00 ancien livre \xFF", 16);
    const QString path = tmp_->filePath(existing);
    QVERIFY(testbook::writeFile(path, old));

    const ToolRun run = createBook(writeSource(plainSource(16, 300).toUtf8()), tmp_->path());
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.err.contains(existing));
    QCOMPARE(readFile(path), old);
    for (const QString &name : kDataFiles) {
        if (name != existing)
            QVERIFY2(!QFile::exists(tmp_->filePath(name)), qPrintable(name));
    }
}

void TestBookCreate::starterBookIsAcceptedAtStartup()
{
    const QByteArray source = readFile(testpaths::starterSource());
    const int recipes = int(source.count("\n## ") + (source.startsWith("## ") ? 1 : 0));
    const int families = int(source.count("\n@@ ") + (source.startsWith("@@ ") ? 1 : 0));
    // The book given with the program is one start-up accepts as it is.
    QVERIFY(recipes >= kMinRecipes);
    QVERIFY(families >= kMinFamilies);

    const ToolRun run = createBook(testpaths::starterSource(), tmp_->path());
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));

    testbook::OpenedBook book(tmp_->path());
    Module1 &m = book.m;
    QVERIFY(book.started);
    QCOMPARE(book.platform.messageTexts(), QStringList());
    QCOMPARE(int(m.familyCount()), families);
    QCOMPARE(int(m.recipeCount()), recipes);

    // Every recipe belongs to a family of the book; its text, if any, lies inside GRTN3.DAT.
    qint32 last = 0;
    QVERIFY(m.recipeFile.lastRecord(last).isOk());
    QCOMPARE(last, recipes + 1);
    qint64 textBytes = 0;
    QVERIFY(m.textFile.length(textBytes).isOk());
    int checked = 0;
    QVERIFY(m.recipeFile
                .scan(2, last,
                      [&](qint32, const RecipeRecord &r) {
                          const bool noText = r.textPos == 0 && r.textLen == 0;
                          const bool textInside = r.textPos >= 1 && r.textLen > 0
                                                  && qint64(r.textPos) - 1 + r.textLen <= textBytes;
                          if (r.state == kInUse && r.familyRecord >= 2 && r.familyRecord <= families + 1
                              && (noText || textInside) && r.imagePos == 0 && r.imageLen == 0
                              && !r.titleText().isEmpty())
                              ++checked;
                          return true;
                      })
                .isOk());
    QCOMPARE(checked, recipes);
}

// The disk fills up while the book is written: no file of it stays, so that the folder is free
// for the next try and never holds a book the program would refuse.
void TestBookCreate::failedCreateLeavesNoHalfMadeBook()
{
    const QString book = tmp_->filePath(QStringLiteral("livre"));
    QVERIFY(QDir().mkdir(book));
    const SmallDisk disk(book, 96);
    if (!disk.mounted())
        QSKIP(qPrintable(disk.why()));
    QString source;
    for (int f = 1; f <= 16; ++f) {
        source += QStringLiteral("@@ Famille %1\n").arg(f);
        for (int r = 1; r <= 20; ++r)
            source += QStringLiteral("## Recette %1\n").arg(r) + QString(400, u'a') + u'\n';
    }
    // GRTN1.DAT and GRTN2.DAT fit, the 128 000 bytes of GRTN3.DAT do not.
    const ToolRun run = createBook(writeSource(source.toUtf8()), book);
    QCOMPARE(run.exitCode, 1);
    for (const QString &name : kDataFiles)
        QVERIFY2(!QFile::exists(QDir(book).filePath(name)), qPrintable(name));
}

QTEST_MAIN(TestBookCreate)
#include "tst_bookcreate.moc"
