// The search dialog's controls and handlers.
#include "search/frmrechercher.h"

#include "book/exacttext.h"
#include "book/frmrecettes.h"
#include "book/recordcombo.h"
#include "book/twips.h"
#include "platform/apptitle.h"
#include "store/cp1252.h"
#include "platform/platform.h"
#include "platform/screenfit.h"
#include "store/module1.h"

#include <QEvent>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

static void initSearchResources()
{
    Q_INIT_RESOURCE(search);
}

namespace gratinel {

namespace {

// Geometry in twips: the word and its three buttons at the top, the frames below.
constexpr int kFormWidth = 8400;
constexpr int kFormHeight = 6900;
constexpr int kButtonWidth = 1320;
constexpr int kButtonHeight = 375;
constexpr int kFrameLeft = 240;
constexpr int kFrameTop = 720;
// Inside a frame: the title at the top, the text below it, the buttons at the foot.
constexpr int kTextTop = 750;
constexpr int kTextBelow = 750;
constexpr int kButtonsAbove = 570;
// On a small screen the frames narrow down to their three buttons, and the text box
// keeps three lines.
constexpr int kLeastFrameWidth = 3 * kButtonWidth + 2 * 120 + 240;
constexpr int kLeastTextHeight = 720;
constexpr int kLeastFormWidth = kFrameLeft + kLeastFrameWidth + 240 + kButtonWidth + 240;
constexpr int kLeastFormHeight = kFrameTop + kTextTop + kLeastTextHeight + kTextBelow + 240;

QPushButton *button(const QString &name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

void setBackground(QWidget *w, const QColor &colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, colour);
    w->setPalette(p);
}

} // namespace

frmRechercher::frmRechercher(Module1 &m, frmRecettes &book, QWidget *parent, qint64 textBlockBytes)
    : QDialog(parent), m_(m), book_(book), search_(m, textBlockBytes)
{
    initSearchResources();
    setObjectName(QStringLiteral("frmRechercher"));
    setWindowTitle(appTitle() + QStringLiteral(" - Rechercher"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    txtSaisie = new QLineEdit(this);
    txtSaisie->setObjectName(QStringLiteral("txtSaisie"));
    txtSaisie->setPlaceholderText(QStringLiteral("Mot à rechercher dans les titres et les textes"));
    txtSaisie->setToolTip(QStringLiteral("Saisir le mot à rechercher dans les recettes"));

    cmdOk = button(QStringLiteral("cmdOk"), QStringLiteral("&OK"), this);
    cmdAide = button(QStringLiteral("cmdAide"), QStringLiteral("A&ide"), this);
    cmdAnnuler = button(QStringLiteral("cmdAnnuler"), QStringLiteral("&Annuler"), this);
    cmdOk->setDefault(true);
    cancelButton_ = cmdAnnuler;

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QIcon(QStringLiteral(":/search/loupe.svg")).pixmap(160, 160));
    Image1->setAlignment(Qt::AlignCenter);

    const FoundFrame recette = buildFoundFrame(QStringLiteral("Recette"), QStringLiteral("Recette"));
    const FoundFrame menu = buildFoundFrame(QStringLiteral("Menu"), QStringLiteral("Menu"));
    const FoundFrame truc = buildFoundFrame(QStringLiteral("Truc"), QStringLiteral("Termes, trucs et astuces"));
    FrameRecette = recette.frame;
    txtNomRecette = recette.name;
    txtTexteRecette = recette.text;
    cmdActiverRecette = recette.activer;
    cmdContinuerRecette = recette.continuer;
    cmdAnnulerRecette = recette.annuler;
    FrameMenu = menu.frame;
    txtNomMenu = menu.name;
    txtTexteMenu = menu.text;
    cmdActiverMenu = menu.activer;
    cmdContinuerMenu = menu.continuer;
    cmdAnnulerMenu = menu.annuler;
    FrameTruc = truc.frame;
    txtNomTruc = truc.name;
    txtTexteTruc = truc.text;
    cmdActiverTruc = truc.activer;
    cmdContinuerTruc = truc.continuer;
    cmdAnnulerTruc = truc.annuler;
    setFoundButtons(false);

    // As designed when the screen has the room; on a smaller one the frames and the text
    // box give way.
    const QSize room = clientRoom(this);
    const QSize least(px(kLeastFormWidth), px(kLeastFormHeight));
    const QSize size = QSize(px(kFormWidth), px(kFormHeight)).boundedTo(room.expandedTo(least));
    setFixedSize(size);
    arrange(twips(size.width()), twips(size.height()));

    connect(cmdOk, &QPushButton::clicked, this, &frmRechercher::cmdOk_Click);
    // The help button has no action of its own.
    for (QPushButton *b : {cmdAnnuler, cmdAnnulerRecette, cmdAnnulerMenu, cmdAnnulerTruc})
        connect(b, &QPushButton::clicked, this, &frmRechercher::cmdAnnuler_Click);
    connect(cmdContinuerRecette, &QPushButton::clicked, this, &frmRechercher::cmdContinuerRecette_Click);
    connect(cmdActiverRecette, &QPushButton::clicked, this, &frmRechercher::cmdActiverRecette_Click);

    txtSaisie->setFocus();
}

frmRechercher::FoundFrame frmRechercher::buildFoundFrame(const QString &objectSuffix, const QString &caption)
{
    FoundFrame f{};
    f.frame = new QGroupBox(caption, this);
    f.frame->setObjectName(QStringLiteral("Frame") + objectSuffix);
    f.frame->hide();

    f.name = new QLineEdit(f.frame);
    f.name->setObjectName(QStringLiteral("txtNom") + objectSuffix);
    f.name->setReadOnly(true);
    setBackground(f.name, QColor(255, 255, 128));

    f.text = new ExactTextEdit(f.frame);
    f.text->setObjectName(QStringLiteral("txtTexte") + objectSuffix);
    f.text->setReadOnly(true);
    f.text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setBackground(f.text, QColor(224, 224, 224));

    f.activer = button(QStringLiteral("cmdActiver") + objectSuffix, QStringLiteral("A&ctiver"), f.frame);
    f.continuer = button(QStringLiteral("cmdContinuer") + objectSuffix, QStringLiteral("C&ontinuer"), f.frame);
    f.annuler = button(QStringLiteral("cmdAnnuler") + objectSuffix, QStringLiteral("&Annuler"), f.frame);
    frames_.push_back(f);
    return f;
}

void frmRechercher::arrange(int width, int height)
{
    const int buttonsLeft = width - 240 - kButtonWidth;
    const int frameWidth = buttonsLeft - 240 - kFrameLeft;
    const int frameHeight = height - kFrameTop - 240;
    place(txtSaisie, kFrameLeft, 240, frameWidth, 330);
    place(cmdOk, buttonsLeft, 220, kButtonWidth, kButtonHeight);
    place(cmdAide, buttonsLeft, 720, kButtonWidth, kButtonHeight);
    place(cmdAnnuler, buttonsLeft, 1200, kButtonWidth, kButtonHeight);
    place(Image1, kFrameLeft, kFrameTop, frameWidth, frameHeight);
    const int top = frameHeight - kButtonsAbove;
    const int right = frameWidth - 120;
    for (const FoundFrame &f : frames_) {
        place(f.frame, kFrameLeft, kFrameTop, frameWidth, frameHeight);
        place(f.name, 120, 300, frameWidth - 240, 330);
        place(f.text, 120, kTextTop, frameWidth - 240, frameHeight - kTextTop - kTextBelow);
        place(f.activer, right - 3 * kButtonWidth - 240, top, kButtonWidth, kButtonHeight);
        place(f.continuer, right - 2 * kButtonWidth - 120, top, kButtonWidth, kButtonHeight);
        place(f.annuler, right - kButtonWidth, top, kButtonWidth, kButtonHeight);
    }
}

void frmRechercher::setFoundButtons(bool enabled)
{
    for (QPushButton *b : {cmdActiverRecette, cmdContinuerRecette, cmdAnnulerRecette})
        b->setEnabled(enabled);
}

void frmRechercher::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The opening command showed the hourglass.
    m_.platform.setPointer(Platform::Pointer::Normal);
}

void frmRechercher::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_.platform.setPointer(Platform::Pointer::Normal);
}

