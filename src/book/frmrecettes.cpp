// Recipe book window: its controls and its load, activation, deactivation and unload.
#include "book/frmrecettes.h"

#include "book/exacttext.h"
#include "book/recordcombo.h"
#include "book/tabstrip.h"
#include "book/twips.h"
#include "store/module1.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QShortcut>

static void initBookResources()
{
    Q_INIT_RESOURCE(book);
}

namespace gratinel {

namespace {

QLabel *makeLabel(const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

frmRecettes::frmRecettes(Module1 &m, CommandSwitches &commands, QWidget *parent)
    : QWidget(parent), m_(m), commands_(commands)
{
    initBookResources();
    setObjectName(QStringLiteral("frmRecettes"));
    setWindowTitle(QStringLiteral("Les recettes"));
    setWindowIcon(QIcon(QStringLiteral(":/book/liste.svg")));

    TabStrip1 = new TabStrip(this);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1->addTab(QIcon(QStringLiteral(":/book/liste.svg")), QStringLiteral("Liste"),
                      QStringLiteral("Les recettes mémorisées"));
    TabStrip1->addTab(QIcon(QStringLiteral(":/book/ajouter.svg")), QStringLiteral("Ajouter"),
                      QStringLiteral("Ajouter une famille de recettes ou une recette"));
    TabStrip1->addTab(QIcon(QStringLiteral(":/book/modifier.svg")), QStringLiteral("Modifier"),
                      QStringLiteral("Modifier le nom de la famille de recettes ou une recette"));
    TabStrip1->addTab(QIcon(QStringLiteral(":/book/supprimer.svg")), QStringLiteral("Supprimer"),
                      QStringLiteral("Supprimer la famille de recettes ou la recette"));

    for (int i = 1; i <= 4; ++i) {
        Frame1[i] = new QFrame(TabStrip1);
        Frame1[i]->setObjectName(QStringLiteral("Frame1(%1)").arg(i));
        Frame1[i]->setFrameShape(QFrame::NoFrame);
        Frame1[i]->setVisible(i == 1);
    }
    buildListPage();
    buildOtherPages();
    acceptDropsOnAddPage();
    layOutAtCreation();

    connect(TabStrip1, &TabStrip::tabClicked, this, &frmRecettes::TabStrip1_Click);

    // From the keyboard, Ctrl+Page down and Ctrl+Page up go to the next and previous page.
    auto *next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown), this);
    connect(next, &QShortcut::activated, this, [this] { TabStrip1->selectTab(currentTab % 4 + 1); });
    auto *previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp), this);
    connect(previous, &QShortcut::activated, this, [this] { TabStrip1->selectTab((currentTab + 2) % 4 + 1); });
}

frmRecettes::~frmRecettes() = default;

void frmRecettes::buildListPage()
{
    QFrame *page = Frame1[1];
    Picture1 = new QLabel(page);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setToolTip(QStringLiteral("Les recettes"));
    Picture1->setPixmap(QIcon(QStringLiteral(":/book/livre.svg")).pixmap(px(1095), px(1095)));
    Picture1->setAlignment(Qt::AlignCenter);

    Label1[0] = makeLabel(QStringLiteral("Les f&amilles de recettes"), page);
    Label1[0]->setObjectName(QStringLiteral("Label1(0)"));
    ComboFamilles = new RecordCombo(order_, page);
    ComboFamilles->setObjectName(QStringLiteral("ComboFamilles"));
    ComboFamilles->setToolTip(
        QStringLiteral("Choisir dans la liste une famille de recettes pour en afficher ci-dessous la liste"));

    Label1[1] = makeLabel(QStringLiteral("Les &recettes de la famille"), page);
    Label1[1]->setObjectName(QStringLiteral("Label1(1)"));
    ComboRecettes = new RecordCombo(order_, page);
    ComboRecettes->setObjectName(QStringLiteral("ComboRecettes"));
    ComboRecettes->setToolTip(
        QStringLiteral("Choisir dans la liste une recette pour en afficher ci-dessous son texte"));

    lblLaRecette = makeLabel(QStringLiteral("La rece&tte"), page);
    lblLaRecette->setObjectName(QStringLiteral("lblLaRecette"));
    txtRecette = new ExactTextEdit(page);
    txtRecette->setObjectName(QStringLiteral("txtRecette"));
    txtRecette->setReadOnly(true);
    txtRecette->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtRecette->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtRecette->setTabChangesFocus(true);

    // Labels with an accelerator give the focus to their control, as Alt+letter expects;
    // the letters are chosen apart from those of the menu bar.
    Label1[0]->setTextFormat(Qt::AutoText);
    Label1[0]->setBuddy(ComboFamilles);
    Label1[1]->setTextFormat(Qt::AutoText);
    Label1[1]->setBuddy(ComboRecettes);
    lblLaRecette->setTextFormat(Qt::AutoText);
    lblLaRecette->setBuddy(txtRecette);

    connect(ComboFamilles, &QComboBox::activated, this, [this] { ComboFamilles_Click(); });
    connect(ComboRecettes, &QComboBox::activated, this, [this] { ComboRecettes_Click(); });

    setTabOrder(ComboFamilles, ComboRecettes);
    setTabOrder(ComboRecettes, txtRecette);
}

QString frmRecettes::imagePath() const
{
    return lblLaRecette->property("Tag").toString();
}

void frmRecettes::setImagePath(const QString &path)
{
    lblLaRecette->setProperty("Tag", path);
}

bool frmRecettes::isMinimizedInFrame() const
{
    for (QWidget *w = parentWidget(); w; w = w->parentWidget()) {
        if (qobject_cast<QMdiSubWindow *>(w))
            return w->isMinimized();
    }
    return isMinimized();
}

void frmRecettes::Form_Load()
{
    if (!m_.CheckDataFile(QStringLiteral("GRTN1.DAT"))) {
        m_.ShowFatalError();
        return;
    }
    FillFamilyLists();
    if (m_.platform.programEnded())
        return;
    currentTab = 1;
    selectFamilyEntry(0);
}

void frmRecettes::Form_Activate()
{
    if (m_.fatalError == -1) {
        m_.ShowFatalError();
        return;
    }
    if (!isMinimizedInFrame()) {
        // Coming back from the program's own windows or from minimised, the page keeps what
        // was typed on it: only its commands come back. A page not prepared since it came
        // into force (the first activation) is prepared now.
        if (preparedTab_ == currentTab) {
            m_.pageCode = qint16(10 + currentTab);
            setPageCommands(currentTab);
        } else {
            ApplyPageMode();
        }
        m_.platform.setPointer(Platform::Pointer::Normal);
    }
}

void frmRecettes::Form_Deactivate()
{
    if (!isMinimizedInFrame())
        DisableBookCommands();
}

void frmRecettes::Form_Unload()
{
    DisableBookCommands();
}

void frmRecettes::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

} // namespace gratinel
