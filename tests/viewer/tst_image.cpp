// The program's own image window: every viewable type at its own size, the failure message,
// closing by click and Escape, a fresh load on every opening, owner, scroll bars, hourglass.
#include "bookfixture.h"
#include "book/frmrecettes.h"
#include "book/recordcombo.h"
#include "mainwin/frmmain.h"
#include "metafilebuilder.h"
#include "store/module1.h"
#include "testbook.h"
#include "viewer/frmimage.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

#include <functional>

using namespace gratinel;
using namespace Qt::StringLiterals;
using namespace gratinel::testbook;
namespace mb = gratinel::metafilebuilder;

namespace {

constexpr int kFamily = 18;      // "Aaa", sorts first
constexpr int kFirstRecipe = 302; // its only recipe, shown at start

// A GIF of one colour, by hand: Qt reads GIF but cannot write it. Every pixel's code follows
// a clear code, so the codes stay 3 bits wide and no table is ever built.
QByteArray gif(QSize size, QColor colour)
{
    QByteArray b("GIF89a");
    auto put16 = [&b](int v) { b.append(char(v & 0xFF)).append(char(v >> 8)); };
    put16(size.width());
    put16(size.height());
    b.append(char(0x80)).append('\0').append('\0'); // global table of 2 colours
    b.append(char(colour.red())).append(char(colour.green())).append(char(colour.blue()));
    b.append('\0').append('\0').append('\0');
    b.append(',');
    put16(0);
    put16(0);
    put16(size.width());
    put16(size.height());
    b.append('\0');
    b.append(char(2)); // minimum code size
    QByteArray data;
    quint32 bits = 0;
    int count = 0;
    auto code = [&](int c) {
        bits |= quint32(c) << count;
        count += 3;
        while (count >= 8) {
            data.append(char(bits & 0xFF));
            bits >>= 8;
            count -= 8;
        }
    };
    for (int i = 0; i < size.width() * size.height(); ++i) {
        code(4); // clear
        code(0); // colour 0
    }
    code(5); // end
    if (count > 0)
        data.append(char(bits & 0xFF));
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        b.append(char(block.size())).append(block);
    }
    b.append('\0').append(';');
    return b;
}

QByteArray encoded(QSize size, QColor colour, const char *format)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, format) ? bytes : QByteArray();
}

// A platform that notes, at each message, whether the book was active then.
class ProbePlatform : public FakePlatform {
public:
    Answer msgBox(const QString &text, Icon icon, Buttons buttons, Answer defaultAnswer) override
    {
        if (m)
            pageCodeAtMessage << m->pageCode;
        return FakePlatform::msgBox(text, icon, buttons, defaultAnswer);
    }
    Module1 *m = nullptr;
    QList<int> pageCodeAtMessage;
};

struct Viewer {
    explicit Viewer(const QString &imageName = u"tarte.bmp"_s)
        : f(std::make_unique<ProbePlatform>())
    {
        path = f.path(imageName);
    }
    // A book whose first shown recipe, " Tarte aux pommes ", has the image file.
    bool start(const QByteArray &imageBytes)
    {
        if (!writeFile(path, imageBytes))
            return false;
        BookBuilder b = minimal();
        b.addFamily(u"Aaa"_s);
        b.addRecipe(kFamily, u" Tarte aux pommes "_s, u"Des pommes."_s, path);
        if (!f.start(b))
            return false;
        probe().m = &f.m();
        return f.book()->imagePath() == path;
    }
    ProbePlatform &probe() { return static_cast<ProbePlatform &>(f.platform()); }

    // Runs the command and, once the window is up, inspect on it; the window must have been
    // closed by inspect (or the command ends without a window). Returns whether it showed.
    bool open(const std::function<void(frmImage *)> &inspect, bool fromButton = false)
    {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto *w = qobject_cast<frmImage *>(QApplication::activeModalWidget());
            if (!w)
                return;
            shown = w->isVisible();
            inspect(w);
            if (w->isVisible()) {
                QTest::qFail("the window did not close", __FILE__, __LINE__);
                w->reject();
            }
        });
        if (fromButton)
            f.frame()->tbToolBar_ButtonClick(u"Camera"_s);
        else
            f.frame()->menuItem(u"mnuViewImageVisuInterne"_s)->trigger();
        return shown;
    }

    BookFixture f;
    QString path;
};

