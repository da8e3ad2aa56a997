// Page switching, and which of the main window's commands each page offers.
#include "book/frmrecettes.h"

#include "book/commandswitches.h"
#include "book/limitedtextedit.h"
#include "book/recordcombo.h"
#include "book/tabstrip.h"
#include "store/module1.h"

#include <QFrame>
#include <QLineEdit>
#include <QRadioButton>
#include <QPlainTextEdit>

namespace gratinel {

namespace {

struct PageCommand {
    const char *menu;  // menu item, or nullptr
    const char *button; // toolbar key, or nullptr
    // Enabled on pages 1 to 4.
    bool onPage[4];
};

// The image command is on the list page only when the shown recipe has an image: it is
// handled apart.
constexpr PageCommand kCommands[] = {
    {"mnuFilePrint", "Print", {1, 0, 0, 0}},
    {"mnuFilePrintLivret", nullptr, {1, 0, 0, 0}},
    {"mnuEditCut", "Couper", {0, 1, 1, 0}},
    {"mnuEditCopy", "Copier", {1, 1, 1, 0}},
    {"mnuEditPaste", "Coller", {0, 1, 1, 0}},
    // Select all serves the typed inputs of the add and modify pages as well.
    {"mnuEditSelect", nullptr, {1, 1, 1, 0}},
    {"mnuEditRechercher", "Find", {1, 0, 0, 0}},
    {"mnuEditEnvoyer", "Ttx", {1, 0, 0, 0}},
    {nullptr, "Notepad", {1, 0, 0, 0}},
};

} // namespace

void frmRecettes::TabStrip1_Click()
{
    const int t = TabStrip1->selectedTab();
    if (t == currentTab || t < 1 || t > 4)
        return;
    Frame1[t]->setVisible(true);
    Frame1[currentTab]->setVisible(false);
    currentTab = t;
    ApplyPageMode();
}

void frmRecettes::setPageCommands(int page)
{
    // Page 0: the book is not where commands act, and every one is off.
    const auto on = [page](const PageCommand &c) { return page >= 1 && c.onPage[page - 1]; };
    const bool image = page == 1 && !imagePath().isEmpty();
    for (const PageCommand &c : kCommands) {
        if (c.menu)
            commands_.setMenuEnabled(QString::fromLatin1(c.menu), on(c));
    }
    commands_.setMenuEnabled(QStringLiteral("mnuViewImage"), image);
    for (const PageCommand &c : kCommands) {
        if (c.button)
            commands_.setButtonEnabled(QString::fromLatin1(c.button), on(c));
    }
    commands_.setButtonEnabled(QStringLiteral("Camera"), image);
}

void frmRecettes::ApplyPageMode()
{
    m_.pageCode = qint16(10 + currentTab);
    setPageCommands(currentTab);
    preparedTab_ = currentTab;
    switch (currentTab) {
    case 1:
        prepareListPage();
        break;
    case 2:
        prepareAddPage();
        break;
    case 3:
        prepareModifyPage();
        break;
    case 4:
        prepareDeletePage();
        break;
    default:
        break;
    }
}

void frmRecettes::prepareListPage()
{
    if (txtRecette->isEnabled())
        txtRecette->setFocus();
}

void frmRecettes::prepareAddPage()
{
    // The image path stays: only the typed texts go.
    txtSaisieFamille->clear();
    txtSaisieNomRecette->clear();
    txtSaisieRecetteAjouter->clear();
    ComboFamillesAjouter->setCurrentIndex(ComboFamilles->currentIndex());
    if (Option1[0]->isChecked())
        txtSaisieFamille->setFocus();
    else
        ComboFamillesAjouter->setFocus();
}

void frmRecettes::DisableBookCommands()
{
    m_.pageCode = 0;
    setPageCommands(0);
}

} // namespace gratinel
