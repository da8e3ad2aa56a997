// gratinel-book: makes, checks, repairs, backs up, exports and imports a recipe book.
#include "commands.h"

#include "store/charactername.h"
#include "store/cp1252.h"

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
    "  restore DOSSIER          liste les sauvegardes du livre (à la main et automatiques), de la\n"
    "                           plus récente à la plus ancienne, avec leur nombre de recettes\n"
    "  restore DOSSIER SAUVEGARDE\n"
    "                           vérifie la SAUVEGARDE (un nom de la liste ou un dossier) comme\n"
    "                           check, sauvegarde le livre, puis remet la SAUVEGARDE à sa place\n"
    "  export DOSSIER FICHIER   écrit tout le livre dans un texte source\n"
    "  import DOSSIER SOURCE... [--famille NOM]\n"
    "                           ajoute au livre les recettes de chaque SOURCE : un texte source,\n"
    "                           une page de recette enregistrée, un fichier .json ou Meal-Master,\n"
    "                           ou l'adresse http:// ou https:// d'une page de recette\n"
    "  images DOSSIER           liste par dossier les images des recettes qui ne s'ouvrent pas\n"
    "  images DOSSIER --remplacer ANCIEN NOUVEAU\n"
    "                           sauvegarde le livre, puis fait commencer par NOUVEAU chaque chemin\n"
    "                           d'image qui commence par ANCIEN (majuscules et minuscules, « \\ »\n"
    "                           et « / » confondus, comme sous Windows) ; le reste du chemin\n"
    "                           est cherché sous NOUVEAU (un dossier existant) comme Windows le\n"
    "                           cherchait ; un chemin qui n'y trouve aucun fichier est listé et\n"
    "                           laissé tel quel\n"
    "  livret DOSSIER SORTIE.pdf [--famille NOM]... [--sans-images] [--a5] [--recto-verso]\n"
    "                           écrit le livre, ou ses familles NOM, en livret PDF à imprimer :\n"
    "                           couverture, sommaire, un chapitre par famille, index ; A4, ou\n"
    "                           A5 avec --a5 ; --recto-verso ouvre chaque chapitre sur une page\n"
    "                           de droite\n"
    "\n"
    "Texte source (UTF-8) : « @@ nom » commence une famille, « ## titre » une recette,\n"
    "« !! chemin » donne l'image de la recette, toute autre ligne est le texte de la recette ;\n"
    "une ligne de texte commençant par « \\ » perd ce premier caractère. Ce qu'une ligne ne peut\n"
    "pas porter (retour chariot ou saut de ligne isolé, autre caractère de contrôle) s'écrit\n"
    "« @@\\ », « ##\\ », « !!\\ » ou « %%\\ » (ligne de texte) suivi de la valeur où « \\\\ »,\n"
    "« \\r », « \\n », « \\t » et « \\xHH » remplacent ces caractères ; « \\xHH » est l'octet HH\n"
    "du livre, son caractère Windows-1252 : « \\x89 » est « ‰ », pas le caractère U+0089.\n"
    "Un caractère que le livre ne peut pas garder (U+0089, un émoji), sous l'une ou l'autre\n"
    "forme, est un problème de sa ligne : create refuse la source.\n"
    "\n"
    "Import : une recette va dans la famille --famille NOM, sinon dans la famille du livre\n"
    "qui porte le nom de sa catégorie, sinon dans « Recettes importées » ; une recette dont\n"
    "le titre est déjà dans sa famille est ignorée. Les caractères que le livre ne peut pas\n"
    "garder sont remplacés (⅓ devient 1/3, ℃ devient °C…) ou supprimés, et le rapport le dit.\n"
    "\n"
    "Gratinel sauvegarde aussi le livre chaque jour à son démarrage dans DOSSIER/sauvegardes/auto\n"
    "(il garde les 7 dernières et une par semaine sur les 4 semaines d'avant) ; les sauvegardes\n"
    "faites à la main ne sont jamais supprimées.\n"
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
    const std::unique_ptr<QCoreApplication> app = booktool::application(argc, argv);
    const QStringList args = app->arguments().mid(1);
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
    if (command == QLatin1String("restore") && arity(1, 2)) {
        if (given == 2 && a2.trimmed().isEmpty())
            return usage(QStringLiteral("le nom de la SAUVEGARDE ne peut pas être vide"));
        return booktool::restore(a1, a2);
    }
    if (command == QLatin1String("export") && arity(2, 2))
        return booktool::exportBook(a1, a2);
    if (command == QLatin1String("images")) {
        if (arity(1, 1))
            return booktool::images(a1, QString(), QString());
        if (arity(4, 4) && a2 == QLatin1String("--remplacer")) {
            if (args.at(3).trimmed().isEmpty() || args.at(4).trimmed().isEmpty())
                return usage(QStringLiteral("ANCIEN et NOUVEAU ne peuvent pas être vides"));
            return booktool::images(a1, args.at(3), args.at(4));
        }
        return usage(QStringLiteral("mauvais nombre d'arguments pour images"));
    }
    if (command == QLatin1String("import")) {
        QStringList rest = args.mid(1);
        QString family;
        const qsizetype at = rest.indexOf(QStringLiteral("--famille"));
        if (at >= 0) {
            if (at + 1 >= rest.size())
                return usage(QStringLiteral("il manque le nom de la famille après --famille"));
            family = rest.at(at + 1).trimmed();
            rest.remove(at, 2);
            if (family.isEmpty() || family.size() > 128 || !cp1252::canEncode(family))
                return usage(QStringLiteral("nom de famille refusé : « %1 »").arg(visibleText(family)));
        }
        if (rest.size() < 2)
            return usage(QStringLiteral("mauvais nombre d'arguments pour import"));
        return booktool::importBook(rest.first(), rest.mid(1), family);
    }

    if (command == QLatin1String("livret"))
        return booktool::livretCommand(args.mid(1), usage);

    const QStringList known = {QStringLiteral("create"), QStringLiteral("check"), QStringLiteral("repair"),
                               QStringLiteral("backup"), QStringLiteral("export"), QStringLiteral("import"),
                               QStringLiteral("images"), QStringLiteral("restore"), QStringLiteral("livret")};
    if (!known.contains(command))
        return usage(QStringLiteral("commande inconnue : %1").arg(command));
    return usage(QStringLiteral("mauvais nombre d'arguments pour %1").arg(command));
}
