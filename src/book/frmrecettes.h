// The recipe book window: four pages behind a tab strip, over the book's data files.
//
// The window's operations are spread over one source file each: browsing (browse.cpp),
// page switching and command availability (pagemodes.cpp), geometry (layout.cpp), the
// controls of the add, modify and delete pages (pages.cpp), adding (add.cpp), image paths
// (imagepaths.cpp), modifying (modify.cpp), deleting (delete.cpp); this file's source
// builds the list page and handles the window's own events.
#pragma once

#include "book/exacttext.h"
#include "book/fittedlayout.h"
#include "book/frenchorder.h"
#include "importer/limits.h"
#include "platform/platform.h"

#include <QSet>
#include <QString>
#include <QWidget>

#include <array>
#include <initializer_list>
#include <optional>

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace gratinel {

class CommandSwitches;
class Status;
class LimitedTextEdit;
class Module1;
class RecordCombo;
class TabStrip;

// The warning that names characters the book cannot store, as cp1252::unstorable names them
// (an invisible one or a control by its code, "U+0089").
QString unstorableMessage(const QStringList &characters);

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

    // Add page.
    void Option1_Click(int index);
    void txtImageAjouter_Change();
    void cmdImageAjouter_Click();
    // A path pasted into the image box: it replaces the whole path, and must name an image
    // file that is there.
    void pasteImagePath(const QString &pasted);
    void cmdValideAjouter_Click();
    void cmdEffacerAjouter_Click();
    void cmdAideAjouter_Click();

    // Modify page.
    void Option2_Click(int index);
    void cmdValideModifier_Click();
    void cmdEffacerModifier_Click();
    void cmdAideModifier_Click();
    void cmdImageModifier_Click();

    // Delete page.
    void Option3_Click(int index);
    void cmdSupprimer_Click();
    void cmdAideSupprimer_Click();

    // Preparation of the modify and delete pages each time they come into force.
    void prepareModifyPage();
    void prepareDeletePage();

    // Selects an option of a page in code, with the same effect as the user's choosing it.
    void selectOption1(int index);
    void selectOption2(int index);
    void selectOption3(int index);

    // Image path of the shown recipe (the tag of lblLaRecette): an existing file, or empty.
    QString imagePath() const;
    // True while the window is minimised inside the main window.
    bool isMinimizedInFrame() const;
    // Every laid-out control's place in twips, as the last resize left it.
    const LayoutTable &layoutTable() const { return layout_; }

    int currentTab = 1;

    // Controls, named as the rest of the program and the tests know them.
    TabStrip *TabStrip1 = nullptr;
    std::array<QFrame *, 5> Frame1{}; // pages 1 to 4; index 0 unused
    QLabel *Picture1 = nullptr;
    std::array<QLabel *, 2> Label1{};
    RecordCombo *ComboFamilles = nullptr;
    RecordCombo *ComboRecettes = nullptr;
    QLabel *lblLaRecette = nullptr;
    ExactTextEdit *txtRecette = nullptr;

    // Captions of the recipe inputs of pages 2 to 4: "- son titre", "- sa famille", ...
    std::array<QLabel *, 11> Label2{};
    // The separators of pages 2, 3 and 4.
    std::array<QFrame *, 3> Line1{};

    // Add page.
    std::array<QRadioButton *, 2> Option1{};
    QLineEdit *txtSaisieFamille = nullptr;
    RecordCombo *ComboFamillesAjouter = nullptr;
    QLineEdit *txtSaisieNomRecette = nullptr;
    LimitedTextEdit *txtSaisieRecetteAjouter = nullptr;
    QFrame *FrameImageAjouter = nullptr;
    QPushButton *cmdImageAjouter = nullptr;
    QLineEdit *txtImageAjouter = nullptr;
    QFrame *FramecmdAjouter = nullptr;
    QPushButton *cmdValideAjouter = nullptr;
    QPushButton *cmdEffacerAjouter = nullptr;
    QPushButton *cmdAideAjouter = nullptr;

    // Modify page.
    std::array<QRadioButton *, 2> Option2{};
    QLineEdit *txtSaisieFamilleModifier = nullptr;
    RecordCombo *ComboFamillesModifier = nullptr;
    QLineEdit *txtSaisieNomRecetteModifier = nullptr;
    LimitedTextEdit *txtSaisieRecetteModifier = nullptr;
    QFrame *FrameImageModifier = nullptr;
    QPushButton *cmdImageModifier = nullptr;
    QLineEdit *txtImageModifier = nullptr;
    QFrame *FramecmdModifier = nullptr;
    QPushButton *cmdValideModifier = nullptr;
    QPushButton *cmdEffacerModifier = nullptr;
    QPushButton *cmdAideModifier = nullptr;

    // Delete page.
    std::array<QRadioButton *, 2> Option3{};
    QLabel *lblFamilleSupprimer = nullptr;
    QLabel *lblFamilleRecetteSupprimer = nullptr;
    QLabel *lblTitreRecetteSupprimer = nullptr;
    LimitedTextEdit *txtTexteRecetteSupprimer = nullptr;
    QFrame *FramecmdSupprimer = nullptr;
    QPushButton *cmdSupprimer = nullptr;
    QPushButton *cmdAideSupprimer = nullptr;

    // What a drop on the add page does: a saved recipe page, a .json or Meal-Master file or
    // an http(s) link fills the page in recipe mode for review (family, title, text, and the
    // address of its photo in the image box); nothing is written, not even the photo: it is
    // fetched into the book folder's images/ when the cook validates the page with it. The
    // source is fetched and read away from the window, which stays usable (the add page shows
    // the hourglass); a drop while another is read is refused with a message, and a reading
    // whose add page is no longer shown when it ends fills nothing.
    void fillAddPageFrom(const QString &source);
    // A dropped source is being read.
    bool readingDrop() const;
    // How long a link may take (tests shorten it).
    int fetchTimeoutMs = importer::kFetchTimeoutMs;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void acceptDropsOnAddPage();
    void buildListPage();
    void buildOtherPages();
    void buildAddPage();
    void buildModifyPage();
    void buildDeletePage();
    void prepareListPage();
    void prepareAddPage();
    void addFamilyFromPage();
    void addRecipeFromPage();
    // A refused input: normal pointer, the beep when asked, the information message, then
    // the focus to focus (when given).
    void refuseInput(const QString &message, bool beep, QWidget *focus);
    // Refuses inputs that hold characters the book cannot store: beep, a warning naming them
    // (each once, at most ten), then the focus on the first one, in the first box that holds
    // one. True when refused; the boxes keep what was typed.
    bool refuseUnstorable(std::initializer_list<QWidget *> boxes);
    // True when a change of the book failed: a book too full to take it has been told to
    // the user; any other failure has set fatalError.
    bool editRefused(const Status &s);
    // Last step of every change: normal pointer, and the fatal error when one was met.
    void endEdit();
    // Opens the program's help at its contents, as F1 does.
    void openHelp();
    void layOutAtCreation();
    // Geometry (layout.cpp): pixels from twips at the screen's logical resolution, the
    // controls by name, what their contents need, and the table applied to them.
    double twipsPerPixel() const;
    QRect pixelRect(const QString &name, const TwipsRect &r) const;
    QWidget *laidOutControl(const QString &name) const;
    ContentNeeds contentNeeds() const;
    void applyLayout();
    void setTabOrders();
    // Selects an entry in code; runs the list's click handler as a user's choice does.
    void selectFamilyEntry(int row);
    void selectRecipeEntry(int row);
    void setImagePath(const QString &path);
    // The image file dialog; a chosen path the book cannot store is refused with the warning.
    std::optional<QString> chooseStorableImage();
    void setImageCommands(bool enabled);
    // The main window's commands as page 1 to 4 wants them; page 0 switches them all off.
    void setPageCommands(int page);

    // Modify and delete pages.
    QString shownFamilyName() const;
    QString shownRecipeTitle() const;
    void renameFamily();
    // Puts the shown recipe's text into the modify page's text box, as it is stored.
    void fillModifyText();
    void changeShownRecipe();
    bool acceptModifiedImagePath(const QString &path);
    bool familyHoldsTitle(qint32 family, const QString &title);
    // Selects the family, then the recipe (0: none), by record number after the lists were
    // rebuilt; false, with fatalError set, when one of them is no longer listed.
    bool reselect(qint32 family, qint32 recipe);
    void deleteSelectedFamily();
    void deleteSelectedRecipe();
    // Empties the three family lists and fills them again from the disk.
    void refillFamilyLists();

    // The photo of the recipe dropped on the add page: its address (shown in the image box) and
    // the page that gave it. Fetched only when the page is validated with it still in the box,
    // so that a drop never validated leaves no file behind.
    struct DroppedPhoto {
        QString url;
        QString page;
    };
    std::optional<DroppedPhoto> droppedPhoto_;
    // The reading of the last source dropped, and what the page does with it once read.
    class DropReading *dropReading_ = nullptr;
    void showDroppedRecipe();
    // The dropped photo, when the image box still names it, fetched and stored for title: its
    // path (also put in the box), an empty text when the box names no dropped photo, or no value
    // once the cook was told why it cannot be had (the box then emptied).
    std::optional<QString> fetchDroppedPhoto(const QString &title);

    Module1 &m_;
    CommandSwitches &commands_;
    // The page whose preparation ran last, 0 before the first; activation prepares a page
    // only when it is not this one.
    int preparedTab_ = 0;
    FrenchOrder order_;
    LayoutTable layout_;
    // Recipes whose image could not be reached (its folder absent): warned about once a run.
    QSet<qint32> unreachableImagesSaid_;
    // The shown recipe's text is longer than the text boxes show.
    bool shownTextCut_ = false;
    // What the modify page's text box held when it was filled from the shown recipe: the
    // stored text is written again only when the box no longer holds it.
    QString modifyTextShown_;
    // The shown recipe's image path as stored, whether the image is there or not (imagePath()
    // is the file to open, empty when there is none); the modify page shows and keeps it.
    QString storedImagePath_;
};

} // namespace gratinel
