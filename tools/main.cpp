// gratinel-book: makes, checks, repairs, backs up, exports and imports a recipe book.
#include "commands.h"

#include <QCoreApplication>

#include <cstdio>

using namespace gratinel;

namespace {

const char kHelp[] =
    "Usage : gratinel-book COMMANDE DOSSIER [ARGUMENT]\n"
    "\n"
    "Outil du livre de recettes de Gratinel \"Free\" (les fichiers GRTN1.DAT à GRTN4.DAT du DOSSIER).\n"
    "\n"
    "  create DOSSIER SOURCE    crée un livre à partir d'un texte source (jamais par-dessus un livre)\n"
    "  check DOSSIER            vérifie le livre sans rien écrire\n"
    "  repair DOSSIER           sauvegarde le livre, puis répare ce qui peut l'être\n"
    "  backup DOSSIER [DEST]    copie le livre, par défaut dans DOSSIER/sauvegardes/AAAA-MM-JJ_HHMMSS\n"
    "  export DOSSIER FICHIER   écrit tout le livre dans un texte source\n"
    "  import DOSSIER FICHIER   ajoute au livre les familles et les recettes d'un texte source\n"
    "\n"
    "Texte source (UTF-8) : « @@ nom » commence une famille, « ## titre » une recette,\n"
    "« !! chemin » donne l'image de la recette, toute autre ligne est le texte de la recette ;\n"
    "une ligne de texte commençant par « \\ » perd ce premier caractère.\n"
    "\n"
    "Les commandes qui écrivent refusent de travailler pendant que Gratinel a le livre ouvert.\n"
    "Code de sortie : 0 tout va bien, 1 problème trouvé ou échec, 2 commande mal formée.\n";

int usage(const QString &why)
{
    std::fprintf(stderr, "gratinel-book : %s\nEssayez « gratinel-book --help ».\n", qPrintable(why));
    return booktool::kUsage;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        std::fputs(kHelp, stdout);
        return booktool::kAllWell;
    }
    if (args.isEmpty())
        return usage(QStringLiteral("il manque la commande"));

    const QString command = args.first();
    const int given = int(args.size()) - 1;
    const auto arity = [&](int least, int most) {
        return given >= least && given <= most;
    };
    const QString a1 = args.value(1);
    const QString a2 = args.value(2);
    if (command == QLatin1String("create") && arity(2, 2))
        return booktool::create(a1, a2);
    if (command == QLatin1String("check") && arity(1, 1))
        return booktool::check(a1);
    if (command == QLatin1String("repair") && arity(1, 1))
        return booktool::repair(a1);
    if (command == QLatin1String("backup") && arity(1, 2))
        return booktool::backup(a1, a2);
    if (command == QLatin1String("export") && arity(2, 2))
        return booktool::exportBook(a1, a2);
    if (command == QLatin1String("import") && arity(2, 2))
        return booktool::importBook(a1, a2);

    const QStringList known = {QStringLiteral("create"), QStringLiteral("check"), QStringLiteral("repair"),
                               QStringLiteral("backup"), QStringLiteral("export"), QStringLiteral("import")};
    if (!known.contains(command))
        return usage(QStringLiteral("commande inconnue : %1").arg(command));
    return usage(QStringLiteral("mauvais nombre d'arguments pour %1").arg(command));
}
