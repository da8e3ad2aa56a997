// The main frame: its menu bar, toolbar and image list, the toolbar dispatch, the web link, closing, the about box,
// the automatic backup at start.
#include "bookfixture.h"
#include "book/frmrecettes.h"
#include "book/tabstrip.h"
#include "mainwin/autobackuprun.h"
#include "mainwin/frmabout.h"
#include "mainwin/frmmain.h"
#include "smalldisk.h"
#include "store/bookbackup.h"
#include "store/module1.h"
#include "testbook.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

#include <memory>

using namespace gratinel;
using namespace Qt::StringLiterals;

namespace {

// One line per menu entry: indentation by level, name, caption, shortcut, and "submenu"
// or "-" for the entries that open a submenu or separate.
void describeMenu(const QList<QAction *> &actions, int level, QStringList &out)
{
    for (QAction *a : actions) {
        const QString indent(level * 2, u' ');
        if (a->isSeparator()) {
            out << indent + a->objectName() + u" -"_s;
        } else if (a->menu()) {
            out << indent + a->objectName() + u" "_s + a->text() + u" submenu"_s;
            describeMenu(a->menu()->actions(), level + 1, out);
        } else {
            const QString keys = a->shortcut().toString(QKeySequence::PortableText);
            out << indent + a->objectName() + u" "_s + a->text() + (keys.isEmpty() ? QString() : u" "_s + keys);
        }
    }
}

QToolBar *toolBarOf(const frmMain *frame)
{
    return frame->findChild<QToolBar *>(u"tbToolBar"_s);
}

QImage imageOf(const QIcon &icon)
{
    return icon.pixmap(QSize(16, 16)).toImage();
}

// Every menu item the toolbar can reach, each with a spy on its triggering.
struct TriggerSpies {
    explicit TriggerSpies(const frmMain *frame)
    {
        for (const char *name : {"mnuFilePrint", "mnuFileExit", "mnuEditCut", "mnuEditCopy", "mnuEditPaste",
                                 "mnuEditSelect", "mnuEditRechercher", "mnuEditEnvoyerTtx", "mnuEditEnvoyerNotePad",
                                 "mnuViewImageVisuAssocie", "mnuViewImageVisuInterne", "mnuHelpContents",
                                 "mnuHelpGrSurLeWeb", "mnuHelpAbout"}) {
            spies.emplace_back(QString::fromLatin1(name),
                               std::make_unique<QSignalSpy>(frame->menuItem(QString::fromLatin1(name)), &QAction::triggered));
        }
    }
    // Names of the items triggered, once per triggering.
    QStringList triggered() const
    {
        QStringList out;
        for (const auto &[name, spy] : spies) {
            for (int i = 0; i < spy->count(); ++i)
                out << name;
        }
        return out;
    }
    std::vector<std::pair<QString, std::unique_ptr<QSignalSpy>>> spies;
};

} // namespace

class TestFrmMain : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void menuBarFollowsTheTable();
    void toolbarButtonsInOrderWithTheirImages();
    void imageListKeysInOrder();
    void toolbarClickRunsTheMenuItem_data();
    void toolbarClickRunsTheMenuItem();
    void toolbarButtonPressReachesTheDispatch();

    void captionAndWebLink();
    void webLinkCentredOnResize_data();
    void webLinkCentredOnResize();

    void closingUnloadsBookAndQuitsHelp_data();
    void closingUnloadsBookAndQuitsHelp();
    void aboutBoxIsModalAndTakesActivation();
    void windowListRestoresMinimisedBook();
    void automaticBackupAtStart_data();
    void automaticBackupAtStart();
};

