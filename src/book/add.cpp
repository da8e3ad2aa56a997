// Adding a family or a recipe from the add page.
#include "book/frmrecettes.h"

#include "book/imagepaths.h"
#include "book/limitedtextedit.h"
#include "book/recordcombo.h"
#include "book/spaces.h"
#include "book/tabstrip.h"
#include "importer/sourceimport.h"
#include "store/bookedits.h"
#include "store/module1.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace gratinel {

using Icon = Platform::Icon;
using Pointer = Platform::Pointer;

namespace {

// Row of the first entry whose text equals text, upper and lower case alike; -1 for none.
int rowIgnoringCase(const RecordCombo *combo, const QString &text)
{
    const QString wanted = text.toUpper();
    const RecordListModel &entries = combo->entries();
    for (int row = 0; row < entries.count(); ++row) {
        if (entries.at(row).text.toUpper() == wanted)
            return row;
    }
    return -1;
}

} // namespace

void frmRecettes::Option1_Click(int index)
{
    if (index == 1) {
        txtSaisieFamille->clear();
        txtSaisieFamille->setEnabled(false);
        txtSaisieNomRecette->setEnabled(true);
        txtSaisieRecetteAjouter->setEnabled(true);
        cmdImageAjouter->setEnabled(true);
        txtImageAjouter->setEnabled(true);
        ComboFamillesAjouter->setEnabled(true);
        ComboFamillesAjouter->setFocus();
    } else {
        ComboFamillesAjouter->setCurrentIndex(ComboFamilles->currentIndex());
        ComboFamillesAjouter->setEnabled(false);
        txtSaisieNomRecette->clear();
        txtSaisieRecetteAjouter->clear();
        txtImageAjouter->clear();
        txtSaisieNomRecette->setEnabled(false);
        txtSaisieRecetteAjouter->setEnabled(false);
        txtImageAjouter->setEnabled(false);
        cmdImageAjouter->setEnabled(false);
        txtSaisieFamille->setEnabled(true);
        txtSaisieFamille->setFocus();
    }
}

void frmRecettes::cmdValideAjouter_Click()
{
    m_.platform.setPointer(Pointer::Hourglass);
    if (Option1[0]->isChecked())
        addFamilyFromPage();
    else
        addRecipeFromPage();
}

void frmRecettes::refuseInput(const QString &message, bool beep, QWidget *focus)
{
    Platform &platform = m_.windows();
    platform.setPointer(Pointer::Normal);
    if (beep)
        platform.beep();
    platform.msgBox(message, Icon::Information);
    if (focus)
        focus->setFocus();
}

bool frmRecettes::editRefused(const Status &s)
{
    if (s.isOk())
        return false;
    if (s.code() == Status::Code::Full) {
        // The book cannot take one more: said plainly, and nothing was written.
        refuseInput(s.message(), true, nullptr);
        return true;
    }
    m_.fatalError = -1;
    return true;
}

void frmRecettes::endEdit()
{
    m_.platform.setPointer(Pointer::Normal);
    if (m_.fatalError == -1)
        m_.ShowFatalError();
}

void frmRecettes::addFamilyFromPage()
{
    if (refuseUnstorable({txtSaisieFamille}))
        return;
    const QString name = trimSpaces(txtSaisieFamille->text());
    txtSaisieFamille->setText(name);
    if (name.isEmpty()) {
        refuseInput(QStringLiteral("Il faut saisir le nom de la nouvelle famille de recettes."), false,
                    txtSaisieFamille);
        return;
    }
    if (rowIgnoringCase(ComboFamillesAjouter, name) >= 0) {
        refuseInput(QStringLiteral("Cette famille de recettes existe déjà !"), true, txtSaisieFamille);
        return;
    }
    if (!m_.CheckDataFile(QStringLiteral("GRTN1.DAT"))) {
        m_.ShowFatalError();
        return;
    }

    qint32 n = 0;
    if (editRefused(bookedits::addFamily(m_, name, n))) {
        endEdit();
        return;
    }

    ComboFamilles->entries().clear();
    ComboFamillesAjouter->entries().clear();
    ComboFamillesModifier->entries().clear();
    FillFamilyLists();
    if (m_.platform.programEnded())
        return;
    const int row = ComboFamilles->entries().rowOfRecord(n);
    if (row < 0) {
        m_.fatalError = -1;
        endEdit();
        return;
    }
    txtSaisieFamille->clear();
    TabStrip1->selectTab(1);
    selectFamilyEntry(row);
    endEdit();
}

