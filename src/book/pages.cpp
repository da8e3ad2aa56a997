// The controls of the add, modify and delete pages, at their designed places.
#include "book/frmrecettes.h"

#include "book/limitedtextedit.h"
#include "book/recordcombo.h"
#include "book/twips.h"
#include "store/module1.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace gratinel {

namespace {

// Names and titles are stored in 128 characters.
constexpr int kMaxName = 128;

// Left edge of the inputs of every page, and the lines' start.
constexpr int kInputLeft = 2040;
constexpr int kLineX1 = 120;
constexpr int kLineX2 = 3960;
constexpr int kLineY = 690;

QLabel *makeCaption(const QString &caption, int index, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QStringLiteral("Label2(%1)").arg(index));
    return label;
}

QRadioButton *makeOption(const char *group, int index, const QString &caption, const QString &toolTip,
                         QWidget *parent)
{
    auto *option = new QRadioButton(caption, parent);
    option->setObjectName(QStringLiteral("%1(%2)").arg(QLatin1String(group)).arg(index));
    option->setToolTip(toolTip);
    return option;
}

QLineEdit *makeLine(const char *name, const QString &toolTip, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setToolTip(toolTip);
    edit->setMaxLength(kMaxName);
    return edit;
}

LimitedTextEdit *makeText(const char *name, const QString &toolTip, QWidget *parent)
{
    auto *edit = new LimitedTextEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setToolTip(toolTip);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab moves on to the next control, as in the other boxes.
    edit->setTabChangesFocus(true);
    return edit;
}

// A 375-twip square button showing only a 16-pixel picture; screen readers read its tooltip.
QPushButton *makeButton(const char *name, const char *icon, const QString &toolTip, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(QIcon(QStringLiteral(":/book/%1.svg").arg(QLatin1String(icon))));
    button->setIconSize(QSize(16, 16));
    button->setToolTip(toolTip);
    button->setAccessibleName(toolTip);
    button->setAutoDefault(false);
    return button;
}

QFrame *makeFrame(const char *name, QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(QLatin1String(name));
    frame->setFrameShape(QFrame::NoFrame);
    return frame;
}

// A dark grey one-pixel rule from (x1, y) to (x2, y), in twips.
QFrame *makeRule(int index, QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QStringLiteral("Line1(%1)").arg(index));
    line->setFrameShape(QFrame::NoFrame);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, QColor(64, 64, 64));
    line->setPalette(palette);
    line->setAutoFillBackground(true);
    line->setGeometry(px(kLineX1), px(kLineY), px(kLineX2) - px(kLineX1) + 1, 1);
    return line;
}

// A value shown on the delete page, in a sunken box the height of a text box.
QLabel *makeShownValue(const char *name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    label->setIndent(3);
    return label;
}

