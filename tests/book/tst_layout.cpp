// The recipe book's geometry: the resize rules as numbers, their fit to the font, and the
// real window following a resize.
#include "book/fittedlayout.h"
#include "book/frmrecettes.h"
#include "book/resizerules.h"
#include "book/tabstrip.h"
#include "bookfixture.h"
#include "mainwin/frmmain.h"
#include "store/module1.h"
#include "testbook.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QPushButton>
#include <QtTest>

using namespace gratinel;
using namespace Qt::StringLiterals;

namespace {

// One expected value: a control, one of its fields ('l'eft, 't'op, 'w'idth, 'h'eight,
// 'x' for a line's end point X2), and the value in twips.
struct Expect {
    QString name;
    char field;
    int value;
};
using Expects = QList<Expect>;

int field(const TwipsRect &r, char f)
{
    switch (f) {
    case 'l': return r.left;
    case 't': return r.top;
    case 'w': return r.width;
    case 'h': return r.height;
    default: return r.right(); // 'x'
    }
}

LayoutInput input(int W, int H)
{
    // The tab strip's client area as a toolkit may report it: inside a border and the tabs.
    return LayoutInput{W + 60, H + 420, TwipsRect{30, 390, W, H}};
}

// Controls stretched to the right margin, moved with it, moved with the bottom margin, and
// stretched to the bottom margin.
const QStringList kWidened = {
    u"ComboFamilles"_s, u"ComboRecettes"_s, u"txtRecette"_s,
    u"txtSaisieFamille"_s, u"txtSaisieNomRecette"_s, u"ComboFamillesAjouter"_s,
    u"FrameImageAjouter"_s, u"txtImageAjouter"_s, u"txtSaisieRecetteAjouter"_s,
    u"txtSaisieFamilleModifier"_s, u"txtSaisieNomRecetteModifier"_s, u"ComboFamillesModifier"_s,
    u"FrameImageModifier"_s, u"txtImageModifier"_s, u"txtSaisieRecetteModifier"_s,
    u"lblFamilleSupprimer"_s, u"lblFamilleRecetteSupprimer"_s, u"lblTitreRecetteSupprimer"_s,
    u"txtTexteRecetteSupprimer"_s,
    u"Line1(0)"_s, u"Line1(1)"_s, u"Line1(2)"_s, // their X2
};
const QStringList kMovedRight = {u"FramecmdAjouter"_s, u"FramecmdModifier"_s, u"FramecmdSupprimer"_s};
const QStringList kMovedDown = {u"FrameImageAjouter"_s, u"FrameImageModifier"_s};
const QStringList kLengthened = {u"txtRecette"_s, u"txtSaisieRecetteAjouter"_s,
                                 u"txtSaisieRecetteModifier"_s, u"txtTexteRecetteSupprimer"_s};

const QStringList kPages = {u"Frame1(1)"_s, u"Frame1(2)"_s, u"Frame1(3)"_s, u"Frame1(4)"_s};

QMdiSubWindow *subWindowOf(frmRecettes *book)
{
    return qobject_cast<QMdiSubWindow *>(book->parentWidget());
}

// Widgets a user reads or types into on a page, with where they show their content.
struct Shown {
    QWidget *widget;
    QRect content; // in the page frame's coordinates
};

QList<Shown> shownControls(QFrame *page)
{
    QList<Shown> out;
    for (QWidget *w : page->findChildren<QWidget *>()) {
        const bool caption = qobject_cast<QLabel *>(w) || qobject_cast<QAbstractButton *>(w);
        const bool input = qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w)
            || qobject_cast<QPlainTextEdit *>(w);
        if (!(caption || input) || !w->parentWidget()->inherits("QFrame") || w->objectName().isEmpty())
            continue;
        QRect r(w->mapTo(page, QPoint(0, 0)), w->size());
        auto *label = qobject_cast<QLabel *>(w);
        auto *button = qobject_cast<QAbstractButton *>(w);
        if ((label && label->frameShape() == QFrame::NoFrame && label->pixmap().isNull())
            || (button && !button->text().isEmpty())) {
            // A caption shows its text at the left of its box, centred in its height.
            const QSize hint = w->sizeHint();
            const int h = qMin(r.height(), hint.height());
            r = QRect(r.left(), r.top() + (r.height() - h) / 2, qMin(r.width(), hint.width()), h);
        }
        out << Shown{w, r};
    }
    return out;
}

} // namespace

