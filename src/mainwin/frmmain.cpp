// Main frame: its controls, its load, resize and unload, and the toolbar dispatch.
#include "mainwin/frmmain.h"

#include "book/frmrecettes.h"
#include "book/twips.h"
#include "mainwin/commandtables.h"
#include "mainwin/frmabout.h"
#include "platform/apptitle.h"
#include "search/frmrechercher.h"
#include "platform/platform.h"
#include "store/module1.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QToolBar>
#include <QVBoxLayout>

static void initMainWindowResources()
{
    Q_INIT_RESOURCE(mainwin);
}

namespace gratinel {

namespace {

// Closing the recipe book alone would leave an empty frame: it closes with the frame.
class BookSubWindow : public QMdiSubWindow {
public:
    explicit BookSubWindow(const bool &frameClosing) : frameClosing_(frameClosing) {}

protected:
    void closeEvent(QCloseEvent *event) override
    {
        if (frameClosing_)
            QMdiSubWindow::closeEvent(event);
        else
            event->ignore();
    }

private:
    const bool &frameClosing_;
};

} // namespace

frmMain::frmMain(Module1 &m, QWidget *parent) : QMainWindow(parent), m_(m)
{
    initMainWindowResources();
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(QIcon(QStringLiteral(":/mainwin/gratinel.svg")));

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    mdiArea_ = new QMdiArea(central);
    mdiArea_->setObjectName(QStringLiteral("MDIClient"));
    // A book window larger than a small screen's frame scrolls there.
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(mdiArea_, 1);
    setCentralWidget(central);

    createMenus();
    createToolBar();
    createWebLink();
    layout->addWidget(Picture1_);
    connectCommands();
    connectOutputCommands();

    resize(960, 680);
}

frmMain::~frmMain()
{
    // The base class's destructor hides the child windows, and the book window reports its
    // state change: by then this object is only a QWidget, so nothing of it may be called.
    if (bookWindow_)
        disconnect(bookWindow_, nullptr, this, nullptr);
}

void frmMain::createMenus()
{
    QMenu *levels[3] = {nullptr, nullptr, nullptr};
    for (const MenuItemDef &def : menuTable()) {
        const QString name = QString::fromLatin1(def.name);
        QAction *action = nullptr;
        if (def.submenu) {
            QMenu *menu = def.level == 0 ? menuBar()->addMenu(def.caption) : levels[def.level - 1]->addMenu(def.caption);
            menu->setObjectName(name);
            levels[def.level] = menu;
            action = menu->menuAction();
        } else if (def.caption == u"-") {
            action = levels[def.level - 1]->addSeparator();
        } else {
            action = levels[def.level - 1]->addAction(def.caption);
            action->setShortcut(def.shortcut);
        }
        action->setObjectName(name);
        menuItems_.insert(name, action);
    }
    QMenu *view = menuItems_.value(QStringLiteral("mnuView"))->menu();
    connect(view, &QMenu::aboutToShow, this, [this, view] { fillWindowList(view); });
}

void frmMain::fillWindowList(QMenu *viewMenu)
{
    qDeleteAll(windowListActions_);
    windowListActions_.clear();
    const auto windows = mdiArea_->subWindowList();
    if (windows.isEmpty())
        return;
    windowListActions_ << viewMenu->addSeparator();
    int n = 0;
    for (QMdiSubWindow *w : windows) {
        QAction *a = viewMenu->addAction(QStringLiteral("&%1 %2").arg(++n).arg(w->windowTitle()));
        a->setCheckable(true);
        a->setChecked(w == mdiArea_->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, w] {
            if (w->isMinimized())
                w->showNormal();
            mdiArea_->setActiveSubWindow(w);
        });
        windowListActions_ << a;
    }
}

void frmMain::createToolBar()
{
    tbToolBar_ = addToolBar(QStringLiteral("Barre d'outils"));
    tbToolBar_->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar_->setMovable(false);
    tbToolBar_->setIconSize(QSize(16, 16));
    tbToolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const ToolButtonDef &def : toolbarTable()) {
        if (def.key.isEmpty()) {
            tbToolBar_->addSeparator();
            continue;
        }
        const QIcon icon = def.imageIndex > 0 ? images_.byIndex(def.imageIndex) : images_.byKey(def.imageKey);
        QAction *action = tbToolBar_->addAction(icon, def.toolTip);
        action->setObjectName(def.key);
        action->setToolTip(def.toolTip);
        const QString key = def.key;
        connect(action, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
        buttons_.insert(def.key, action);
    }
}

void frmMain::createWebLink()
{
    Picture1_ = new QWidget(this);
    Picture1_->setObjectName(QStringLiteral("Picture1"));
    Picture1_->setFixedHeight(px(520));
    lblAdresseWeb_ = new QLabel(QStringLiteral("Découvrez \"Gratinel\" sur le Web !"), Picture1_);
    lblAdresseWeb_->setObjectName(QStringLiteral("lblAdresseWeb"));
    lblAdresseWeb_->setTextFormat(Qt::PlainText);
    QFont font = lblAdresseWeb_->font();
    font.setBold(true);
    font.setUnderline(true);
    lblAdresseWeb_->setFont(font);
    QPalette palette = lblAdresseWeb_->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    lblAdresseWeb_->setPalette(palette);
    lblAdresseWeb_->setCursor(Qt::PointingHandCursor);
    lblAdresseWeb_->adjustSize();
    lblAdresseWeb_->setFixedHeight(qMax(px(255), lblAdresseWeb_->sizeHint().height()));
}