void TestFrmMain::menuBarFollowsTheTable()
{
    BookFixture f;
    QVERIFY(f.start(testbook::minimal()));
    QStringList lines;
    describeMenu(f.frame()->menuBar()->actions(), 0, lines);

    const QStringList expected = {
        u"mnuFile &Fichier submenu"_s,
        u"  mnuFilePrint &Imprimer"_s,
        u"  mnuFilePrintLivret Imprimer un &livret..."_s,
        u"  mnuFileBar1 -"_s,
        u"  mnuFileExit &Quitter"_s,
        u"mnuEdit &Edition submenu"_s,
        u"  mnuEditCut &Couper Ctrl+X"_s,
        u"  mnuEditCopy C&opier Ctrl+C"_s,
        u"  mnuEditPaste Co&ller Ctrl+V"_s,
        u"  mnuEditSelect Sélectionner &tout Ctrl+A"_s,
        u"  mnuEditBar0 -"_s,
        u"  mnuEditRechercher &Rechercher... Ctrl+F"_s,
        u"  mnuEditBar1 -"_s,
        u"  mnuEditEnvoyer &Envoyer submenu"_s,
        u"    mnuEditEnvoyerTtx &Traitement de texte"_s,
        u"    mnuEditEnvoyerNotePad &Bloc-notes"_s,
        u"mnuView Affic&hage submenu"_s,
        u"  mnuViewImage &Image submenu"_s,
        u"    mnuViewImageVisuAssocie Visualisateur &associé"_s,
        u"    mnuViewImageVisuInterne Visualisateur &interne"_s,
        u"mnuHelp &? submenu"_s,
        u"  mnuHelpContents &Sommaire de l'aide"_s,
        u"  mnuHelpBar0 -"_s,
        u"  mnuHelpGrSurLeWeb Gratinel sur le &Web"_s,
        u"  mnuHelpBar2 -"_s,
        u"  mnuHelpAbout A &propos de Gratinel \"Free\""_s,
    };
    QCOMPARE(lines, expected);

    // Each entry is found by its name, as the book switches them.
    for (const QString &line : expected) {
        const QString name = line.trimmed().section(u' ', 0, 0);
        QAction *a = f.frame()->menuItem(name);
        QVERIFY2(a, qPrintable(name));
        QCOMPARE(a->objectName(), name);
    }
}

void TestFrmMain::toolbarButtonsInOrderWithTheirImages()
{
    BookFixture f;
    QVERIFY(f.start(testbook::minimal()));
    const frmMain *frame = f.frame();
    QToolBar *bar = toolBarOf(frame);
    QVERIFY(bar);

    QStringList keys, tips;
    for (QAction *a : bar->actions()) {
        keys << (a->isSeparator() ? u"|"_s : a->objectName());
        if (!a->isSeparator())
            tips << a->toolTip();
    }
    QCOMPARE(keys, (QStringList{u"Print"_s, u"|"_s, u"Couper"_s, u"Copier"_s, u"Coller"_s, u"Find"_s, u"Ttx"_s,
                                u"Notepad"_s, u"|"_s, u"Camera"_s, u"|"_s, u"Help"_s, u"|"_s, u"Exit"_s}));
    QCOMPARE(tips, (QStringList{u"Imprimer"_s, u"Couper"_s, u"Copier"_s, u"Coller"_s, u"Rechercher"_s,
                                u"Envoyer dans traitement de texte"_s, u"Envoyer dans bloc-notes"_s,
                                u"Voir l'image (visualisateur interne)"_s, u"Sommaire de l'aide"_s,
                                u"Quitter Gratinel \"Free\""_s}));

    // Each button shows the image of its key in the image list.
    const QList<QPair<QString, QString>> images = {
        {u"Print"_s, u"Print"_s}, {u"Couper"_s, u"Cut"_s}, {u"Copier"_s, u"Copy"_s}, {u"Coller"_s, u"Paste"_s},
        {u"Find"_s, u"Find"_s},   {u"Ttx"_s, u"Ttx"_s},    {u"Notepad"_s, u"Notepad"_s}, {u"Camera"_s, u"Camera"_s},
        {u"Help"_s, u"Help"_s},   {u"Exit"_s, u"Exit"_s},
    };
    for (const auto &[key, imageKey] : images) {
        const QImage shown = imageOf(frame->button(key)->icon());
        QVERIFY2(!shown.isNull(), qPrintable(key));
        QCOMPARE(shown, imageOf(frame->imlToolbarIcons().byKey(imageKey)));
    }
}

