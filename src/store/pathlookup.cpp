// Path lookup with Windows' leniency: letter case, trailing spaces and dots, ".." on the text.
#include "store/pathlookup.h"

#include <QDir>
#include <QFileInfo>

namespace gratinel::pathlookup {

namespace {

// A name as Windows reads it: without its trailing spaces and dots.
QString windowsName(QString name)
{
    while (!name.isEmpty() && (name.endsWith(u' ') || name.endsWith(u'.')))
        name.chop(1);
    return name;
}

// The entry of folder that name designates: the name itself when there, else the one entry
// equal to it with case ignored and trailing spaces and dots dropped (the first in sorted
// order when several are). Empty when none.
QString entryFor(const QString &folder, const QString &name)
{
    if (QFileInfo::exists(QDir(folder).filePath(name)))
        return name;
    const QString wanted = windowsName(name);
    if (wanted.isEmpty())
        return {};
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &entry : entries) {
        if (windowsName(entry).compare(wanted, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}

} // namespace

Found find(const QString &path)
{
    Found found;
    if (path.isEmpty() || !QDir::isAbsolutePath(path))
        return found;
    const QString clean = QDir::cleanPath(path);
    if (QFileInfo(clean).isFile()) {
        found.file = clean;
        return found;
    }
    const QStringList names = clean.split(u'/', Qt::SkipEmptyParts);
    QString at; // the folder reached so far, "" for the root
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString folder = at.isEmpty() ? QStringLiteral("/") : at;
        if (i + 1 == names.size()) {
            const QFileInfo info(folder);
            found.folderThere = info.isDir() && info.isReadable() && info.isExecutable();
        }
        const QString entry = entryFor(folder, names[i]);
        if (entry.isEmpty())
            return found;
        at += u'/' + entry;
        if (i + 1 < names.size() && !QFileInfo(at).isDir())
            return found;
    }
    // The name is taken: by the file, or by something that is no file (a folder, a broken link).
    found.folderThere = false;
    if (QFileInfo(at).isFile())
        found.file = at;
    return found;
}

} // namespace gratinel::pathlookup
