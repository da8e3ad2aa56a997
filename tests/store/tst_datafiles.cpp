// Record files and byte streams on disk: numbering, appends, scans, range checks and injected failures.
#include "store/bytestream.h"
#include "store/recordfile.h"
#include "store/records.h"
#include "testbook.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

using namespace gratinel;
using testbook::le16;
using testbook::readFile;
using testbook::writeFile;

namespace {

constexpr qint64 kInt32Max = std::numeric_limits<qint32>::max();

// Bytes of a family record, built by hand rather than by the code under test.
QByteArray familyBytes(qint16 state, const QByteArray &name)
{
    return le16(state) + name.leftJustified(128, ' ', true);
}

QByteArray familyFileBytes(int records)
{
    QByteArray bytes = familyBytes(qint16(records - 1), QByteArray(128, '*'));
    for (int n = 2; n <= records; ++n)
        bytes += familyBytes(n % 3 == 0 ? kDeleted : kInUse, "F" + QByteArray::number(n));
    return bytes;
}

qint64 sizeOf(const QString &path)
{
    return QFileInfo(path).size();
}

} // namespace

class TestDataFiles : public QObject {
    Q_OBJECT

private slots:
    void init();

    void openNeverCreatesAFile();
    void appendNumbersRecordsAfterTheLastOne();
    void appendRoundsAPartialLastRecord_data();
    void appendRoundsAPartialLastRecord();
    void everyWriteIsOnDiskAtOnce();
    void readOutsideTheFileIsReported_data();
    void readOutsideTheFileIsReported();
    void scanVisitsEveryRecordInOrderReadingBlocks();
    void scanStopsWhenTheVisitorSays();
    void scanPastTheEndIsReported();
    void recordAppendStopsAtTheLastSigned32BitNumber();

    void byteStreamReadRange_data();
    void byteStreamReadRange();
    void byteStreamAppendStopsAtTheSigned32BitRange();

    void faultPlanFailsTheNthReadAndEveryLaterOne();
    void faultPlanFailsTheNthWriteAndLeavesTheFileAsItWas();

private:
    QString makeFile(const QString &name, const QByteArray &bytes);

    std::unique_ptr<QTemporaryDir> dir_;
};

void TestDataFiles::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

QString TestDataFiles::makeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = dir_->filePath(name);
    if (!writeFile(path, bytes))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestDataFiles::openNeverCreatesAFile()
{
    const QString path = dir_->filePath(QStringLiteral("GRTN1.DAT"));
    RecordFile<FamilyRecord> families;
    const Status s = families.open(path);
    QCOMPARE(s.code(), Status::Code::NotFound);
    QVERIFY(!QFile::exists(path));

    ByteStream texts;
    QCOMPARE(texts.open(dir_->filePath(QStringLiteral("GRTN3.DAT"))).code(), Status::Code::NotFound);
    QVERIFY(!QFile::exists(dir_->filePath(QStringLiteral("GRTN3.DAT"))));
}

void TestDataFiles::appendNumbersRecordsAfterTheLastOne()
{
    const QString path = makeFile(QStringLiteral("GRTN2.DAT"), QByteArray(150, 'h'));
    RecordFile<RecipeRecord> recipes;
    QVERIFY(recipes.open(path).isOk());

    RecipeRecord r;
    r.state = kInUse;
    r.familyRecord = 7;
    r.setTitle(QStringLiteral("Gâteau"));
    qint32 n = 0;
    QVERIFY(recipes.append(r, n).isOk());
    QCOMPARE(n, 2);
    r.setTitle(QStringLiteral("Tarte"));
    QVERIFY(recipes.append(r, n).isOk());
    QCOMPARE(n, 3);
    qint32 last = 0;
    QVERIFY(recipes.lastRecord(last).isOk());
    QCOMPARE(last, 3);

    const QByteArray disk = readFile(path);
    QCOMPARE(disk.size(), 450);
    QCOMPARE(disk.left(150), QByteArray(150, 'h'));
    QCOMPARE(disk.mid(150 + 6, 7), QByteArray("G\xE2teau "));
    QCOMPARE(disk.mid(300 + 6, 6), QByteArray("Tarte "));

    // A record written past the end extends the file; the next append follows it.
    QVERIFY(recipes.write(5, r).isOk());
    QCOMPARE(sizeOf(path), 750);
    QVERIFY(recipes.append(r, n).isOk());
    QCOMPARE(n, 6);

    RecipeRecord back;
    QVERIFY(recipes.read(2, back).isOk());
    QCOMPARE(back.titleText(), QStringLiteral("Gâteau"));
    QCOMPARE(back.familyRecord, 7);
}

