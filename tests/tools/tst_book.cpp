// The book tool run as a program on books in temporary folders: check and repair of damaged
// books, backups and their return, export then create, import with skipped recipes, and the folder lock.
#include "platform/instancelock.h"
#include "store/bookbackup.h"
#include "store/bookrestore.h"
#include "store/bytestream.h"
#include "store/cp1252.h"
#include "store/module1.h"
#include "smalldisk.h"
#include "testbook.h"
#include "toolrun.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>
#include <functional>

using namespace gratinel;
using testbook::le16;
using testbook::le32;
using testbook::readFile;

namespace {

const QStringList kDataFiles = {QStringLiteral("GRTN1.DAT"), QStringLiteral("GRTN2.DAT"),
                                QStringLiteral("GRTN3.DAT"), QStringLiteral("GRTN4.DAT")};

using Run = ToolRun;

Run tool(const QStringList &args)
{
    return runTool(QStringLiteral(BOOKTOOL_PATH), args);
}

QByteArray bookBytes(const QString &dir)
{
    QByteArray all;
    for (const QString &name : kDataFiles)
        all += name.toLatin1() + ':' + readFile(QDir(dir).filePath(name));
    return all;
}

// What the program shows of a book, in record order: every family in use with the title,
// text bytes and image bytes of each of its recipes in use.
QStringList contents(const QString &dir)
{
    const QDir d(dir);
    const QByteArray families = readFile(d.filePath(kDataFiles[0]));
    const QByteArray recipes = readFile(d.filePath(kDataFiles[1]));
    const QByteArray texts = readFile(d.filePath(kDataFiles[2]));
    const QByteArray images = readFile(d.filePath(kDataFiles[3]));
    QStringList out;
    for (qint64 f = 130; f + 130 <= families.size(); f += 130) {
        const FamilyRecord family = FamilyRecord::decode(families.constData() + f);
        if (family.state != kInUse)
            continue;
        out << QStringLiteral("@@ ") + family.nameText();
        const qint32 number = qint32(f / 130) + 1;
        for (qint64 r = 150; r + 150 <= recipes.size(); r += 150) {
            const RecipeRecord recipe = RecipeRecord::decode(recipes.constData() + r);
            if (recipe.state != kInUse || recipe.familyRecord != number)
                continue;
            out << QStringLiteral("## ") + recipe.titleText()
                << QString::fromLatin1(texts.mid(recipe.textPos - 1, recipe.textLen).toHex())
                << QString::fromLatin1(images.mid(recipe.imagePos - 1, recipe.imageLen).toHex());
        }
    }
    return out;
}

// The program's own start-up on dir: true when the main window would come up, with no message.
bool programStarts(const QString &dir)
{
    const testbook::OpenedBook book(dir);
    return book.started && book.platform.messageTexts().isEmpty();
}

using Damage = std::function<bool(const QString &dir)>;

Damage patch(int file, qint64 offset, const QByteArray &bytes)
{
    return [=](const QString &dir) { return testbook::patchFile(QDir(dir).filePath(kDataFiles[file]), offset, bytes); };
}

Damage append(int file, const QByteArray &bytes)
{
    return [=](const QString &dir) {
        const QString path = QDir(dir).filePath(kDataFiles[file]);
        return testbook::writeFile(path, readFile(path) + bytes);
    };
}

// Offsets in GRTN2.DAT of the fields of recipe record n.
qint64 recipeAt(int n, int field)
{
    return qint64(n - 1) * 150 + field;
}

} // namespace

Q_DECLARE_METATYPE(Damage)

class TestBook : public QObject {
    Q_OBJECT

private slots:
    void init();

    void commandLine_data();
    void commandLine();
    void checkAndRepairADamagedBook_data();
    void checkAndRepairADamagedBook();
    void backupCopiesTheBookBesideIt();
    void restoreChecksKeepsAndPutsBack_data();
    void restoreChecksKeepsAndPutsBack();
    void exportThenCreateGivesTheSameBook_data();
    void exportThenCreateGivesTheSameBook();
    void importSkipsWhatTheAddPageRefuses();
    void imagesFindsAndBringsBackLinks_data();
    void imagesFindsAndBringsBackLinks();
    void writingCommandsWaitForTheProgram_data();
    void writingCommandsWaitForTheProgram();

private:
    QString makeBook(const BookBuilder &b, const QString &name = QStringLiteral("livre"));
    QString writeText(const QString &name, const QString &text);