Q_DECLARE_METATYPE(Expect)

class TestLayout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void rulesGiveDesignedNumbers_data();
    void rulesGiveDesignedNumbers();
    void growingMovesOnlyTheStretchedControls_data();
    void growingMovesOnlyTheStretchedControls();
    void eachResizeStartsAfresh();
    void fitMovesColumnAndRowsOnlyWhenNeeded_data();
    void fitMovesColumnAndRowsOnlyWhenNeeded();

    void windowFollowsItsResize();
    void captionsAndInputsAreNeverCutNorOverlap();
    void minimisingLeavesGeometryAlone();
    void tabGoesTopToBottomOnEveryPage_data();
    void tabGoesTopToBottomOnEveryPage();
};

void TestLayout::rulesGiveDesignedNumbers_data()
{
    QTest::addColumn<int>("W");
    QTest::addColumn<int>("H");
    QTest::addColumn<Expects>("expects");

    // A roomy page: every rule applies.
    QTest::newRow("8000 x 4500") << 8000 << 4500 << Expects{
        {u"TabStrip1"_s, 'w', 8060}, {u"TabStrip1"_s, 'h', 4920}, {u"TabStrip1"_s, 'l', 0},
        {u"Frame1(3)"_s, 'l', 30}, {u"Frame1(3)"_s, 't', 390}, {u"Frame1(4)"_s, 'w', 8000},
        {u"Frame1(1)"_s, 'h', 4500},
        {u"ComboFamilles"_s, 'w', 6560}, {u"ComboRecettes"_s, 'w', 6560},
        {u"txtRecette"_s, 'w', 7760}, {u"txtRecette"_s, 'h', 2940},
        {u"FramecmdAjouter"_s, 'l', 6545}, {u"txtSaisieFamille"_s, 'w', 5840},
        {u"Line1(0)"_s, 'x', 6425}, {u"txtSaisieNomRecette"_s, 'w', 5840},
        {u"ComboFamillesAjouter"_s, 'w', 5840}, {u"FrameImageAjouter"_s, 't', 4005},
        {u"FrameImageAjouter"_s, 'w', 7520}, {u"txtImageAjouter"_s, 'w', 5840},
        {u"txtSaisieRecetteAjouter"_s, 'w', 5840}, {u"txtSaisieRecetteAjouter"_s, 'h', 2305},
        {u"FramecmdModifier"_s, 'l', 6545}, {u"txtSaisieFamilleModifier"_s, 'w', 5840},
        {u"Line1(1)"_s, 'x', 6425}, {u"txtSaisieNomRecetteModifier"_s, 'w', 5840},
        {u"ComboFamillesModifier"_s, 'w', 5840}, {u"FrameImageModifier"_s, 't', 4005},
        {u"FrameImageModifier"_s, 'w', 7520}, {u"txtImageModifier"_s, 'w', 5840},
        {u"txtSaisieRecetteModifier"_s, 'w', 5840}, {u"txtSaisieRecetteModifier"_s, 'h', 2305},
        {u"FramecmdSupprimer"_s, 'l', 7025}, {u"Line1(2)"_s, 'x', 6905},
        {u"lblFamilleSupprimer"_s, 'w', 5840}, {u"lblFamilleRecetteSupprimer"_s, 'w', 5840},
        {u"lblTitreRecetteSupprimer"_s, 'w', 5840}, {u"txtTexteRecetteSupprimer"_s, 'w', 5840},
        {u"txtTexteRecetteSupprimer"_s, 'h', 2680},
        // Not stretched: lefts, tops, captions, buttons.
        {u"ComboFamilles"_s, 'l', 1320}, {u"Picture1"_s, 'w', 1095}, {u"Option1(0)"_s, 'w', 1935},
        {u"txtSaisieFamille"_s, 'h', 285}, {u"cmdAideAjouter"_s, 'l', 960},
        {u"txtImageAjouter"_s, 'l', 1680}, {u"Label2(7)"_s, 't', 80},
    };
    // Too narrow for the right-hand inputs: they keep their widths from creation, while the
    // button frames and line ends still follow the edge; too short for the texts likewise.
    QTest::newRow("2000 x 1500") << 2000 << 1500 << Expects{
        {u"ComboFamilles"_s, 'w', 560}, {u"txtRecette"_s, 'w', 1760}, {u"txtRecette"_s, 'h', 2055},
        {u"FramecmdAjouter"_s, 'l', 545}, {u"txtSaisieFamille"_s, 'w', 1935},
        {u"Line1(0)"_s, 'x', 425}, {u"ComboFamillesModifier"_s, 'w', 2175},
        {u"FrameImageAjouter"_s, 't', 1005}, {u"FrameImageAjouter"_s, 'w', 1520},
        {u"txtImageAjouter"_s, 'w', 2295}, {u"txtSaisieRecetteAjouter"_s, 'h', 975},
        {u"FramecmdSupprimer"_s, 'l', 1025}, {u"lblTitreRecetteSupprimer"_s, 'w', 2175},
        {u"txtTexteRecetteSupprimer"_s, 'h', 975},
    };
    QTest::newRow("exactly the column and margin") << 2160 << 2195 << Expects{
        {u"txtSaisieFamille"_s, 'w', 0}, {u"txtSaisieRecetteAjouter"_s, 'h', 0},
        {u"txtImageAjouter"_s, 'w', 0}, {u"txtTexteRecetteSupprimer"_s, 'h', 375},
    };
    // Below 1455 the button frames leave the page on the left: positions are applied
    // whatever their sign, so are the line ends.
    QTest::newRow("1000 x 300") << 1000 << 300 << Expects{
        {u"FramecmdAjouter"_s, 'l', -455}, {u"FramecmdModifier"_s, 'l', -455},
        {u"FramecmdSupprimer"_s, 'l', 25}, {u"Line1(0)"_s, 'x', -575}, {u"Line1(2)"_s, 'x', -95},
        {u"FrameImageAjouter"_s, 't', -195}, {u"FrameImageModifier"_s, 'w', 520},
        {u"ComboFamilles"_s, 'w', 1815}, {u"txtRecette"_s, 'w', 760}, {u"txtRecette"_s, 'h', 2055},
    };
    QTest::newRow("nothing left") << 0 << 0 << Expects{
        {u"TabStrip1"_s, 'w', 60}, {u"Frame1(2)"_s, 'w', 0}, {u"txtRecette"_s, 'w', 7455},
        {u"FramecmdSupprimer"_s, 'l', -975}, {u"Line1(1)"_s, 'x', -1575},
        {u"FrameImageModifier"_s, 't', -495}, {u"FrameImageModifier"_s, 'w', 4335},
    };
    // A client area that the toolkit reports as negative is refused like any other size.
    QTest::newRow("negative client") << -300 << -200 << Expects{
        {u"Frame1(1)"_s, 'w', kDesignWidth}, {u"Frame1(1)"_s, 'h', kDesignHeight},
        {u"Frame1(1)"_s, 'l', 30}, {u"FramecmdAjouter"_s, 'l', -1755},
    };
}

