// The recipe book window: four pages behind a tab strip, over the book's data files.
//
// The window's operations are spread over one source file each: browsing (browse.cpp),
// page switching and command availability (pagemodes.cpp), geometry (layout.cpp); this
// file's source builds the controls and handles the window's own events.
#pragma once

#include "book/frenchorder.h"

#include <QString>
#include <QWidget>

#include <array>

class QFrame;
class QLabel;
class QPlainTextEdit;

namespace gratinel {

class CommandSwitches;
class Module1;
class RecordCombo;
class TabStrip;

class frmRecettes : public QWidget {
    Q_OBJECT
public:
    frmRecettes(Module1 &m, CommandSwitches &commands, QWidget *parent = nullptr);
    ~frmRecettes() override;

    // Window events, called by the main window that hosts this one.
    void Form_Load();
    void Form_Activate();
    void Form_Deactivate();
    void Form_Unload();
    void Form_Resize();

    // Browsing.
    void FillFamilyLists();
    void ComboFamilles_Click();
    void FillRecipeList();
    void ComboRecettes_Click();
    void ShowRecipe();

    // Pages and the main window's commands.
    void TabStrip1_Click();
    void ApplyPageMode();
    void DisableBookCommands();

    // Image path of the shown recipe (the tag of lblLaRecette): an existing file, or empty.
    QString imagePath() const;
    // True while the window is minimised inside the main window.
    bool isMinimizedInFrame() const;

    int currentTab = 1;

    // Controls, named as the rest of the program and the tests know them.
    TabStrip *TabStrip1 = nullptr;
    std::array<QFrame *, 5> Frame1{}; // pages 1 to 4; index 0 unused
    QLabel *Picture1 = nullptr;
    std::array<QLabel *, 2> Label1{};
    RecordCombo *ComboFamilles = nullptr;
    RecordCombo *ComboRecettes = nullptr;
    QLabel *lblLaRecette = nullptr;
    QPlainTextEdit *txtRecette = nullptr;
    RecordCombo *ComboFamillesAjouter = nullptr;
    RecordCombo *ComboFamillesModifier = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildListPage();
    void buildOtherPages();
    void layOutAtCreation();
    // Selects an entry in code; runs the list's click handler as a user's choice does.
    void selectFamilyEntry(int row);
    void selectRecipeEntry(int row);
    void setImagePath(const QString &path);
    void setImageCommands(bool enabled);
    // The main window's commands as page 1 to 4 wants them; page 0 switches them all off.
    void setPageCommands(int page);

    Module1 &m_;
    CommandSwitches &commands_;
    FrenchOrder order_;
};

} // namespace gratinel