    std::unique_ptr<QTemporaryDir> tmp_;
};

void TestBook::init()
{
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
}

QString TestBook::makeBook(const BookBuilder &b, const QString &name)
{
    const QString dir = tmp_->filePath(name);
    if (!QDir().mkpath(dir) || !b.writeTo(dir).isOk())
        qFatal("cannot write the book");
    return dir;
}

QString TestBook::writeText(const QString &name, const QString &text)
{
    const QString path = tmp_->filePath(name);
    if (!testbook::writeFile(path, text.toUtf8()))
        qFatal("cannot write the source");
    return path;
}

void TestBook::commandLine_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("says");
    QTest::newRow("help") << QStringList{QStringLiteral("--help")} << 0 << QStringLiteral("repair DOSSIER");
    QTest::newRow("nothing") << QStringList{} << 2 << QStringLiteral("il manque la commande");
    QTest::newRow("unknown command") << QStringList{QStringLiteral("verifier"), QStringLiteral("x")} << 2
                                     << QStringLiteral("commande inconnue");
    QTest::newRow("check without folder") << QStringList{QStringLiteral("check")} << 2
                                          << QStringLiteral("mauvais nombre d'arguments");
    QTest::newRow("create with one argument") << QStringList{QStringLiteral("create"), QStringLiteral("x")} << 2
                                              << QStringLiteral("mauvais nombre d'arguments");
    QTest::newRow("check of a missing folder") << QStringList{QStringLiteral("check"), QStringLiteral("/nulle/part")}
                                               << 1 << QStringLiteral("n'existe pas");
}

void TestBook::commandLine()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, says);
    const Run run = tool(args);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2((run.out + run.err).contains(says), qPrintable(run.out + run.err));
}

void TestBook::checkAndRepairADamagedBook_data()
{
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<QString>("found");
    QTest::addColumn<bool>("repairable");
    QTest::addColumn<QString>("repaired");

    // The text keeps what the file still holds of it, as the program shows it.
    QTest::newRow("text running past the end of GRTN3.DAT")
        << patch(1, recipeAt(5, 138), le32(1 << 30)) << QStringLiteral("GRTN2.DAT, enregistrement 5 : le texte") << true
        << QStringLiteral("« Recette 004 » garde les");
    QTest::newRow("text starting past the end of GRTN3.DAT")
        << patch(1, recipeAt(5, 134), le32(1 << 30)) << QStringLiteral("GRTN2.DAT, enregistrement 5 : le texte") << true
        << QStringLiteral("perd son texte");
    QTest::newRow("negative text length") << patch(1, recipeAt(2, 138), le32(-1))
                                          << QStringLiteral("GRTN2.DAT, enregistrement 2 : le texte") << true
                                          << QStringLiteral("perd son texte");
    QTest::newRow("text length without position") << patch(1, recipeAt(7, 134), le32(0))
                                                  << QStringLiteral("enregistrement 7 : le texte") << true
                                                  << QStringLiteral("perd son texte");
    QTest::newRow("image starting past the end of GRTN4.DAT")
        << patch(1, recipeAt(302, 142), le32(400)) << QStringLiteral("enregistrement 302 : le chemin d'image") << true
        << QStringLiteral("perd son image");
    QTest::newRow("family count above the families in use")
        << patch(0, 0, le16(20)) << QStringLiteral("l'en-tête compte 20 familles, il y en a 17") << true
        << QStringLiteral("compte maintenant 17 familles");
    QTest::newRow("recipe count below the start-up minimum")
        << patch(1, 0, le16(250)) << QStringLiteral("l'en-tête compte 250 recettes, il y en a 301") << true
        << QStringLiteral("compte maintenant 301 recettes");
    QTest::newRow("family file with a partial record")
        << append(0, QByteArray(77, 'x')) << QStringLiteral("GRTN1.DAT, enregistrement 20 : longueur") << true
        << QStringLiteral("77 octets coupés");
    QTest::newRow("recipe file with a partial record")
        << append(1, QByteArray(3, '\0')) << QStringLiteral("GRTN2.DAT, enregistrement 303 : longueur") << true
        << QStringLiteral("3 octets coupés");

    // Reported, and left as they are.
    QTest::newRow("a state that is neither -1 nor 0")
        << patch(0, 18 * 130, le16(5)) << QStringLiteral("GRTN1.DAT, enregistrement 19 : état 5") << false << QString();
    QTest::newRow("a recipe of a deleted family")
        << patch(1, recipeAt(10, 2), le32(19)) << QStringLiteral("enregistrement 10 : la recette « Recette 009 » appartient")
        << false << QString();
    QTest::newRow("a title padded with zero bytes")
        << patch(1, recipeAt(3, 6 + 11), QByteArray(117, '\0')) << QStringLiteral("enregistrement 3 : le titre n'est pas complété")
        << false << QString();
    QTest::newRow("GRTN3.DAT missing") << Damage([](const QString &dir) { return QFile::remove(QDir(dir).filePath(kDataFiles[2])); })
                                       << QStringLiteral("GRTN3.DAT : fichier absent") << false << QString();
}