void frmRecettes::addRecipeFromPage()
{
    if (refuseUnstorable({txtSaisieNomRecette, txtSaisieRecetteAjouter, txtImageAjouter}))
        return;
    const QString title = trimSpaces(txtSaisieNomRecette->text());
    txtSaisieNomRecette->setText(title);
    if (title.isEmpty()) {
        refuseInput(QStringLiteral("Il faut donner un titre à la nouvelle recette."), false, txtSaisieNomRecette);
        return;
    }
    const QString text = trimSpaces(exactText(txtSaisieRecetteAjouter));
    if (text != exactText(txtSaisieRecetteAjouter))
        txtSaisieRecetteAjouter->setPlainText(text);

    if (!m_.CheckDataFile(QStringLiteral("GRTN2.DAT"))
        || (!text.isEmpty() && !m_.CheckDataFile(QStringLiteral("GRTN3.DAT")))) {
        m_.ShowFatalError();
        return;
    }
    const std::optional<QString> fetched = fetchDroppedPhoto(title);
    if (!fetched)
        return;
    // Whatever stops the add from here on takes the fetched photo away again.
    const auto dropFetched = [&] {
        if (fetched->isEmpty())
            return;
        QFile::remove(*fetched);
        if (txtImageAjouter->text() == *fetched || txtImageAjouter->text().isEmpty())
            txtImageAjouter->setText(droppedPhoto_->url);
    };
    const QString image = txtImageAjouter->text();
    if (!image.isEmpty()) {
        if (!m_.CheckDataFile(QStringLiteral("GRTN4.DAT"))) {
            dropFetched();
            m_.ShowFatalError();
            return;
        }
        switch (imagepaths::checkOnValidation(image)) {
        case imagepaths::Verdict::Refused:
            if (!fetched->isEmpty()) {
                QFile::remove(*fetched);
                droppedPhoto_.reset();
            }
            refuseInput(imagepaths::kNotAnImage, true, nullptr);
            txtImageAjouter->clear();
            cmdImageAjouter->setFocus();
            return;
        case imagepaths::Verdict::NotViewable:
            m_.platform.setPointer(Pointer::Normal);
            m_.platform.msgBox(imagepaths::kNotViewable, Icon::Information);
            m_.platform.setPointer(Pointer::Hourglass);
            break;
        case imagepaths::Verdict::Viewable:
            break;
        }
    }

    qint32 n = 0;
    const qint32 family = ComboFamillesAjouter->selectedRecord();
    if (editRefused(bookedits::addRecipe(m_, family, title, text, image, n))) {
        dropFetched();
        endEdit();
        return;
    }
    droppedPhoto_.reset();

    txtSaisieNomRecette->clear();
    txtSaisieRecetteAjouter->clear();
    txtImageAjouter->clear();
    TabStrip1->selectTab(1);
    // The list is rebuilt from the disk even when the family shown stays the same.
    ComboFamilles->setCurrentIndex(ComboFamillesAjouter->currentIndex());
    ComboFamilles_Click();
    if (m_.platform.programEnded())
        return;
    const int row = ComboRecettes->entries().rowOfRecord(n);
    if (row < 0) {
        m_.fatalError = -1;
        endEdit();
        return;
    }
    selectRecipeEntry(row);
    if (m_.platform.programEnded())
        return;
    endEdit();
}

std::optional<QString> frmRecettes::fetchDroppedPhoto(const QString &title)
{
    if (!droppedPhoto_ || txtImageAjouter->text() != droppedPhoto_->url)
        return QString();
    QString why;
    const std::optional<QString> path = importer::fetchPhoto(QUrl(droppedPhoto_->url), QUrl(droppedPhoto_->page),
                                                             m_.programDir, title, why, fetchTimeoutMs);
    if (!path) {
        const QString url = droppedPhoto_->url;
        droppedPhoto_.reset();
        txtImageAjouter->clear();
        refuseInput(QStringLiteral("La photo %1 n'a pas pu être lue : %2. La recette peut être ajoutée sans image.").arg(url, why),
                    false, cmdValideAjouter);
        return std::nullopt;
    }
    txtImageAjouter->setText(*path);
    return path;
}

void frmRecettes::cmdEffacerAjouter_Click()
{
    QWidget *focus = Option1[0]->isChecked() ? static_cast<QWidget *>(txtSaisieFamille) : ComboFamillesAjouter;
    const bool typed = !txtSaisieFamille->text().isEmpty() || !txtSaisieNomRecette->text().isEmpty()
                       || !txtSaisieRecetteAjouter->document()->isEmpty() || !txtImageAjouter->text().isEmpty();
    if (typed
        && m_.platform.msgBox(QStringLiteral("Effacer la saisie : êtes-sur sûr ?"), Icon::Warning,
                              Platform::Buttons::YesNo, Platform::Answer::No)
               != Platform::Answer::Yes) {
        focus->setFocus();
        return;
    }
    txtSaisieFamille->clear();
    ComboFamillesAjouter->setCurrentIndex(ComboFamilles->currentIndex());
    txtSaisieNomRecette->clear();
    txtSaisieRecetteAjouter->clear();
    txtImageAjouter->clear();
    focus->setFocus();
}

void frmRecettes::cmdAideAjouter_Click()
{
    openHelp();
}

void frmRecettes::openHelp()
{
    const QString error = m_.windows().helpContents(m_.helpFile);
    if (!error.isEmpty())
        m_.platform.msgBox(error, Icon::None);
}

} // namespace gratinel