// Tab moves through the widgets in this order.
void chainTabOrder(std::initializer_list<QWidget *> widgets)
{
    QWidget *previous = nullptr;
    for (QWidget *w : widgets) {
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

const QString kImageBoxTip = QStringLiteral(
    "Cliquez sur le bouton ci-contre pour déterminer le chemin de l'image associée à la recette");

} // namespace

void frmRecettes::buildOtherPages()
{
    buildAddPage();
    buildModifyPage();
    buildDeletePage();
}

void frmRecettes::buildAddPage()
{
    QFrame *page = Frame1[2];
    // Labels and options carry an accelerator (Alt+letter), apart from the menu bar's.
    Option1[0] = makeOption("Option1", 0, QStringLiteral("Une fa&mille de recettes"),
                            QStringLiteral("Cliquez ici pour ajouter une famille de recettes"), page);
    txtSaisieFamille = makeLine("txtSaisieFamille", QStringLiteral("Entrez le nom de la nouvelle famille"), page);
    txtSaisieFamille->setAccessibleName(QStringLiteral("Nom de la nouvelle famille"));
    Option1[1] = makeOption("Option1", 1, QStringLiteral("Une re&cette"),
                            QStringLiteral("Cliquez ici pour ajouter une nouvelle recette"), page);
    Label2[2] = makeCaption(QStringLiteral("- sa fam&ille"), 2, page);
    ComboFamillesAjouter = new RecordCombo(order_, page);
    ComboFamillesAjouter->setObjectName(QStringLiteral("ComboFamillesAjouter"));
    ComboFamillesAjouter->setToolTip(QStringLiteral("Choisir dans la liste une famille pour la nouvelle recette"));
    Label2[0] = makeCaption(QStringLiteral("- son ti&tre"), 0, page);
    txtSaisieNomRecette = makeLine("txtSaisieNomRecette", QStringLiteral("Entrez le nom de la nouvelle recette"), page);
    Label2[1] = makeCaption(QStringLiteral("- son te&xte"), 1, page);
    txtSaisieRecetteAjouter =
        makeText("txtSaisieRecetteAjouter", QStringLiteral("Entrez le texte de la nouvelle recette"), page);
    // What does not fit in a text is refused with the beep, as a full name box does.
    connect(txtSaisieRecetteAjouter, &LimitedTextEdit::inputRefused, this, [this] { m_.platform.beep(); });

    FrameImageAjouter = makeFrame("FrameImageAjouter", page);
    Label2[6] = makeCaption(QStringLiteral("- son ima&ge"), 6, FrameImageAjouter);
    cmdImageAjouter = makeButton(
        "cmdImageAjouter", "parcourir",
        QStringLiteral("Cliquez sur ce bouton pour définir le chemin de l'image associée à la recette"),
        FrameImageAjouter);
    txtImageAjouter = makeLine("txtImageAjouter", kImageBoxTip, FrameImageAjouter);
    // Only the file dialog and the program set the path.
    txtImageAjouter->setReadOnly(true);
    txtImageAjouter->setMaxLength(32767);

    FramecmdAjouter = makeFrame("FramecmdAjouter", page);
    cmdValideAjouter = makeButton("cmdValideAjouter", "valider",
                                  QStringLiteral("Valider la saisie liée au bouton d'option actif"), FramecmdAjouter);
    cmdEffacerAjouter = makeButton("cmdEffacerAjouter", "effacer", QStringLiteral("Effacer toutes les saisies"),
                                   FramecmdAjouter);
    cmdAideAjouter = makeButton("cmdAideAjouter", "aide", QStringLiteral("Aide"), FramecmdAjouter);
    Line1[0] = makeRule(0, page);

    Label2[2]->setBuddy(ComboFamillesAjouter);
    Label2[0]->setBuddy(txtSaisieNomRecette);
    Label2[1]->setBuddy(txtSaisieRecetteAjouter);
    Label2[6]->setBuddy(cmdImageAjouter);

    // The page opens ready for a recipe.
    Option1[1]->setChecked(true);
    txtSaisieFamille->setEnabled(false);

    place(Option1[0], 120, 120, 1935, 375);
    place(txtSaisieFamille, kInputLeft, 160, 1935, 285);
    place(FramecmdAjouter, 4080, 520, 1335, 375);
    place(cmdValideAjouter, 0, 0, 375, 375);
    place(cmdEffacerAjouter, 480, 0, 375, 375);
    place(cmdAideAjouter, 960, 0, 375, 375);
    place(Option1[1], 120, 720, 1215, 255);
    place(Label2[2], 480, 1000, 975, 255);
    place(ComboFamillesAjouter, kInputLeft, 960, 1935, 315);
    place(Label2[0], 480, 1320, 975, 255);
    place(txtSaisieNomRecette, kInputLeft, 1320, 3495, 285);
    place(Label2[1], 480, 1680, 855, 255);
    place(txtSaisieRecetteAjouter, kInputLeft, 1680, 3495, 975);
    place(FrameImageAjouter, 360, 3240, 5175, 375);
    place(Label2[6], 120, 80, 855, 255);
    place(cmdImageAjouter, 1200, 0, 375, 375);
    place(txtImageAjouter, 1680, 40, 2295, 285);

    chainTabOrder({Option1[0], txtSaisieFamille, Option1[1], ComboFamillesAjouter, txtSaisieNomRecette,
                          txtSaisieRecetteAjouter, cmdImageAjouter, txtImageAjouter, cmdValideAjouter,
                          cmdEffacerAjouter, cmdAideAjouter});

    for (int i = 0; i < 2; ++i) {
        connect(Option1[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                Option1_Click(i);
        });
    }
    connect(txtImageAjouter, &QLineEdit::textChanged, this, [this] { txtImageAjouter_Change(); });
    connect(cmdImageAjouter, &QPushButton::clicked, this, [this] { cmdImageAjouter_Click(); });
    connect(cmdValideAjouter, &QPushButton::clicked, this, [this] { cmdValideAjouter_Click(); });
    connect(cmdEffacerAjouter, &QPushButton::clicked, this, [this] { cmdEffacerAjouter_Click(); });
    connect(cmdAideAjouter, &QPushButton::clicked, this, [this] { cmdAideAjouter_Click(); });
}

void frmRecettes::buildModifyPage()
{
    QFrame *page = Frame1[3];
    Option2[0] = makeOption("Option2", 0, QStringLiteral("Le &nom de la famille de recettes"), QString(), page);
    txtSaisieFamilleModifier =
        makeLine("txtSaisieFamilleModifier", QStringLiteral("Entrez le nouveau nom de la famille"), page);
    txtSaisieFamilleModifier->setAccessibleName(QStringLiteral("Nouveau nom de la famille"));
    Option2[1] = makeOption("Option2", 1, QStringLiteral("La re&cette"), QString(), page);
    Label2[3] = makeCaption(QStringLiteral("- sa fam&ille"), 3, page);
    ComboFamillesModifier = new RecordCombo(order_, page);
    ComboFamillesModifier->setObjectName(QStringLiteral("ComboFamillesModifier"));
    ComboFamillesModifier->setToolTip(QStringLiteral("Choisir dans la liste une nouvelle famille"));
    Label2[4] = makeCaption(QStringLiteral("- son ti&tre"), 4, page);
    txtSaisieNomRecetteModifier =
        makeLine("txtSaisieNomRecetteModifier", QStringLiteral("Entrez le nouveau nom de la recette"), page);
    Label2[5] = makeCaption(QStringLiteral("- son te&xte"), 5, page);
    txtSaisieRecetteModifier =
        makeText("txtSaisieRecetteModifier", QStringLiteral("Entrez le nouveau texte de la recette"), page);
    connect(txtSaisieRecetteModifier, &LimitedTextEdit::inputRefused, this, [this] { m_.platform.beep(); });

    FrameImageModifier = makeFrame("FrameImageModifier", page);
    Label2[7] = makeCaption(QStringLiteral("- son ima&ge"), 7, FrameImageModifier);
    cmdImageModifier = makeButton(
        "cmdImageModifier", "parcourir",
        QStringLiteral("Cliquez sur ce bouton pour définir le chemin de la nouvelle image associée à la recette"),
        FrameImageModifier);
    txtImageModifier = makeLine("txtImageModifier", kImageBoxTip, FrameImageModifier);
    txtImageModifier->setMaxLength(32767);

    FramecmdModifier = makeFrame("FramecmdModifier", page);
    cmdValideModifier = makeButton("cmdValideModifier", "valider",
                                   QStringLiteral("Valider la saisie liée au bouton d'option actif"), FramecmdModifier);
    cmdEffacerModifier = makeButton("cmdEffacerModifier", "reinitialiser", QStringLiteral("Réinitialiser"),
                                    FramecmdModifier);
    cmdAideModifier = makeButton("cmdAideModifier", "aide", QStringLiteral("Aide"), FramecmdModifier);
    Line1[1] = makeRule(1, page);

    Label2[3]->setBuddy(ComboFamillesModifier);
    Label2[4]->setBuddy(txtSaisieNomRecetteModifier);
    Label2[5]->setBuddy(txtSaisieRecetteModifier);
    Label2[7]->setBuddy(txtImageModifier);

    Option2[1]->setChecked(true);
    txtSaisieFamilleModifier->setEnabled(false);

    place(Option2[0], 120, 120, 1695, 375);
    place(txtSaisieFamilleModifier, kInputLeft, 160, 1935, 285);
    place(FramecmdModifier, 6360, 520, 1335, 375);
    place(cmdValideModifier, 0, 0, 375, 375);
    place(cmdEffacerModifier, 480, 0, 375, 375);
    place(cmdAideModifier, 960, 0, 375, 375);
    place(Option2[1], 120, 720, 1095, 255);
    place(Label2[3], 480, 1000, 975, 255);
    place(ComboFamillesModifier, kInputLeft, 960, 2175, 315);
    place(Label2[4], 480, 1335, 975, 255);
    place(txtSaisieNomRecetteModifier, kInputLeft, 1320, 3495, 285);
    place(Label2[5], 480, 1680, 855, 255);
    place(txtSaisieRecetteModifier, kInputLeft, 1680, 3495, 975);
    place(FrameImageModifier, 360, 3480, 4335, 375);
    place(Label2[7], 120, 80, 855, 255);
    place(cmdImageModifier, 1200, 0, 375, 375);
    place(txtImageModifier, 1680, 40, 2295, 285);

    chainTabOrder({Option2[0], txtSaisieFamilleModifier, Option2[1], ComboFamillesModifier,
                          txtSaisieNomRecetteModifier, txtSaisieRecetteModifier, cmdImageModifier, txtImageModifier,
                          cmdValideModifier, cmdEffacerModifier, cmdAideModifier});

    for (int i = 0; i < 2; ++i) {
        connect(Option2[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                Option2_Click(i);
        });
    }
    connect(cmdImageModifier, &QPushButton::clicked, this, [this] { cmdImageModifier_Click(); });
    connect(cmdValideModifier, &QPushButton::clicked, this, [this] { cmdValideModifier_Click(); });
    connect(cmdEffacerModifier, &QPushButton::clicked, this, [this] { cmdEffacerModifier_Click(); });
    connect(cmdAideModifier, &QPushButton::clicked, this, [this] { cmdAideModifier_Click(); });
}

void frmRecettes::buildDeletePage()
{
    QFrame *page = Frame1[4];
    const QString optionTip = QStringLiteral("Cliquez ici pour rendre active cette option");
    Option3[0] = makeOption("Option3", 0, QStringLiteral("La fa&mille de recettes"), optionTip, page);
    lblFamilleSupprimer = makeShownValue("lblFamilleSupprimer", page);
    Option3[1] = makeOption("Option3", 1, QStringLiteral("La re&cette"), optionTip, page);
    Label2[8] = makeCaption(QStringLiteral("- sa famille"), 8, page);
    lblFamilleRecetteSupprimer = makeShownValue("lblFamilleRecetteSupprimer", page);
    Label2[9] = makeCaption(QStringLiteral("- son titre"), 9, page);
    lblTitreRecetteSupprimer = makeShownValue("lblTitreRecetteSupprimer", page);
    Label2[10] = makeCaption(QStringLiteral("- son te&xte"), 10, page);
    txtTexteRecetteSupprimer = makeText("txtTexteRecetteSupprimer", QString(), page);
    txtTexteRecetteSupprimer->setReadOnly(true);
    txtTexteRecetteSupprimer->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    FramecmdSupprimer = makeFrame("FramecmdSupprimer", page);
    cmdSupprimer = makeButton("cmdSupprimer", "supprimer", QStringLiteral("Supprimer l'option choisie"),
                              FramecmdSupprimer);
    cmdAideSupprimer = makeButton("cmdAideSupprimer", "aide", QStringLiteral("Aide"), FramecmdSupprimer);
    Line1[2] = makeRule(2, page);

    lblFamilleSupprimer->setAccessibleName(QStringLiteral("Famille de recettes"));
    lblFamilleRecetteSupprimer->setAccessibleName(QStringLiteral("Famille de la recette"));
    lblTitreRecetteSupprimer->setAccessibleName(QStringLiteral("Titre de la recette"));
    Label2[10]->setBuddy(txtTexteRecetteSupprimer);
    Option3[1]->setChecked(true);

    place(Option3[0], 120, 120, 1815, 375);
    place(lblFamilleSupprimer, kInputLeft, 160, 2175, 285);
    place(FramecmdSupprimer, 4080, 520, 855, 375);
    place(cmdSupprimer, 0, 0, 375, 375);
    place(cmdAideSupprimer, 480, 0, 375, 375);
    place(Option3[1], 120, 720, 1095, 255);
    place(Label2[8], 480, 1000, 975, 255);
    place(lblFamilleRecetteSupprimer, kInputLeft, 960, 2175, 285);
    place(Label2[9], 480, 1320, 975, 255);
    place(lblTitreRecetteSupprimer, kInputLeft, 1320, 2175, 285);
    place(Label2[10], 480, 1680, 855, 255);
    place(txtTexteRecetteSupprimer, kInputLeft, 1680, 3495, 975);

    chainTabOrder({Option3[0], Option3[1], txtTexteRecetteSupprimer, cmdSupprimer, cmdAideSupprimer});

    for (int i = 0; i < 2; ++i) {
        connect(Option3[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                Option3_Click(i);
        });
    }
    connect(cmdSupprimer, &QPushButton::clicked, this, [this] { cmdSupprimer_Click(); });
    connect(cmdAideSupprimer, &QPushButton::clicked, this, [this] { cmdAideSupprimer_Click(); });
}

// Selecting an option that is already selected changes nothing on screen, yet the handler
// runs, as for a user's click on a newly selected one.
void frmRecettes::selectOption1(int index)
{
    if (Option1[index]->isChecked())
        Option1_Click(index);
    else
        Option1[index]->setChecked(true);
}

void frmRecettes::selectOption2(int index)
{
    if (Option2[index]->isChecked())
        Option2_Click(index);
    else
        Option2[index]->setChecked(true);
}

void frmRecettes::selectOption3(int index)
{
    if (Option3[index]->isChecked())
        Option3_Click(index);
    else
        Option3[index]->setChecked(true);
}

} // namespace gratinel
