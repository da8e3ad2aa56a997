// Image paths: which paths are refused or will not be shown, the file dialog's set-up, and
// the add page's box as the dialog and the change check fill and empty it.
#include "bookfixture.h"
#include "book/frmrecettes.h"
#include "book/imagepaths.h"
#include "book/tabstrip.h"
#include "mainwin/frmmain.h"
#include "testbook.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace gratinel;
using namespace gratinel::imagepaths;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(gratinel::imagepaths::Verdict)

class TestImagePaths : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void rulesOverTheWholePath_data();
    void rulesOverTheWholePath();
    void dialogSetUp();
    void addPageBoxFollowsDialogAndChangeCheck_data();
    void addPageBoxFollowsDialogAndChangeCheck();
};

void TestImagePaths::rulesOverTheWholePath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("extension"); // "<none>" when the path has no '.'
    QTest::addColumn<bool>("refusedOnChange");
    QTest::addColumn<Verdict>("verdict");

    const Verdict refused = Verdict::Refused, viewable = Verdict::Viewable, notViewable = Verdict::NotViewable;
    QTest::newRow("jpg") << u"/home/c/tarte.jpg"_s << u"JPG"_s << false << viewable;
    QTest::newRow("mixed case gif") << u"/home/c/tarte.Gif"_s << u"GIF"_s << false << viewable;
    QTest::newRow("upper case gif") << u"TARTE.GIF"_s << u"GIF"_s << false << viewable;
    QTest::newRow("ico has no filter but is viewable") << u"a.ico"_s << u"ICO"_s << false << viewable;
    QTest::newRow("jpeg") << u"/img/photo.Jpeg"_s << u"JPEG"_s << false << notViewable;
    QTest::newRow("tif") << u"/img/photo.TIF"_s << u"TIF"_s << false << notViewable;
    QTest::newRow("png") << u"/img/photo.png"_s << u"PNG"_s << false << notViewable;
    QTest::newRow("only dot in a folder") << u"C:\\Mes.Photos\\tarte"_s << u"PHOTOS\\TARTE"_s << false << notViewable;
    QTest::newRow("last dot decides") << u"/img/tarte.jpg.exe"_s << u"EXE"_s << true << refused;
    QTest::newRow("txt") << u"/doc/recette.TXT"_s << u"TXT"_s << true << refused;
    QTest::newRow("lower case doc") << u"/doc/recette.doc"_s << u"DOC"_s << true << refused;
    QTest::newRow("wri, last refused") << u"x.wri"_s << u"WRI"_s << true << refused;
    QTest::newRow("no dot at all") << u"/home/c/tarte"_s << u"<none>"_s << true << refused;
    QTest::newRow("ends in a dot") << u"/home/c/tarte."_s << QString() << false << refused;
    QTest::newRow("exe inside a word is no extension") << u"/home/c/exe.gif"_s << u"GIF"_s << false << viewable;
}

void TestImagePaths::rulesOverTheWholePath()
{
    QFETCH(QString, path);
    QFETCH(QString, extension);
    QFETCH(bool, refusedOnChange);
    QFETCH(Verdict, verdict);

    const std::optional<QString> ext = imageExtension(path);
    QCOMPARE(ext.value_or(u"<none>"_s), extension.isNull() ? QString(u""_s) : extension);
    QCOMPARE(imagepaths::refusedOnChange(path), refusedOnChange);
    QCOMPARE(checkOnValidation(path), verdict);
}

void TestImagePaths::dialogSetUp()
{
    BookFixture f;
    QVERIFY(f.start(testbook::minimal()));
    f.book()->TabStrip1->selectTab(2);
    f.platform().nextOpenFileName(std::nullopt);
    QTest::mouseClick(f.book()->cmdImageAjouter, Qt::LeftButton);

    QCOMPARE(f.platform().fileRequests.size(), size_t(1));
    const Platform::OpenFileRequest &r = f.platform().fileRequests.front();
    QCOMPARE(r.title, u"Rechercher une image"_s);
    QCOMPARE(r.filters, (QStringList{u"(*.GIF) Compuserve GIF|*.GIF"_s, u"(*.JPG) JPEG-Fichiers|*.JPG"_s,
                                     u"(*.BMP) Bitmap Windows|*.BMP"_s, u"(*.WMF) Méta-fichier Windows|*.WMF"_s,
                                     u"(*.EMF) Méta-fichier étendu Windows|*.EMF"_s, u"Tous fichiers (*.*)|*.*"_s}));
    QCOMPARE(r.filterIndex, 1);
    QVERIFY(r.fileName.isEmpty());
}

void TestImagePaths::addPageBoxFollowsDialogAndChangeCheck_data()
{
    QTest::addColumn<QString>("before");  // the box's path before the dialog
    QTest::addColumn<QString>("chosen");  // "" for a cancelled dialog
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("refusal");    // the beep and the message came

    QTest::newRow("jpg chosen") << u""_s << u"/photos/tarte.jpg"_s << u"/photos/tarte.jpg"_s << false;
    QTest::newRow("tif chosen, no warning yet") << u""_s << u"/photos/tarte.TIF"_s << u"/photos/tarte.TIF"_s << false;
    QTest::newRow("txt chosen is emptied at once") << u"/photos/a.gif"_s << u"/doc/recette.TXT"_s << u""_s << true;
    QTest::newRow("no dot is emptied") << u""_s << u"/photos/tarte"_s << u""_s << true;
    QTest::newRow("ending in a dot stays") << u""_s << u"/photos/tarte."_s << u"/photos/tarte."_s << false;
    QTest::newRow("cancel keeps the path") << u"/photos/a.gif"_s << u""_s << u"/photos/a.gif"_s << false;
}

void TestImagePaths::addPageBoxFollowsDialogAndChangeCheck()
{
    QFETCH(QString, before);
    QFETCH(QString, chosen);
    QFETCH(QString, after);
    QFETCH(bool, refusal);

    BookFixture f;
    QVERIFY(f.start(testbook::minimal()));
    frmRecettes *book = f.book();
    book->TabStrip1->selectTab(2);
    FakePlatform &p = f.platform();
    if (!before.isEmpty()) {
        p.nextOpenFileName(before);
        book->cmdImageAjouter->click();
    }
    // The user can only read the box: only the dialog fills it.
    QVERIFY(book->txtImageAjouter->isReadOnly());
    p.calls.clear();
    p.messages.clear();

    p.nextOpenFileName(chosen.isEmpty() ? std::nullopt : std::optional<QString>(chosen));
    book->cmdImageAjouter->click();
    QCOMPARE(book->txtImageAjouter->text(), after);
    if (refusal) {
        QCOMPARE(p.messageTexts(), QStringList{u"Ce fichier n'est pas un fichier image."_s});
        QCOMPARE(p.messages.front().icon, Platform::Icon::Information);
        const qsizetype beep = p.calls.indexOf(u"beep"_s);
        QVERIFY(beep >= 0 && beep < p.calls.indexOf(u"msgBox"_s));
        QCOMPARE(p.count(u"beep"_s), 1);
    } else {
        QVERIFY(p.messages.empty());
        QCOMPARE(p.count(u"beep"_s), 0);
    }
}

QTEST_MAIN(TestImagePaths)
#include "tst_imagepaths.moc"
