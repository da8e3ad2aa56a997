// The book's pages: switching them, and which of the frame's commands each page and each activation state offers.
#include "bookfixture.h"
#include "book/frmrecettes.h"
#include "book/limitedtextedit.h"
#include "book/recordcombo.h"
#include "book/tabstrip.h"
#include "mainwin/frmmain.h"
#include "store/module1.h"
#include "testbook.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QTabBar>
#include <QtTest>

using namespace gratinel;
using namespace Qt::StringLiterals;

namespace {

// Items and buttons the book never switches: they stay available throughout.
bool othersAvailable(const frmMain *frame)
{
    for (const char *item : {"mnuFileExit", "mnuHelpContents", "mnuHelpGrSurLeWeb", "mnuHelpAbout",
                             "mnuEditEnvoyerTtx", "mnuViewImageVisuInterne"}) {
        if (!frame->menuItem(QString::fromLatin1(item))->isEnabled())
            return false;
    }
    return frame->button(u"Help"_s)->isEnabled() && frame->button(u"Exit"_s)->isEnabled();
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

void clickTab(frmRecettes *book, int tab)
{
    QTabBar *bar = book->TabStrip1->bar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab - 1).center());
}

QMdiSubWindow *subWindowOf(frmRecettes *book)
{
    return qobject_cast<QMdiSubWindow *>(book->parentWidget());
}

// The minimal book with, shown first, a recipe (record 302) with an existing image or none.
BookBuilder bookShowing(BookFixture &f, bool withImage)
{
    const QString image = f.path(u"tarte.png"_s);
    testbook::writeFile(image, "png");
    BookBuilder b = testbook::minimal();
    b.addFamily(u"Aaa"_s);
    b.addRecipe(18, u"Tarte"_s, u"Pâte brisée"_s, withImage ? image : QString());
    return b;
}

// Shows each message in a real, modal message box, as the program does; notes what the
// book looked like once the box had the focus, then closes it.
class RealMessageBoxes : public FakePlatform {
public:
    Answer msgBox(const QString &text, Icon icon, Buttons buttons, Answer defaultAnswer) override
    {
        FakePlatform::msgBox(text, icon, buttons, defaultAnswer);
        QMessageBox box(QMessageBox::Warning, u"Gratinel"_s, text, QMessageBox::Ok, QApplication::activeWindow());
        QTimer::singleShot(0, &box, [&] {
            boxHadFocus = QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == box.windowHandle(); });
            pageCodeWhileOpen = m->pageCode;
            box.accept();
        });
        box.exec();
        return Answer::Ok;
    }

    Module1 *m = nullptr;
    bool boxHadFocus = false;
    int pageCodeWhileOpen = -1;
};

} // namespace

class TestPageModes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void commandsFollowPageAndActivation_data();
    void commandsFollowPageAndActivation();
    void tabClickShowsOnlyThatPage_data();
    void tabClickShowsOnlyThatPage();
    void keyboardMovesBetweenPages_data();
    void keyboardMovesBetweenPages();
    void minimisingSwitchesCommandsOffUntilRestored_data();
    void minimisingSwitchesCommandsOffUntilRestored();
    void messageBoxLeavesBookActive();
    void switchingToAnotherProgramKeepsThePageAsLeft();
    void typedInputSurvivesOwnWindowsAndMinimising_data();
    void typedInputSurvivesOwnWindowsAndMinimising();
    void activationAfterFileErrorShowsFatalError();
};

void TestPageModes::commandsFollowPageAndActivation_data()
{
    QTest::addColumn<bool>("image");       // the shown recipe has an image
    QTest::addColumn<QList<int>>("route"); // tabs selected in turn; 0 deactivates the book, -1 activates it
    QTest::addColumn<int>("pageCode");
    QTest::addColumn<QStringList>("on");

    const QStringList list = {u"print"_s, u"copy"_s, u"selectAll"_s, u"search"_s, u"send"_s};
    const QStringList withImage = list + QStringList{u"image"_s};
    // Select all stays offered on the add and modify pages, whichever page came before.
    const QStringList editing = {u"cut"_s, u"copy"_s, u"paste"_s, u"selectAll"_s};

    QTest::newRow("list page, recipe with image") << true << QList<int>{} << 11 << withImage;
    QTest::newRow("list page, recipe without") << false << QList<int>{} << 11 << list;
    QTest::newRow("add page") << true << QList<int>{2} << 12 << editing;
    QTest::newRow("modify page") << true << QList<int>{3} << 13 << editing;
    QTest::newRow("delete page") << true << QList<int>{4} << 14 << QStringList{};
    QTest::newRow("add page after delete page") << true << QList<int>{4, 2} << 12 << editing;
    QTest::newRow("list page again") << true << QList<int>{3, 1} << 11 << withImage;
    QTest::newRow("deactivated") << true << QList<int>{2, 0} << 0 << QStringList{};
    QTest::newRow("reactivated, list page") << true << QList<int>{0, -1} << 11 << withImage;
    QTest::newRow("reactivated, modify page") << true << QList<int>{3, 0, -1} << 13 << editing;
    QTest::newRow("reactivated, delete page") << true << QList<int>{4, 0, -1} << 14 << QStringList{};
}

