// The book's pages: switching them, and which of the frame's commands each page and each activation state offers.
#include "bookfixture.h"
#include "book/frmrecettes.h"
#include "book/recordcombo.h"
#include "book/tabstrip.h"
#include "mainwin/frmmain.h"
#include "store/module1.h"
#include "testbook.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QtTest>

using namespace gratinel;
using namespace Qt::StringLiterals;

namespace {

// The commands the book switches, each with its menu item and its toolbar buttons.
struct Command {
    const char *name;
    QStringList menuItems;
    QStringList buttons;
};

const QList<Command> &commands()
{
    static const QList<Command> c = {
        {"print", {u"mnuFilePrint"_s}, {u"Print"_s}},
        {"cut", {u"mnuEditCut"_s}, {u"Couper"_s}},
        {"copy", {u"mnuEditCopy"_s}, {u"Copier"_s}},
        {"paste", {u"mnuEditPaste"_s}, {u"Coller"_s}},
        {"selectAll", {u"mnuEditSelect"_s}, {}},
        {"search", {u"mnuEditRechercher"_s}, {u"Find"_s}},
        {"send", {u"mnuEditEnvoyer"_s}, {u"Ttx"_s, u"Notepad"_s}},
        {"image", {u"mnuViewImage"_s}, {u"Camera"_s}},
    };
    return c;
}

// Items and buttons the book never switches.
const QStringList kAlwaysMenu = {u"mnuFileExit"_s, u"mnuHelpContents"_s, u"mnuHelpGrSurLeWeb"_s, u"mnuHelpAbout"_s,
                                 u"mnuEditEnvoyerTtx"_s, u"mnuEditEnvoyerNotePad"_s,
                                 u"mnuViewImageVisuAssocie"_s, u"mnuViewImageVisuInterne"_s};
const QStringList kAlwaysButtons = {u"Help"_s, u"Exit"_s};

// Enabled state of every switched item and button, "name=on" / "name=off", for comparisons.
QStringList commandStates(const frmMain *frame)
{
    QStringList out;
    for (const Command &c : commands()) {
        for (const QString &item : c.menuItems)
            out << item + (frame->menuItem(item)->isEnabled() ? u"=on"_s : u"=off"_s);
        for (const QString &key : c.buttons)
            out << key + (frame->button(key)->isEnabled() ? u"=on"_s : u"=off"_s);
    }
    return out;
}

// The states when exactly the commands named in on are enabled.
QStringList expectedStates(const QStringList &on)
{
    QStringList out;
    for (const Command &c : commands()) {
        const bool enabled = on.contains(QLatin1String(c.name));
        for (const QString &item : c.menuItems)
            out << item + (enabled ? u"=on"_s : u"=off"_s);
        for (const QString &key : c.buttons)
            out << key + (enabled ? u"=on"_s : u"=off"_s);
    }
    return out;
}

bool alwaysAvailable(const frmMain *frame)
{
    for (const QString &item : kAlwaysMenu) {
        if (!frame->menuItem(item)->isEnabled())
            return false;
    }
    for (const QString &key : kAlwaysButtons) {
        if (!frame->button(key)->isEnabled())
            return false;
    }
    return true;
}

QList<int> visibleFrames(const frmRecettes *book)
{
    QList<int> out;
    for (int i = 1; i <= 4; ++i) {
        if (!book->Frame1[i]->isHidden())
            out << i;
    }
    return out;
}

QMdiSubWindow *subWindowOf(frmRecettes *book)
{
    return qobject_cast<QMdiSubWindow *>(book->parentWidget());
}

void clickTab(frmRecettes *book, int tab)
{
    QTabBar *bar = book->TabStrip1->bar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab - 1).center());
}