void TestFrmMain::imageListKeysInOrder()
{
    const ImageList list;
    QCOMPARE(ImageList::keys(),
             (QStringList{u"Print"_s, u"Cut"_s, u"Copy"_s, u"Paste"_s, u"Recette"_s, u"Fromage"_s, u"Menu"_s,
                          u"Vin"_s, u"Millesime"_s, u"CoupCoeur"_s, u"Tool"_s, u"Sandwich"_s, u"Help"_s,
                          u"Camera"_s, u"Find"_s, u"Ttx"_s, u"Notepad"_s, u"coeur1"_s, u"Exit"_s, u"MesNotes"_s}));
    // Twenty different 16 x 16 images, the same by position as by key.
    QSet<QByteArray> distinct;
    for (int i = 1; i <= 20; ++i) {
        const QImage image = imageOf(list.byIndex(i));
        QCOMPARE(image.size(), QSize(16, 16));
        QCOMPARE(image, imageOf(list.byKey(ImageList::keys().at(i - 1))));
        distinct.insert(QByteArray(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes()));
    }
    QCOMPARE(distinct.size(), 20);
    QVERIFY(list.byIndex(21).isNull());
}

void TestFrmMain::toolbarClickRunsTheMenuItem_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("triggered");

    QTest::newRow("Print") << u"Print"_s << QStringList{u"mnuFilePrint"_s};
    QTest::newRow("Couper") << u"Couper"_s << QStringList{u"mnuEditCut"_s};
    QTest::newRow("Copier") << u"Copier"_s << QStringList{u"mnuEditCopy"_s};
    QTest::newRow("Coller") << u"Coller"_s << QStringList{u"mnuEditPaste"_s};
    QTest::newRow("Find") << u"Find"_s << QStringList{u"mnuEditRechercher"_s};
    QTest::newRow("Ttx") << u"Ttx"_s << QStringList{u"mnuEditEnvoyerTtx"_s};
    QTest::newRow("Notepad") << u"Notepad"_s << QStringList{u"mnuEditEnvoyerNotePad"_s};
    QTest::newRow("Camera") << u"Camera"_s << QStringList{u"mnuViewImageVisuInterne"_s};
    QTest::newRow("Help") << u"Help"_s << QStringList{u"mnuHelpContents"_s};
    QTest::newRow("separator, no key") << QString() << QStringList{};
    QTest::newRow("key in other case") << u"print"_s << QStringList{};
    QTest::newRow("image key, not a button key") << u"Cut"_s << QStringList{};
    QTest::newRow("key with a trailing space") << u"Help "_s << QStringList{};
    QTest::newRow("unknown key") << u"Vin"_s << QStringList{};
}

void TestFrmMain::toolbarClickRunsTheMenuItem()
{
    QFETCH(QString, key);
    QFETCH(QStringList, triggered);

    BookFixture f;
    QVERIFY(f.start(testbook::minimal()));
    frmMain *frame = f.frame();
    // The dispatch alone: every command available, whatever the page.
    for (const char *name : {"mnuFilePrint", "mnuEditCut", "mnuEditCopy", "mnuEditPaste", "mnuEditRechercher",
                             "mnuEditEnvoyer", "mnuViewImage"})
        frame->setMenuEnabled(QString::fromLatin1(name), true);

    TriggerSpies spies(frame);
    // A command that opens one of the program's windows is closed again at once.
    QTimer::singleShot(0, frame, [] {
        if (QWidget *w = QApplication::activeModalWidget())
            w->close();
    });
    frame->tbToolBar_ButtonClick(key);
    QCOMPARE(spies.triggered(), triggered);
    QVERIFY(frame->isVisible());
    // The image command runs for real: the first recipe has no image to show.
    QCOMPARE(f.platform().messageTexts(), key == u"Camera"_s
             ? QStringList{u"Fichier image\r\n\r\nnon trouvé ou incompatible."_s} : QStringList{});
}

void TestFrmMain::toolbarButtonPressReachesTheDispatch()
{
    BookFixture f;
    QVERIFY(f.start(testbook::minimal()));
    frmMain *frame = f.frame();
    TriggerSpies spies(frame);
    QToolBar *bar = toolBarOf(frame);

    QTest::mouseClick(bar->widgetForAction(frame->button(u"Help"_s)), Qt::LeftButton);
    QTest::mouseClick(bar->widgetForAction(frame->button(u"Copier"_s)), Qt::LeftButton);
    // Disabled on the list page: the press does nothing.
    QVERIFY(!frame->button(u"Coller"_s)->isEnabled());
    QTest::mouseClick(bar->widgetForAction(frame->button(u"Coller"_s)), Qt::LeftButton);
    QCOMPARE(spies.triggered(), (QStringList{u"mnuEditCopy"_s, u"mnuHelpContents"_s}));
}