void TestPageModes::commandsFollowPageAndActivation()
{
    QFETCH(bool, image);
    QFETCH(QList<int>, route);
    QFETCH(int, pageCode);
    QFETCH(QStringList, on);

    BookFixture f;
    QVERIFY(f.start(bookShowing(f, image)));
    for (int step : route) {
        if (step == 0)
            f.frame()->deactivateBook();
        else if (step == -1)
            f.frame()->activateBook();
        else
            f.book()->TabStrip1->selectTab(step);
    }
    QCOMPARE(f.m().pageCode, qint16(pageCode));
    QCOMPARE(bookCommandStates(f.frame()), bookCommandStates(on));
    QVERIFY(othersAvailable(f.frame()));
}

void TestPageModes::tabClickShowsOnlyThatPage_data()
{
    QTest::addColumn<QList<int>>("route");

    QTest::newRow("after load") << QList<int>{};
    QTest::newRow("add page") << QList<int>{2};
    QTest::newRow("modify page") << QList<int>{3};
    QTest::newRow("delete page") << QList<int>{4};
    QTest::newRow("back and forth") << QList<int>{2, 4, 3, 1};
}

void TestPageModes::tabClickShowsOnlyThatPage()
{
    QFETCH(QList<int>, route);

    BookFixture f;
    QVERIFY(f.start(bookShowing(f, true)));
    frmRecettes *book = f.book();
    for (int tab : route)
        clickTab(book, tab);
    const int page = route.isEmpty() ? 1 : route.last();
    QCOMPARE(book->currentTab, page);
    QCOMPARE(visibleFrames(book), QList<int>{page});
    QCOMPARE(f.m().pageCode, qint16(10 + page));
    // The family and recipe shown belong to the list page: other pages leave them.
    QCOMPARE(book->ComboRecettes->selectedRecord(), 302);

    // A click on the current tab runs nothing: what a page switch would set stays as it is.
    f.m().pageCode = 99;
    f.frame()->setMenuEnabled(u"mnuEditCopy"_s, false);
    clickTab(book, page);
    book->TabStrip1->selectTab(page);
    QCOMPARE(f.m().pageCode, qint16(99));
    QVERIFY(!f.frame()->menuItem(u"mnuEditCopy"_s)->isEnabled());
    QCOMPARE(visibleFrames(book), QList<int>{page});
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
    f.book()->TabStrip1->selectTab(from);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : f.frame(), Qt::Key(key),
                    Qt::ControlModifier);
    QCOMPARE(f.book()->currentTab, to);
    QCOMPARE(f.m().pageCode, qint16(10 + to));
    QCOMPARE(visibleFrames(f.book()), QList<int>{to});
}

void TestPageModes::minimisingSwitchesCommandsOffUntilRestored_data()
{
    QTest::addColumn<int>("page");
    for (int page = 1; page <= 3; ++page)
        QTest::addRow("page %d", page) << page;
}

void TestPageModes::minimisingSwitchesCommandsOffUntilRestored()
{
    QFETCH(int, page);

    BookFixture f;
    QVERIFY(f.start(bookShowing(f, true)));
    frmMain *frame = f.frame();
    f.book()->TabStrip1->selectTab(page);
    const QStringList before = bookCommandStates(frame);
    QMdiSubWindow *sub = subWindowOf(f.book());
    QVERIFY(sub);

    for (bool normal : {false, true}) {
        sub->showMinimized();
        QCOMPARE(f.m().pageCode, qint16(0));
        QCOMPARE(bookCommandStates(frame), bookCommandStates(QStringList{}));
        // Switching programs while minimised brings nothing back.
        frame->deactivateBook();
        frame->activateBook();
        QCOMPARE(bookCommandStates(frame), bookCommandStates(QStringList{}));

        if (normal)
            sub->showNormal();
        else
            sub->showMaximized();
        QCOMPARE(f.m().pageCode, qint16(10 + page));
        QCOMPARE(bookCommandStates(frame), before);
    }
}