void TestLayout::rulesGiveDesignedNumbers()
{
    QFETCH(int, W);
    QFETCH(int, H);
    QFETCH(Expects, expects);

    const LayoutTable t = resizedLayout(designedLayout(), input(W, H));
    for (const Expect &e : expects) {
        QVERIFY2(t.count(e.name), qPrintable(e.name));
        QCOMPARE(std::pair(e.name + u'.' + QChar::fromLatin1(e.field), field(t.at(e.name), e.field)),
                 std::pair(e.name + u'.' + QChar::fromLatin1(e.field), e.value));
    }
}

void TestLayout::growingMovesOnlyTheStretchedControls_data()
{
    QTest::addColumn<int>("dW");
    QTest::addColumn<int>("dH");
    QTest::newRow("1000 wider") << 1000 << 0;
    QTest::newRow("600 taller") << 0 << 600;
    QTest::newRow("both") << 1000 << 600;
    QTest::newRow("narrower and shorter") << -700 << -400;
}

void TestLayout::growingMovesOnlyTheStretchedControls()
{
    QFETCH(int, dW);
    QFETCH(int, dH);

    const LayoutTable before = resizedLayout(designedLayout(), input(8025, 4545));
    const LayoutTable after = resizedLayout(before, input(8025 + dW, 4545 + dH));
    QCOMPARE(after.size(), before.size());
    for (const auto &[name, b] : before) {
        if (kPages.contains(name) || name == u"TabStrip1"_s)
            continue;
        const TwipsRect &a = after.at(name);
        const bool line = name.startsWith(u"Line"_s);
        const int widen = kWidened.contains(name) ? dW : 0;
        QCOMPARE(std::pair(name, a.left - b.left), std::pair(name, kMovedRight.contains(name) ? dW : 0));
        QCOMPARE(std::pair(name, a.top - b.top), std::pair(name, kMovedDown.contains(name) ? dH : 0));
        QCOMPARE(std::pair(name, a.width - b.width), std::pair(name, widen));
        QCOMPARE(std::pair(name, a.height - b.height),
                 std::pair(name, kLengthened.contains(name) && !line ? dH : 0));
    }
    // The texts end 20 above their image frames, the buttons 120 from the right edge.
    for (const auto &[text, image] : {std::pair(u"txtSaisieRecetteAjouter"_s, u"FrameImageAjouter"_s),
                                      std::pair(u"txtSaisieRecetteModifier"_s, u"FrameImageModifier"_s)})
        QCOMPARE(after.at(image).top - after.at(text).bottom(), 20);
    for (const QString &buttons : kMovedRight)
        QCOMPARE(after.at(buttons).right(), 8025 + dW - 120);
    QCOMPARE(after.at(u"txtTexteRecetteSupprimer"_s).bottom(), 4545 + dH - 140);
}

