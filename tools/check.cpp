// check, repair and backup.
#include "commands.h"

#include "platform/instancelock.h"
#include "store/bookbackup.h"
#include "store/bookcheck.h"

#include <QDateTime>
#include <QDir>

namespace gratinel::booktool {

namespace {

void list(const bookcheck::Report &report)
{
    for (const bookcheck::Finding &f : report.findings)
        say((f.error ? QStringLiteral("Erreur : ") : QStringLiteral("Avertissement : ")) + f.describe());
}

QString summary(const bookcheck::Report &report)
{
    return QStringLiteral("%1 familles et %2 recettes en service ; %3 erreur(s), %4 avertissement(s).")
        .arg(report.families)
        .arg(report.recipes)
        .arg(report.errors())
        .arg(report.warnings());
}

bool isBookFolder(const QString &dir)
{
    if (QDir(dir).exists())
        return true;
    fail(QStringLiteral("le dossier %1 n'existe pas").arg(dir));
    return false;
}


} // namespace

// A backup under the lock the caller holds; false when it failed (and was said).
bool takeBackup(const QString &dir, const QString &dest, bool allowMissing)
{
    const QString target = dest.isEmpty() ? bookbackup::defaultDestination(dir, QDateTime::currentDateTime()) : dest;
    const Status s = bookbackup::copyBook(dir, target, allowMissing);
    if (!s.isOk()) {
        fail(s.code() == Status::Code::NotFound ? QStringLiteral("%1 : fichier absent").arg(s.message())
                                                 : s.message());
        return false;
    }
    say(QStringLiteral("Livre sauvegardé dans %1.").arg(QDir(target).absolutePath()));
    return true;
}

int check(const QString &dir)
{
    if (!isBookFolder(dir))
        return kSomethingWrong;
    const bookcheck::Report report = bookcheck::check(dir);
    list(report);
    say(summary(report));
    if (report.fixable() > 0)
        say(QStringLiteral("« gratinel-book repair %1 » peut réparer %2 de ces erreurs.").arg(dir).arg(report.fixable()));
    return report.errors() == 0 ? kAllWell : kSomethingWrong;
}

int repair(const QString &dir)
{
    if (!isBookFolder(dir))
        return kSomethingWrong;
    InstanceLock lock;
    if (!lockBook(lock, dir))
        return kSomethingWrong;
    const bookcheck::Report report = bookcheck::check(dir);
    if (report.fixable() == 0) {
        list(report);
        say(QStringLiteral("Rien à réparer. ") + summary(report));
        return report.errors() == 0 ? kAllWell : kSomethingWrong;
    }
    if (!takeBackup(dir, {}))
        return fail(QStringLiteral("sans sauvegarde, rien n'est réparé."));
    QStringList done;
    const Status s = bookcheck::repair(dir, report, done);
    for (const QString &line : done)
        say(QStringLiteral("Réparé : ") + line);
    if (!s.isOk())
        return fail(QStringLiteral("réparation interrompue : %1").arg(s.message()));

    const bookcheck::Report after = bookcheck::check(dir);
    for (const bookcheck::Finding &f : after.findings)
        say((f.error ? QStringLiteral("Laissé tel quel : ") : QStringLiteral("Avertissement : ")) + f.describe());
    say(summary(after));
    return after.errors() == 0 ? kAllWell : kSomethingWrong;
}

int backup(const QString &dir, const QString &dest)
{
    if (!isBookFolder(dir))
        return kSomethingWrong;
    InstanceLock lock;
    if (!lockBook(lock, dir))
        return kSomethingWrong;
    return takeBackup(dir, dest) ? kAllWell : kSomethingWrong;
}

} // namespace gratinel::booktool
