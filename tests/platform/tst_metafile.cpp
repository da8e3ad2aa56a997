// Windows metafiles: drawn at their own size in the right place, damaged files refused without
// harm, huge sizes brought within bounds, and the child process that shields the program.
#include "metafilebuilder.h"
#include "platform/childcall.h"
#include "platform/metafile.h"

#include <QBuffer>
#include <QtEndian>
#include <QtTest>

#include <csignal>
#include <cstdlib>
#include <vector>

using namespace gratinel;
namespace mb = gratinel::metafilebuilder;

namespace {

void poke16(QByteArray &b, int at, int v)
{
    const quint16 x = qToLittleEndian(quint16(v));
    std::memcpy(b.data() + at, &x, 2);
}

void poke32(QByteArray &b, int at, qint64 v)
{
    const quint32 x = qToLittleEndian(quint32(v));
    std::memcpy(b.data() + at, &x, 4);
}

// Rewrites the placeable header's frame and units per inch, and its checksum.
QByteArray withPlaceableFrame(QByteArray wmf, int right, int bottom, int inch)
{
    poke16(wmf, 10, right);
    poke16(wmf, 12, bottom);
    poke16(wmf, 14, inch);
    quint16 sum = 0;
    for (int i = 0; i < 20; i += 2)
        sum ^= qFromLittleEndian<quint16>(wmf.constData() + i);
    poke16(wmf, 20, sum);
    return wmf;
}

QByteArray jpeg()
{
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "JPG");
    return bytes;
}

} // namespace

class tst_Metafile : public QObject {
    Q_OBJECT
private slots:
    void drawsAtOwnSizeInPlace_data();
    void drawsAtOwnSizeInPlace();
    void damagedOrForeignDataGivesNoImage_data();
    void damagedOrForeignDataGivesNoImage();
    void hugeDeclaredSizeIsScaledDownWithinBounds_data();
    void hugeDeclaredSizeIsScaledDownWithinBounds();
    void childAnswerComesBackWhole();
    void childFailureOfAnyKindGivesNoAnswer_data();
    void childFailureOfAnyKindGivesNoAnswer();
};

void tst_Metafile::drawsAtOwnSizeInPlace_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("box");
    QTest::addColumn<QColor>("fill");
    const QColor red(220, 30, 30), blue(20, 40, 230), green(0, 128, 0); // not named colours
    const QSize small(96, 48), tall(150, 300);
    const QRect a(10, 5, 20, 10), b(60, 200, 80, 90);
    QTest::newRow("wmf rectangle") << mb::wmfWithRectangle(small, a, red) << small << a << red;
    QTest::newRow("wmf rectangle, tall") << mb::wmfWithRectangle(tall, b, blue) << tall << b << blue;
    QTest::newRow("wmf polygon") << mb::wmfWithPolygon(tall, b, green) << tall << b << green;
    QTest::newRow("emf rectangle") << mb::emfWithRectangle(small, a, green) << small << a << green;
    QTest::newRow("emf rectangle, tall") << mb::emfWithRectangle(tall, b, red) << tall << b << red;
}

void tst_Metafile::drawsAtOwnSizeInPlace()
{
    QFETCH(QByteArray, data);
    QFETCH(QSize, size);
    QFETCH(QRect, box);
    QFETCH(QColor, fill);
    const QImage image = Metafile::render(data);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), size);
    // Inside the box, away from its edges, where smoothing could blend colours.
    const QRect inside = box.adjusted(2, 2, -2, -2);
    for (const QPoint p : {inside.topLeft(), inside.center(), inside.bottomRight()})
        QCOMPARE(QColor(image.pixel(p)), fill);
    // Outside: the white page, in the corners and between the box and the edges.
    for (const QPoint p : {QPoint(1, 1), QPoint(size.width() - 2, size.height() - 2),
                           QPoint(box.left() - 3, box.center().y()), QPoint(box.center().x(), box.bottom() + 3)})
        QCOMPARE(QColor(image.pixel(p)), QColor(Qt::white));
}

void tst_Metafile::damagedOrForeignDataGivesNoImage_data()
{
    QTest::addColumn<QByteArray>("data");
    const QByteArray wmf = mb::wmfWithRectangle(QSize(96, 48), QRect(10, 5, 20, 10), Qt::red);
    const QByteArray emf = mb::emfWithRectangle(QSize(96, 48), QRect(10, 5, 20, 10), Qt::red);

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("text") << QByteArray("Tarte aux pommes\r\n");
    QTest::newRow("jpeg") << jpeg();
    QTest::newRow("wmf headers only") << wmf.left(40);
    QTest::newRow("wmf cut inside a record") << wmf.left(wmf.size() - 9);
    QTest::newRow("wmf without its end record") << wmf.left(wmf.size() - 6);
    QByteArray zero = wmf;
    poke32(zero, 40, 0); // a record of no length would be read again and again
    QTest::newRow("wmf record of size zero") << zero;
    QByteArray huge = wmf;
    poke32(huge, 40, 0x7FFFFFFF);
    QTest::newRow("wmf record larger than the file") << huge;
    QTest::newRow("wmf frame of no width") << withPlaceableFrame(wmf, 0, 720, 1440);
    QTest::newRow("wmf frame with no units per inch") << withPlaceableFrame(wmf, 1440, 720, 0);

    QTest::newRow("emf header only") << emf.left(88);
    QTest::newRow("emf cut inside a record") << emf.left(emf.size() - 10);
    QByteArray odd = emf;
    poke32(odd, 92, 23); // size of the second record, not a multiple of 4
    QTest::newRow("emf record of odd size") << odd;
    QByteArray bigRecord = emf;
    poke32(bigRecord, 92, 0xFFFFFFF0);
    QTest::newRow("emf record larger than the file") << bigRecord;
    QByteArray shortHeader = emf;
    poke32(shortHeader, 4, 40);
    QTest::newRow("emf header too short") << shortHeader;
    QByteArray noFrame = emf;
    for (int at = 8; at < 40; at += 4)
        poke32(noFrame, at, 0);
    poke32(noFrame, 16, -1); // bounds of an empty drawing: right and bottom before left and top
    poke32(noFrame, 20, -1);
    QTest::newRow("emf without frame or bounds") << noFrame;
}

