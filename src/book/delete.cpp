// Deleting: the selected family with all its recipes, or the selected recipe, after a question.
#include "book/frmrecettes.h"

#include "book/limitedtextedit.h"
#include "book/recordcombo.h"
#include "book/spaces.h"
#include "book/tabstrip.h"
#include "store/bookedits.h"
#include "store/module1.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <vector>

namespace gratinel {

namespace {

// The families and recipes the book comes with: records up to these cannot be deleted.
constexpr qint32 kLastProtectedFamily = 17;
constexpr qint32 kLastProtectedRecipe = 301;

const QColor kDarkRed(192, 0, 0);
const QColor kBlack(0, 0, 0);

void setForeColour(QWidget *w, const QColor &colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::Text, colour);
    w->setPalette(p);
}

} // namespace

void frmRecettes::prepareDeletePage()
{
    lblFamilleSupprimer->setText(trimSpaces(ComboFamilles->selectedText()));
    const bool familyProtected = ComboFamilles->selectedRecord() <= kLastProtectedFamily;
    Option3[0]->setEnabled(!familyProtected);
    setForeColour(lblFamilleSupprimer, familyProtected ? kDarkRed : kBlack);
    lblFamilleSupprimer->setToolTip(familyProtected ? QStringLiteral("Cette famille de recettes ne peut être supprimée")
                                                    : QString());

    const std::array<QWidget *, 3> recipeParts{lblFamilleRecetteSupprimer, lblTitreRecetteSupprimer,
                                               txtTexteRecetteSupprimer};
    if (!ComboRecettes->isEnabled()) {
        Option3[1]->setEnabled(false);
        lblFamilleRecetteSupprimer->clear();
        lblTitreRecetteSupprimer->clear();
        txtTexteRecetteSupprimer->clear();
        for (QWidget *w : recipeParts) {
            setForeColour(w, kBlack);
            // Nothing is shown, so there is no reason to give either.
            w->setToolTip(QString());
        }
    } else {
        lblFamilleRecetteSupprimer->setText(trimSpaces(ComboFamilles->selectedText()));
        lblTitreRecetteSupprimer->setText(trimSpaces(ComboRecettes->selectedText()));
        txtTexteRecetteSupprimer->setStoredText(exactText(txtRecette));
        const bool recipeProtected = ComboRecettes->selectedRecord() <= kLastProtectedRecipe;
        Option3[1]->setEnabled(!recipeProtected);
        for (QWidget *w : recipeParts) {
            setForeColour(w, recipeProtected ? kDarkRed : kBlack);
            w->setToolTip(recipeProtected ? QStringLiteral("Cette recette ne peut être supprimée") : QString());
        }
    }

    if (!Option3[0]->isEnabled() && !Option3[1]->isEnabled()) {
        cmdSupprimer->setVisible(false);
        return;
    }
    cmdSupprimer->setVisible(true);
    const int option = Option3[1]->isEnabled() ? 1 : 0;
    selectOption3(option);
    Option3[option]->setFocus();
}

void frmRecettes::Option3_Click(int)
{
    // The chosen option only tells the delete button what to delete.
}

void frmRecettes::cmdSupprimer_Click()
{
    Platform &platform = m_.windows();
    const bool family = Option3[0]->isChecked();
    QString question = QStringLiteral("Etes-vous sûr de vouloir supprimer cette ")
                       + (family ? QStringLiteral("'Famille de recettes'") : QStringLiteral("'Recette'"))
                       + QStringLiteral(" ?");
    if (family)
        question += m_.crlf + m_.crlf + QStringLiteral("(Attention : toutes les recettes de cette famille seront également")
                    + m_.crlf + QStringLiteral("supprimées.)");
    if (platform.msgBox(question, Platform::Icon::Warning, Platform::Buttons::YesNo, Platform::Answer::No)
        != Platform::Answer::Yes)
        return;

    platform.setPointer(Platform::Pointer::Hourglass);
    if (family)
        deleteSelectedFamily();
    else
        deleteSelectedRecipe();
    endEdit();
}

void frmRecettes::deleteSelectedFamily()
{
    if (!m_.CheckDataFile(QStringLiteral("GRTN1.DAT")) || !m_.CheckDataFile(QStringLiteral("GRTN2.DAT"))) {
        m_.fatalError = -1;
        return;
    }
    std::vector<qint32> listed;
    if (ComboRecettes->isEnabled()) {
        listed.reserve(size_t(ComboRecettes->count()));
        for (int row = 0; row < ComboRecettes->count(); ++row)
            listed.push_back(ComboRecettes->recordAt(row));
    }
    if (!bookedits::deleteFamily(m_, ComboFamilles->selectedRecord(), listed).isOk()) {
        m_.fatalError = -1;
        return;
    }
    refillFamilyLists();
    if (m_.fatalError == -1)
        return;
    TabStrip1->selectTab(1);
    selectFamilyEntry(0);
}

void frmRecettes::deleteSelectedRecipe()
{
    if (!m_.CheckDataFile(QStringLiteral("GRTN2.DAT"))) {
        m_.fatalError = -1;
        return;
    }
    if (!bookedits::deleteRecipe(m_, ComboRecettes->selectedRecord()).isOk()) {
        m_.fatalError = -1;
        return;
    }
    TabStrip1->selectTab(1);
    ComboFamilles_Click();
}

void frmRecettes::cmdAideSupprimer_Click()
{
    openHelp();
}

} // namespace gratinel