const QString kFailure = u"Fichier image\r\n%1\r\nnon trouvé ou incompatible."_s;

} // namespace

class TestImage : public QObject {
    Q_OBJECT
private slots:
    void eachViewableTypeShowsAtItsOwnSize_data();
    void eachViewableTypeShowsAtItsOwnSize();
    void unreadableImageGivesTheMessageAndNoWindow_data();
    void unreadableImageGivesTheMessageAndNoWindow();
    void closesOnClickOrEscapeOnly_data();
    void closesOnClickOrEscapeOnly();
    void everyOpeningReadsTheFileAgain();
    void menuGivesTheFrameAsOwnerButtonGivesNone();
    void imageLargerThanTheScreenScrollsUnscaled();
    void awayFromTheListPageWindowStaysEmpty();
};

void TestImage::eachViewableTypeShowsAtItsOwnSize_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("probe");
    QTest::addColumn<QColor>("colour");
    const QColor red(220, 30, 30);
    QTest::newRow("GIF") << u"tarte.gif"_s << gif(QSize(40, 30), red) << QSize(40, 30) << QPoint(20, 15) << red;
    QTest::newRow("JPG") << u"tarte.jpg"_s << encoded(QSize(64, 32), red, "JPG") << QSize(64, 32) << QPoint(30, 15) << red;
    QTest::newRow("BMP") << u"tarte.bmp"_s << encoded(QSize(33, 17), red, "BMP") << QSize(33, 17) << QPoint(5, 5) << red;
    QTest::newRow("ICO") << u"tarte.ico"_s << encoded(QSize(32, 32), red, "ICO") << QSize(32, 32) << QPoint(16, 16) << red;
    const QRect box(20, 10, 40, 20);
    QTest::newRow("WMF") << u"tarte.wmf"_s << mb::wmfWithRectangle(QSize(120, 60), box, red) << QSize(120, 60)
                         << box.center() << red;
    QTest::newRow("EMF") << u"tarte.emf"_s << mb::emfWithRectangle(QSize(120, 60), box, red) << QSize(120, 60)
                         << box.center() << red;
    // The type comes from the content: a name's extension in other case changes nothing.
    QTest::newRow("WMF named .Wmf") << u"tarte.Wmf"_s << mb::wmfWithPolygon(QSize(50, 70), box, red) << QSize(50, 70)
                                    << QPoint(30, 20) << red;
}

void TestImage::eachViewableTypeShowsAtItsOwnSize()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, size);
    QFETCH(QPoint, probe);
    QFETCH(QColor, colour);
    QVERIFY(!bytes.isEmpty());

    Viewer v(name);
    QVERIFY(v.start(bytes));
    QImage shown;
    QString caption;
    QPoint at(-1, -1);
    const bool opened = v.open([&](frmImage *w) {
        caption = w->windowTitle();
        shown = w->Picture1->pixmap().toImage();
        at = w->Picture1->mapTo(w, QPoint(0, 0));
        QTest::mouseClick(w->Picture1, Qt::LeftButton);
    });
    QVERIFY(opened);
    QCOMPARE(caption, u"Gratinel \"Free\" - Tarte aux pommes (cliquez sur l'image ou touche ECHAP pour fermer la fenêtre)"_s);
    QCOMPARE(shown.size(), size);
    QCOMPARE(at, QPoint(0, 0));
    const QColor got = shown.pixelColor(probe);
    QVERIFY2(qAbs(got.red() - colour.red()) <= 8 && qAbs(got.green() - colour.green()) <= 8
                 && qAbs(got.blue() - colour.blue()) <= 8,
             qPrintable(got.name()));
    QVERIFY(v.f.platform().messages.empty());
    QVERIFY(v.f.platform().calls.contains(u"loadImage:"_s + v.path));
    // The hourglass until the window is up, then the normal pointer; the book active after.
    const QStringList &calls = v.f.platform().calls;
    const qsizetype hourglass = calls.lastIndexOf(u"pointer:hourglass"_s);
    QVERIFY(hourglass >= 0 && calls.indexOf(u"pointer:normal"_s, hourglass) > hourglass);
    QCOMPARE(v.f.platform().pointer, Platform::Pointer::Normal);
    QVERIFY(v.f.frame()->bookActive());
    QCOMPARE(v.f.m().pageCode, qint16(11));
}