void frmMain::connectCommands()
{
    connect(menuItem(QStringLiteral("mnuFileExit")), &QAction::triggered, this, &frmMain::mnuFileExit_Click);
    connect(menuItem(QStringLiteral("mnuHelpAbout")), &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);
    connect(menuItem(QStringLiteral("mnuViewImageVisuInterne")), &QAction::triggered, this,
            [this] { mnuViewImageVisuInterne_Click(imageWindowOwnerless_ ? nullptr : this); });
    connect(menuItem(QStringLiteral("mnuEditRechercher")), &QAction::triggered, this, &frmMain::mnuEditRechercher_Click);
}

void frmMain::Form_Load()
{
    setWindowTitle(appTitle());
    recettes_ = new frmRecettes(m_, *this);
    bookWindow_ = new BookSubWindow(closing_);
    bookWindow_->setObjectName(QStringLiteral("frmRecettesWindow"));
    bookWindow_->setWidget(recettes_);
    bookWindow_->setAttribute(Qt::WA_DeleteOnClose, false);
    bookWindow_->setWindowIcon(recettes_->windowIcon());
    mdiArea_->addSubWindow(bookWindow_);
    connect(bookWindow_, &QMdiSubWindow::windowStateChanged, this, &frmMain::subWindowStateChanged);
    recettes_->Form_Load();
    if (m_.platform.programEnded())
        return;
    bookWindow_->showMaximized();
    recettes_->update();
}

void frmMain::setMenuEnabled(const QString &name, bool enabled)
{
    if (QAction *a = menuItem(name))
        a->setEnabled(enabled);
}

void frmMain::setButtonEnabled(const QString &key, bool enabled)
{
    if (QAction *a = button(key))
        a->setEnabled(enabled);
}

void frmMain::tbToolBar_ButtonClick(const QString &key)
{
    // The menu item's own handler, so that a button behaves exactly as its item.
    static const char *const kMenuOf[][2] = {
        {"Print", "mnuFilePrint"},      {"Couper", "mnuEditCut"},
        {"Copier", "mnuEditCopy"},      {"Coller", "mnuEditPaste"},
        {"Find", "mnuEditRechercher"},  {"Ttx", "mnuEditEnvoyerTtx"},
        {"Notepad", "mnuEditEnvoyerNotePad"}, {"Camera", "mnuViewImageVisuInterne"},
        {"Help", "mnuHelpContents"},    {"Exit", "mnuFileExit"},
    };
    for (const auto &pair : kMenuOf) {
        if (key == QLatin1String(pair[0])) {
            // The image window opened from the button has no owner, unlike the menu's.
            const QScopedValueRollback<bool> ownerless(imageWindowOwnerless_, key == u"Camera");
            if (QAction *item = menuItem(QLatin1String(pair[1])))
                item->trigger();
            return;
        }
    }
}

void frmMain::mnuFileExit_Click()
{
    close();
}

void frmMain::mnuHelpAbout_Click()
{
    frmAbout about(m_.windows(), this);
    execOwnWindow(about);
}

void frmMain::mnuEditRechercher_Click()
{
    if (!recettes_)
        return;
    m_.platform.setPointer(Platform::Pointer::Hourglass);
    frmRechercher dialog(m_, *recettes_, this);
    execOwnWindow(dialog);
    // The book's activation after the dialog may already have ended the program.
    if (m_.fatalError == -1 && !m_.platform.programEnded())
        m_.ShowFatalError();
}

void frmMain::activateBook()
{
    if (bookActive_ || !recettes_ || closing_ || m_.platform.programEnded())
        return;
    bookActive_ = true;
    recettes_->Form_Activate();
}

void frmMain::deactivateBook()
{
    if (!bookActive_ || !recettes_)
        return;
    bookActive_ = false;
    recettes_->Form_Deactivate();
}

int frmMain::execOwnWindow(QDialog &dialog)
{
    deactivateBook();
    const int result = dialog.exec();
    if (!m_.platform.programEnded())
        activateBook();
    return result;
}

void frmMain::subWindowStateChanged(Qt::WindowStates oldState, Qt::WindowStates newState)
{
    const bool wasMinimized = oldState & Qt::WindowMinimized;
    const bool minimized = newState & Qt::WindowMinimized;
    if (minimized && !wasMinimized) {
        recettes_->Form_Resize();
    } else if (wasMinimized && !minimized && bookActive_) {
        recettes_->Form_Activate();
    }
}

void frmMain::closeEvent(QCloseEvent *event)
{
    closing_ = true;
    if (recettes_) {
        recettes_->Form_Unload();
        bookActive_ = false;
    }
    m_.windows().helpQuit(m_.helpFile);
    event->accept();
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    centreWebLink();
}

void frmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Start-up leaves the hourglass on until the frame is first active.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_.platform.setPointer(Platform::Pointer::Normal);
}

void frmMain::centreWebLink()
{
    // Centred on the frame's outer width, which may put it left of the strip's edge.
    const int outer = frameGeometry().width();
    lblAdresseWeb_->move((outer - lblAdresseWeb_->width()) / 2, px(120));
}

} // namespace gratinel
