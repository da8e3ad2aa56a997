// Menu and toolbar tables of the main window.
#include "mainwin/commandtables.h"

namespace gratinel {

const std::vector<MenuItemDef> &menuTable()
{
    static const std::vector<MenuItemDef> t = {
        {0, "mnuFile", QStringLiteral("&Fichier"), {}, true},
        {1, "mnuFilePrint", QStringLiteral("&Imprimer"), {}, false},
        {1, "mnuFilePrintLivret", QStringLiteral("Imprimer un &livret..."), {}, false},
        {1, "mnuFileBar1", QStringLiteral("-"), {}, false},
        {1, "mnuFileExit", QStringLiteral("&Quitter"), {}, false},
        {0, "mnuEdit", QStringLiteral("&Edition"), {}, true},
        {1, "mnuEditCut", QStringLiteral("&Couper"), QKeySequence(Qt::CTRL | Qt::Key_X), false},
        {1, "mnuEditCopy", QStringLiteral("C&opier"), QKeySequence(Qt::CTRL | Qt::Key_C), false},
        {1, "mnuEditPaste", QStringLiteral("Co&ller"), QKeySequence(Qt::CTRL | Qt::Key_V), false},
        {1, "mnuEditSelect", QStringLiteral("Sélectionner &tout"), QKeySequence(Qt::CTRL | Qt::Key_A), false},
        {1, "mnuEditBar0", QStringLiteral("-"), {}, false},
        {1, "mnuEditRechercher", QStringLiteral("&Rechercher..."), QKeySequence(Qt::CTRL | Qt::Key_F), false},
        {1, "mnuEditBar1", QStringLiteral("-"), {}, false},
        {1, "mnuEditEnvoyer", QStringLiteral("&Envoyer"), {}, true},
        {2, "mnuEditEnvoyerTtx", QStringLiteral("&Traitement de texte"), {}, false},
        {2, "mnuEditEnvoyerNotePad", QStringLiteral("&Bloc-notes"), {}, false},
        {0, "mnuView", QStringLiteral("Affic&hage"), {}, true},
        {1, "mnuViewImage", QStringLiteral("&Image"), {}, true},
        {2, "mnuViewImageVisuAssocie", QStringLiteral("Visualisateur &associé"), {}, false},
        {2, "mnuViewImageVisuInterne", QStringLiteral("Visualisateur &interne"), {}, false},
        {0, "mnuHelp", QStringLiteral("&?"), {}, true},
        {1, "mnuHelpContents", QStringLiteral("&Sommaire de l'aide"), {}, false},
        {1, "mnuHelpBar0", QStringLiteral("-"), {}, false},
        {1, "mnuHelpGrSurLeWeb", QStringLiteral("Gratinel sur le &Web"), {}, false},
        {1, "mnuHelpBar2", QStringLiteral("-"), {}, false},
        {1, "mnuHelpAbout", QStringLiteral("A &propos de Gratinel \"Free\""), {}, false},
    };
    return t;
}

const std::vector<ToolButtonDef> &toolbarTable()
{
    static const std::vector<ToolButtonDef> t = {
        {QStringLiteral("Print"), QStringLiteral("Imprimer"), QStringLiteral("Print"), 0},
        {{}, {}, {}, 0},
        {QStringLiteral("Couper"), QStringLiteral("Couper"), QStringLiteral("Cut"), 0},
        {QStringLiteral("Copier"), QStringLiteral("Copier"), QStringLiteral("Copy"), 0},
        {QStringLiteral("Coller"), QStringLiteral("Coller"), QStringLiteral("Paste"), 0},
        {QStringLiteral("Find"), QStringLiteral("Rechercher"), {}, 15},
        {QStringLiteral("Ttx"), QStringLiteral("Envoyer dans traitement de texte"), {}, 16},
        {QStringLiteral("Notepad"), QStringLiteral("Envoyer dans bloc-notes"), {}, 17},
        {{}, {}, {}, 0},
        {QStringLiteral("Camera"), QStringLiteral("Voir l'image (visualisateur interne)"), QStringLiteral("Camera"), 0},
        {{}, {}, {}, 0},
        {QStringLiteral("Help"), QStringLiteral("Sommaire de l'aide"), QStringLiteral("Help"), 0},
        {{}, {}, {}, 0},
        {QStringLiteral("Exit"), QStringLiteral("Quitter Gratinel \"Free\""), QStringLiteral("Exit"), 0},
    };
    return t;
}

} // namespace gratinel