// A book whose first shown recipe (record 302) has an existing image or none.
BookBuilder bookShowingImage(BookFixture &f, bool withImage)
{
    const QString image = f.path(u"tarte.png"_s);
    testbook::writeFile(image, "png");
    BookBuilder b = testbook::minimal();
    b.addFamily(u"Aaa"_s);
    b.addRecipe(18, u"Tarte"_s, u"Pâte brisée"_s, withImage ? image : QString());
    return b;
}

// Shows every message in a real message box, as the program does, closed a moment later
// by its own timer; notes what the frame looked like while it was open.
class RealMessageBoxes : public FakePlatform {
public:
    Answer msgBox(const QString &text, Icon icon, Buttons buttons, Answer defaultAnswer) override
    {
        FakePlatform::msgBox(text, icon, buttons, defaultAnswer);
        QMessageBox box(QMessageBox::Warning, u"Gratinel"_s, text, QMessageBox::Ok, QApplication::activeWindow());
        QTimer::singleShot(0, &box, [&] {
            const bool focused = QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == box.windowHandle(); });
            whileOpen = {m ? m->pageCode : -1, frame ? frame->bookActive() : false,
                         focused && QGuiApplication::focusWindow() == box.windowHandle()};
            box.accept();
        });
        box.exec();
        return Answer::Ok;
    }

    struct Seen {
        int pageCode = -1;
        bool bookActive = false;
        bool boxHadFocus = false;
    };
    Module1 *m = nullptr;
    frmMain *frame = nullptr;
    Seen whileOpen;
};

} // namespace

class TestPageModes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void commandsFollowPageAndActivation_data();
    void commandsFollowPageAndActivation();
    void pageSwitchShowsOnlyThatPagesFrame_data();
    void pageSwitchShowsOnlyThatPagesFrame();
    void clickOnCurrentTabChangesNothing_data();
    void clickOnCurrentTabChangesNothing();
    void tabsCarryCaptionsAndTooltips();
    void keyboardMovesBetweenPages_data();
    void keyboardMovesBetweenPages();

    void minimisingSwitchesCommandsOffUntilRestored_data();
    void minimisingSwitchesCommandsOffUntilRestored();
    void ownWindowTakesActivationWhileOpen_data();
    void ownWindowTakesActivationWhileOpen();
    void messageBoxLeavesBookActive();
    void activationAfterFileErrorShowsFatalError();
};

void TestPageModes::commandsFollowPageAndActivation_data()
{
    QTest::addColumn<bool>("image");      // the shown recipe has an image
    QTest::addColumn<QList<int>>("route"); // tabs selected in turn; 0 deactivates the book, -1 activates it
    QTest::addColumn<int>("pageCode");
    QTest::addColumn<QStringList>("on");

    const QStringList list = {u"print"_s, u"copy"_s, u"selectAll"_s, u"search"_s, u"send"_s};
    const QStringList editing = {u"cut"_s, u"copy"_s, u"paste"_s, u"selectAll"_s};

    QTest::newRow("list page, recipe with image") << true << QList<int>{} << 11 << list + QStringList{u"image"_s};
    QTest::newRow("list page, recipe without image") << false << QList<int>{} << 11 << list;
    QTest::newRow("add page") << true << QList<int>{2} << 12 << editing;
    QTest::newRow("modify page") << true << QList<int>{3} << 13 << editing;
    QTest::newRow("delete page") << true << QList<int>{4} << 14 << QStringList{};
    QTest::newRow("add page after the delete page") << true << QList<int>{4, 2} << 12 << editing;
    QTest::newRow("list page after the modify page") << true << QList<int>{3, 1} << 11 << list + QStringList{u"image"_s};
    QTest::newRow("list page after the add page, no image") << false << QList<int>{2, 1} << 11 << list;
    QTest::newRow("deactivated on the list page") << true << QList<int>{0} << 0 << QStringList{};
    QTest::newRow("deactivated on the add page") << true << QList<int>{2, 0} << 0 << QStringList{};
    QTest::newRow("reactivated on the list page") << true << QList<int>{0, -1} << 11 << list + QStringList{u"image"_s};
    QTest::newRow("reactivated on the modify page") << true << QList<int>{3, 0, -1} << 13 << editing;
    QTest::newRow("reactivated on the delete page") << true << QList<int>{4, 0, -1} << 14 << QStringList{};
}