void TestDataFiles::appendRoundsAPartialLastRecord_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("appended");
    QTest::newRow("empty") << 0 << 1;
    QTest::newRow("header only") << 130 << 2;
    QTest::newRow("two records") << 260 << 3;
    QTest::newRow("under half a record more") << 260 + 64 << 3;
    QTest::newRow("over half a record more") << 260 + 66 << 4;
}

void TestDataFiles::appendRoundsAPartialLastRecord()
{
    QFETCH(int, length);
    QFETCH(int, appended);
    const QString path = makeFile(QStringLiteral("GRTN1.DAT"), QByteArray(length, 'x'));
    RecordFile<FamilyRecord> families;
    QVERIFY(families.open(path).isOk());
    FamilyRecord r;
    r.state = kInUse;
    r.setName(QStringLiteral("Nouvelle"));
    qint32 n = 0;
    QVERIFY(families.append(r, n).isOk());
    QCOMPARE(n, appended);
    const QByteArray disk = readFile(path);
    QCOMPARE(disk.size(), appended * 130);
    QCOMPARE(disk.mid((appended - 1) * 130), familyBytes(kInUse, "Nouvelle"));
}

void TestDataFiles::everyWriteIsOnDiskAtOnce()
{
    const QString familyPath = makeFile(QStringLiteral("GRTN1.DAT"), familyFileBytes(4));
    const QString textPath = makeFile(QStringLiteral("GRTN3.DAT"), QByteArray("abc"));
    RecordFile<FamilyRecord> families;
    ByteStream texts;
    QVERIFY(families.open(familyPath).isOk());
    QVERIFY(texts.open(textPath).isOk());

    // The files stay open; another reader of the path sees each change right away.
    FamilyRecord r;
    QVERIFY(families.read(3, r).isOk());
    QCOMPARE(r.state, kDeleted);
    r.state = kInUse;
    QVERIFY(families.write(3, r).isOk());
    QCOMPARE(readFile(familyPath).mid(260, 130), familyBytes(kInUse, "F3"));

    FamilyRecord header;
    QVERIFY(families.read(1, header).isOk());
    header.state = 9;
    QVERIFY(families.write(1, header).isOk());
    QCOMPARE(readFile(familyPath).left(130), le16(9) + QByteArray(128, '*'));

    qint32 pos = 0;
    QVERIFY(texts.append(QByteArray("d\r\ne"), pos).isOk());
    QCOMPARE(pos, 4);
    QCOMPARE(readFile(textPath), QByteArray("abcd\r\ne"));
    QVERIFY(texts.append(QByteArray("f"), pos).isOk());
    QCOMPARE(pos, 8);
    QVERIFY(texts.write(2, QByteArray("XY")).isOk());
    QCOMPARE(readFile(textPath), QByteArray("aXYd\r\nef"));
    QCOMPARE(texts.write(0, QByteArray("x")).code(), Status::Code::Corrupt);
    QCOMPARE(texts.write(std::numeric_limits<qint32>::max(), QByteArray("xy")).code(), Status::Code::Full);
    QCOMPARE(readFile(textPath), QByteArray("aXYd\r\nef"));
}

void TestDataFiles::readOutsideTheFileIsReported_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<qint32>("record");
    QTest::newRow("record 0") << 390 << 0;
    QTest::newRow("negative") << 390 << -1;
    QTest::newRow("one after the last") << 390 << 4;
    QTest::newRow("far past the end") << 390 << std::numeric_limits<qint32>::max();
    QTest::newRow("partial last record") << 390 + 100 << 4;
    QTest::newRow("empty file") << 0 << 1;
}

void TestDataFiles::readOutsideTheFileIsReported()
{
    QFETCH(int, length);
    QFETCH(qint32, record);
    const QByteArray bytes = familyFileBytes(3).leftJustified(length, 'z', true);
    const QString path = makeFile(QStringLiteral("GRTN1.DAT"), bytes);
    RecordFile<FamilyRecord> families;
    QVERIFY(families.open(path).isOk());
    FamilyRecord r;
    r.setName(QStringLiteral("inchangé"));
    const Status s = families.read(record, r);
    QVERIFY(!s.isOk());
    QVERIFY(!s.message().isEmpty());
    QCOMPARE(r.nameText(), QStringLiteral("inchangé"));
    QCOMPARE(readFile(path), bytes);
}

