// About box.
#include "mainwin/frmabout.h"

#include "platform/apptitle.h"
#include "platform/platform.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace gratinel {

QString frmAbout::homePage()
{
    return QStringLiteral(GRATINEL_HOME_PAGE);
}

QString frmAbout::contactAddress()
{
    return QStringLiteral("mailto:contact@gratinel.fr");
}

frmAbout::frmAbout(Platform &platform, QWidget *parent) : QDialog(parent), platform_(platform)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("A propos de %1").arg(appTitle()));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/mainwin/gratinel.svg")).pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);

    auto *title = new QLabel(appTitle(), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    title->setFont(big);

    auto *version = new QLabel(QStringLiteral("Version %1").arg(QStringLiteral(GRATINEL_VERSION)), this);
    version->setObjectName(QStringLiteral("lblVersion"));

    auto *licence = new QLabel(
        QStringLiteral("Le livre de recettes de toute la famille.\n\n"
                       "Ce logiciel est gratuit : vous pouvez l'utiliser, le copier et le donner "
                       "librement, à condition de ne pas le vendre et de le laisser tel quel. "
                       "Il est fourni sans aucune garantie ; vos recettes restent à vous."),
        this);
    licence->setObjectName(QStringLiteral("lblLicence"));
    licence->setWordWrap(true);
    licence->setFixedWidth(330);

    auto *links = new QLabel(QStringLiteral("<a href=\"%1\">www.gratinel.fr</a><br><a href=\"%2\">contact@gratinel.fr</a>")
                                 .arg(homePage(), contactAddress()),
                             this);
    links->setObjectName(QStringLiteral("lblLinks"));
    links->setTextFormat(Qt::RichText);
    links->setTextInteractionFlags(Qt::TextBrowserInteraction);
    links->setOpenExternalLinks(false);
    connect(links, &QLabel::linkActivated, this, [this](const QString &link) { platform_.shellOpen(link, QString()); });

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(version);
    text->addSpacing(8);
    text->addWidget(licence);
    text->addSpacing(8);
    text->addWidget(links);
    auto *row = new QHBoxLayout;
    row->addWidget(icon);
    row->addSpacing(12);
    row->addLayout(text, 1);
    auto *main = new QVBoxLayout(this);
    main->addLayout(row);
    main->addWidget(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace gratinel
