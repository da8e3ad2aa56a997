// import: the recipes of texts of ours, recipe pages, links, JSON and Meal-Master files
// added to an existing book.
#include "commands.h"

#include "importsources.h"
#include "platform/instancelock.h"
#include "platform/system.h"
#include "store/bookimport.h"
#include "store/booksource.h"
#include "store/module1.h"
#include "store/records.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

namespace gratinel::booktool {

namespace {

// The families of the open book, as its lists show them.
QStringList bookFamilies(Module1 &m)
{
    QStringList names;
    qint32 last = 0;
    if (m.familyFile.lastRecord(last).isOk())
        m.familyFile.scan(2, last, [&](qint32, const FamilyRecord &r) {
            if (r.state == kInUse)
                names << r.nameText();
            return true;
        });
    return names;
}

// "ligne N : rest" of a found recipe said with its source instead.
QString labelled(const QString &line, const ImportPlan &plan)
{
    static const QRegularExpression re(QStringLiteral("^ligne (\\d+) : (.*)$"));
    const QRegularExpressionMatch m = re.match(line);
    if (!m.hasMatch())
        return line;
    return plan.labels.value(m.captured(1).toInt(), m.captured(1)) + QStringLiteral(" : ") + m.captured(2);
}

} // namespace

int importBook(const QString &dir, const QStringList &sources, const QString &family)
{
    if (!QDir(dir).exists())
        return fail(QStringLiteral("le dossier %1 n'existe pas").arg(dir));

    InstanceLock lock;
    if (!lockForChanges(lock, dir, QStringLiteral("rien n'est importé")))
        return kSomethingWrong;
    ConsoleSystem platform;
    Module1 m(platform);
    const Status opened = m.openBook(dir);
    if (!opened.isOk())
        return fail(QStringLiteral("le livre ne s'ouvre pas (%1) : rien n'est importé.").arg(opened.message()));

    // Ctrl+C or the end of the session stops the import between two photos or two recipes,
    // never inside one: each recipe is whole on disk or not there at all. Caught from here on,
    // so that it never cuts the backup short either.
    const StopRequest stop;
    const ImportPlan plan = readSources(sources, dir, family, bookFamilies(m), [&] { return stop.requested(); });
    for (const QString &line : plan.failures)
        say(QStringLiteral("Échec : %1").arg(line));
    for (const QString &line : plan.notes)
        say(QStringLiteral("Modifié : %1").arg(line));

    // The photos of the recipes not in the book at the end go again, whatever ended the import.
    QSet<int> added;
    const auto removeUnusedPhotos = [&] {
        for (auto it = plan.photos.cbegin(); it != plan.photos.cend(); ++it)
            if (!added.contains(it.key()))
                QFile::remove(it.value());
    };
    const bool anything = !plan.texts.empty() || !plan.found.families.empty();
    if (plan.stopped) {
        removeUnusedPhotos();
        return fail(QStringLiteral("import interrompu pendant la lecture des sources : rien n'est importé."));
    }
    // As repair does: the book as it was is kept before the first byte is written.
    if (anything && !takeBackup(dir)) {
        removeUnusedPhotos();
        return fail(QStringLiteral("rien n'est importé."));
    }
    bookimport::Result total;
    Status s = Status::ok();
    const auto run = [&](const booksource::Source &source, const QString &name, bool found) {
        bookimport::Result result;
        s = bookimport::importSource(m, source, result, [&] { return stop.requested(); });
        total.interrupted = total.interrupted || result.interrupted;
        // A text of ours alone keeps the report it always had: "ligne N : ...".
        const auto where = [&](const QString &line) {
            return found ? labelled(line, plan) : sources.size() == 1 ? line : name + QStringLiteral(", ") + line;
        };
        for (const QString &line : result.added)
            say(QStringLiteral("Ajouté : %1").arg(where(line)));
        for (const QString &line : result.skipped)
            say(QStringLiteral("Ignoré : %1").arg(where(line)));
        if (found) {
            static const QRegularExpression re(QStringLiteral("^ligne (\\d+) : "));
            for (const QString &line : result.added)
                added.insert(re.match(line).captured(1).toInt());
        }
        total.familiesAdded += result.familiesAdded;
        total.recipesAdded += result.recipesAdded;
        total.recipesSkipped += result.recipesSkipped;
        total.skipped << result.skipped;
    };
    for (size_t i = 0; i < plan.texts.size() && s.isOk() && !total.interrupted; ++i)
        run(plan.texts[i], plan.textNames.at(int(i)), false);
    if (s.isOk() && !total.interrupted && !plan.found.families.empty())
        run(plan.found, QString(), true);
    removeUnusedPhotos();

    const QString counts = QStringLiteral("%1 famille(s) et %2 recette(s) ajoutée(s), %3 recette(s) ignorée(s), "
                                          "%4 source(s) sans recette ou illisible(s).")
                               .arg(total.familiesAdded)
                               .arg(total.recipesAdded)
                               .arg(total.recipesSkipped)
                               .arg(plan.failures.size());
    if (!s.isOk())
        return fail(QStringLiteral("import arrêté : %1 ; %2").arg(s.message(), counts));
    if (total.interrupted)
        return fail(QStringLiteral("import interrompu : %1").arg(counts));
    say(QStringLiteral("Import terminé : ") + counts);
    return total.skipped.isEmpty() && plan.failures.isEmpty() ? kAllWell : kSomethingWrong;
}

} // namespace gratinel::booktool