void TestLayout::eachResizeStartsAfresh()
{
    // A size too small for some controls, then a large one: the skipped assignments leave
    // no trace once the page is large enough again.
    const LayoutTable direct = resizedLayout(designedLayout(), input(9000, 6000));
    LayoutTable t = designedLayout();
    for (auto [W, H] : {std::pair(1000, 300), std::pair(-50, 4000), std::pair(0, 0), std::pair(9000, 6000)})
        t = resizedLayout(t, input(W, H));
    QVERIFY(t == direct);
}

void TestLayout::fitMovesColumnAndRowsOnlyWhenNeeded_data()
{
    QTest::addColumn<ContentNeeds>("needs");
    QTest::addColumn<Expects>("expects");

    // Sizes the design already meets change nothing.
    QTest::newRow("design suffices") << ContentNeeds{
        {u"Label2(2)"_s, {900, 210}}, {u"Option2(0)"_s, {1500, 300}}, {u"txtSaisieNomRecette"_s, {0, 285}},
        {u"Label1(0)"_s, {2000, 210}}, {u"ComboFamilles"_s, {0, 300}}}
        << Expects{{u"txtSaisieFamille"_s, 'l', 2040}, {u"ComboFamilles"_s, 't', 240},
                   {u"Label2(2)"_s, 'w', 975}, {u"txtSaisieNomRecette"_s, 't', 1320}};
    // The widest caption of any page sets the input column of all three, with its gap;
    // the inputs keep their right edges, the image boxes and their buttons move along.
    QTest::newRow("wide caption") << ContentNeeds{{u"Option2(0)"_s, {3300, 300}}, {u"Label2(9)"_s, {1100, 210}}}
        << Expects{{u"Option2(0)"_s, 'w', 3300}, {u"Label2(9)"_s, 'w', 1100},
                   {u"txtSaisieFamille"_s, 'l', 3540}, {u"txtSaisieFamille"_s, 'w', 435},
                   {u"ComboFamillesModifier"_s, 'l', 3540}, {u"lblTitreRecetteSupprimer"_s, 'l', 3540},
                   {u"txtTexteRecetteSupprimer"_s, 'l', 3540}, {u"txtImageAjouter"_s, 'l', 3180},
                   {u"cmdImageModifier"_s, 'l', 2700}, {u"Label2(6)"_s, 'l', 120},
                   {u"Option1(0)"_s, 'l', 120}, {u"ComboFamilles"_s, 'l', 1320}};
    // A taller family list pushes the rows below it down, on its page only.
    QTest::newRow("tall list") << ContentNeeds{{u"ComboFamillesAjouter"_s, {0, 450}}}
        << Expects{{u"ComboFamillesAjouter"_s, 'h', 450}, {u"Label2(2)"_s, 't', 1000},
                   {u"txtSaisieNomRecette"_s, 't', 1410}, {u"Label2(0)"_s, 't', 1410},
                   {u"txtSaisieRecetteAjouter"_s, 't', 1770}, {u"Label2(1)"_s, 't', 1770},
                   {u"txtSaisieNomRecetteModifier"_s, 't', 1320}};
    // A caption's box may reach into the row below as long as its text does not.
    QTest::newRow("list page lists") << ContentNeeds{{u"Label1(0)"_s, {0, 210}}, {u"ComboFamilles"_s, {0, 330}},
                                                     {u"Label1(1)"_s, {0, 300}}, {u"ComboRecettes"_s, {0, 330}},
                                                     {u"lblLaRecette"_s, {0, 210}}}
        << Expects{{u"ComboFamilles"_s, 't', 240}, {u"Label1(1)"_s, 't', 600},
                   {u"ComboRecettes"_s, 't', 900}, {u"lblLaRecette"_s, 't', 1260},
                   {u"txtRecette"_s, 't', 1500}, {u"Picture1"_s, 't', 80}};
}

