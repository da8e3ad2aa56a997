// Additions, changes and deletions on an open book, checked byte by byte on disk.
#include "store/bookbackup.h"
#include "store/bookcheck.h"
#include "store/bookedits.h"
#include "store/bookimport.h"
#include "store/cp1252.h"
#include "store/module1.h"
#include "testbook.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>

using namespace gratinel;
using namespace gratinel::testbook;

class TestBookEdits : public QObject {
    Q_OBJECT

private:
    struct Open {
        QTemporaryDir dir;
        std::unique_ptr<OpenedBook> opened;
        Module1 *m = nullptr;
        QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }
        QByteArray bytes(const char *name) const { return readFile(path(name)); }
    };

    // Opens a book built by b the way start-up does.
    std::unique_ptr<Open> open(const BookBuilder &b)
    {
        auto o = std::make_unique<Open>();
        if (!b.writeTo(o->dir.path()).isOk())
            return nullptr;
        o->opened = std::make_unique<OpenedBook>(o->dir.path());
        o->m = &o->opened->m;
        return o->opened->started ? std::move(o) : nullptr;
    }

private Q_SLOTS:
    void addFamilyAppendsRecordAndRaisesCount()
    {
        BookBuilder b = minimal();
        b.addFamily(QStringLiteral("Supprimée"), kDeleted); // record 18, deleted
        auto o = open(b);
        QVERIFY(o);
        const QString name128 = QString(128, u'é');
        qint32 record = 0;
        QVERIFY(bookedits::addFamily(*o->m, name128 + QStringLiteral("XYZ"), record).isOk());
        QCOMPARE(record, 19); // after the deleted one, which keeps its number
        const QByteArray f = o->bytes("GRTN1.DAT");
        QCOMPARE(f.size(), 19 * 130);
        QCOMPARE(int16At(f, 0), qint16(17));
        QCOMPARE(int16At(f, 18 * 130), qint16(-1));
        QCOMPARE(f.mid(18 * 130 + 2, 128), QByteArray(128, char(0xE9))); // cut at 128, no padding
        QCOMPARE(int16At(f, 17 * 130), qint16(0));
    }

    void addRecipeWritesTextPathRecordHeaderInOrder()
    {
        auto o = open(minimal());
        QVERIFY(o);
        const qint64 textLen = o->bytes("GRTN3.DAT").size();
        qint32 record = 0;
        QVERIFY(bookedits::addRecipe(*o->m, 5, QStringLiteral("Tarte"), QStringLiteral("abc\ndéf"),
                                     QStringLiteral("/images/tarte.jpg"), record)
                    .isOk());
        QCOMPARE(record, 302);
        const QByteArray r = o->bytes("GRTN2.DAT");
        const qint64 at = 301 * 150;
        QCOMPARE(int16At(r, 0), qint16(301));
        QCOMPARE(int16At(r, at), qint16(-1));
        QCOMPARE(int32At(r, at + 2), 5);
        QCOMPARE(r.mid(at + 6, 128), QByteArray("Tarte").leftJustified(128, ' '));
        QCOMPARE(int32At(r, at + 134), qint32(textLen + 1));
        QCOMPARE(int32At(r, at + 138), 8); // CRLF counts two bytes
        QCOMPARE(int32At(r, at + 142), 1);
        QCOMPARE(int32At(r, at + 146), 17);
        QCOMPARE(o->bytes("GRTN3.DAT").mid(textLen), QByteArray("abc\r\nd\xE9" "f"));
        QCOMPARE(o->bytes("GRTN4.DAT"), QByteArray("/images/tarte.jpg"));
    }

    void addRecipeWithoutTextLeavesTextFileAlone()
    {
        auto o = open(minimal());
        QVERIFY(o);
        const QByteArray before = o->bytes("GRTN3.DAT");
        qint32 record = 0;
        QVERIFY(bookedits::addRecipe(*o->m, 2, QStringLiteral("Vide"), {}, {}, record).isOk());
        const QByteArray r = o->bytes("GRTN2.DAT");
        for (int offset : {134, 138, 142, 146})
            QCOMPARE(int32At(r, (record - 1) * 150 + offset), 0);
        QCOMPARE(o->bytes("GRTN3.DAT"), before);
    }

    void additionsPastTheCountLimitAreRefusedWithNothingWritten_data()
    {
        QTest::addColumn<bool>("family");
        QTest::newRow("famille") << true;
        QTest::newRow("recette") << false;
    }

    void additionsPastTheCountLimitAreRefusedWithNothingWritten()
    {
        QFETCH(bool, family);
        auto o = open(minimal());
        QVERIFY(o);
        // The header claims the maximum: nothing more may be added.
        if (family)
            o->m->familyHeader.state = kMaxCount;
        else
            o->m->recipeHeader.state = kMaxCount;
        const QByteArray f1 = o->bytes("GRTN1.DAT"), f2 = o->bytes("GRTN2.DAT"), f3 = o->bytes("GRTN3.DAT");
        qint32 record = 0;
        const Status s = family ? bookedits::addFamily(*o->m, QStringLiteral("Une de trop"), record)
                                : bookedits::addRecipe(*o->m, 2, QStringLiteral("Une de trop"),
                                                       QStringLiteral("texte"), {}, record);
        QCOMPARE(s.code(), Status::Code::Full);
        QVERIFY(s.message().contains(QStringLiteral("32767")));
        QCOMPARE(o->bytes("GRTN1.DAT"), f1);
        QCOMPARE(o->bytes("GRTN2.DAT"), f2);
        QCOMPARE(o->bytes("GRTN3.DAT"), f3);
        QCOMPARE(family ? o->m->familyHeader.state : o->m->recipeHeader.state, kMaxCount);
    }

    void textPastTheSigned32BitRangeIsRefusedBeforeAnyWrite()
    {
        auto o = open(minimal());
        QVERIFY(o);
        // A sparse text file just short of 2 GiB: 10 more bytes do not fit.
        {
            QFile f(o->path("GRTN3.DAT"));
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.resize(qint64(std::numeric_limits<qint32>::max()) - 5));
        }
        const QByteArray r = o->bytes("GRTN2.DAT");
        const QByteArray i = o->bytes("GRTN4.DAT");
        qint32 record = 0;
        const Status s = bookedits::addRecipe(*o->m, 2, QStringLiteral("Trop"), QStringLiteral("0123456789"),
                                              QStringLiteral("/img.png"), record);
        QCOMPARE(s.code(), Status::Code::Full);
        QCOMPARE(o->bytes("GRTN2.DAT"), r);
        QCOMPARE(o->bytes("GRTN4.DAT"), i);
        QCOMPARE(QFileInfo(o->path("GRTN3.DAT")).size(), qint64(std::numeric_limits<qint32>::max()) - 5);
    }

    void changingTextInPlaceOrAppended_data()
    {
        QTest::addColumn<QString>("newText");
        QTest::addColumn<bool>("appended");
        QTest::newRow("plus court") << QStringLiteral("Tex") << false;
        // Written over the old one, a different text would leave a mix of both on disk if
        // the change were cut short before the record: it goes after the others.
        QTest::newRow("plus court et différent") << QStringLiteral("Pâte") << true;
        QTest::newRow("même longueur et différent") << QStringLiteral("Texte 8") << true;
        QTest::newRow("même longueur") << QStringLiteral("Texte 9") << false;
        QTest::newRow("plus long") << QStringLiteral("Texte 9 allongé") << true;
        QTest::newRow("fins de ligne comptées deux fois") << QStringLiteral("Text\n\n") << true;
    }

    void changingTextInPlaceOrAppended()
    {
        QFETCH(QString, newText);
        QFETCH(bool, appended);
        auto o = open(minimal());
        QVERIFY(o);
        const qint32 record = 10; // "Recette 009", text "Texte 9" (7 bytes)
        QVERIFY(o->m->recipeFile.read(record, o->m->recipeWork).isOk());
        const qint32 oldPos = o->m->recipeWork.textPos;
        const qint64 before = o->bytes("GRTN3.DAT").size();
        QVERIFY(bookedits::changeRecipe(*o->m, record, 3, QStringLiteral("Nouveau titre"), newText, {}).isOk());
        const QByteArray r = o->bytes("GRTN2.DAT");
        const QByteArray stored = cp1252::encodeText(newText);
        const qint64 after = o->bytes("GRTN3.DAT").size();
        QCOMPARE(int32At(r, (record - 1) * 150 + 2), 3);
        QCOMPARE(int32At(r, (record - 1) * 150 + 138), qint32(stored.size()));
        if (appended) {
            QCOMPARE(int32At(r, (record - 1) * 150 + 134), qint32(before + 1));
            QCOMPARE(after, before + stored.size());
        } else {
            QCOMPARE(int32At(r, (record - 1) * 150 + 134), oldPos);
            QCOMPARE(after, before);
        }
        const qint32 pos = int32At(r, (record - 1) * 150 + 134);
        QCOMPARE(o->bytes("GRTN3.DAT").mid(pos - 1, stored.size()), stored);
    }

    void changingRecipeAppendsItsImagePathAgain()
    {
        BookBuilder b = minimal();
        const qint32 record = b.addRecipe(2, QStringLiteral("Avec image"), QStringLiteral("t"), QStringLiteral("/p.jpg"));
        auto o = open(b);
        QVERIFY(o);
        QVERIFY(o->m->recipeFile.read(record, o->m->recipeWork).isOk());
        QVERIFY(bookedits::changeRecipe(*o->m, record, 2, QStringLiteral("Avec image"), QStringLiteral("t"),
                                        QStringLiteral("/p.jpg"))
                    .isOk());
        QCOMPARE(o->bytes("GRTN4.DAT"), QByteArray("/p.jpg/p.jpg"));
        QCOMPARE(int32At(o->bytes("GRTN2.DAT"), (record - 1) * 150 + 142), 7);
        // An emptied path and text give no position at all.
        QVERIFY(bookedits::changeRecipe(*o->m, record, 2, QStringLiteral("Sans"), QString(), QString()).isOk());
        for (int offset : {134, 138, 142, 146})
            QCOMPARE(int32At(o->bytes("GRTN2.DAT"), (record - 1) * 150 + offset), 0);
    }

    void deletingFamilyDeletesItsListedRecipesAndLowersBothCounts()
    {
        BookBuilder b = minimal();
        const qint32 family = b.addFamily(QStringLiteral("Éphémère"));
        std::vector<qint32> recipes;
        for (int i = 0; i < 3; ++i)
            recipes.push_back(b.addRecipe(family, QStringLiteral("R%1").arg(i), QStringLiteral("x")));
        auto o = open(b);
        QVERIFY(o);
        QVERIFY(bookedits::deleteFamily(*o->m, family, recipes).isOk());
        const QByteArray f = o->bytes("GRTN1.DAT");
        const QByteArray r = o->bytes("GRTN2.DAT");
        QCOMPARE(int16At(f, 0), qint16(16));
        QCOMPARE(int16At(r, 0), qint16(300));
        QCOMPARE(int16At(f, (family - 1) * 130), qint16(0));
        for (qint32 n : recipes) {
            QCOMPARE(int16At(r, (n - 1) * 150), qint16(0));
            QCOMPARE(r.mid((n - 1) * 150 + 6, 1), QByteArray("R")); // the rest of the record stays
        }
        QCOMPARE(f.size(), family * 130);
        // The next family is appended after the deleted record.
        qint32 next = 0;
        QVERIFY(bookedits::addFamily(*o->m, QStringLiteral("Suivante"), next).isOk());
        QCOMPARE(next, family + 1);
    }

    void deletingFamilySyncsItsRecipesOnceAndEachStepBeforeTheNext()
    {
        BookBuilder b = minimal();
        const qint32 family = b.addFamily(QStringLiteral("Lot"));
        std::vector<qint32> recipes;
        for (int i = 0; i < 5; ++i) {
            recipes.push_back(b.addRecipe(family, QStringLiteral("R%1").arg(i)));
            if (i == 2)
                b.addRecipe(3, QStringLiteral("Entre deux"));
        }
        auto o = open(b);
        QVERIFY(o);
        auto plan = std::make_shared<FaultPlan>();
        o->m->recipeFile.file().setFaultPlan(plan);
        o->m->familyFile.file().setFaultPlan(plan);
        QVERIFY(bookedits::deleteFamily(*o->m, family, recipes).isOk());
        // The recipe records, one write for each run of them that follow each other on disk
        // (three, then two), under one sync; then the recipe header, the family record and
        // the family header, each synced before the next write.
        QCOMPARE(plan->trace, QByteArray("ww" "s" "ws" "ws" "ws"));
        for (qint32 n : recipes)
            QCOMPARE(int16At(o->bytes("GRTN2.DAT"), (n - 1) * 150), qint16(kDeleted));
        QCOMPARE(int16At(o->bytes("GRTN2.DAT"), (recipes[2]) * 150), qint16(kInUse));
        // A family without listed recipes syncs nothing for them.
        plan->trace.clear();
        qint32 empty = 0;
        QVERIFY(bookedits::addFamily(*o->m, QStringLiteral("Vide"), empty).isOk());
        plan->trace.clear();
        QVERIFY(bookedits::deleteFamily(*o->m, empty, {}).isOk());
        QCOMPARE(plan->trace, QByteArray("ws" "ws"));
    }

    void failureInsideTheRecipeBatchKeepsEarlierMarksAndTheRestOfTheBook_data()
    {
        QTest::addColumn<int>("failingWrite");
        QTest::newRow("first recipe") << 0;
        QTest::newRow("middle recipe") << 2;
        QTest::newRow("last recipe") << 4;
    }

    void failureInsideTheRecipeBatchKeepsEarlierMarksAndTheRestOfTheBook()
    {
        QFETCH(int, failingWrite);
        // Each recipe of the family apart from the next one on disk: a write each.
        BookBuilder b = minimal();
        const qint32 family = b.addFamily(QStringLiteral("Lot"));
        std::vector<qint32> recipes;
        qint32 other = 0;
        for (int i = 0; i < 5; ++i) {
            recipes.push_back(b.addRecipe(family, QStringLiteral("R%1").arg(i)));
            other = b.addRecipe(3, QStringLiteral("Ailleurs"), QStringLiteral("reste"));
        }
        auto o = open(b);
        QVERIFY(o);
        const QByteArray before = o->bytes("GRTN2.DAT");
        auto plan = std::make_shared<FaultPlan>();
        plan->writesBeforeFailure = failingWrite;
        o->m->recipeFile.file().setFaultPlan(plan);
        o->m->familyFile.file().setFaultPlan(plan);
        QCOMPARE(bookedits::deleteFamily(*o->m, family, recipes).code(), Status::Code::IoError);
        // What was marked before the failure went to the disk all the same.
        QCOMPARE(plan->trace, QByteArray(failingWrite, 'w') + (failingWrite > 0 ? "s" : ""));

        // The book opens again: only the recipes marked before the failure are gone, the
        // headers still hold the old counts, and every other record is as it was.
        o->opened.reset();
        OpenedBook reopened(o->dir.path());
        QVERIFY(reopened.started);
        Module1 &again = reopened.m;
        QCOMPARE(again.recipeCount(), qint16(300 + 5 + 5));
        QCOMPARE(again.familyCount(), qint16(17));
        QByteArray expected = before;
        for (int i = 0; i < failingWrite; ++i)
            expected.replace((recipes[i] - 1) * 150, 2, le16(kDeleted));
        QCOMPARE(o->bytes("GRTN2.DAT"), expected);
        QCOMPARE(int16At(o->bytes("GRTN1.DAT"), (family - 1) * 130), qint16(kInUse));
        RecipeRecord r;
        QVERIFY(again.recipeFile.read(other, r).isOk());
        QCOMPARE(r.titleText(), QStringLiteral("Ailleurs"));
    }

    void deletingRecipeKeepsItsBytes()
    {
        auto o = open(minimal());
        QVERIFY(o);
        const QByteArray texts = o->bytes("GRTN3.DAT");
        QVERIFY(bookedits::deleteRecipe(*o->m, 300).isOk());
        const QByteArray r = o->bytes("GRTN2.DAT");
        QCOMPARE(int16At(r, 0), qint16(299));
        QCOMPARE(int16At(r, 299 * 150), qint16(0));
        QCOMPARE(r.mid(299 * 150 + 6, 11), QByteArray("Recette 299"));
        QCOMPARE(o->bytes("GRTN3.DAT"), texts);
    }

    void renamingFamilyRewritesOnlyItsRecord()
    {
        auto o = open(minimal());
        QVERIFY(o);
        QByteArray expected = o->bytes("GRTN1.DAT");
        QVERIFY(bookedits::changeFamily(*o->m, 4, QStringLiteral("Œufs")).isOk());
        expected.replace(3 * 130 + 2, 128, QByteArray("\x8C" "ufs").leftJustified(128, ' '));
        QCOMPARE(o->bytes("GRTN1.DAT"), expected);
    }

    void failedWriteIsReportedAndHeaderUntouched()
    {
        auto o = open(minimal());
        QVERIFY(o);
        auto plan = std::make_shared<FaultPlan>();
        plan->writesBeforeFailure = 0;
        o->m->recipeFile.file().setFaultPlan(plan);
        const QByteArray header = o->bytes("GRTN2.DAT").left(150);
        qint32 record = 0;
        const Status s = bookedits::addRecipe(*o->m, 2, QStringLiteral("T"), QStringLiteral("texte"), {}, record);
        QCOMPARE(s.code(), Status::Code::IoError);
        QCOMPARE(o->bytes("GRTN2.DAT").left(150), header);
        QCOMPARE(o->m->recipeHeader.state, qint16(300));
    }

    // An import asked to stop (Ctrl+C in the tool) ends between two recipes: each one is on
    // disk whole, with its count, or not at all.
    // The program's own backup reads the files while the cook adds, changes and deletes:
    // every copy is a whole book, never one caught between two writes of a change.
    void backupsTakenWhileTheBookChangesAreWhole()
    {
        auto o = open(minimal());
        QVERIFY(o);
        std::atomic<bool> stop{false};
        std::atomic<int> copies{0};
        QStringList broken;
        std::thread backups([&] {
            for (int n = 0; n < 12; ++n) {
                const QString dest = o->dir.filePath(QStringLiteral("copie%1").arg(n));
                const Status s = bookbackup::copyOpenBook(o->dir.path(), dest, *o->m->changes, stop);
                const bookcheck::Report r = bookcheck::check(dest);
                if (!s.isOk() || r.errors() > 0)
                    broken << dest + u' ' + s.message() + u' ' + (r.findings.empty() ? QString() : r.findings[0].describe());
                ++copies;
            }
        });
        // A cook's changes, as fast as the disk takes them, with a breath between two.
        bool written = true;
        for (int i = 0; copies < 12 && written; ++i) {
            qint32 record = 0;
            written = bookedits::addRecipe(*o->m, 2, QStringLiteral("Ajout %1").arg(i), QStringLiteral("Texte"), {}, record).isOk()
                && o->m->recipeFile.read(record, o->m->recipeWork).isOk()
                && bookedits::changeRecipe(*o->m, record, 3, QStringLiteral("Changée %1").arg(i), QStringLiteral("Autre"), {})
                       .isOk()
                && (i % 2 == 0 || bookedits::deleteRecipe(*o->m, record).isOk());
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        stop = !written;
        backups.join();
        QVERIFY(written);
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join(u'\n')));
    }

    void importStopsBetweenTwoRecipes()
    {
        auto o = open(minimal());
        QVERIFY(o);
        const booksource::Source source =
            booksource::parse(QStringLiteral("@@ Tartes\n## Tatin\nPommes\n## Bourdaloue\nPoires\n## Citron\n"));
        int asked = 0;
        bookimport::Result result;
        QVERIFY(bookimport::importSource(*o->m, source, result, [&] { return ++asked > 2; }).isOk());
        QVERIFY(result.interrupted);
        QCOMPARE(result.familiesAdded, 1);
        QCOMPARE(result.recipesAdded, 1);
        QCOMPARE(int16At(o->bytes("GRTN2.DAT"), 0), qint16(301));
        QCOMPARE(o->bytes("GRTN2.DAT").size(), 302 * 150);
    }
};

QTEST_GUILESS_MAIN(TestBookEdits)
#include "tst_bookedits.moc"
