// Start-up of the program on a book in a temporary folder: every refusal with its exact message,
// the accepted limits, the missing-file check and the fatal-error exit.
#include "fakeplatform.h"
#include "platform/apptitle.h"
#include "store/module1.h"
#include "testbook.h"

#include <QDir>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

#include <map>

using namespace gratinel;
using Icon = Platform::Icon;
using testbook::le16;
using testbook::readFile;

namespace {

const QStringList kDataFiles = {QStringLiteral("GRTN1.DAT"), QStringLiteral("GRTN2.DAT"),
                                QStringLiteral("GRTN3.DAT"), QStringLiteral("GRTN4.DAT")};

QString missingMessage(const QString &path)
{
    return QStringLiteral("Fichier ") + path + QStringLiteral("\r\nnon trouvé ou erreur disque.");
}

QString incompatibleMessage(const QString &path)
{
    return QStringLiteral("Fichier\r\n") + path + QStringLiteral("\r\nnon trouvé ou incompatible ou erreur disque.");
}

// The calls of a start-up refused with a critical message after the checks began.
const QStringList kCriticalEnd = {QStringLiteral("pointer:hourglass"), QStringLiteral("instanceTest"),
                                  QStringLiteral("pointer:normal"),    QStringLiteral("beep"),
                                  QStringLiteral("msgBox"),            QStringLiteral("end")};

// A program folder holding a book, and one start of the program from it.
struct Start {
    explicit Start(BookBuilder book = testbook::minimal(), const QString &subFolder = {})
    {
        folder = subFolder.isEmpty() ? tmp.path() : tmp.filePath(subFolder);
        QDir().mkpath(folder);
        if (!book.writeTo(folder).isOk())
            qFatal("cannot write the test book");
        platform.exeDir = folder;
    }

    QString path(const QString &name) const { return QDir(folder).filePath(name); }

    std::map<QString, QByteArray> files() const
    {
        std::map<QString, QByteArray> out;
        for (const QString &name : kDataFiles)
            out[name] = readFile(path(name));
        return out;
    }

    bool run()
    {
        return m.Main([this](Module1 &module) -> QWidget * {
            ++windowsMade;
            madeFor = &module;
            return &window;
        });
    }

    QTemporaryDir tmp;
    QString folder;
    FakePlatform platform;
    Module1 m{platform, platform};
    QWidget window;
    int windowsMade = 0;
    Module1 *madeFor = nullptr;
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void acceptsABookAtTheLimits_data();
    void acceptsABookAtTheLimits();
    void refusedBeforeAnyFileIsLookedAt_data();
    void refusedBeforeAnyFileIsLookedAt();
    void missingDataFileIsNamedOnce_data();
    void missingDataFileIsNamedOnce();
    void incompatibleDataFileIsNamed_data();
    void incompatibleDataFileIsNamed();
    void mainWindowThatEndsTheProgramFailsTheStart();