void TestFrmMain::captionAndWebLink()
{
    BookFixture f;
    QVERIFY(f.start(testbook::minimal()));
    frmMain *frame = f.frame();
    // The maximised book adds its own caption to the frame's, as multiple-document frames
    // show it; the frame's own caption comes back when the book is not maximised.
    QCOMPARE(frame->windowTitle(), u"Gratinel \"Free\" - [Les recettes]"_s);
    qobject_cast<QMdiSubWindow *>(f.book()->parentWidget())->showNormal();
    QCOMPARE(frame->windowTitle(), u"Gratinel \"Free\""_s);

    const QLabel *link = frame->lblAdresseWeb();
    QCOMPARE(link->text(), u"Découvrez \"Gratinel\" sur le Web !"_s);
    QVERIFY(link->width() >= link->sizeHint().width()); // the bold caption is not cut

    // The strip along the bottom holds the link, 120 twips below its top.
    const QWidget *strip = link->parentWidget();
    QCOMPARE(strip->height(), 35);
    QCOMPARE(link->y(), 8);
    QCOMPARE(strip->mapTo(frame, QPoint(0, strip->height())).y(), frame->height());
}

void TestFrmMain::webLinkCentredOnResize_data()
{
    QTest::addColumn<int>("width");

    QTest::newRow("as opened") << 0;
    QTest::newRow("wide") << 1200;
    QTest::newRow("odd width") << 777;
    QTest::newRow("narrow") << 360;
    QTest::newRow("narrower than the link") << 120;
}

void TestFrmMain::webLinkCentredOnResize()
{
    QFETCH(int, width);

    BookFixture f;
    QVERIFY(f.start(testbook::minimal()));
    frmMain *frame = f.frame();
    const QLabel *link = frame->lblAdresseWeb();
    if (width > 0) {
        frame->resize(width, 500);
        QTRY_COMPARE(frame->width(), qMax(width, frame->minimumSizeHint().width()));
    }

    const int outer = frame->frameGeometry().width();
    if (width > 0 && width < link->width()) {
        QVERIFY2(outer < link->width(), "the frame could not be made narrower than the link");
        QVERIFY(link->x() < 0);
    }
    // Centred on the outer width; half a pixel either way for the rounding.
    QVERIFY2(qAbs(2 * link->x() - (outer - link->width())) <= 1,
             qPrintable(u"left %1, outer %2, link %3"_s.arg(link->x()).arg(outer).arg(link->width())));
}

void TestFrmMain::closingUnloadsBookAndQuitsHelp_data()
{
    QTest::addColumn<QString>("how");

    QTest::newRow("menu Quitter") << u"menu"_s;
    QTest::newRow("toolbar Exit") << u"button"_s;
    QTest::newRow("close box") << u"close"_s;
}

void TestFrmMain::closingUnloadsBookAndQuitsHelp()
{
    QFETCH(QString, how);

    BookFixture f;
    QVERIFY(f.start(testbook::minimal()));
    frmMain *frame = f.frame();
    frame->setAttribute(Qt::WA_DeleteOnClose, false);
    QVERIFY(frame->menuItem(u"mnuFilePrint"_s)->isEnabled());

    if (how == u"menu")
        frame->menuItem(u"mnuFileExit"_s)->trigger();
    else if (how == u"button")
        QTest::mouseClick(toolBarOf(frame)->widgetForAction(frame->button(u"Exit"_s)), Qt::LeftButton);
    else
        frame->close();

    QVERIFY(!frame->isVisible());
    QCOMPARE(f.m().pageCode, qint16(0));
    QCOMPARE(bookCommandStates(frame), bookCommandStates(QStringList{}));
    QCOMPARE(f.platform().count(u"helpQuit"_s), 1);
    QVERIFY(f.platform().messages.empty());
    // Nothing that comes after brings the commands back.
    frame->activateBook();
    QCOMPARE(f.m().pageCode, qint16(0));
}

