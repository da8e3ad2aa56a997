// The main frame: menu bar, toolbar and web link around the recipe book window.
#pragma once

#include "book/commandswitches.h"
#include "mainwin/imagelist.h"

#include <QHash>
#include <QMainWindow>


class QAction;
class QDialog;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace gratinel {

class Module1;
class frmRecettes;

class frmMain : public QMainWindow, public CommandSwitches {
    Q_OBJECT
public:
    explicit frmMain(Module1 &m, QWidget *parent = nullptr);
    ~frmMain() override;

    // Sets the caption, then loads the recipe book as the frame's child window.
    void Form_Load();
    // The recipe book, once loaded.
    frmRecettes *recettes() const { return recettes_; }

    QAction *menuItem(const QString &name) const { return menuItems_.value(name); }
    QAction *button(const QString &key) const { return buttons_.value(key); }
    QLabel *lblAdresseWeb() const { return lblAdresseWeb_; }
    const ImageList &imlToolbarIcons() const { return images_; }

    void setMenuEnabled(const QString &name, bool enabled) override;
    void setButtonEnabled(const QString &key, bool enabled) override;

    // Runs the command of a toolbar button, by the button's key; unknown keys do nothing.
    void tbToolBar_ButtonClick(const QString &key);

    void mnuFileExit_Click();
    void mnuHelpAbout_Click();
    // The shown recipe's image in the program's own window, modal over owner (none from
    // the toolbar's button).
    void mnuViewImageVisuInterne_Click(QWidget *owner);
    // Opens the search dialog; a file error met by the search ends the program after it.
    void mnuEditRechercher_Click();

    // Printing and sending the shown recipe (printing.cpp, sending.cpp).
    void mnuFilePrint_Click();
    // A printed booklet of the shown family or of the whole book (bookletprinting.cpp).
    void mnuFilePrintLivret_Click();
    void mnuEditEnvoyerTtx_Click();
    void mnuEditEnvoyerNotePad_Click();
    // The clipboard commands on the recipe book's focused text box; a beep when no
    // text box has the focus (clipboard.cpp).
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuEditSelect_Click();
    // Home page, help contents and the desktop's image viewer (shellcommands.cpp).
    void lblAdresseWeb_Click();
    void mnuHelpGrSurLeWeb_Click();
    void ShowHelpContents();
    void mnuViewImageVisuAssocie_Click();

    // Activation of the recipe book. Only the program's own windows (about box, search,
    // image) take the activation away and give it back when they close; message boxes, the
    // file dialog and the user's switching to another program and back do not, so that a
    // page comes back exactly as it was left.
    void activateBook();
    void deactivateBook();
    bool bookActive() const { return bookActive_; }
    // Shows one of the program's own windows modally: the recipe book loses the
    // activation while it is open, and gets it back after.
    int execOwnWindow(QDialog &dialog);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void createMenus();
    void createToolBar();
    void createWebLink();
    void connectCommands();
    void fillWindowList(QMenu *viewMenu);
    void centreWebLink();
    void subWindowStateChanged(Qt::WindowStates oldState, Qt::WindowStates newState);
    // Print, send, clipboard, web and help commands (outputcommands.cpp and the files above).
    void connectOutputCommands();
    void sendRecipe(const QString &extension, const QString &noAssociation, const QString &notWritten);
    QWidget *clipboardTarget() const;
    void routeEditShortcuts();
    void openHomePage();

    Module1 &m_;
    ImageList images_;
    QMdiArea *mdiArea_ = nullptr;
    QMdiSubWindow *bookWindow_ = nullptr;
    frmRecettes *recettes_ = nullptr;
    QToolBar *tbToolBar_ = nullptr;
    QWidget *Picture1_ = nullptr;
    QLabel *lblAdresseWeb_ = nullptr;
    QHash<QString, QAction *> menuItems_;
    QHash<QString, QAction *> buttons_;
    QList<QAction *> windowListActions_;
    bool bookActive_ = false;
    bool closing_ = false;
    bool imageWindowOwnerless_ = false;
};

} // namespace gratinel