    void checkDataFile_data();
    void checkDataFile();
    void fatalErrorIsShownOnceAndEndsTheProgram();
};

void TestStartup::acceptsABookAtTheLimits_data()
{
    QTest::addColumn<qint16>("familyCount");
    QTest::addColumn<qint16>("recipeCount");
    QTest::addColumn<QString>("subFolder");
    QTest::newRow("16 families, 300 recipes") << qint16(16) << qint16(300) << QString();
    QTest::newRow("counts above the limits") << qint16(17) << qint16(32767) << QString();
    // On this system file names are case-sensitive: the folder must keep its case.
    QTest::newRow("mixed-case folder with a space") << qint16(16) << qint16(300) << QStringLiteral("Mes Recettes");
}

void TestStartup::acceptsABookAtTheLimits()
{
    QFETCH(qint16, familyCount);
    QFETCH(qint16, recipeCount);
    QFETCH(QString, subFolder);
    BookBuilder book = testbook::minimal();
    book.setFamilyCount(familyCount);
    book.setRecipeCount(recipeCount);
    const QByteArray familyFiller("\x00\xFF filler\x7F", 10);
    const QByteArray recipeFiller("\xFF\x00 autre", 8);
    book.setHeaderFiller(familyFiller, recipeFiller);
    Start start(book, subFolder);
    const auto before = start.files();

    QVERIFY(start.run());
    QCOMPARE(start.windowsMade, 1);
    QCOMPARE(start.madeFor, &start.m);
    QCOMPARE(start.m.mainWindow, &start.window);
    QCOMPARE(start.platform.messageTexts(), QStringList());
    // The hourglass is set first and stays on for the recipe window to reset.
    QCOMPARE(start.platform.calls, QStringList({QStringLiteral("pointer:hourglass"), QStringLiteral("instanceTest")}));
    QVERIFY(!start.platform.ended);

    const QString programDir = start.folder + u'/';
    QCOMPARE(start.m.programDir, programDir);
    QCOMPARE(start.m.helpFile, programDir + QStringLiteral("grt.hlp"));
    QCOMPARE(start.m.crlf, QStringLiteral("\r\n"));
    QCOMPARE(start.m.familyCount(), familyCount);
    QCOMPARE(start.m.recipeCount(), recipeCount);
    QCOMPARE(start.m.familyHeader.name, familyFiller.leftJustified(128, ' '));
    QCOMPARE(start.m.fatalError, qint16(0));
    QCOMPARE(start.m.pageCode, qint16(0));

    // The four files are open on the book, and nothing was written to them.
    QVERIFY(start.m.familyFile.file().isOpen());
    QVERIFY(start.m.recipeFile.file().isOpen());
    QVERIFY(start.m.textFile.file().isOpen());
    QVERIFY(start.m.imageFile.file().isOpen());
    QCOMPARE(start.m.recipeFile.file().path(), programDir + QStringLiteral("GRTN2.DAT"));
    RecipeRecord r;
    QVERIFY(start.m.recipeFile.read(301, r).isOk());
    QCOMPARE(r.titleText(), QStringLiteral("Recette 300"));
    QCOMPARE(start.files(), before);

    // The headers rewritten from memory keep their filler bytes.
    QVERIFY(start.m.rewriteRecipeHeader().isOk());
    QCOMPARE(start.files(), before);
}

void TestStartup::refusedBeforeAnyFileIsLookedAt_data()
{
    QTest::addColumn<bool>("otherInstance");
    QTest::addColumn<QString>("exeDir");
    QTest::addColumn<QString>("message");
    QTest::newRow("second instance") << true << QString() << QStringLiteral("Cette application est déjà en cours");
    QTest::newRow("second instance from a floppy")
        << true << QStringLiteral("a:\\recettes") << QStringLiteral("Cette application est déjà en cours");
    const QString floppy = appTitle() + QStringLiteral(" ne fonctionne pas à partir d'une disquette.");
    QTest::newRow("floppy a, lower case") << false << QStringLiteral("a:\\recettes") << floppy;
    QTest::newRow("floppy B root") << false << QStringLiteral("B:\\") << floppy;
}

void TestStartup::refusedBeforeAnyFileIsLookedAt()
{
    QFETCH(bool, otherInstance);
    QFETCH(QString, exeDir);
    QFETCH(QString, message);
    Start start;
    start.platform.otherInstance = otherInstance;
    if (!exeDir.isEmpty())
        start.platform.exeDir = exeDir;
    const auto before = start.files();

    QVERIFY(!start.run());
    QCOMPARE(start.windowsMade, 0);
    QCOMPARE(start.platform.messageTexts(), QStringList{message});
    QCOMPARE(start.platform.messages[0].icon, Icon::Information);
    QCOMPARE(start.platform.messages[0].buttons, Platform::Buttons::Ok);
    // No beep for these two, and nothing after the end.
    QCOMPARE(start.platform.calls,
             QStringList({QStringLiteral("pointer:hourglass"), QStringLiteral("instanceTest"),
                          QStringLiteral("pointer:normal"), QStringLiteral("msgBox"), QStringLiteral("end")}));
    QVERIFY(!start.m.familyFile.file().isOpen());
    QVERIFY(!start.m.textFile.file().isOpen());
    QCOMPARE(start.files(), before);
}

void TestStartup::missingDataFileIsNamedOnce_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("directory");
    QTest::addColumn<int>("filesOpened");
    for (int i = 0; i < kDataFiles.size(); ++i) {
        const QString name = kDataFiles[i];
        QTest::addRow("%s missing", qPrintable(name)) << name << false << i;
        QTest::addRow("%s is a folder", qPrintable(name)) << name << true << i;
    }
}