void TestFrmMain::aboutBoxIsModalAndTakesActivation()
{
    BookFixture f;
    QVERIFY(f.start(testbook::minimal()));
    frmMain *frame = f.frame();
    f.book()->TabStrip1->selectTab(3);
    const QStringList before = bookCommandStates(frame);

    QString title, version;
    QStringList links;
    bool modalOverFrame = false;
    int codeWhileOpen = -1;
    QStringList statesWhileOpen;
    QTimer::singleShot(0, frame, [&] {
        auto *about = qobject_cast<frmAbout *>(QApplication::activeModalWidget());
        if (!about)
            return;
        title = about->windowTitle();
        modalOverFrame = about->isModal() && about->parentWidget() == frame;
        version = about->findChild<QLabel *>(u"lblVersion"_s)->text();
        auto *linkLabel = about->findChild<QLabel *>(u"lblLinks"_s);
        static const QRegularExpression href(u"href=\"([^\"]+)\""_s);
        for (auto it = href.globalMatch(linkLabel->text()); it.hasNext();)
            links << it.next().captured(1);
        Q_EMIT linkLabel->linkActivated(links.value(0));
        codeWhileOpen = f.m().pageCode;
        statesWhileOpen = bookCommandStates(frame);
        about->accept();
    });
    frame->menuItem(u"mnuHelpAbout"_s)->trigger();

    QCOMPARE(title, u"A propos de Gratinel \"Free\""_s);
    QVERIFY(modalOverFrame);
    QVERIFY2(QRegularExpression(u"^Version \\d+\\.\\d+\\.\\d+$"_s).match(version).hasMatch(), qPrintable(version));
    QCOMPARE(links, (QStringList{frmAbout::homePage(), frmAbout::contactAddress()}));
    QVERIFY(f.platform().calls.contains(u"shell:"_s + frmAbout::homePage()));
    // The book is inactive while the box is open, and back on its page after.
    QCOMPARE(codeWhileOpen, 0);
    QCOMPARE(statesWhileOpen, bookCommandStates(QStringList{}));
    QCOMPARE(f.m().pageCode, qint16(13));
    QCOMPARE(bookCommandStates(frame), before);
}

void TestFrmMain::windowListRestoresMinimisedBook()
{
    BookFixture f;
    QVERIFY(f.start(testbook::minimal()));
    auto *sub = qobject_cast<QMdiSubWindow *>(f.book()->parentWidget());
    sub->showMinimized();
    QMenu *view = f.frame()->menuItem(u"mnuView"_s)->menu();
    const auto entries = [view] {
        Q_EMIT view->aboutToShow();
        QList<QAction *> out;
        for (QAction *a : view->actions()) {
            if (a->text().contains(u"Les recettes"_s))
                out << a;
        }
        return out;
    };
    QCOMPARE(entries().size(), 1);
    const QList<QAction *> again = entries(); // opened twice, still one entry
    QCOMPARE(again.size(), 1);
    QCOMPARE(again[0]->text(), u"&1 Les recettes"_s);

    again[0]->trigger();
    QVERIFY(!sub->isMinimized());
    QCOMPARE(f.m().pageCode, qint16(11));
    QVERIFY(f.frame()->menuItem(u"mnuFilePrint"_s)->isEnabled());
}

enum Disk { PlainDisk, FullDisk, ReadOnlyFolder };

// The four files of the book in dir, end to end.
static QByteArray bookIn(const QString &dir)
{
    QByteArray all;
    for (const char *name : {"GRTN1.DAT", "GRTN2.DAT", "GRTN3.DAT", "GRTN4.DAT"})
        all += testbook::readFile(QDir(dir).filePath(QLatin1String(name)));
    return all;
}

void TestFrmMain::automaticBackupAtStart_data()
{
    QTest::addColumn<QStringList>("before"); // automatic backups there before the start
    QTest::addColumn<int>("disk");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("said"); // in the status bar

    // The program starts on Tuesday 5 March 2024 at 09:30.
    const QString today = u"2024-03-05_093000"_s;
    QTest::newRow("first start") << QStringList{} << int(PlainDisk) << QStringList{today} << QString();
    QTest::newRow("already made today") << QStringList{u"2024-03-05_061500"_s} << int(PlainDisk)
                                        << QStringList{u"2024-03-05_061500"_s} << QString();
    QTest::newRow("made yesterday evening") << QStringList{u"2024-03-04_231500"_s} << int(PlainDisk)
                                            << QStringList{u"2024-03-04_231500"_s, today} << QString();
    // Forty days in a row, from Thursday 25 January: the seven newest stay, and before the week
    // of the seventh (Monday 26 February) the oldest of each of four weeks.
    QStringList forty;
    for (QDate d(2024, 1, 25); d < QDate(2024, 3, 5); d = d.addDays(1))
        forty << d.toString(u"yyyy-MM-dd_081000"_s);
    QTest::newRow("forty days") << forty << int(PlainDisk)
                                << QStringList{u"2024-01-29_081000"_s, u"2024-02-05_081000"_s, u"2024-02-12_081000"_s,
                                               u"2024-02-19_081000"_s, u"2024-02-28_081000"_s, u"2024-02-29_081000"_s,
                                               u"2024-03-01_081000"_s, u"2024-03-02_081000"_s, u"2024-03-03_081000"_s,
                                               u"2024-03-04_081000"_s, today}
                                << QString();
    QTest::newRow("full disk") << QStringList{} << int(FullDisk) << QStringList{}
                               << u"Pas de sauvegarde automatique du livre aujourd'hui : il ne resterait que"_s;
    QTest::newRow("read-only folder") << QStringList{} << int(ReadOnlyFolder) << QStringList{}
                                      << u"La sauvegarde automatique du livre a échoué : "_s;
}