void TestLayout::fitMovesColumnAndRowsOnlyWhenNeeded()
{
    QFETCH(ContentNeeds, needs);
    QFETCH(Expects, expects);

    const LayoutTable t = fittedLayout(designedLayout(), needs);
    for (const Expect &e : expects)
        QCOMPARE(std::pair(e.name + u'.' + QChar::fromLatin1(e.field), field(t.at(e.name), e.field)),
                 std::pair(e.name + u'.' + QChar::fromLatin1(e.field), e.value));
}

void TestLayout::windowFollowsItsResize()
{
    BookFixture f;
    QVERIFY(f.start(testbook::minimal()));
    frmRecettes *book = f.book();
    QMdiSubWindow *sub = subWindowOf(book);
    QVERIFY(sub);

    QCOMPARE(book->logicalDpiX(), 96);
    for (QSize size : {QSize(700, 520), QSize(420, 300), QSize(900, 640)}) {
        const LayoutTable before = book->layoutTable();
        sub->resize(size + (sub->size() - book->size()));
        QTRY_COMPARE(book->size(), size);

        const QRect client = book->TabStrip1->clientRect();
        QCOMPARE(book->TabStrip1->geometry(), QRect(QPoint(0, 0), size));
        const LayoutInput in{size.width() * 15, size.height() * 15,
                             TwipsRect{client.left() * 15, client.top() * 15, client.width() * 15,
                                       client.height() * 15}};
        const LayoutTable expected = resizedLayout(before, in);
        QVERIFY(book->layoutTable() == expected);
        for (const auto &[name, rect] : expected) {
            QWidget *w = book->findChild<QWidget *>(name);
            if (!w || name.startsWith(u"Line"_s))
                continue;
            QCOMPARE(std::pair(name, w->geometry()),
                     std::pair(name, QRect(qRound(rect.left / 15.0), qRound(rect.top / 15.0),
                                           qRound(rect.width / 15.0), qRound(rect.height / 15.0))));
        }
        // Every page over the client area; the stretched controls 8 pixels (120 twips)
        // from its right edge, the list page's text as far from its bottom.
        for (int i = 1; i <= 4; ++i)
            QCOMPARE(book->Frame1[i]->geometry(), client);
        const int right = client.width() - 8;
        if (client.width() * 15 >= 2160) {
            for (const char *name : {"ComboFamilles", "txtSaisieFamille", "txtSaisieNomRecetteModifier",
                                     "lblTitreRecetteSupprimer", "FramecmdAjouter", "FramecmdSupprimer"}) {
                QWidget *w = book->findChild<QWidget *>(QLatin1String(name));
                QVERIFY2(w, name);
                QCOMPARE(std::pair(QString::fromLatin1(name), w->geometry().right() + 1),
                         std::pair(QString::fromLatin1(name), right));
            }
            QCOMPARE(book->txtRecette->geometry().bottom() + 1, client.height() - 8);
        }
    }
}