void TestStartup::missingDataFileIsNamedOnce()
{
    QFETCH(QString, name);
    QFETCH(bool, directory);
    QFETCH(int, filesOpened);
    Start start;
    QVERIFY(QFile::remove(start.path(name)));
    if (directory)
        QVERIFY(QDir(start.folder).mkdir(name));

    QVERIFY(!start.run());
    QCOMPARE(start.windowsMade, 0);
    QCOMPARE(start.platform.messageTexts(), QStringList{missingMessage(start.folder + u'/' + name)});
    QCOMPARE(start.platform.messages[0].icon, Icon::Critical);
    QCOMPARE(start.platform.calls, kCriticalEnd);

    // Files before the missing one were opened and validated; none after it was looked at.
    const bool open[] = {start.m.familyFile.file().isOpen(), start.m.recipeFile.file().isOpen(),
                         start.m.textFile.file().isOpen(), start.m.imageFile.file().isOpen()};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(open[i], i < filesOpened);
}

void TestStartup::incompatibleDataFileIsNamed_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<qint64>("resizeTo");   // -1: length kept
    QTest::addColumn<QByteArray>("header"); // bytes written at offset 0; empty: none
    QTest::addColumn<QString>("alsoRemoved");
    QTest::addColumn<QString>("named");

    const QString f1 = QStringLiteral("GRTN1.DAT");
    const QString f2 = QStringLiteral("GRTN2.DAT");
    const qint64 family = 17 * 130;
    const qint64 recipe = 301 * 150;
    QTest::newRow("15 families") << f1 << qint64(-1) << le16(15) << QString() << f1;
    // The second file is not even looked at once the first is refused.
    QTest::newRow("15 families, recipe file missing") << f1 << qint64(-1) << le16(15) << f2 << f1;
    QTest::newRow("no family") << f1 << qint64(-1) << le16(0) << QString() << f1;
    QTest::newRow("family count FF FF") << f1 << qint64(-1) << QByteArray("\xFF\xFF") << QString() << f1;
    QTest::newRow("family count 0x8010 is negative") << f1 << qint64(-1) << QByteArray("\x10\x80") << QString()
                                                     << f1;
    QTest::newRow("family file one byte long") << f1 << family + 1 << QByteArray() << QString() << f1;
    QTest::newRow("family file one byte short") << f1 << family - 1 << QByteArray() << QString() << f1;
    QTest::newRow("family file of 10 bytes") << f1 << qint64(10) << QByteArray() << QString() << f1;
    QTest::newRow("family file empty") << f1 << qint64(0) << QByteArray() << QString() << f1;
    QTest::newRow("299 recipes") << f2 << qint64(-1) << le16(299) << QString() << f2;
    QTest::newRow("299 recipes, text file missing") << f2 << qint64(-1) << le16(299) << QStringLiteral("GRTN3.DAT")
                                                    << f2;
    QTest::newRow("recipe count -300") << f2 << qint64(-1) << le16(-300) << QString() << f2;
    QTest::newRow("recipe file cut by one byte") << f2 << recipe - 1 << QByteArray() << QString() << f2;
    QTest::newRow("recipe file of family records") << f2 << qint64(130 * 400) << QByteArray() << QString() << f2;
    QTest::newRow("recipe file empty") << f2 << qint64(0) << QByteArray() << QString() << f2;
}