void TestFrmMain::automaticBackupAtStart()
{
    QFETCH(QStringList, before);
    QFETCH(int, disk);
    QFETCH(QStringList, after);
    QFETCH(QString, said);
    BookFixture f;
    const QString dir = QFileInfo(f.path(u"GRTN1.DAT"_s)).absolutePath();
    const QString autoDir = dir + u"/sauvegardes/auto"_s;
    std::unique_ptr<SmallDisk> small;
    if (disk == FullDisk)
        small = std::make_unique<SmallDisk>(dir, 1024);
    if (disk == ReadOnlyFolder) {
        QVERIFY(QDir().mkpath(dir + u"/sauvegardes"_s));
        small = std::make_unique<SmallDisk>(dir + u"/sauvegardes"_s, 512 * 1024);
        QVERIFY(small->makeReadOnly());
    }
    if (small)
        QVERIFY2(small->mounted(), qPrintable(small->why()));
    QVERIFY(f.write(testbook::minimal()));
    for (const QString &name : before)
        QVERIFY(bookbackup::copyBook(dir, autoDir + u'/' + name).isOk());
    // Never touched: a backup made by hand, and an old automatic one the cook wrote in.
    const QStringList kept = {u"sauvegardes/2023-01-01_120000"_s, u"sauvegardes/auto/2023-06-01_120000"_s};
    if (disk == PlainDisk) {
        for (const QString &name : kept)
            QVERIFY(bookbackup::copyBook(dir, dir + u'/' + name).isOk());
        QVERIFY(testbook::writeFile(dir + u"/sauvegardes/auto/2023-06-01_120000/note.txt"_s, "à garder"));
    }
    QVERIFY(testbook::patchFile(f.path(u"GRTN3.DAT"_s), 0, "Aujourd'hui"));
    const QByteArray book = bookIn(dir);
    const auto autoBackups = [&] {
        QStringList names = QDir(autoDir).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
        names.removeOne(u"2023-06-01_120000"_s);
        return names;
    };

    QVERIFY(f.start());
    startAutoBackup(f.m());
    auto *run = f.frame()->findChild<AutoBackupRun *>();
    QVERIFY(run);
    // The window is up and the book in use before any copy begins.
    QVERIFY(f.frame()->isVisible() && f.frame()->bookActive());
    QVERIFY(!run->isFinished());
    QCOMPARE(autoBackups(), before);

    QTRY_VERIFY_WITH_TIMEOUT(run->isFinished(), 30000);
    // Nothing half made is left either (a hidden folder would be listed).
    QCOMPARE(autoBackups(), after);
    for (const QString &name : after) {
        if (!before.contains(name))
            QCOMPARE(bookIn(autoDir + u'/' + name), book);
    }
    if (disk == PlainDisk) {
        for (const QString &name : kept)
            QCOMPARE(bookIn(dir + u'/' + name).size(), book.size());
    }
    // Said once, in the status bar: never a message box.
    QVERIFY(f.platform().messages.empty());
    auto *bar = f.frame()->findChild<QStatusBar *>();
    if (said.isEmpty())
        QVERIFY(!bar || bar->currentMessage().isEmpty());
    else
        QVERIFY2(bar && bar->currentMessage().startsWith(said), qPrintable(bar ? bar->currentMessage() : u"-"_s));
    QCOMPARE(bookIn(dir), book);
}

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
