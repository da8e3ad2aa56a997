// The two send commands: the recipe sheet written, then opened by the desktop's program for its type.
#include "mainwin/frmmain.h"

#include "mainwin/shownrecipe.h"
#include "platform/platform.h"
#include "store/module1.h"

namespace gratinel {

void frmMain::sendRecipe(const QString &extension, const QString &noAssociation, const QString &notWritten)
{
    if (!recettes_)
        return;
    Platform &platform = m_.windows();
    platform.setPointer(Platform::Pointer::Hourglass);
    if (!m_.WriteRecipeSheet(extension, shownRecipe(*recettes_))) {
        platform.setPointer(Platform::Pointer::Normal);
        platform.msgBox(notWritten, Platform::Icon::Critical);
        return;
    }
    // The hand-over asks the desktop which program to start: the hourglass stays meanwhile.
    const QString sheet = m_.pathOf(QStringLiteral("recette.") + extension);
    const int result = platform.shellOpen(sheet, m_.programDir);
    platform.setPointer(Platform::Pointer::Normal);
    if (result == Platform::kNoAssociation)
        platform.msgBox(noAssociation, Platform::Icon::Information);
}

void frmMain::mnuEditEnvoyerNotePad_Click()
{
    sendRecipe(QStringLiteral("txt"), QStringLiteral("Aucune association n'est définie pour les fichiers *.TXT"),
               QStringLiteral("Impossibilité de créer un fichier temporaire."));
}

void frmMain::mnuEditEnvoyerTtx_Click()
{
    sendRecipe(QStringLiteral("doc"), QStringLiteral("Aucune association n'est définie pour les fichiers *.DOC"),
               QStringLiteral("Impossibilté de créer un fichier temporaire."));
}

} // namespace gratinel