void TestPageModes::commandsFollowPageAndActivation()
{
    QFETCH(bool, image);
    QFETCH(QList<int>, route);
    QFETCH(int, pageCode);
    QFETCH(QStringList, on);

    BookFixture f;
    QVERIFY(f.start(bookShowingImage(f, image)));
    QCOMPARE(!f.book()->imagePath().isEmpty(), image);
    for (int step : route) {
        if (step == 0)
            f.frame()->deactivateBook();
        else if (step == -1)
            f.frame()->activateBook();
        else
            f.book()->TabStrip1->selectTab(step);
    }
    QCOMPARE(f.m().pageCode, qint16(pageCode));
    QCOMPARE(commandStates(f.frame()), expectedStates(on));
    QVERIFY(alwaysAvailable(f.frame()));
    QVERIFY(f.platform().messages.empty());
}

void TestPageModes::pageSwitchShowsOnlyThatPagesFrame_data()
{
    QTest::addColumn<QList<int>>("route");

    QTest::newRow("after load") << QList<int>{};
    QTest::newRow("to the add page") << QList<int>{2};
    QTest::newRow("to the modify page") << QList<int>{3};
    QTest::newRow("to the delete page") << QList<int>{4};
    QTest::newRow("round trip") << QList<int>{4, 3, 2, 1};
    QTest::newRow("back and forth") << QList<int>{2, 4, 2};
}

void TestPageModes::pageSwitchShowsOnlyThatPagesFrame()
{
    QFETCH(QList<int>, route);

    BookFixture f;
    QVERIFY(f.start(testbook::minimal()));
    frmRecettes *book = f.book();
    for (int tab : route)
        clickTab(book, tab);
    const int page = route.isEmpty() ? 1 : route.last();
    QCOMPARE(book->currentTab, page);
    QCOMPARE(book->TabStrip1->selectedTab(), page);
    QCOMPARE(visibleFrames(book), QList<int>{page});
    QCOMPARE(f.m().pageCode, qint16(10 + page));
    // The selected family and recipe belong to the list page: other pages leave them.
    QCOMPARE(book->ComboFamilles->selectedRecord(), 2);
    QCOMPARE(book->ComboRecettes->selectedRecord(), 2);
}

void TestPageModes::clickOnCurrentTabChangesNothing_data()
{
    QTest::addColumn<int>("page");
    for (int page = 1; page <= 4; ++page)
        QTest::addRow("page %d", page) << page;
}

void TestPageModes::clickOnCurrentTabChangesNothing()
{
    QFETCH(int, page);

    BookFixture f;
    QVERIFY(f.start(bookShowingImage(f, true)));
    frmRecettes *book = f.book();
    clickTab(book, page);
    QCOMPARE(book->currentTab, page);

    // Anything the page switch would set is put out of line; a second click on the same
    // tab must leave it so.
    f.m().pageCode = 99;
    f.frame()->setMenuEnabled(u"mnuEditCopy"_s, false);
    f.frame()->setButtonEnabled(u"Copier"_s, false);
    clickTab(book, page);
    book->TabStrip1->selectTab(page);
    QCOMPARE(f.m().pageCode, qint16(99));
    QVERIFY(!f.frame()->menuItem(u"mnuEditCopy"_s)->isEnabled());
    QVERIFY(!f.frame()->button(u"Copier"_s)->isEnabled());
    QCOMPARE(visibleFrames(book), QList<int>{page});

    // A click on another tab does switch.
    const int other = page % 4 + 1;
    clickTab(book, other);
    QCOMPARE(book->currentTab, other);
    QCOMPARE(f.m().pageCode, qint16(10 + other));
}

