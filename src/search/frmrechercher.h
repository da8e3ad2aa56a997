// The search dialog: a word typed, then the recipes whose title or text holds it, one by one.
#pragma once

#include "search/recipesearch.h"

#include <QDialog>

#include <array>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace gratinel {

class Module1;
class frmRecettes;

class frmRechercher : public QDialog {
    Q_OBJECT
public:
    // book: the recipe book in which Activer selects the found recipe.
    frmRechercher(Module1 &m, frmRecettes &book, QWidget *parent = nullptr,
                  qint64 textBlockBytes = RecipeSearch::kTextBlockBytes);

    void cmdOk_Click();
    void cmdContinuerRecette_Click();
    void cmdActiverRecette_Click();
    // Every "Annuler" button: closes the dialog, nothing else.
    void cmdAnnuler_Click();

    // Scans on from the record after the one examined last; stops at the next matching
    // recipe and shows it, or ends the search with its message and closes the dialog.
    void SearchRecipes();

    // The search state.
    RecipeSearch &search() { return search_; }
    // The button that Escape presses now.
    QPushButton *cancelButton() const { return cancelButton_; }

    QLineEdit *txtSaisie = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdAide = nullptr;
    QPushButton *cmdAnnuler = nullptr;
    QLabel *Image1 = nullptr;

    QGroupBox *FrameRecette = nullptr;
    QLineEdit *txtNomRecette = nullptr;
    QPlainTextEdit *txtTexteRecette = nullptr;
    QPushButton *cmdActiverRecette = nullptr;
    QPushButton *cmdContinuerRecette = nullptr;
    QPushButton *cmdAnnulerRecette = nullptr;

    // Two more frames in the same place, never shown; only their Annuler buttons act.
    QGroupBox *FrameMenu = nullptr;
    QLineEdit *txtNomMenu = nullptr;
    QPlainTextEdit *txtTexteMenu = nullptr;
    QPushButton *cmdActiverMenu = nullptr;
    QPushButton *cmdContinuerMenu = nullptr;
    QPushButton *cmdAnnulerMenu = nullptr;

    QGroupBox *FrameTruc = nullptr;
    QLineEdit *txtNomTruc = nullptr;
    QPlainTextEdit *txtTexteTruc = nullptr;
    QPushButton *cmdActiverTruc = nullptr;
    QPushButton *cmdContinuerTruc = nullptr;
    QPushButton *cmdAnnulerTruc = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct FoundFrame {
        QGroupBox *frame;
        QLineEdit *name;
        QPlainTextEdit *text;
        QPushButton *activer;
        QPushButton *continuer;
        QPushButton *annuler;
    };
    FoundFrame buildFoundFrame(const QString &objectSuffix, const QString &caption);
    // Places the controls for a client area of width x height twips: the word box and the
    // frames take the width, the found text box the height.
    void arrange(int width, int height);
    void setFoundButtons(bool enabled);
    // Shows the recipe just found, its focus in the box that matched.
    Status showFound(RecipeSearch::Match match);
    // A file error: the flag for the main window, then the dialog closes.
    void fileError();

    Module1 &m_;
    frmRecettes &book_;
    RecipeSearch search_;
    QPushButton *cancelButton_ = nullptr;
    std::vector<FoundFrame> frames_;
};

} // namespace gratinel