void tst_Metafile::damagedOrForeignDataGivesNoImage()
{
    QFETCH(QByteArray, data);
    QVERIFY(Metafile::render(data).isNull());
}

void tst_Metafile::hugeDeclaredSizeIsScaledDownWithinBounds_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<double>("aspect"); // width over height as declared
    const QByteArray wmf = mb::wmfWithRectangle(QSize(96, 48), QRect(10, 5, 20, 10), Qt::red);
    // 1440 by 720 units at 1 unit per inch: 138240 by 69120 pixels.
    QTest::newRow("wmf of 1440 by 720 inches") << withPlaceableFrame(wmf, 1440, 720, 1) << 2.0;
    QTest::newRow("wmf very narrow") << withPlaceableFrame(wmf, 10, 32000, 1) << 10.0 / 32000;
    QByteArray emf = mb::emfWithRectangle(QSize(96, 48), QRect(10, 5, 20, 10), Qt::red);
    poke32(emf, 32, 0x7FFFFFFF); // frame of 21 km by 30 m
    poke32(emf, 36, 3000000);
    QTest::newRow("emf of 21 km") << emf << double(0x7FFFFFFF) / 3000000;
}

void tst_Metafile::hugeDeclaredSizeIsScaledDownWithinBounds()
{
    QFETCH(QByteArray, data);
    QFETCH(double, aspect);
    const QImage image = Metafile::render(data);
    QVERIFY(!image.isNull());
    QVERIFY(image.width() <= Metafile::kMaxSide && image.height() <= Metafile::kMaxSide);
    QVERIFY(qint64(image.width()) * image.height() <= Metafile::kMaxPixels);
    // Scaled, not cut: the proportions hold to a pixel.
    if (aspect >= 1)
        QVERIFY(qAbs(image.width() / aspect - image.height()) <= 1.0);
    else
        QVERIFY(qAbs(image.height() * aspect - image.width()) <= 1.0);
}

void tst_Metafile::childAnswerComesBackWhole()
{
    // More than a pipe holds at once, so the parent must read while the child writes.
    QByteArray big(3 * 1024 * 1024 + 7, '\0');
    for (int i = 0; i < big.size(); ++i)
        big[i] = char(i * 31 % 251);
    const auto answer = runInChild([&big]() -> std::optional<QByteArray> { return big; });
    QVERIFY(answer);
    QCOMPARE(*answer, big);
    const auto empty = runInChild([]() -> std::optional<QByteArray> { return QByteArray(); });
    QVERIFY(empty && empty->isEmpty());
}

void tst_Metafile::childFailureOfAnyKindGivesNoAnswer_data()
{
    using Work = std::function<std::optional<QByteArray>()>;
    QTest::addColumn<Work>("work");
    QTest::newRow("refuses") << Work([] { return std::optional<QByteArray>(); });
    QTest::newRow("crashes") << Work([]() -> std::optional<QByteArray> {
        std::raise(SIGSEGV);
        return QByteArray("never");
    });
    QTest::newRow("throws") << Work([]() -> std::optional<QByteArray> { throw std::runtime_error("x"); });
    QTest::newRow("answers too much") << Work([] { return std::optional<QByteArray>(QByteArray(2 * 1024 * 1024, 'x')); });
    QTest::newRow("never ends") << Work([]() -> std::optional<QByteArray> {
        for (;;)
            pause();
    });
    QTest::newRow("takes memory without end") << Work([]() -> std::optional<QByteArray> {
        std::vector<void *> blocks;
        for (;;) {
            void *p = std::malloc(64 * 1024 * 1024);
            if (!p)
                return std::nullopt;
            std::memset(p, 1, 4096);
            blocks.push_back(p);
        }
    });
}

void tst_Metafile::childFailureOfAnyKindGivesNoAnswer()
{
    using Work = std::function<std::optional<QByteArray>()>;
    QFETCH(Work, work);
    ChildLimits limits;
    limits.timeoutMs = 500;
    limits.maxOutputBytes = 1024 * 1024;
    limits.extraAddressSpace = 256LL * 1024 * 1024;
    QVERIFY(!runInChild(work, limits));
}

QTEST_MAIN(tst_Metafile)
#include "tst_metafile.moc"