void TestPageModes::tabsCarryCaptionsAndTooltips()
{
    BookFixture f;
    QVERIFY(f.start(testbook::minimal()));
    const QTabBar *bar = f.book()->TabStrip1->bar();
    QCOMPARE(bar->count(), 4);
    QStringList captions, tips;
    for (int i = 0; i < bar->count(); ++i) {
        captions << bar->tabText(i);
        tips << bar->tabToolTip(i);
        QVERIFY(!bar->tabIcon(i).isNull());
    }
    QCOMPARE(captions, (QStringList{u"Liste"_s, u"Ajouter"_s, u"Modifier"_s, u"Supprimer"_s}));
    QCOMPARE(tips, (QStringList{u"Les recettes mémorisées"_s, u"Ajouter une famille de recettes ou une recette"_s,
                                u"Modifier le nom de la famille de recettes ou une recette"_s,
                                u"Supprimer la famille de recettes ou la recette"_s}));
    QCOMPARE(f.book()->windowTitle(), u"Les recettes"_s);
}

void TestPageModes::keyboardMovesBetweenPages_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");

    QTest::newRow("next") << 1 << int(Qt::Key_PageDown) << 2;
    QTest::newRow("next after the last") << 4 << int(Qt::Key_PageDown) << 1;
    QTest::newRow("previous") << 3 << int(Qt::Key_PageUp) << 2;
    QTest::newRow("previous before the first") << 1 << int(Qt::Key_PageUp) << 4;
}

void TestPageModes::keyboardMovesBetweenPages()
{
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, to);

    BookFixture f;
    QVERIFY(f.start(testbook::minimal()));
    QApplication::setActiveWindow(f.frame());
    QVERIFY(QTest::qWaitForWindowActive(f.frame()));
    frmRecettes *book = f.book();
    book->TabStrip1->selectTab(from);
    QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget() : book->TabStrip1->bar();
    QTest::keyClick(focus, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(book->currentTab, to);
    QCOMPARE(f.m().pageCode, qint16(10 + to));
    QCOMPARE(visibleFrames(book), QList<int>{to});
}

void TestPageModes::minimisingSwitchesCommandsOffUntilRestored_data()
{
    QTest::addColumn<int>("page");
    for (int page = 1; page <= 4; ++page)
        QTest::addRow("page %d", page) << page;
}

void TestPageModes::minimisingSwitchesCommandsOffUntilRestored()
{
    QFETCH(int, page);

    BookFixture f;
    QVERIFY(f.start(bookShowingImage(f, true)));
    frmMain *frame = f.frame();
    frmRecettes *book = f.book();
    book->TabStrip1->selectTab(page);
    const QStringList before = commandStates(frame);
    QVERIFY(before != expectedStates({}) || page == 4);

    QMdiSubWindow *sub = subWindowOf(book);
    QVERIFY(sub);
    sub->showMinimized();
    QVERIFY(book->isMinimizedInFrame());
    QCOMPARE(f.m().pageCode, qint16(0));
    QCOMPARE(commandStates(frame), expectedStates({}));

    // Switching programs while minimised brings nothing back.
    frame->deactivateBook();
    frame->activateBook();
    QCOMPARE(f.m().pageCode, qint16(0));
    QCOMPARE(commandStates(frame), expectedStates({}));

    sub->showMaximized();
    QVERIFY(!book->isMinimizedInFrame());
    QCOMPARE(f.m().pageCode, qint16(10 + page));
    QCOMPARE(commandStates(frame), before);
    QCOMPARE(book->currentTab, page);

    // The same from and to the normal state.
    sub->showNormal();
    sub->showMinimized();
    QCOMPARE(commandStates(frame), expectedStates({}));
    sub->showNormal();
    QCOMPARE(f.m().pageCode, qint16(10 + page));
    QCOMPARE(commandStates(frame), before);
    QVERIFY(alwaysAvailable(frame));
}

