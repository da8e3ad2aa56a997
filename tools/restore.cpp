// restore: the list of a book's backups, and one of them brought back in place of the book.
#include "commands.h"

#include "platform/instancelock.h"
#include "store/autobackup.h"
#include "store/bookbackup.h"
#include "store/bookcheck.h"
#include "store/bookrestore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <vector>

namespace gratinel::booktool {

namespace {

struct Backup {
    QString name; // as restore takes it: "AAAA-MM-JJ_HHMMSS" or "auto/AAAA-MM-JJ_HHMMSS"
    QString path;
    QDateTime at;
    bool automatic = false;
};

std::vector<Backup> backupsOf(const QString &dir)
{
    std::vector<Backup> found;
    const auto collect = [&](const QString &folder, const QString &prefix, bool automatic) {
        for (const QString &name : QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QDateTime at = bookbackup::takenAt(name);
            if (at.isValid())
                found.push_back({prefix + name, QDir(folder).absoluteFilePath(name), at, automatic});
        }
    };
    collect(QDir(dir).absoluteFilePath(QStringLiteral("sauvegardes")), {}, false);
    collect(autobackup::folder(dir), QStringLiteral("auto/"), true);
    std::stable_sort(found.begin(), found.end(), [](const Backup &a, const Backup &b) {
        if (a.at != b.at)
            return a.at > b.at;
        return a.name.size() != b.name.size() ? a.name.size() > b.name.size() : a.name > b.name;
    });
    return found;
}

// "312 recettes" from the header of the backup's recipe file, or what is wrong with it.
QString recipesIn(const QString &path)
{
    for (const QString &name : {QStringLiteral("GRTN1.DAT"), QStringLiteral("GRTN3.DAT"), QStringLiteral("GRTN4.DAT")}) {
        if (!QFileInfo(QDir(path).filePath(name)).isFile())
            return QStringLiteral("incomplète (%1 absent)").arg(name);
    }
    QFile recipes(QDir(path).filePath(QStringLiteral("GRTN2.DAT")));
    const QByteArray header = recipes.open(QIODevice::ReadOnly) ? recipes.read(2) : QByteArray();
    if (header.size() != 2)
        return QStringLiteral("incomplète (GRTN2.DAT illisible)");
    const qint16 count = qint16(quint8(header[0]) | (quint8(header[1]) << 8));
    return QStringLiteral("%1 recette%2").arg(count).arg(count > 1 || count < -1 ? QStringLiteral("s") : QString());
}

int list(const QString &dir)
{
    const std::vector<Backup> backups = backupsOf(dir);
    if (backups.empty())
        return fail(QStringLiteral("aucune sauvegarde dans %1 ni dans %2.")
                        .arg(QDir(dir).absoluteFilePath(QStringLiteral("sauvegardes")), autobackup::folder(dir)));
    say(QStringLiteral("Sauvegardes du livre de %1, de la plus récente à la plus ancienne :").arg(QDir(dir).absolutePath()));
    qsizetype width = 0;
    for (const Backup &b : backups)
        width = std::max(width, b.name.size());
    const QLocale french(QLocale::French);
    for (const Backup &b : backups) {
        say(QStringLiteral("  %1  %2  %3  %4")
                .arg(b.name, -int(width))
                .arg(french.toString(b.at, QStringLiteral("dd/MM/yyyy HH:mm:ss")))
                .arg(b.automatic ? QStringLiteral("automatique") : QStringLiteral("à la main  "))
                .arg(recipesIn(b.path)));
    }
    say(QStringLiteral("Pour en remettre une en place, Gratinel fermé : gratinel-book restore %1 NOM").arg(dir));
    return kAllWell;
}

// The folder of the backup named which: a name of the list, or a folder's path.
QString findBackup(const QString &dir, const QString &which)
{
    const QDir backups(QDir(dir).absoluteFilePath(QStringLiteral("sauvegardes")));
    QStringList found;
    for (const QString &candidate : {backups.absoluteFilePath(which), backups.absoluteFilePath(QStringLiteral("auto/") + which)}) {
        if (QFileInfo(candidate).isDir())
            found << candidate;
    }
    if (found.size() > 1) {
        fail(QStringLiteral("« %1 » est à la fois une sauvegarde à la main et une sauvegarde automatique : "
                            "dites « %1 » pour la première, « auto/%1 » pour la seconde.")
                 .arg(which));
        return {};
    }
    if (found.isEmpty() && QFileInfo(which).isDir())
        found << QDir(which).absolutePath();
    if (found.isEmpty()) {
        fail(QStringLiteral("pas de sauvegarde « %1 » : « gratinel-book restore %2 » les liste.").arg(which, dir));
        return {};
    }
    if (QFileInfo(found.first()).canonicalFilePath() == QFileInfo(dir).canonicalFilePath()) {
        fail(QStringLiteral("%1 est le livre lui-même, pas une sauvegarde.").arg(found.first()));
        return {};
    }
    return found.first();
}

} // namespace

int restore(const QString &dir, const QString &which)
{
    if (!QDir(dir).exists())
        return fail(QStringLiteral("le dossier %1 n'existe pas").arg(dir));
    if (which.isEmpty())
        return list(dir);
    const QString backup = findBackup(dir, which);
    if (backup.isEmpty())
        return kSomethingWrong;
    InstanceLock lock;
    if (!lockBook(lock, dir))
        return kSomethingWrong;

    // The backup's files are copied beside the book and checked there, as they will be.
    std::unique_ptr<StagingFolder> staged;
    Status s = bookrestore::stage(backup, dir, staged);
    if (!s.isOk())
        return fail(QStringLiteral("la sauvegarde %1 ne peut pas être lue (%2) : rien n'est changé.")
                        .arg(backup, s.code() == Status::Code::NotFound ? s.message() + QStringLiteral(" absent") : s.message()));
    const bookcheck::Report report = bookcheck::check(staged->path());
    if (report.errors() > 0) {
        for (const bookcheck::Finding &f : report.findings) {
            if (f.error)
                say(QStringLiteral("Erreur : ") + f.describe());
        }
        return fail(QStringLiteral("la sauvegarde %1 a %2 erreur(s) : elle n'est pas remise en place, rien n'est changé.")
                        .arg(backup)
                        .arg(report.errors()));
    }

    // The book it replaces is kept first, whatever state it is in.
    const bool anyFile = std::any_of(bookFileNames().begin(), bookFileNames().end(),
                                     [&](const QString &name) { return QFileInfo(QDir(dir).filePath(name)).isFile(); });
    if (anyFile && !takeBackup(dir, {}, true))
        return fail(QStringLiteral("sans sauvegarde du livre actuel, rien n'est remis en place."));

    s = bookrestore::putInPlace(dir, std::move(staged));
    if (!s.isOk()) {
        if (QFileInfo(bookrestore::pendingFolder(dir)).isDir())
            return fail(QStringLiteral("remise en place interrompue (%1) : elle se terminera au prochain démarrage de "
                                       "Gratinel ou à la prochaine commande de gratinel-book qui écrit.")
                            .arg(s.message()));
        return fail(QStringLiteral("remise en place impossible (%1) : rien n'est changé.").arg(s.message()));
    }
    say(QStringLiteral("Sauvegarde %1 remise en place : %2 familles et %3 recettes en service ; %4 avertissement(s).")
            .arg(backup)
            .arg(report.families)
            .arg(report.recipes)
            .arg(report.warnings()));
    return kAllWell;
}

} // namespace gratinel::booktool
