// Modifying: the selected family's name, or the shown recipe's family, title, text and image.
#include "book/frmrecettes.h"

#include "book/imagepaths.h"
#include "book/limitedtextedit.h"
#include "book/recordcombo.h"
#include "book/spaces.h"
#include "book/tabstrip.h"
#include "store/bookedits.h"
#include "store/module1.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>

namespace gratinel {

using Icon = Platform::Icon;
using Pointer = Platform::Pointer;

namespace {

void caretAtStart(QLineEdit *box)
{
    box->setCursorPosition(0);
}

void caretAtStart(QPlainTextEdit *box)
{
    box->moveCursor(QTextCursor::Start);
}

const QString kLongTextShown =
    QStringLiteral("Ce texte dépasse 30000 caractères : seuls les 30000 premiers sont affichés.");

bool sameIgnoringCase(const QString &a, const QString &b)
{
    return a.toUpper() == b.toUpper();
}

} // namespace

QString frmRecettes::shownFamilyName() const
{
    return trimSpaces(ComboFamilles->selectedText());
}

QString frmRecettes::shownRecipeTitle() const
{
    return ComboRecettes->currentIndex() >= 0 ? trimSpaces(ComboRecettes->selectedText()) : QString();
}

void frmRecettes::prepareModifyPage()
{
    txtSaisieFamilleModifier->setText(shownFamilyName());
    caretAtStart(txtSaisieFamilleModifier);
    ComboFamillesModifier->setCurrentIndex(ComboFamilles->currentIndex());
    if (ComboRecettes->count() == 0) {
        ComboFamillesModifier->setEnabled(false);
        for (QLineEdit *box : {txtSaisieNomRecetteModifier, txtImageModifier}) {
            box->clear();
            box->setEnabled(false);
        }
        txtSaisieRecetteModifier->clear();
        txtSaisieRecetteModifier->setEnabled(false);
        cmdImageModifier->setEnabled(false);
        selectOption2(0);
        Option2[1]->setEnabled(false);
    } else {
        ComboFamillesModifier->setEnabled(true);
        txtSaisieNomRecetteModifier->setText(shownRecipeTitle());
        fillModifyText();
        txtImageModifier->setText(storedImagePath_);
        for (QLineEdit *box : {txtSaisieNomRecetteModifier, txtImageModifier}) {
            box->setEnabled(true);
            caretAtStart(box);
        }
        txtSaisieRecetteModifier->setEnabled(true);
        caretAtStart(txtSaisieRecetteModifier);
        cmdImageModifier->setEnabled(true);
        Option2[1]->setEnabled(true);
    }
    if (Option2[1]->isEnabled()) {
        selectOption2(1);
        ComboFamillesModifier->setFocus();
    } else {
        selectOption2(0);
        txtSaisieFamilleModifier->setFocus();
    }
    if (Option2[1]->isEnabled() && shownTextCut_) {
        Platform &platform = m_.windows();
        platform.setPointer(Pointer::Normal);
        platform.msgBox(kLongTextShown + QStringLiteral(" La fin est conservée tant que vous ne modifiez pas le texte."),
                        Icon::Information);
    }
}

void frmRecettes::fillModifyText()
{
    txtSaisieRecetteModifier->setStoredText(exactText(txtRecette));
    modifyTextShown_ = exactText(txtSaisieRecetteModifier);
}

void frmRecettes::Option2_Click(int index)
{
    if (index == 1) {
        txtSaisieFamilleModifier->setText(shownFamilyName());
        txtSaisieFamilleModifier->setEnabled(false);
        for (QWidget *w : std::initializer_list<QWidget *>{ComboFamillesModifier, txtSaisieNomRecetteModifier,
                                                           txtSaisieRecetteModifier, cmdImageModifier,
                                                           txtImageModifier})
            w->setEnabled(true);
        ComboFamillesModifier->setFocus();
        return;
    }
    // The family mode puts the stored values back into the recipe inputs it locks.
    txtSaisieFamilleModifier->setEnabled(true);
    ComboFamillesModifier->setCurrentIndex(ComboFamilles->currentIndex());
    ComboFamillesModifier->setEnabled(false);
    txtSaisieNomRecetteModifier->setText(shownRecipeTitle());
    txtSaisieNomRecetteModifier->setEnabled(false);
    fillModifyText();
    txtSaisieRecetteModifier->setEnabled(false);
    cmdImageModifier->setEnabled(false);
    txtImageModifier->setText(storedImagePath_);
    txtImageModifier->setEnabled(false);
    txtSaisieFamilleModifier->setFocus();
}

void frmRecettes::cmdEffacerModifier_Click()
{
    txtSaisieFamilleModifier->setText(shownFamilyName());
    ComboFamillesModifier->setCurrentIndex(ComboFamilles->currentIndex());
    txtSaisieNomRecetteModifier->setText(shownRecipeTitle());
    fillModifyText();
    txtImageModifier->setText(storedImagePath_);
    caretAtStart(txtSaisieFamilleModifier);
    caretAtStart(txtSaisieNomRecetteModifier);
    caretAtStart(txtSaisieRecetteModifier);
    caretAtStart(txtImageModifier);
    if (Option2[0]->isChecked())
        txtSaisieFamilleModifier->setFocus();
    else
        ComboFamillesModifier->setFocus();
}

void frmRecettes::cmdAideModifier_Click()
{
    openHelp();
}

void frmRecettes::cmdImageModifier_Click()
{
    if (const std::optional<QString> chosen = chooseStorableImage())
        txtImageModifier->setText(*chosen);
}

void frmRecettes::cmdValideModifier_Click()
{
    m_.platform.setPointer(Pointer::Hourglass);
    if (Option2[0]->isChecked())
        renameFamily();
    else
        changeShownRecipe();
}

void frmRecettes::renameFamily()
{
    if (refuseUnstorable({txtSaisieFamilleModifier}))
        return;
    Platform &platform = m_.windows();
    const QString name = trimSpaces(txtSaisieFamilleModifier->text());
    txtSaisieFamilleModifier->setText(name);
    const QString stored = shownFamilyName();
    if (name.isEmpty()) {
        refuseInput(QStringLiteral("Il faut saisir le nouveau nom de la famille de recettes."), false, nullptr);
        txtSaisieFamilleModifier->setText(stored);
        txtSaisieFamilleModifier->setFocus();
        return;
    }
    if (sameIgnoringCase(name, stored)) {
        // A change of case alone is not worth a write.
        platform.setPointer(Pointer::Normal);
        TabStrip1->selectTab(1);
        ComboFamilles->setFocus();
        return;
    }
    const RecordListModel &families = ComboFamilles->entries();
    for (int row = 0; row < families.count(); ++row) {
        if (sameIgnoringCase(name, families.at(row).text)) {
            refuseInput(QStringLiteral("Cette famille de recettes existe déjà !"), true, nullptr);
            txtSaisieFamilleModifier->setText(stored);
            txtSaisieFamilleModifier->setFocus();
            return;
        }
    }
    if (!m_.CheckDataFile(QStringLiteral("GRTN1.DAT"))) {
        m_.ShowFatalError();
        return;
    }

    const qint32 family = ComboFamilles->selectedRecord();
    const qint32 recipe = ComboRecettes->currentIndex() >= 0 ? ComboRecettes->selectedRecord() : 0;
    if (!bookedits::changeFamily(m_, family, name).isOk()) {
        m_.fatalError = -1;
        return endEdit();
    }
    // The renamed family takes its place in the sorted lists; it is found again by its record.
    refillFamilyLists();
    if (platform.programEnded())
        return;
    if (!reselect(family, recipe))
        return endEdit();
    TabStrip1->selectTab(1);
    ComboFamilles->setFocus();
    endEdit();
}

bool frmRecettes::reselect(qint32 family, qint32 recipe)
{
    const int familyRow = ComboFamilles->entries().rowOfRecord(family);
    if (familyRow < 0) {
        m_.fatalError = -1;
        return false;
    }
    selectFamilyEntry(familyRow);
    if (m_.platform.programEnded())
        return false;
    if (recipe == 0)
        return true;
    const int recipeRow = ComboRecettes->entries().rowOfRecord(recipe);
    if (recipeRow < 0) {
        m_.fatalError = -1;
        return false;
    }
    selectRecipeEntry(recipeRow);
    return !m_.platform.programEnded();
}

// Whether the family of that record holds an in-use recipe of this title, case ignored; read
// from the disk, as the family's recipes are not listed. Sets fatalError when the scan fails.
bool frmRecettes::familyHoldsTitle(qint32 family, const QString &title)
{
    qint32 last = 0;
    Status s = m_.recipeFile.lastRecord(last);
    const QString wanted = title.toUpper();
    bool found = false;
    if (s.isOk()) {
        s = m_.recipeFile.scan(2, last, [&](qint32, const RecipeRecord &r) {
            found = r.state == kInUse && r.familyRecord == family && r.titleText().toUpper() == wanted;
            return !found;
        });
    }
    if (!s.isOk())
        m_.fatalError = -1;
    return found;
}

void frmRecettes::changeShownRecipe()
{
    if (refuseUnstorable({txtSaisieNomRecetteModifier, txtSaisieRecetteModifier, txtImageModifier}))
        return;
    Platform &platform = m_.windows();
    const QString title = trimSpaces(txtSaisieNomRecetteModifier->text());
    txtSaisieNomRecetteModifier->setText(title);
    if (title.isEmpty()) {
        refuseInput(QStringLiteral("Il faut donner un titre à la recette."), false, nullptr);
        txtSaisieNomRecetteModifier->setText(shownRecipeTitle());
        txtSaisieNomRecetteModifier->setFocus();
        return;
    }

    const qint32 target = ComboFamillesModifier->selectedRecord();
    if (ComboFamillesModifier->currentIndex() == ComboFamilles->currentIndex()) {
        const RecordListModel &recipes = ComboRecettes->entries();
        for (int row = 0; row < recipes.count(); ++row) {
            if (row != ComboRecettes->currentIndex() && sameIgnoringCase(title, trimSpaces(recipes.at(row).text))) {
                refuseInput(QStringLiteral("Cette recette existe déjà"), false, txtSaisieNomRecetteModifier);
                return;
            }
        }
    } else {
        const bool taken = familyHoldsTitle(target, title);
        if (m_.fatalError == -1)
            return endEdit();
        if (taken) {
            refuseInput(QStringLiteral("Cette recette existe déjà dans cette famille"), false, ComboFamillesModifier);
            return;
        }
    }

    // A text the cook did not touch keeps its stored bytes, whatever the box makes of them
    // (a text longer than the box shows, a lone line feed or carriage return).
    const QString typed = exactText(txtSaisieRecetteModifier);
    const bool textKept = typed == modifyTextShown_;
    const QString text = trimSpaces(typed);
    if (text != typed)
        txtSaisieRecetteModifier->setPlainText(text);
    // The box never cuts what it already held; a stored text whose lone line feeds become two
    // bytes each once edited can still be over the limit when the cook validates.
    const int excess = textKept ? 0 : LimitedTextEdit::storedBytes(text) - txtSaisieRecetteModifier->maxStoredBytes();
    if (excess > 0) {
        refuseInput(QStringLiteral("Ce texte dépasse 30000 caractères une fois enregistré (chaque fin de ligne en "
                                   "compte deux) : raccourcissez-le de %1 caractère(s).")
                        .arg(excess),
                    true, txtSaisieRecetteModifier);
        return;
    }
    // The image box is handled as the text is: a box the cook did not touch writes nothing
    // about the image (a missing image, or a path Windows wrote, keeps its link as stored).
    std::optional<QString> image;
    if (txtImageModifier->text() != storedImagePath_) {
        image = trimSpaces(txtImageModifier->text());
        txtImageModifier->setText(*image);
        if (!image->isEmpty() && !acceptModifiedImagePath(*image))
            return;
    }
    if (!textKept && shownTextCut_) {
        // Only the beginning of that text was shown: writing the box would lose its end.
        platform.setPointer(Pointer::Normal);
        if (platform.msgBox(kLongTextShown + QStringLiteral(" Enregistrer le texte modifié et perdre la fin ?"),
                            Icon::Warning, Platform::Buttons::YesNo, Platform::Answer::No)
            != Platform::Answer::Yes) {
            txtSaisieRecetteModifier->setFocus();
            return;
        }
        platform.setPointer(Pointer::Hourglass);
    }

    const qint32 recipe = ComboRecettes->selectedRecord();
    if (editRefused(bookedits::changeRecipe(m_, recipe, target, title,
                                            textKept ? std::nullopt : std::optional<QString>(text), image)))
        return endEdit();
    // The list is rebuilt even when the family stayed, so that the new title takes its place.
    selectFamilyEntry(ComboFamillesModifier->currentIndex());
    if (platform.programEnded())
        return;
    const int row = ComboRecettes->entries().rowOfRecord(recipe);
    if (row < 0) {
        m_.fatalError = -1;
        return endEdit();
    }
    selectRecipeEntry(row);
    if (platform.programEnded())
        return;
    TabStrip1->selectTab(1);
    ComboFamilles->setFocus();
    endEdit();
}

// The checks of a new image path before it is written: refused, not viewable (a warning, the
// change goes on) or missing. A refused path gives way to the stored one in the box.
bool frmRecettes::acceptModifiedImagePath(const QString &path)
{
    const auto refuse = [&](const QString &message) {
        refuseInput(message, true, nullptr);
        txtImageModifier->setText(storedImagePath_);
        cmdImageModifier->setFocus();
        return false;
    };
    switch (imagepaths::checkOnValidation(path)) {
    case imagepaths::Verdict::Refused:
        return refuse(imagepaths::kNotAnImage);
    case imagepaths::Verdict::NotViewable:
        m_.platform.setPointer(Pointer::Normal);
        m_.platform.msgBox(imagepaths::kNotViewable, Icon::Information);
        m_.platform.setPointer(Pointer::Hourglass);
        break;
    case imagepaths::Verdict::Viewable:
        break;
    }
    if (!QFileInfo(path).isFile())
        return refuse(QStringLiteral("Ce fichier n'existe pas."));
    return true;
}

} // namespace gratinel
