// Commands that hand something to the desktop or the help window: home page, help, image viewer.
#include "mainwin/frmmain.h"

#include "book/frmrecettes.h"
#include "mainwin/frmabout.h"
#include "platform/desktopopen.h"
#include "platform/platform.h"
#include "store/module1.h"

#include <QFileInfo>

namespace gratinel {

// pageCode of the recipe book active on its list page.
constexpr qint16 kListPageCode = 11;

void frmMain::openHomePage()
{
    if (m_.windows().shellOpen(frmAbout::homePage(), QString()) == Platform::kNoAssociation)
        m_.platform.msgBox(QStringLiteral("Aucune association n'est définie pour naviguer sur Internet"),
                           Platform::Icon::Information);
}

void frmMain::lblAdresseWeb_Click()
{
    openHomePage();
}

void frmMain::mnuHelpGrSurLeWeb_Click()
{
    openHomePage();
}

void frmMain::ShowHelpContents()
{
    const QString error = m_.windows().helpContents(m_.helpFile);
    if (!error.isEmpty())
        m_.platform.msgBox(error, Platform::Icon::None);
}

void frmMain::mnuViewImageVisuAssocie_Click()
{
    if (m_.pageCode != kListPageCode || !recettes_)
        return;
    Platform &platform = m_.windows();
    const QString path = recettes_->imagePath();
    if (!QFileInfo(path).isFile()) {
        platform.msgBox(QStringLiteral("Fichier") + m_.crlf + path + m_.crlf + QStringLiteral("non trouvé."),
                        Platform::Icon::Critical);
        return;
    }
    // The desktop chooses the program by the file's name, and a book may name any file: only
    // a file that is an image by its content and by its name is handed over, never one that
    // some other program would open, or run.
    if (!isImageByContentAndName(path)) {
        platform.msgBox(QStringLiteral("Ce fichier n'est pas un fichier image."), Platform::Icon::Critical);
        return;
    }
    if (platform.shellOpen(path, QFileInfo(path).absolutePath()) == Platform::kNoAssociation)
        platform.msgBox(QStringLiteral("Aucune association n'est définie pour afficher l'image"),
                        Platform::Icon::Information);
}

} // namespace gratinel
