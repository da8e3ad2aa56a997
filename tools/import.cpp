// import: the families and recipes of a source added to an existing book.
#include "commands.h"

#include "platform/instancelock.h"
#include "store/bookcheck.h"
#include "store/bookimport.h"
#include "store/booksource.h"
#include "store/module1.h"
#include "toolplatform.h"

#include <QDir>

namespace gratinel::booktool {

int importBook(const QString &dir, const QString &file)
{
    booksource::Source source;
    const Status read = booksource::readFile(file, source);
    if (!read.isOk())
        return fail(read.message());
    if (!QDir(dir).exists())
        return fail(QStringLiteral("le dossier %1 n'existe pas").arg(dir));

    InstanceLock lock;
    if (!lockBook(lock, dir))
        return kSomethingWrong;
    // Additions rely on exact counts and ranges: a book that repair would change is refused.
    const bookcheck::Report report = bookcheck::check(dir);
    if (report.fixable() > 0)
        return fail(QStringLiteral("le livre a des erreurs que « gratinel-book repair %1 » répare : "
                                   "lancez-le d'abord, rien n'est importé.")
                        .arg(dir));
    ToolPlatform platform;
    Module1 m(platform);
    const Status opened = m.openBook(dir);
    if (!opened.isOk())
        return fail(QStringLiteral("le livre ne s'ouvre pas (%1) : rien n'est importé.").arg(opened.message()));

    // As repair does: the book as it was is kept before the first byte is written.
    if (!source.families.empty() && !takeBackup(dir))
        return fail(QStringLiteral("rien n'est importé."));

    // Ctrl+C or the end of the session stops the import between two recipes, never inside
    // one: each recipe is whole on disk or not there at all.
    const StopRequest stop;
    bookimport::Result result;
    const Status s = bookimport::importSource(m, source, result, [&] { return stop.requested(); });
    for (const QString &line : result.skipped)
        say(QStringLiteral("Ignoré : %1").arg(line));
    const QString counts = QStringLiteral("%1 famille(s) et %2 recette(s) ajoutée(s), %3 recette(s) ignorée(s).")
                               .arg(result.familiesAdded)
                               .arg(result.recipesAdded)
                               .arg(result.recipesSkipped);
    if (!s.isOk())
        return fail(QStringLiteral("import arrêté : %1 ; %2").arg(s.message(), counts));
    if (result.interrupted)
        return fail(QStringLiteral("import interrompu : %1").arg(counts));
    say(QStringLiteral("Import terminé : ") + counts);
    return result.skipped.isEmpty() ? kAllWell : kSomethingWrong;
}

} // namespace gratinel::booktool