void TestImage::unreadableImageGivesTheMessageAndNoWindow_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("removeAfterStart");
    const QByteArray wmf = mb::wmfWithRectangle(QSize(96, 48), QRect(10, 5, 20, 10), Qt::red);
    const QByteArray emf = mb::emfWithRectangle(QSize(96, 48), QRect(10, 5, 20, 10), Qt::red);
    QTest::newRow("text named .jpg") << u"tarte.jpg"_s << QByteArray("Ceci n'est pas une image.\r\n") << false;
    QTest::newRow("empty .gif") << u"tarte.gif"_s << QByteArray() << false;
    QTest::newRow("header of a .bmp") << u"tarte.bmp"_s << encoded(QSize(40, 40), Qt::red, "BMP").left(20) << false;
    QTest::newRow("truncated .wmf") << u"tarte.wmf"_s << wmf.left(wmf.size() - 10) << false;
    QTest::newRow("truncated .emf") << u"tarte.emf"_s << emf.left(emf.size() - 12) << false;
    QTest::newRow("removed after it was shown") << u"tarte.bmp"_s << encoded(QSize(8, 8), Qt::red, "BMP") << true;
}

void TestImage::unreadableImageGivesTheMessageAndNoWindow()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, removeAfterStart);

    Viewer v(name);
    QVERIFY(v.start(bytes));
    if (removeAfterStart)
        QVERIFY(QFile::remove(v.path));
    bool windowSeen = false;
    QTimer::singleShot(0, [&] {
        if (auto *w = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            windowSeen = true;
            w->reject();
        }
    });
    v.f.frame()->menuItem(u"mnuViewImageVisuInterne"_s)->trigger();
    QCoreApplication::processEvents();

    QVERIFY(!windowSeen);
    FakePlatform &p = v.f.platform();
    QCOMPARE(p.messageTexts(), QStringList{kFailure.arg(v.path)});
    QCOMPARE(p.messages[0].icon, Platform::Icon::Critical);
    // Shown while the window held the activation, the book's code then 0.
    QCOMPARE(v.probe().pageCodeAtMessage, QList<int>{0});
    QCOMPARE(p.calls.at(p.calls.indexOf(u"msgBox"_s) - 1), u"pointer:normal"_s);
    QVERIFY(v.f.frame()->bookActive());
    QCOMPARE(v.f.m().pageCode, qint16(11));
    // The recipe keeps its image path on disk.
    QVERIFY(v.f.recipeFieldOnDisk(kFirstRecipe, recipefield::imagePos) > 0);
}

void TestImage::closesOnClickOrEscapeOnly_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("click on the picture") << u"click picture"_s;
    QTest::newRow("click beside the picture") << u"click beside"_s;
    QTest::newRow("Escape on the picture") << u"escape picture"_s;
    QTest::newRow("Escape on the window") << u"escape window"_s;
}

void TestImage::closesOnClickOrEscapeOnly()
{
    QFETCH(QString, action);
    Viewer v;
    QVERIFY(v.start(encoded(QSize(20, 20), Qt::blue, "BMP")));
    bool openAfterOtherKeys = false;
    bool focusOnPicture = false;
    QVERIFY(v.open([&](frmImage *w) {
        focusOnPicture = w->focusWidget() == w->Picture1;
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_A, Qt::Key_Down}) {
            QTest::keyClick(w->Picture1, key);
            QTest::keyClick(w, key);
        }
        QTest::mouseClick(w->Picture1, Qt::RightButton);
        openAfterOtherKeys = w->isVisible();
        if (action == u"click picture")
            QTest::mouseClick(w->Picture1, Qt::LeftButton, {}, QPoint(3, 3));
        else if (action == u"click beside") {
            QWidget *viewport = w->findChild<QScrollArea *>()->viewport();
            QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(w->width() - 5, w->height() - 5));
        } else if (action == u"escape picture")
            QTest::keyClick(w->Picture1, Qt::Key_Escape);
        else
            QTest::keyClick(w, Qt::Key_Escape);
    }));
    QVERIFY(focusOnPicture);
    QVERIFY(openAfterOtherKeys);
    QVERIFY(v.f.platform().messages.empty());
}

