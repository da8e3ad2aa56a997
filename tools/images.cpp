// images: the image paths of a book that do not open, and the start of paths rewritten (a
// book brought from another computer, a key or a share that moved).
#include "commands.h"

#include "platform/instancelock.h"
#include "platform/system.h"
#include "store/bookedits.h"
#include "store/bytestream.h"
#include "store/charactername.h"
#include "store/cp1252.h"
#include "store/module1.h"
#include "store/pathlookup.h"
#include "store/recordfile.h"

#include <QDir>
#include <QFileInfo>

#include <map>
#include <optional>
#include <vector>

namespace gratinel::booktool {

namespace {

struct ImageLink {
    qint32 record = 0;
    QString title;
    QString path;
};

// The image path of every recipe in use, in record order, read without writing anything.
Status readLinks(const QString &dir, std::vector<ImageLink> &links)
{
    RecordFile<RecipeRecord> recipes;
    ByteStream images;
    Status s = recipes.openReadOnly(QDir(dir).filePath(QStringLiteral("GRTN2.DAT")));
    if (s.isOk())
        s = images.openReadOnly(QDir(dir).filePath(QStringLiteral("GRTN4.DAT")));
    qint32 last = 0;
    if (s.isOk())
        s = recipes.lastRecord(last);
    if (!s.isOk())
        return s;
    return recipes.scan(2, last, [&](qint32 n, const RecipeRecord &r) {
        if (r.state != kInUse || r.imagePos == 0)
            return true;
        QByteArray bytes;
        s = images.readAvailable(r.imagePos, r.imageLen, bytes);
        if (!s.isOk())
            return false;
        links.push_back({n, r.titleText(), cp1252::decode(bytes)});
        return true;
    });
}

// The file a path opens, looked up as the program looks it up (letter case, trailing spaces
// and dots as Windows took them); empty when none.
QString fileOf(const QString &path)
{
    const QString file = QDir::isAbsolutePath(path) ? pathlookup::find(path).file : path;
    const QFileInfo info(file);
    return !file.isEmpty() && info.isFile() && info.isReadable() ? file : QString();
}

bool opens(const QString &path)
{
    return !fileOf(path).isEmpty();
}

// The folder part of a path of either system.
QString folderOf(const QString &path)
{
    const qsizetype at = qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return at < 0 ? QString() : path.left(at);
}

// Separators as this system writes them, without one at the end (the root keeps its own).
QString withSlashes(QString path)
{
    path.replace(u'\\', u'/');
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

// The part of path after old, its separators made '/', when path starts with old as the
// Windows program compares paths: letter case ignored, '\' and '/' alike, and only at a
// folder boundary ("C:\Recettes" is not the start of "C:\Recettes2\far.jpg").
std::optional<QString> restAfter(const QString &path, const QString &old)
{
    const QString p = withSlashes(path);
    const QString o = withSlashes(old);
    if (o.isEmpty() || p.size() < o.size() || p.left(o.size()).toUpper() != o.toUpper())
        return std::nullopt;
    const QString rest = p.mid(o.size());
    if (!rest.isEmpty() && !rest.startsWith(u'/') && !o.endsWith(u'/'))
        return std::nullopt;
    return rest;
}

QString joined(const QString &base, const QString &rest)
{
    if (rest.isEmpty())
        return base;
    return base.endsWith(u'/') && rest.startsWith(u'/') ? base + rest.mid(1)
           : base.endsWith(u'/') || rest.startsWith(u'/') ? base + rest
                                                           : base + u'/' + rest;
}

int listMissing(const QString &dir)
{
    std::vector<ImageLink> links;
    const Status s = readLinks(dir, links);
    if (!s.isOk())
        return fail(s.code() == Status::Code::NotFound ? QStringLiteral("%1 : fichier absent").arg(s.message())
                                                       : s.message());
    // Grouped by folder, the folders in the order their first recipe comes.
    std::vector<QString> folders;
    std::map<QString, std::vector<const ImageLink *>> byFolder;
    for (const ImageLink &l : links) {
        if (opens(l.path))
            continue;
        const QString folder = folderOf(l.path);
        if (!byFolder.count(folder))
            folders.push_back(folder);
        byFolder[folder].push_back(&l);
    }
    int missing = 0;
    for (const QString &folder : folders) {
        const auto &in = byFolder[folder];
        say(QStringLiteral("Dossier %1 : %2 image(s)").arg(folder.isEmpty() ? QStringLiteral("(aucun)") : folder).arg(in.size()));
        for (const ImageLink *l : in)
            say(QStringLiteral("  enregistrement %1 : « %2 » : %3").arg(l->record).arg(l->title, l->path));
        missing += int(in.size());
    }
    if (missing == 0) {
        say(QStringLiteral("Les %1 image(s) du livre s'ouvrent toutes.").arg(links.size()));
        return kAllWell;
    }
    say(QStringLiteral("%1 image(s) sur %2 ne s'ouvrent pas.").arg(missing).arg(links.size()));
    return kSomethingWrong;
}

// NOUVEAU as a full path of this system, "~" read as the home folder (a quoted "~" reaches
// the tool as it is); empty when it names no folder.
QString newBase(const QString &newStart)
{
    QString path = newStart;
    if (path == u"~" || path.startsWith(u"~/"))
        path = QDir::homePath() + path.mid(1);
    const QFileInfo folder(path);
    return folder.isDir() ? QDir::cleanPath(folder.absoluteFilePath()) : QString();
}

int replaceStart(const QString &dir, const QString &oldStart, const QString &newStart)
{
    // The new start is a full path of this system: a relative one would name no file once
    // the program runs from its own folder.
    const QString base = newBase(newStart);
    const QStringList unstorable = cp1252::unstorable(base.isEmpty() ? newStart : base);
    if (!unstorable.isEmpty())
        return fail(QStringLiteral("« %1 » contient des caractères que le livre ne peut pas garder (hors du jeu "
                                   "Windows-1252) : %2 ; aucun chemin n'est changé.")
                        .arg(visibleText(newStart), unstorable.join(u' ')));
    if (base.isEmpty())
        return fail(QStringLiteral("« %1 » n'est pas un dossier existant : aucun chemin n'est changé.").arg(newStart));

    InstanceLock lock;
    if (!lockForChanges(lock, dir, QStringLiteral("aucun chemin n'est changé")))
        return kSomethingWrong;
    std::vector<ImageLink> links;
    Status s = readLinks(dir, links);
    if (!s.isOk())
        return fail(s.message());
    // Each path is rewritten to the file that is there under the new start, found as Windows
    // found it; one that finds none keeps its link unchanged, rather than a link the program
    // would take for a vanished image.
    std::vector<ImageLink> changes;
    std::vector<const ImageLink *> kept;
    for (const ImageLink &l : links) {
        const std::optional<QString> rest = restAfter(l.path, oldStart);
        if (!rest)
            continue;
        const QString file = fileOf(joined(base, *rest));
        if (file.isEmpty())
            kept.push_back(&l);
        else if (file != l.path)
            changes.push_back({l.record, l.title, file});
    }
    if (changes.empty() && kept.empty()) {
        say(QStringLiteral("Aucun chemin d'image ne commence par « %1 » : rien n'est changé.").arg(oldStart));
        return kSomethingWrong;
    }
    for (const ImageLink *l : kept)
        say(QStringLiteral("Laissé tel quel (aucun fichier sous %1) : enregistrement %2 : « %3 » : %4")
                .arg(base)
                .arg(l->record)
                .arg(l->title, l->path));
    const QString left = QStringLiteral("%1 chemin(s) laissé(s) tel(s) quel(s), car aucun fichier ne leur correspond "
                                        "sous %2 (voir la liste ci-dessus).")
                             .arg(kept.size())
                             .arg(base);
    if (changes.empty()) {
        say(QStringLiteral("Aucun chemin d'image n'est changé ; ") + left);
        return kSomethingWrong;
    }

    ConsoleSystem platform;
    Module1 m(platform);
    const Status opened = m.openBook(dir);
    if (!opened.isOk())
        return fail(QStringLiteral("le livre ne s'ouvre pas (%1) : aucun chemin n'est changé.").arg(opened.message()));
    const StopRequest stop;
    if (!takeBackup(dir))
        return fail(QStringLiteral("aucun chemin n'est changé."));

    int changed = 0;
    for (const ImageLink &c : changes) {
        if (stop.requested())
            break;
        s = bookedits::changeImagePath(m, c.record, c.path);
        if (!s.isOk())
            break;
        ++changed;
        say(QStringLiteral("Changé : enregistrement %1 : « %2 » : %3").arg(c.record).arg(c.title, c.path));
    }
    QString counts = QStringLiteral("%1 chemin(s) d'image changé(s), vers des images qui s'ouvrent.").arg(changed);
    if (!kept.empty())
        counts += u' ' + left;
    if (!s.isOk())
        return fail(QStringLiteral("changement arrêté : %1 ; %2").arg(s.message(), counts));
    if (changed < int(changes.size()))
        return fail(QStringLiteral("changement interrompu : %1").arg(counts));
    say(counts);
    return kept.empty() ? kAllWell : kSomethingWrong;
}

} // namespace

int images(const QString &dir, const QString &oldStart, const QString &newStart)
{
    if (!QDir(dir).exists())
        return fail(QStringLiteral("le dossier %1 n'existe pas").arg(dir));
    return oldStart.isEmpty() ? listMissing(dir) : replaceStart(dir, oldStart, newStart);
}

} // namespace gratinel::booktool
