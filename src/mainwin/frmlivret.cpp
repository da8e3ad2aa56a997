// The booklet's dialog, laid out by Qt's layouts; every control named for the tests.
#include "mainwin/frmlivret.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace gratinel {

namespace {

template <class W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

frmLivret::frmLivret(const QString &family, bool hasRecipes, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmLivret"));
    setWindowTitle(QStringLiteral("Imprimer un livret"));

    auto *what = new QGroupBox(QStringLiteral("Imprimer"), this);
    optFamille_ = named(new QRadioButton(QStringLiteral("La &famille « %1 »").arg(family), what), "optFamille");
    optLivre_ = named(new QRadioButton(QStringLiteral("Tout le &livre"), what), "optLivre");
    chkPhotos_ = named(new QCheckBox(QStringLiteral("Avec les &photos"), what), "chkPhotos");
    auto *whatLayout = new QVBoxLayout(what);
    whatLayout->addWidget(optFamille_);
    whatLayout->addWidget(optLivre_);
    whatLayout->addWidget(chkPhotos_);
    optFamille_->setEnabled(hasRecipes);
    (hasRecipes ? optFamille_ : optLivre_)->setChecked(true);
    chkPhotos_->setChecked(true);

    auto *paper = new QGroupBox(QStringLiteral("Papier"), this);
    optA4_ = named(new QRadioButton(QStringLiteral("A&4"), paper), "optA4");
    optA5_ = named(new QRadioButton(QStringLiteral("A&5, le format des livres de cuisine"), paper), "optA5");
    chkRectoVerso_ = named(new QCheckBox(QStringLiteral("&Recto verso : chaque famille sur une page de droite"), paper),
                           "chkRectoVerso");
    auto *paperLayout = new QVBoxLayout(paper);
    paperLayout->addWidget(optA4_);
    paperLayout->addWidget(optA5_);
    paperLayout->addWidget(chkRectoVerso_);
    optA4_->setChecked(true);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = named(buttons->addButton(QStringLiteral("&Imprimer..."), QDialogButtonBox::AcceptRole), "cmdImprimer");
    named(buttons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole), "cmdAnnuler");
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(what);
    layout->addWidget(paper);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

bool frmLivret::wholeBook() const
{
    return optLivre_->isChecked();
}

bool frmLivret::photos() const
{
    return chkPhotos_->isChecked();
}

bool frmLivret::a5() const
{
    return optA5_->isChecked();
}

bool frmLivret::twoSided() const
{
    return chkRectoVerso_->isChecked();
}

} // namespace gratinel