void TestDataFiles::scanVisitsEveryRecordInOrderReadingBlocks()
{
    const int records = 3001;
    const QString path = makeFile(QStringLiteral("GRTN1.DAT"), familyFileBytes(records));
    RecordFile<FamilyRecord> families;
    QVERIFY(families.open(path).isOk());
    // Three reads must be enough for 3000 records: a scan that read record by record
    // would meet the injected failure.
    auto faults = std::make_shared<FaultPlan>();
    faults->readsBeforeFailure = 3;
    families.file().setFaultPlan(faults);

    std::vector<qint32> seen;
    bool namesMatch = true;
    const Status s = families.scan(2, records, [&](qint32 n, const FamilyRecord &r) {
        seen.push_back(n);
        namesMatch = namesMatch && r.nameText() == QStringLiteral("F%1").arg(n)
                     && r.state == (n % 3 == 0 ? kDeleted : kInUse);
        return true;
    });
    QVERIFY2(s.isOk(), qPrintable(s.message()));
    QCOMPARE(int(seen.size()), 3000);
    QCOMPARE(seen.front(), 2);
    QCOMPARE(seen.back(), records);
    QVERIFY(std::is_sorted(seen.begin(), seen.end()));
    QVERIFY(std::adjacent_find(seen.begin(), seen.end()) == seen.end());
    QVERIFY(namesMatch);
}

void TestDataFiles::scanStopsWhenTheVisitorSays()
{
    const QString path = makeFile(QStringLiteral("GRTN1.DAT"), familyFileBytes(3001));
    RecordFile<FamilyRecord> families;
    QVERIFY(families.open(path).isOk());

    int visited = 0;
    qint32 lastSeen = 0;
    QVERIFY(families
                .scan(2, 3001,
                      [&](qint32 n, const FamilyRecord &) {
                          ++visited;
                          lastSeen = n;
                          return n != 1500;
                      })
                .isOk());
    QCOMPARE(visited, 1499);
    QCOMPARE(lastSeen, 1500);

    visited = 0;
    QVERIFY(families.scan(10, 9, [&](qint32, const FamilyRecord &) { return ++visited, true; }).isOk());
    QCOMPARE(visited, 0);
}

void TestDataFiles::scanPastTheEndIsReported()
{
    const QString path = makeFile(QStringLiteral("GRTN1.DAT"), familyFileBytes(20));
    RecordFile<FamilyRecord> families;
    QVERIFY(families.open(path).isOk());
    int visited = 0;
    const Status s = families.scan(2, 21, [&](qint32, const FamilyRecord &) { return ++visited, true; });
    QVERIFY(!s.isOk());
}

void TestDataFiles::recordAppendStopsAtTheLastSigned32BitNumber()
{
    // Sparse files: only the pages written take room on the disk.
    const QString path = makeFile(QStringLiteral("GRTN1.DAT"), QByteArray());
    QFile sparse(path);
    if (!sparse.resize((kInt32Max - 1) * 130))
        QSKIP("the file system refuses a sparse file of that size");

    RecordFile<FamilyRecord> families;
    QVERIFY(families.open(path).isOk());
    FamilyRecord r;
    r.state = kInUse;
    r.setName(QStringLiteral("Dernière"));
    qint32 n = 0;
    QVERIFY(families.append(r, n).isOk());
    QCOMPARE(qint64(n), kInt32Max);
    FamilyRecord back;
    QVERIFY(families.read(n, back).isOk());
    QCOMPARE(back.nameText(), QStringLiteral("Dernière"));

    // The file now ends with record 2^31 - 1: it still has a last record, but no room for another.
    qint32 last = 0;
    const Status lastStatus = families.lastRecord(last);
    QVERIFY2(lastStatus.isOk(), qPrintable(lastStatus.message()));
    QCOMPARE(qint64(last), kInt32Max);
    n = 0;
    QCOMPARE(families.append(r, n).code(), Status::Code::Full);
    QCOMPARE(n, 0);
    QCOMPARE(sizeOf(path), kInt32Max * 130);
    QVERIFY(sparse.remove());
}

void TestDataFiles::byteStreamReadRange_data()
{
    QTest::addColumn<qint32>("pos");
    QTest::addColumn<qint32>("len");
    QTest::addColumn<QByteArray>("read"); // null: refused
    const qint32 max = std::numeric_limits<qint32>::max();
    QTest::newRow("whole file") << 1 << 11 << QByteArray("0123456789A");
    QTest::newRow("last byte") << 11 << 1 << QByteArray("A");
    QTest::newRow("nothing just after the end") << 12 << 0 << QByteArray("");
    QTest::newRow("position 0") << 0 << 1 << QByteArray();
    QTest::newRow("negative position") << -5 << 1 << QByteArray();
    QTest::newRow("negative length") << 1 << -1 << QByteArray();
    QTest::newRow("one byte past the end") << 11 << 2 << QByteArray();
    QTest::newRow("starts after the end") << 12 << 1 << QByteArray();
    QTest::newRow("huge length") << 1 << max << QByteArray();
    QTest::newRow("huge position and length") << max << max << QByteArray();
}