void TestPageModes::ownWindowTakesActivationWhileOpen_data()
{
    QTest::addColumn<int>("page");
    QTest::newRow("list page") << 1;
    QTest::newRow("modify page") << 3;
}

void TestPageModes::ownWindowTakesActivationWhileOpen()
{
    QFETCH(int, page);

    BookFixture f;
    QVERIFY(f.start(bookShowingImage(f, true)));
    frmMain *frame = f.frame();
    f.book()->TabStrip1->selectTab(page);
    const QStringList before = commandStates(frame);

    QDialog dialog(frame);
    int codeWhileOpen = -1;
    bool activeWhileOpen = true;
    QStringList statesWhileOpen;
    QTimer::singleShot(0, &dialog, [&] {
        codeWhileOpen = f.m().pageCode;
        activeWhileOpen = frame->bookActive();
        statesWhileOpen = commandStates(frame);
        dialog.accept();
    });
    QCOMPARE(frame->execOwnWindow(dialog), int(QDialog::Accepted));

    QCOMPARE(codeWhileOpen, 0);
    QVERIFY(!activeWhileOpen);
    QCOMPARE(statesWhileOpen, expectedStates({}));
    QVERIFY(frame->bookActive());
    QCOMPARE(f.m().pageCode, qint16(10 + page));
    QCOMPARE(commandStates(frame), before);
}

void TestPageModes::messageBoxLeavesBookActive()
{
    auto owned = std::make_unique<RealMessageBoxes>();
    RealMessageBoxes *platform = owned.get();
    BookFixture f(std::move(owned));
    BookBuilder b = testbook::minimal();
    b.addFamily(u"Aaa"_s);
    b.addRecipe(18, u"A sans image"_s);
    b.addRecipe(18, u"B image perdue"_s, {}, f.path(u"perdue.png"_s));
    QVERIFY(f.start(b));
    frmMain *frame = f.frame();
    platform->m = &f.m();
    platform->frame = frame;
    QApplication::setActiveWindow(frame);
    QVERIFY(QTest::qWaitForWindowActive(frame));
    QVERIFY(frame->bookActive());

    // Neither the deactivation (pageCode 0) nor a new activation (pageCode 11) may run.
    f.m().pageCode = 99;
    f.book()->ComboRecettes->setCurrentIndex(1);
    Q_EMIT f.book()->ComboRecettes->activated(1);
    QCOMPARE(platform->messages.size(), size_t(1));
    QVERIFY(platform->whileOpen.boxHadFocus);
    QCOMPARE(platform->whileOpen.pageCode, 99);
    QVERIFY(platform->whileOpen.bookActive);

    // The focus goes back to the frame, as the window system gives it back.
    frame->activateWindow();
    QTRY_COMPARE(QGuiApplication::focusWindow(), frame->windowHandle());
    QCOMPARE(QGuiApplication::applicationState(), Qt::ApplicationActive);
    // Longer than the frame lets pass before it counts a loss of activation.
    QTest::qWait(600);
    QVERIFY(frame->bookActive());
    QCOMPARE(f.m().pageCode, qint16(99));
}

void TestPageModes::activationAfterFileErrorShowsFatalError()
{
    BookFixture f;
    QVERIFY(f.start(bookShowingImage(f, true)));
    frmMain *frame = f.frame();
    frame->deactivateBook();
    f.m().fatalError = -1;
    frame->activateBook();

    FakePlatform &p = f.platform();
    QCOMPARE(p.messageTexts(), QStringList{u"Erreur fatale. Impossibilité de continuer."_s});
    QCOMPARE(p.messages[0].icon, Platform::Icon::Critical);
    QCOMPARE(p.calls.last(), u"end"_s);
    QCOMPARE(f.m().pageCode, qint16(0));
    QCOMPARE(commandStates(frame), expectedStates({}));
}

QTEST_MAIN(TestPageModes)
#include "tst_pagemodes.moc"