void TestImage::everyOpeningReadsTheFileAgain()
{
    Viewer v;
    QVERIFY(v.start(encoded(QSize(10, 10), Qt::red, "BMP")));
    QColor first, second;
    QVERIFY(v.open([&](frmImage *w) {
        first = w->Picture1->pixmap().toImage().pixelColor(5, 5);
        QTest::keyClick(w, Qt::Key_Escape);
    }));
    // Replaced on disk between two openings, by an image of another size and colour.
    QVERIFY(writeFile(v.path, encoded(QSize(30, 12), Qt::green, "BMP")));
    QSize size;
    QVERIFY(v.open([&](frmImage *w) {
        const QImage image = w->Picture1->pixmap().toImage();
        second = image.pixelColor(5, 5);
        size = image.size();
        QTest::keyClick(w, Qt::Key_Escape);
    }));
    QCOMPARE(first, QColor(Qt::red));
    QCOMPARE(second, QColor(Qt::green));
    QCOMPARE(size, QSize(30, 12));
    QCOMPARE(v.f.platform().count(u"loadImage:"_s + v.path), 2);
}

void TestImage::menuGivesTheFrameAsOwnerButtonGivesNone()
{
    Viewer v;
    QVERIFY(v.start(encoded(QSize(10, 10), Qt::red, "BMP")));
    QWidget *menuOwner = nullptr, *buttonOwner = v.f.frame();
    QVERIFY(v.open([&](frmImage *w) {
        menuOwner = w->parentWidget();
        QTest::keyClick(w, Qt::Key_Escape);
    }));
    QVERIFY(v.f.frame()->button(u"Camera"_s)->isEnabled());
    QVERIFY(v.open([&](frmImage *w) {
        buttonOwner = w->parentWidget();
        QTest::keyClick(w, Qt::Key_Escape);
    }, true));
    QCOMPARE(menuOwner, v.f.frame());
    QCOMPARE(buttonOwner, nullptr);
    // The button's command, run by its menu item, still opens with the owner afterwards.
    QVERIFY(v.open([&](frmImage *w) {
        menuOwner = w->parentWidget();
        QTest::keyClick(w, Qt::Key_Escape);
    }));
    QCOMPARE(menuOwner, v.f.frame());
}

void TestImage::imageLargerThanTheScreenScrollsUnscaled()
{
    Viewer v;
    const QSize huge(3000, 2500);
    QVERIFY(v.start(encoded(huge, Qt::darkYellow, "BMP")));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(huge.width() > screen.width() && huge.height() > screen.height());
    QSize window, picture;
    bool bars = false;
    QVERIFY(v.open([&](frmImage *w) {
        window = w->frameGeometry().size();
        picture = w->Picture1->size();
        auto *scroll = w->findChild<QScrollArea *>();
        QTRY_VERIFY(scroll->horizontalScrollBar()->isVisible() && scroll->verticalScrollBar()->isVisible());
        bars = scroll->horizontalScrollBar()->maximum() > 0 && scroll->verticalScrollBar()->maximum() > 0;
        QTest::mouseClick(w->Picture1, Qt::LeftButton, {}, QPoint(10, 10));
    }));
    QCOMPARE(picture, huge);
    QVERIFY(bars);
    QVERIFY(window.width() <= screen.width() && window.height() <= screen.height());
}

void TestImage::awayFromTheListPageWindowStaysEmpty()
{
    // Outside the list page nothing is read: no caption, no picture, until a click.
    FakePlatform p;
    const QString path = QDir::temp().filePath(u"gratinel-tst-image-missing.bmp"_s);
    frmImage w(p, u"Tarte"_s, path, 12);
    bool shown = false;
    QTimer::singleShot(0, [&] {
        shown = w.isVisible();
        QTest::mouseClick(w.Picture1, Qt::LeftButton);
    });
    w.exec();
    QVERIFY(shown);
    QVERIFY(w.windowTitle().isEmpty());
    QVERIFY(w.Picture1->pixmap().isNull());
    QVERIFY(p.messages.empty());
    QVERIFY(!p.calls.contains(u"loadImage:"_s + path));
}

QTEST_MAIN(TestImage)
#include "tst_image.moc"