void TestLayout::captionsAndInputsAreNeverCutNorOverlap()
{
    BookFixture f;
    QVERIFY(f.start(testbook::minimal()));
    frmRecettes *book = f.book();

    for (int page = 1; page <= 4; ++page) {
        const QList<Shown> shown = shownControls(book->Frame1[page]);
        QVERIFY(shown.size() >= 5);
        for (const Shown &s : shown) {
            const QString name = s.widget->objectName();
            const QSize hint = s.widget->sizeHint();
            const bool line = qobject_cast<QLineEdit *>(s.widget) || qobject_cast<QComboBox *>(s.widget);
            auto *label = qobject_cast<QLabel *>(s.widget);
            const bool caption = (label && label->frameShape() == QFrame::NoFrame && label->pixmap().isNull())
                || (qobject_cast<QAbstractButton *>(s.widget)
                    && !qobject_cast<QAbstractButton *>(s.widget)->text().isEmpty());
            if (caption)
                QVERIFY2(s.widget->width() >= hint.width(), qPrintable(name + u" is cut"_s));
            if (caption || line || label)
                QVERIFY2(s.widget->height() >= (label ? label->sizeHint().height() : hint.height()),
                         qPrintable(name + u" is cut"_s));
            for (const Shown &o : shown) {
                if (o.widget == s.widget || o.widget->isAncestorOf(s.widget) || s.widget->isAncestorOf(o.widget))
                    continue;
                QVERIFY2(!s.content.intersects(o.content),
                         qPrintable(name + u" overlaps "_s + o.widget->objectName()));
            }
        }
    }
}

void TestLayout::minimisingLeavesGeometryAlone()
{
    BookFixture f;
    QVERIFY(f.start(testbook::minimal()));
    frmRecettes *book = f.book();
    QMdiSubWindow *sub = subWindowOf(book);
    QVERIFY(sub);
    sub->showNormal();
    sub->resize(640, 480);
    const LayoutTable before = book->layoutTable();
    const QRect text = book->txtRecette->geometry();

    f.platform().calls.clear();
    sub->showMinimized();
    QVERIFY(book->layoutTable() == before);
    QCOMPARE(book->txtRecette->geometry(), text);
    QCOMPARE(f.m().pageCode, qint16(0));
    QCOMPARE(f.platform().pointer, Platform::Pointer::Normal);

    sub->showNormal();
    QTRY_VERIFY(book->isVisible());
    QCOMPARE(book->txtRecette->geometry().right() + 1, book->TabStrip1->clientRect().width() - 8);
}

void TestLayout::tabGoesTopToBottomOnEveryPage_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("list") << 1 << QStringList{u"ComboFamilles"_s, u"ComboRecettes"_s, u"txtRecette"_s};
    QTest::newRow("add") << 2 << QStringList{
        u"Option1(0)"_s, u"txtSaisieFamille"_s, u"cmdValideAjouter"_s, u"cmdEffacerAjouter"_s, u"cmdAideAjouter"_s,
        u"Option1(1)"_s, u"ComboFamillesAjouter"_s, u"txtSaisieNomRecette"_s,
        u"txtSaisieRecetteAjouter"_s, u"cmdImageAjouter"_s, u"txtImageAjouter"_s};
    QTest::newRow("modify") << 3 << QStringList{
        u"Option2(0)"_s, u"txtSaisieFamilleModifier"_s, u"cmdValideModifier"_s, u"cmdEffacerModifier"_s,
        u"cmdAideModifier"_s, u"Option2(1)"_s, u"ComboFamillesModifier"_s, u"txtSaisieNomRecetteModifier"_s,
        u"txtSaisieRecetteModifier"_s, u"cmdImageModifier"_s, u"txtImageModifier"_s};
    QTest::newRow("delete") << 4 << QStringList{
        u"Option3(0)"_s, u"cmdSupprimer"_s, u"cmdAideSupprimer"_s, u"Option3(1)"_s,
        u"txtTexteRecetteSupprimer"_s};
}

void TestLayout::tabGoesTopToBottomOnEveryPage()
{
    QFETCH(int, page);
    QFETCH(QStringList, order);

    BookFixture f;
    QVERIFY(f.start(testbook::minimal()));
    frmRecettes *book = f.book();
    book->TabStrip1->selectTab(page);
    // Everything of the minimal book is protected, which hides the delete button.
    book->cmdSupprimer->setVisible(true);

    // The page's controls in the window's focus chain, from the tabs on, whether the page's
    // mode has them enabled or not.
    QStringList chain;
    QWidget *w = book->TabStrip1->bar();
    do {
        w = w->nextInFocusChain();
        if (book->Frame1[page]->isAncestorOf(w) && w->isVisibleTo(book)
            && (w->focusPolicy() & Qt::TabFocus))
            chain << w->objectName();
    } while (w != book->TabStrip1->bar() && chain.size() < 50);
    QCOMPARE(chain, order);
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