void frmRechercher::keyPressEvent(QKeyEvent *event)
{
    // Escape presses the cancel button of the moment, when it can be pressed.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (cancelButton_ && cancelButton_->isEnabled() && cancelButton_->isVisible())
            cancelButton_->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmRechercher::cmdAnnuler_Click()
{
    reject();
}

void frmRechercher::cmdOk_Click()
{
    const QString word = trimSpaces(txtSaisie->text());
    txtSaisie->setText(word);
    if (word.isEmpty()) {
        m_.platform.beep();
        txtSaisie->setFocus();
        return;
    }
    m_.platform.setPointer(Platform::Pointer::Hourglass);
    for (QWidget *w : std::initializer_list<QWidget *>{txtSaisie, cmdOk, cmdAide, cmdAnnuler})
        w->setEnabled(false);
    cmdOk->setDefault(false);
    cmdOk->setAutoDefault(false);
    Image1->hide();
    search_.start(word);
    FrameRecette->show();
    cancelButton_ = cmdAnnulerRecette;
    SearchRecipes();
}

void frmRechercher::SearchRecipes()
{
    if (!m_.CheckDataFile(QStringLiteral("GRTN2.DAT")) || !m_.CheckDataFile(QStringLiteral("GRTN3.DAT"))) {
        fileError();
        return;
    }
    RecipeSearch::Match match = RecipeSearch::Match::None;
    Status s = search_.scanOn(match);
    if (s.isOk() && match != RecipeSearch::Match::None)
        s = showFound(match);
    if (!s.isOk()) {
        fileError();
        return;
    }
    if (match != RecipeSearch::Match::None)
        return;
    m_.platform.setPointer(Platform::Pointer::Normal);
    m_.platform.msgBox(search_.searchFound ? QStringLiteral("Pas d'autre occurrence") : QStringLiteral("Texte non trouvé"),
                       Platform::Icon::Information);
    reject();
}

Status frmRechercher::showFound(RecipeSearch::Match match)
{
    QByteArray text;
    Status s = search_.recipeText(text);
    if (!s.isOk())
        return s;
    txtNomRecette->setText(search_.searchRecipe.titleText());
    txtTexteRecette->setPlainText(cp1252::decodeText(text));
    setFoundButtons(true);
    m_.platform.setPointer(Platform::Pointer::Normal);
    if (match == RecipeSearch::Match::Title)
        txtNomRecette->setFocus();
    else
        txtTexteRecette->setFocus();
    return Status::ok();
}

void frmRechercher::fileError()
{
    m_.platform.setPointer(Platform::Pointer::Normal);
    m_.fatalError = -1;
    reject();
}

void frmRechercher::cmdContinuerRecette_Click()
{
    bool more = false;
    if (!search_.canContinue(more).isOk()) {
        fileError();
        return;
    }
    if (!more) {
        m_.platform.msgBox(QStringLiteral("Pas d'autre occurrence"), Platform::Icon::Information);
        reject();
        return;
    }
    m_.platform.setPointer(Platform::Pointer::Hourglass);
    txtNomRecette->clear();
    txtTexteRecette->clear();
    setFoundButtons(false);
    SearchRecipes();
}

void frmRechercher::cmdActiverRecette_Click()
{
    Platform &platform = m_.windows();
    platform.setPointer(Platform::Pointer::Hourglass);
    // The family's selection fills the recipe list from disk; the found recipe is then
    // chosen in it, which reads it into recipeWork and shows it.
    const int familyRow = book_.ComboFamilles->entries().rowOfRecord(search_.searchRecipe.familyRecord);
    if (familyRow >= 0) {
        book_.ComboFamilles->setCurrentIndex(familyRow);
        book_.ComboFamilles_Click();
        if (platform.programEnded()) {
            reject();
            return;
        }
        const int recipeRow = book_.ComboRecettes->entries().rowOfRecord(search_.searchRecordNo);
        if (recipeRow >= 0) {
            book_.ComboRecettes->setCurrentIndex(recipeRow);
            book_.ComboRecettes_Click();
            if (platform.programEnded()) {
                reject();
                return;
            }
        }
    }
    platform.setPointer(Platform::Pointer::Normal);
    accept();
}

} // namespace gratinel