void TestPageModes::messageBoxLeavesBookActive()
{
    auto owned = std::make_unique<RealMessageBoxes>();
    RealMessageBoxes *platform = owned.get();
    BookFixture f(std::move(owned));
    platform->m = &f.m();
    BookBuilder b = testbook::minimal();
    b.addFamily(u"Aaa"_s);
    b.addRecipe(18, u"A sans image"_s);
    b.addRecipe(18, u"B image perdue"_s, {}, f.path(u"perdue.png"_s));
    QVERIFY(f.start(b));
    frmMain *frame = f.frame();
    QApplication::setActiveWindow(frame);
    QVERIFY(QTest::qWaitForWindowActive(frame));

    // Neither a deactivation (pageCode 0) nor a new activation (11) may run.
    f.m().pageCode = 99;
    choose(f.book()->ComboRecettes, 1);
    QCOMPARE(platform->messages.size(), size_t(1));
    QVERIFY(platform->boxHadFocus);
    QCOMPARE(platform->pageCodeWhileOpen, 99);

    // The focus back on the frame, as the window system gives it back; then a while, for
    // any late activation event to come.
    frame->activateWindow();
    QTRY_COMPARE(QGuiApplication::focusWindow(), frame->windowHandle());
    QTest::qWait(600);
    QVERIFY(frame->bookActive());
    QCOMPARE(f.m().pageCode, qint16(99));
}

void TestPageModes::switchingToAnotherProgramKeepsThePageAsLeft()
{
    BookFixture f;
    QVERIFY(f.start(bookShowing(f, true)));
    frmMain *frame = f.frame();
    frmRecettes *book = f.book();
    book->TabStrip1->selectTab(2);
    const QStringList editing = bookCommandStates(frame);
    book->txtSaisieNomRecette->setText(u"Tarte aux pommes"_s);
    book->txtSaisieRecetteAjouter->setPlainText(u"Six pommes"_s);

    // The cook looks something up in another program, then comes back.
    Q_EMIT qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    QTest::qWait(400);
    QVERIFY(frame->bookActive());
    QCOMPARE(f.m().pageCode, qint16(12));
    QCOMPARE(bookCommandStates(frame), editing);
    Q_EMIT qGuiApp->applicationStateChanged(Qt::ApplicationActive);
    QTest::qWait(50);
    QCOMPARE(f.m().pageCode, qint16(12));
    QCOMPARE(book->txtSaisieNomRecette->text(), u"Tarte aux pommes"_s);
    QCOMPARE(book->txtSaisieRecetteAjouter->toPlainText(), u"Six pommes"_s);
    QCOMPARE(bookCommandStates(frame), editing);

}

void TestPageModes::typedInputSurvivesOwnWindowsAndMinimising_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("minimise"); // or one of the program's own windows
    for (int page : {2, 3}) {
        QTest::addRow("page %d, own window", page) << page << false;
        QTest::addRow("page %d, minimised", page) << page << true;
    }
}

void TestPageModes::typedInputSurvivesOwnWindowsAndMinimising()
{
    QFETCH(int, page);
    QFETCH(bool, minimise);

    BookFixture f;
    QVERIFY(f.start(bookShowing(f, true)));
    frmMain *frame = f.frame();
    frmRecettes *book = f.book();
    book->TabStrip1->selectTab(page);
    const QStringList commands = bookCommandStates(frame);
    QLineEdit *title = page == 2 ? book->txtSaisieNomRecette : book->txtSaisieNomRecetteModifier;
    LimitedTextEdit *text = page == 2 ? book->txtSaisieRecetteAjouter : book->txtSaisieRecetteModifier;
    title->setText(u"Tarte aux pommes"_s);
    text->setPlainText(u"Six pommes"_s);

    if (minimise) {
        subWindowOf(book)->showMinimized();
        QCOMPARE(f.m().pageCode, qint16(0));
        subWindowOf(book)->showNormal();
    } else {
        QDialog about(frame);
        QTimer::singleShot(0, &about, &QDialog::accept);
        frame->execOwnWindow(about);
    }
    QCOMPARE(f.m().pageCode, qint16(10 + page));
    QCOMPARE(bookCommandStates(frame), commands);
    QCOMPARE(title->text(), u"Tarte aux pommes"_s);
    QCOMPARE(text->toPlainText(), u"Six pommes"_s);

    // A change of page still prepares the page again.
    book->TabStrip1->selectTab(1);
    book->TabStrip1->selectTab(page);
    QVERIFY(title->text() != u"Tarte aux pommes"_s);
}

void TestPageModes::activationAfterFileErrorShowsFatalError()
{
    BookFixture f;
    QVERIFY(f.start(bookShowing(f, true)));
    f.frame()->deactivateBook();
    f.m().fatalError = -1;
    f.frame()->activateBook();

    FakePlatform &p = f.platform();
    QCOMPARE(p.messageTexts(), QStringList{u"Erreur fatale. Impossibilité de continuer."_s});
    QCOMPARE(p.calls.last(), u"end"_s);
    QCOMPARE(f.m().pageCode, qint16(0));
    QCOMPARE(bookCommandStates(f.frame()), bookCommandStates(QStringList{}));
}

QTEST_MAIN(TestPageModes)
#include "tst_pagemodes.moc"