void TestBook::checkAndRepairADamagedBook()
{
    QFETCH(Damage, damage);
    QFETCH(QString, found);
    QFETCH(bool, repairable);
    QFETCH(QString, repaired);

    BookBuilder b = testbook::minimal();
    b.addFamily(QStringLiteral("Plats"));
    b.addFamily(QStringLiteral("Supprimée"), kDeleted);
    b.addRecipe(18, QStringLiteral("Tarte"), QStringLiteral("Pâte\nPommes"), QStringLiteral("/nulle/part/tarte.jpg"));
    const QString dir = makeBook(b);
    QVERIFY(damage(dir));
    const QByteArray damaged = bookBytes(dir);

    const Run checked = tool({QStringLiteral("check"), dir});
    QCOMPARE(checked.exitCode, 1);
    QVERIFY2(checked.out.contains(found), qPrintable(checked.out));
    // One error: the missing image of record 302 is only a warning.
    QCOMPARE(checked.out.count(QStringLiteral("Erreur : ")), 1);
    QCOMPARE(bookBytes(dir), damaged);

    const Run repair = tool({QStringLiteral("repair"), dir});
    const QStringList backups = QDir(dir + QStringLiteral("/sauvegardes")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    if (!repairable) {
        QCOMPARE(repair.exitCode, 1);
        QVERIFY2(repair.out.contains(QStringLiteral("Rien à réparer")), qPrintable(repair.out));
        QCOMPARE(bookBytes(dir), damaged);
        QCOMPARE(backups, QStringList());
        return;
    }
    QVERIFY2(repair.exitCode == 0, qPrintable(repair.out + repair.err));
    QVERIFY2(repair.out.contains(repaired), qPrintable(repair.out));
    // The backup, taken first, holds the damaged book.
    QCOMPARE(backups.size(), 1);
    QCOMPARE(bookBytes(dir + QStringLiteral("/sauvegardes/") + backups.first()), damaged);

    const Run after = tool({QStringLiteral("check"), dir});
    QVERIFY2(after.exitCode == 0, qPrintable(after.out));
    QVERIFY(programStarts(dir));
}

void TestBook::backupCopiesTheBookBesideIt()
{
    const QString dir = makeBook(testbook::minimal());
    const QByteArray book = bookBytes(dir);
    // Left by a backup killed an hour ago, and one that another backup is filling now.
    const QString stale = dir + QStringLiteral("/sauvegardes/.sauvegarde-en-cours-a1b2c3");
    const QString live = dir + QStringLiteral("/sauvegardes/.sauvegarde-en-cours-d4e5f6");
    QVERIFY(QDir().mkpath(stale) && QDir().mkpath(live));
    QVERIFY(testbook::writeFile(stale + QStringLiteral("/GRTN1.DAT"), "moitié"));
    const auto anHourAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    std::filesystem::last_write_time(QFile::encodeName(stale + QStringLiteral("/GRTN1.DAT")).toStdString(), anHourAgo);
    std::filesystem::last_write_time(QFile::encodeName(stale).toStdString(), anHourAgo);
    const Run first = tool({QStringLiteral("backup"), dir});
    QVERIFY2(first.exitCode == 0, qPrintable(first.err));
    const Run second = tool({QStringLiteral("backup"), dir});
    QVERIFY2(second.exitCode == 0, qPrintable(second.err));

    // Two backups in the same second do not meet.
    const QStringList backups = QDir(dir + QStringLiteral("/sauvegardes")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(backups.size(), 2);
    for (const QString &name : backups) {
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d_\\d{6}(-\\d+)?$")).match(name).hasMatch(),
                 qPrintable(name));
        QCOMPARE(bookBytes(dir + QStringLiteral("/sauvegardes/") + name), book);
        // Made as the user's other folders are (the umask's), not private to one user.
        QCOMPARE(QFileInfo(dir + QStringLiteral("/sauvegardes/") + name).permissions(), QFileInfo(dir).permissions());
    }
    QVERIFY(!QFileInfo::exists(stale));
    QVERIFY(QFileInfo::exists(live));

    // A destination that already holds a book is never written over.
    const QString other = makeBook(testbook::minimal(), QStringLiteral("autre"));
    QVERIFY(testbook::patchFile(QDir(other).filePath(kDataFiles[2]), 0, "autre"));
    const QByteArray otherBook = bookBytes(other);
    const Run over = tool({QStringLiteral("backup"), dir, other});
    QCOMPARE(over.exitCode, 1);
    QCOMPARE(bookBytes(other), otherBook);

    // A backup cut short by a full disk leaves nothing there that looks like a book.
    const QString small = tmp_->filePath(QStringLiteral("petit"));
    QVERIFY(QDir().mkpath(small));
    const SmallDisk disk(small, 32);
    QVERIFY2(disk.mounted(), qPrintable(disk.why()));
    QCOMPARE(tool({QStringLiteral("backup"), dir, small + QStringLiteral("/copie")}).exitCode, 1);
    QCOMPARE(QDir(small).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

void TestBook::restoreChecksKeepsAndPutsBack_data()
{
    QTest::addColumn<QString>("which"); // "hand" for the path of the backup made by hand
    QTest::addColumn<bool>("programOpen");
    QTest::addColumn<bool>("damaged"); // the automatic backup's recipe count is wrong
    QTest::addColumn<bool>("cutShort"); // a return cut short after two files, then a start
    QTest::addColumn<QString>("says");
    const QString automatic = QStringLiteral("auto/2024-03-04_093000");
    QTest::newRow("automatic backup by its name") << automatic << false << false << false
                                                  << QStringLiteral("remise en place : 16 familles et 300 recettes");
    QTest::newRow("backup by its folder") << QStringLiteral("hand") << false << false << false
                                          << QStringLiteral("16 familles et 301 recettes");
    QTest::newRow("program has the book open") << automatic << true << false << false
                                               << QStringLiteral("Gratinel a le livre");
    QTest::newRow("damaged backup") << automatic << false << true << false << QStringLiteral("rien n'est changé");
    QTest::newRow("return cut short, finished at start") << automatic << false << false << true << QString();
}

void TestBook::restoreChecksKeepsAndPutsBack()
{
    QFETCH(QString, which);
    QFETCH(bool, programOpen);
    QFETCH(bool, damaged);
    QFETCH(bool, cutShort);
    QFETCH(QString, says);
    const QString dir = makeBook(testbook::minimal());
    const QString automatic = dir + QStringLiteral("/sauvegardes/auto/2024-03-04_093000");
    QVERIFY(bookbackup::copyBook(dir, automatic).isOk());
    BookBuilder larger = testbook::minimal();
    larger.addRecipe(3, QStringLiteral("Tarte aux mirabelles"), QStringLiteral("Dénoyauter."));
    const QString hand = makeBook(larger, QStringLiteral("livre/sauvegardes/2024-03-05_101500"));
    if (damaged)
        QVERIFY(testbook::patchFile(automatic + QStringLiteral("/GRTN2.DAT"), 0, le16(299)));
    QVERIFY(testbook::patchFile(QDir(dir).filePath(kDataFiles[2]), 0, "Changé"));
    const QByteArray current = bookBytes(dir);
    const QString chosen = which == QLatin1String("hand") ? hand : automatic;
    const QByteArray wanted = bookBytes(chosen);

    // Newest first, by hand and automatic, with their recipe counts.
    const Run listed = tool({QStringLiteral("restore"), dir});
    QCOMPARE(listed.exitCode, 0);
    const qsizetype handLine = listed.out.indexOf(QStringLiteral("2024-03-05_101500"));
    const qsizetype autoLine = listed.out.indexOf(QStringLiteral("auto/2024-03-04_093000"));
    QVERIFY2(handLine >= 0 && handLine < autoLine, qPrintable(listed.out));
    QVERIFY(listed.out.indexOf(QStringLiteral("301 recettes")) > handLine);
    QVERIFY(listed.out.indexOf(damaged ? QStringLiteral("299 recettes") : QStringLiteral("300 recettes")) > autoLine);

    if (cutShort) {
        // Two files already over the book's, two still waiting: the program's start ends it.
        const QString pending = bookrestore::pendingFolder(dir);
        QVERIFY(QDir().mkpath(pending));
        for (int i = 0; i < 4; ++i) {
            const QString to = i < 2 ? QDir(dir).filePath(kDataFiles[i]) : QDir(pending).filePath(kDataFiles[i]);
            QVERIFY(i >= 2 || QFile::remove(to));
            QVERIFY(QFile::copy(QDir(automatic).filePath(kDataFiles[i]), to));
        }
        QVERIFY(programStarts(dir));
        QCOMPARE(bookBytes(dir), wanted);
        QVERIFY(!QFileInfo::exists(pending));
        return;
    }

    const QStringList before = QDir(dir + QStringLiteral("/sauvegardes")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    InstanceLock program;
    if (programOpen)
        QVERIFY(program.tryLock(dir));
    const Run run = tool({QStringLiteral("restore"), dir, which == QLatin1String("hand") ? hand : which});
    QVERIFY2((run.out + run.err).contains(says), qPrintable(run.out + run.err));
    const QStringList after = QDir(dir + QStringLiteral("/sauvegardes")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(QDir(dir).entryList(QDir::Hidden | QDir::AllEntries | QDir::NoDotAndDotDot).filter(QStringLiteral(".rest")),
             QStringList());
    if (programOpen || damaged) {
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(bookBytes(dir), current);
        QCOMPARE(after, before);
        return;
    }
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(bookBytes(dir), wanted);
    // The book it replaced was kept first, in a backup of its own.
    QCOMPARE(after.size(), before.size() + 1);
    for (const QString &name : after) {
        if (!before.contains(name))
            QCOMPARE(bookBytes(dir + QStringLiteral("/sauvegardes/") + name), current);
    }
    QVERIFY(programStarts(dir));
}

void TestBook::exportThenCreateGivesTheSameBook_data()
{
    QTest::addColumn<bool>("starter");
    QTest::newRow("the starter book") << true;
    QTest::newRow("an edited book") << false;
}


void TestBook::exportThenCreateGivesTheSameBook()
{
    QFETCH(bool, starter);
    QString dir;
    if (starter) {
        dir = tmp_->filePath(QStringLiteral("livre"));
        const Run created = tool({QStringLiteral("create"), dir, QStringLiteral(LIVRE_PATH)});
        QVERIFY2(created.exitCode == 0, qPrintable(created.err));
    } else {
        // Recipes of one family spread among others, deleted records, texts whose lines read
        // like the source's own marks or begin and end with blank lines, images.
        BookBuilder b = testbook::minimal();
        const qint32 desserts = b.addFamily(QStringLiteral("Desserts"));
        b.addFamily(QStringLiteral("Supprimée"), kDeleted);
        const qint32 sauces = b.addFamily(QStringLiteral("Sauces — « maison »"));
        b.addRecipe(desserts, QStringLiteral("Île flottante"), QStringLiteral("\n\n## pas un titre\n@@ ni une famille\n"
                                                                              "!! ni une image\n\\ antislash\n  \n"),
                    QStringLiteral("/home/moi/Images/île.jpg"));
        b.addRecipe(sauces, QStringLiteral("Béarnaise"), QStringLiteral("   Estragon\n\nÉchalote   "));
        b.addRecipe(desserts, QStringLiteral("Supprimée"), QStringLiteral("x"), {}, kDeleted);
        b.addRecipe(2, QStringLiteral("Sans texte"), {}, QStringLiteral("C:\\Recettes\\photo.bmp"));
        b.addRecipe(desserts, QStringLiteral("Œufs au lait"), QStringLiteral("Lait\r\nŒufs\n\n"));
        // Names a Windows book may hold: spaces alone, a tab inside (warnings for check).
        const qint32 blank = b.addFamily(QStringLiteral("   "));
        b.addRecipe(blank, QStringLiteral(" "), QStringLiteral("Sans titre"));
        b.addRecipe(sauces, QStringLiteral("Pâte\tbrisée"), QStringLiteral("Farine"));
        dir = makeBook(b);
        const Run checked = tool({QStringLiteral("check"), dir});
        QCOMPARE(checked.exitCode, 0);
        QCOMPARE(checked.out.count(QStringLiteral("est vide (rien que des espaces)")), 2);
        QVERIFY2(checked.out.contains(QStringLiteral("le titre contient le caractère de contrôle U+0009")), qPrintable(checked.out));
    }
    const QString source = tmp_->filePath(QStringLiteral("export.txt"));
    const Run exported = tool({QStringLiteral("export"), dir, source});
    QVERIFY2(exported.exitCode == 0, qPrintable(exported.out + exported.err));
    // An export never writes over a file.
    QCOMPARE(tool({QStringLiteral("export"), dir, source}).exitCode, 1);

    const QString copy = tmp_->filePath(QStringLiteral("copie"));
    const Run created = tool({QStringLiteral("create"), copy, source});
    QVERIFY2(created.exitCode == 0, qPrintable(created.err));
    QCOMPARE(contents(copy), contents(dir));
    if (starter) {
        // A book made from a source comes back byte for byte, and so does its source.
        QCOMPARE(bookBytes(copy), bookBytes(dir));
        QCOMPARE(readFile(source), readFile(QStringLiteral(LIVRE_PATH)).replace("\r\n", "\n"));
    }
}

void TestBook::importSkipsWhatTheAddPageRefuses()
{
    BookBuilder b = testbook::minimal();
    b.addFamily(QStringLiteral("Desserts"));
    b.addRecipe(18, QStringLiteral("Crème brûlée"), QStringLiteral("Sucre"));
    const QString dir = makeBook(b);
    const QString source = writeText(QStringLiteral("import.txt"),
                                     QStringLiteral("## Orpheline\n"                        // 1
                                                    "@@ DESSERTS\n"                         // 2
                                                    "## crème BRÛLÉE\n"                     // 3
                                                    "## Tarte Tatin\n"                      // 4
                                                    "!! /images/tatin.jpg\n"                // 5
                                                    "  Pommes\n"                            // 6
                                                    "## TARTE TATIN\n"                      // 7
                                                    "## ")
                                         + QString(129, u'x')                               // 8
                                         + QStringLiteral("\n## Trop long\n")               // 9
                                         + QString(30001, u'a')                             // 10
                                         + QStringLiteral("\n@@ Apéritifs\n"                // 11
                                                          "## Gâteau \u0089\U0001F382\n"    // 12
                                                          "## Olives\n"                     // 13
                                                          "Huile\n"                         // 14
                                                          "## Tout juste\n")                // 15
                                         + QString(29997, u'b') + QStringLiteral("\nc\n")   // 16, 17
                                         + QStringLiteral("## Photo de Łódź\n"             // 18
                                                          "!! /photos/Łódź/t.jpg\n"));     // 19
    const QByteArray original = bookBytes(dir);
    const Run run = tool({QStringLiteral("import"), dir, source});
    QCOMPARE(run.exitCode, 1);
    // The book as it was is kept first, as repair keeps it.
    const QStringList backups = QDir(dir + QStringLiteral("/sauvegardes")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(backups.size(), 1);
    QCOMPARE(bookBytes(dir + QStringLiteral("/sauvegardes/") + backups.first()), original);
    for (int line : {1, 3, 7, 8, 9, 18})
        QVERIFY2(run.out.contains(QStringLiteral("Ignoré : ligne %1 :").arg(line)), qPrintable(run.out));
    QCOMPARE(run.out.count(QStringLiteral("Ignoré : ")), 6);
    // An image path is never respelled: it would name another file.
    QVERIFY2(run.out.contains(QStringLiteral("ligne 19 : caractères impossibles")), qPrintable(run.out));
    // A character the book cannot hold is taken out, and said; an invisible one by its code.
    QVERIFY2(run.out.contains(QStringLiteral("Modifié : ligne 12 : « Gâteau <U+0089>\U0001F382 » : supprimés : U+0089 \U0001F382")),
             qPrintable(run.out));
    QVERIFY2(run.out.contains(QStringLiteral("1 famille(s) et 4 recette(s) ajoutée(s), 6 recette(s) ignorée(s)")),
             qPrintable(run.out));

    QCOMPARE(tool({QStringLiteral("check"), dir}).exitCode, 0);
    QVERIFY(programStarts(dir));
    const QStringList after = contents(dir);
    const QString tatinText = QString::fromLatin1(QByteArray("Pommes").toHex());
    const QString tatinImage = QString::fromLatin1(QByteArray("/images/tatin.jpg").toHex());
    const qsizetype desserts = after.indexOf(QStringLiteral("@@ Desserts"));
    QVERIFY(desserts > 0);
    QCOMPARE(after.mid(desserts + 1, 11),
             (QStringList{QStringLiteral("## Crème brûlée"), QString::fromLatin1(QByteArray("Sucre").toHex()), QString(),
                          QStringLiteral("## Tarte Tatin"), tatinText, tatinImage, QStringLiteral("@@ Apéritifs"),
                          QStringLiteral("## Gâteau"), QString(), QString(), QStringLiteral("## Olives")}));
    // 30000 bytes exactly, with its line end counted as two.
    QCOMPARE(after.at(after.indexOf(QStringLiteral("## Tout juste")) + 1).size(), 2 * 30000);
    QCOMPARE(after.count(QStringLiteral("@@ Desserts")) + after.count(QStringLiteral("@@ DESSERTS")), 1);
}

void TestBook::imagesFindsAndBringsBackLinks_data()
{
    QTest::addColumn<QStringList>("replace"); // ANCIEN and NOUVEAU; none for the list alone
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("says");
    QTest::addColumn<bool>("changed"); // the paths under C:\Mes documents\Recettes that find a file
    QTest::newRow("list") << QStringList{} << 1
                          << QStringList{QStringLiteral("Dossier c:/mes documents/recettes/sous : 1 image(s)"),
                                         QStringLiteral("  enregistrement 303 : « Image 1 » : C:\\Mes documents\\Recettes\\far.jpg"),
                                         QStringLiteral("7 image(s) sur 8 ne s'ouvrent pas.")}
                          << false;
    // Compared as Windows does, up to a whole folder name; NOUVEAU made a full path; the rest
    // found on disk as Windows found it, and a path that finds nothing listed and kept.
    QTest::newRow("replace") << QStringList{QStringLiteral("C:\\Mes documents\\Recettes\\"), QStringLiteral("Recettes")}
                             << 1
                             << QStringList{QStringLiteral("4 chemin(s) d'image changé(s), vers des images qui s'ouvrent."),
                                            QStringLiteral("Laissé tel quel (aucun fichier sous "),
                                            QStringLiteral("enregistrement 309 : « Image 7 » : C:\\Mes documents\\Recettes\\absente.jpg"),
                                            QStringLiteral("1 chemin(s) laissé(s) tel(s) quel(s)")}
                             << true;
    QTest::newRow("NOUVEAU not a folder") << QStringList{QStringLiteral("C:\\Mes documents\\Recettes"), QStringLiteral("~/pas-de-dossier-ici")}
                                          << 1 << QStringList{QStringLiteral("« ~/pas-de-dossier-ici » n'est pas un dossier existant")}
                                          << false;
    QTest::newRow("unstorable") << QStringList{QStringLiteral("/media"), QStringLiteral("Łódź")} << 1
                                << QStringList{QStringLiteral("Ł ź")} << false;
}

void TestBook::imagesFindsAndBringsBackLinks()
{
    QFETCH(QStringList, replace);
    QFETCH(int, exitCode);
    QFETCH(QStringList, says);
    QFETCH(bool, changed);
    QStringList paths{tmp_->filePath(QStringLiteral("photo.gif")), QStringLiteral("C:\\Mes documents\\Recettes\\far.jpg"),
                      QStringLiteral("c:/mes documents/recettes/sous/tarte.JPG"),
                      QStringLiteral("C:\\Mes documents\\Recettes2\\gratin.jpg"), QStringLiteral("/media/cle-usb/crepes.jpg"),
                      QStringLiteral("C:\\MES DOCUMENTS\\RECETTES\\SOUS\\FLAN.JPG"),
                      QStringLiteral("C:\\Mes documents\\Recettes\\crêpes.gif . "),
                      QStringLiteral("C:\\Mes documents\\Recettes\\absente.jpg")};
    // Where the photos were copied, and where each path must lead once replaced.
    const QStringList moved{tmp_->filePath(QStringLiteral("Recettes/far.jpg")), tmp_->filePath(QStringLiteral("Recettes/sous/tarte.JPG")),
                            tmp_->filePath(QStringLiteral("Recettes/sous/flan.jpg")), tmp_->filePath(QStringLiteral("Recettes/crêpes.gif"))};
    for (const QString &file : QStringList{paths[0]} + moved)
        QVERIFY(QDir().mkpath(QFileInfo(file).path()) && testbook::writeFile(file, "GIF89a"));
    BookBuilder b = testbook::minimal();
    for (int i = 0; i < paths.size(); ++i)
        b.addRecipe(2, QStringLiteral("Image %1").arg(i), {}, paths[i]);
    const QString dir = makeBook(b);
    const QByteArray images = readFile(QDir(dir).filePath(kDataFiles[3]));

    const QStringList extra = replace.isEmpty() ? QStringList() : QStringList{QStringLiteral("--remplacer")} + replace;
    const Run run = runTool(QStringLiteral(BOOKTOOL_PATH), QStringList{QStringLiteral("images"), dir} + extra, tmp_->path());
    QCOMPARE(run.exitCode, exitCode);
    for (const QString &line : says)
        QVERIFY2((run.out + run.err).contains(line), qPrintable(run.out + run.err));
    if (changed)
        paths[1] = moved[0], paths[2] = moved[1], paths[5] = moved[2], paths[6] = moved[3];
    const QStringList after = contents(dir);
    for (int i = 0; i < paths.size(); ++i)
        QCOMPARE(after.at(after.indexOf(QStringLiteral("## Image %1").arg(i)) + 2), QString::fromLatin1(cp1252::encode(paths[i]).toHex()));
    // Rewritten paths are appended, after a backup: what the book held stays.
    QVERIFY(readFile(QDir(dir).filePath(kDataFiles[3])).startsWith(images));
    QCOMPARE(QFileInfo::exists(dir + QStringLiteral("/sauvegardes")), changed);
}

void TestBook::writingCommandsWaitForTheProgram_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("backup") << QStringLiteral("backup");
    QTest::newRow("repair") << QStringLiteral("repair");
    QTest::newRow("import") << QStringLiteral("import");
    QTest::newRow("images --remplacer") << QStringLiteral("images");
}

void TestBook::writingCommandsWaitForTheProgram()
{
    QFETCH(QString, command);
    BookBuilder b = testbook::minimal();
    const QString photo = tmp_->filePath(QStringLiteral("photo.gif"));
    QVERIFY(testbook::writeFile(photo, "GIF89a"));
    b.addRecipe(2, QStringLiteral("Photo"), {}, QStringLiteral("C:\\Photos\\photo.gif"));
    const QString dir = makeBook(b);
    // A count to repair, so that repair would have work to do.
    QVERIFY(testbook::patchFile(QDir(dir).filePath(kDataFiles[1]), 0, le16(299)));
    const QByteArray before = bookBytes(dir);
    QStringList args{command, dir};
    if (command == QLatin1String("import"))
        args << writeText(QStringLiteral("import.txt"), QStringLiteral("@@ Nouvelle\n## Recette\n"));
    if (command == QLatin1String("images"))
        args << QStringLiteral("--remplacer") << QStringLiteral("C:\\Photos") << tmp_->path();

    InstanceLock program;
    QVERIFY(program.tryLock(dir));
    const Run refused = tool(args);
    QCOMPARE(refused.exitCode, 1);
    QVERIFY2(refused.err.contains(QStringLiteral("Gratinel a le livre")), qPrintable(refused.err));
    QCOMPARE(bookBytes(dir), before);
    QVERIFY(!QFileInfo::exists(dir + QStringLiteral("/sauvegardes")));

    // Once the program has ended, the same command goes through.
    program.release();
    if (command == QLatin1String("import") || command == QLatin1String("images"))
        QCOMPARE(tool({QStringLiteral("repair"), dir}).exitCode, 0);
    const Run done = tool(args);
    QVERIFY2(done.exitCode == 0, qPrintable(done.out + done.err));
    QVERIFY(bookBytes(dir) != before || command == QLatin1String("backup"));
}

QTEST_MAIN(TestBook)
#include "tst_book.moc"