void TestDataFiles::byteStreamReadRange()
{
    QFETCH(qint32, pos);
    QFETCH(qint32, len);
    QFETCH(QByteArray, read);
    const QString path = makeFile(QStringLiteral("GRTN3.DAT"), QByteArray("0123456789A"));
    ByteStream texts;
    QVERIFY(texts.open(path).isOk());
    QByteArray bytes("avant");
    const Status s = texts.read(pos, len, bytes);
    if (!read.isNull()) {
        QVERIFY(s.isOk());
        QCOMPARE(bytes, read);
        return;
    }
    QCOMPARE(s.code(), Status::Code::Corrupt);
    // Untouched output shows nothing was sized or read for the refused request.
    QCOMPARE(bytes, QByteArray("avant"));
}

void TestDataFiles::byteStreamAppendStopsAtTheSigned32BitRange()
{
    const QString path = makeFile(QStringLiteral("GRTN3.DAT"), QByteArray());
    QFile sparse(path);
    if (!sparse.resize(kInt32Max - 3))
        QSKIP("the file system refuses a sparse file of that size");
    ByteStream texts;
    QVERIFY(texts.open(path).isOk());

    QVERIFY(texts.canAppend(3).isOk());
    QCOMPARE(texts.canAppend(4).code(), Status::Code::Full);
    qint32 pos = 0;
    QCOMPARE(texts.append(QByteArray("abcd"), pos).code(), Status::Code::Full);
    QCOMPARE(sizeOf(path), kInt32Max - 3);
    QVERIFY(texts.append(QByteArray("abc"), pos).isOk());
    QCOMPARE(qint64(pos), kInt32Max - 2);
    QCOMPARE(sizeOf(path), kInt32Max);
    QByteArray bytes;
    QVERIFY(texts.read(pos, 3, bytes).isOk());
    QCOMPARE(bytes, QByteArray("abc"));

    // Full: no byte has a position left, not even an empty text.
    pos = 0;
    QCOMPARE(texts.append(QByteArray("z"), pos).code(), Status::Code::Full);
    QCOMPARE(texts.append(QByteArray(), pos).code(), Status::Code::Full);
    QCOMPARE(pos, 0);
    QCOMPARE(sizeOf(path), kInt32Max);
    QVERIFY(sparse.remove());
}

void TestDataFiles::faultPlanFailsTheNthReadAndEveryLaterOne()
{
    const QString path = makeFile(QStringLiteral("GRTN1.DAT"), familyFileBytes(5));
    RecordFile<FamilyRecord> families;
    QVERIFY(families.open(path).isOk());
    auto faults = std::make_shared<FaultPlan>();
    faults->readsBeforeFailure = 2;
    families.file().setFaultPlan(faults);

    FamilyRecord r;
    QVERIFY(families.read(2, r).isOk());
    QVERIFY(families.read(3, r).isOk());
    QCOMPARE(families.read(4, r).code(), Status::Code::IoError);
    QCOMPARE(families.read(2, r).code(), Status::Code::IoError);
    // Writes are not affected by a read fault.
    QVERIFY(families.write(2, r).isOk());
}

void TestDataFiles::faultPlanFailsTheNthWriteAndLeavesTheFileAsItWas()
{
    const QByteArray before = familyFileBytes(3);
    const QString path = makeFile(QStringLiteral("GRTN1.DAT"), before);
    const QString textPath = makeFile(QStringLiteral("GRTN3.DAT"), QByteArray("abc"));
    RecordFile<FamilyRecord> families;
    ByteStream texts;
    QVERIFY(families.open(path).isOk());
    QVERIFY(texts.open(textPath).isOk());
    // One plan shared by both files, as a test of a whole operation would set it.
    auto faults = std::make_shared<FaultPlan>();
    faults->writesBeforeFailure = 1;
    families.file().setFaultPlan(faults);
    texts.file().setFaultPlan(faults);

    qint32 pos = 0;
    QVERIFY(texts.append(QByteArray("def"), pos).isOk());
    FamilyRecord r;
    r.state = kInUse;
    r.setName(QStringLiteral("Refusée"));
    qint32 n = 0;
    QCOMPARE(families.append(r, n).code(), Status::Code::IoError);
    QCOMPARE(n, 0);
    QCOMPARE(families.write(2, r).code(), Status::Code::IoError);
    QCOMPARE(texts.append(QByteArray("ghi"), pos).code(), Status::Code::IoError);
    QCOMPARE(pos, 4);

    QCOMPARE(readFile(path), before);
    QCOMPARE(readFile(textPath), QByteArray("abcdef"));
    // The files can still be read.
    QVERIFY(families.read(2, r).isOk());
    QCOMPARE(r.nameText(), QStringLiteral("F2"));
}

QTEST_APPLESS_MAIN(TestDataFiles)
#include "tst_datafiles.moc"