void TestStartup::incompatibleDataFileIsNamed()
{
    QFETCH(QString, file);
    QFETCH(qint64, resizeTo);
    QFETCH(QByteArray, header);
    QFETCH(QString, alsoRemoved);
    QFETCH(QString, named);
    Start start;
    if (resizeTo >= 0)
        QVERIFY(QFile::resize(start.path(file), resizeTo));
    if (!header.isEmpty())
        QVERIFY(testbook::patchFile(start.path(file), 0, header));
    if (!alsoRemoved.isEmpty())
        QVERIFY(QFile::remove(start.path(alsoRemoved)));
    const auto before = start.files();

    QVERIFY(!start.run());
    QCOMPARE(start.windowsMade, 0);
    QCOMPARE(start.platform.messageTexts(), QStringList{incompatibleMessage(start.folder + u'/' + named)});
    QCOMPARE(start.platform.messages[0].icon, Icon::Critical);
    QCOMPARE(start.platform.calls, kCriticalEnd);
    QVERIFY(!start.m.textFile.file().isOpen());
    if (named == kDataFiles[0])
        QVERIFY(!start.m.recipeFile.file().isOpen());
    QCOMPARE(start.files(), before);
}

void TestStartup::mainWindowThatEndsTheProgramFailsTheStart()
{
    Start start;
    const bool started = start.m.Main([](Module1 &m) -> QWidget * {
        m.fatalError = -1;
        m.ShowFatalError();
        return nullptr;
    });
    QVERIFY(!started);
    QCOMPARE(start.platform.messageTexts(), QStringList{QStringLiteral("Erreur fatale. Impossibilité de continuer.")});
    QCOMPARE(start.platform.count(QStringLiteral("end")), 1);
}

void TestStartup::checkDataFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("found");
    QTest::newRow("present") << QStringLiteral("GRTN3.DAT") << true;
    QTest::newRow("another ordinary file") << QStringLiteral("notes.txt") << true;
    QTest::newRow("missing") << QStringLiteral("GRTN9.DAT") << false;
    QTest::newRow("other case") << QStringLiteral("grtn3.dat") << false;
    QTest::newRow("folder") << QStringLiteral("images") << false;
    QTest::newRow("empty name") << QString() << false;
}

void TestStartup::checkDataFile()
{
    QFETCH(QString, name);
    QFETCH(bool, found);
    Start start;
    QVERIFY(testbook::writeFile(start.path(QStringLiteral("notes.txt")), "x"));
    QVERIFY(QDir(start.folder).mkdir(QStringLiteral("images")));
    QVERIFY(start.run());
    start.platform.calls.clear();

    QCOMPARE(start.m.CheckDataFile(name), found);
    if (found) {
        QCOMPARE(start.platform.calls, QStringList());
        return;
    }
    QCOMPARE(start.platform.messageTexts(), QStringList{missingMessage(start.m.programDir + name)});
    QCOMPARE(start.platform.messages[0].icon, Icon::Critical);
    // The caller decides what follows: the program is not ended here.
    QCOMPARE(start.platform.calls,
             QStringList({QStringLiteral("pointer:normal"), QStringLiteral("beep"), QStringLiteral("msgBox")}));
    QVERIFY(!start.platform.ended);
    // Asked again, it answers again.
    QVERIFY(!start.m.CheckDataFile(name));
    QCOMPARE(start.platform.messages.size(), size_t(2));
}

void TestStartup::fatalErrorIsShownOnceAndEndsTheProgram()
{
    Start start;
    QVERIFY(start.run());
    start.platform.calls.clear();
    start.m.fatalError = -1;

    start.m.ShowFatalError();
    QCOMPARE(start.platform.messageTexts(), QStringList{QStringLiteral("Erreur fatale. Impossibilité de continuer.")});
    QCOMPARE(start.platform.messages[0].icon, Icon::Critical);
    QCOMPARE(start.platform.calls, QStringList({QStringLiteral("pointer:normal"), QStringLiteral("beep"),
                                                QStringLiteral("msgBox"), QStringLiteral("end")}));

    // An outer handler that finds the flag after the program ended shows nothing more.
    start.m.ShowFatalError();
    QCOMPARE(start.platform.messages.size(), size_t(1));
    QCOMPARE(start.platform.calls.size(), 4);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
