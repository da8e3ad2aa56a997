// Reading the sources of an import: files and links, every format the importer knows.
#include "importsources.h"

#include "importer/importer.h"
#include "importer/pagefetcher.h"
#include "importer/photo.h"
#include "store/cp1252.h"
#include "store/spelling.h"

#include <QFile>
#include <QFileInfo>

namespace gratinel::booktool {

namespace {

using importer::Format;

QString upperKey(const QString &name)
{
    return cp1252::storable(name.trimmed()).toUpper();
}

// The bytes of a file, up to one byte more than the importer takes.
bool readFile(const QString &path, QByteArray &bytes, QString &why)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        why = QStringLiteral("le fichier %1 ne peut pas être lu").arg(path);
        return false;
    }
    bytes = file.read(importer::kMaxSourceBytes + 1);
    if (bytes.size() > importer::kMaxSourceBytes) {
        why = QStringLiteral("le fichier %1 dépasse %2 Mo").arg(path).arg(importer::kMaxSourceBytes / (1024 * 1024));
        return false;
    }
    return true;
}

} // namespace

QString chooseFamily(const QStringList &categories, const QStringList &bookFamilies, const QString &forced)
{
    if (!forced.isEmpty())
        return forced;
    for (const QString &c : categories)
        for (const QString &f : bookFamilies)
            if (upperKey(c) == upperKey(f))
                return f;
    return importedFamily();
}

QString spellBookText(const QString &text, QStringList &notes)
{
    QStringList lines = text.split(u'\n');
    int owner = 0; // line of the "##" or "@@" that the changes belong to
    QString ownerName;
    spelling::Changes changes;
    const auto flush = [&] {
        if (!changes.isEmpty())
            notes << QStringLiteral("ligne %1 : « %2 » : %3").arg(owner).arg(ownerName, changes.describe());
        changes = {};
    };
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.startsWith(QLatin1String("## ")) || line.startsWith(QLatin1String("@@ "))) {
            flush();
            owner = i + 1;
            ownerName = line.mid(3).trimmed();
        }
        // An image path names a file: a replaced letter would name another one, so a path the
        // book cannot hold is refused with its recipe instead.
        if (line.startsWith(QLatin1String("!! ")) || line.startsWith(QLatin1String("!!\\ ")))
            continue;
        lines[i] = spelling::storableSpelling(line, &changes);
    }
    flush();
    return lines.join(u'\n');
}

ImportPlan readSources(const QStringList &sources, const QString &bookDir, const QString &family,
                       const QStringList &bookFamilies)
{
    ImportPlan plan;
    const importer::PageFetcher fetcher;
    int number = 0;
    for (const QString &source : sources) {
        QByteArray content;
        QString address = source;
        const bool link = importer::isLink(source);
        if (link) {
            const importer::Fetched page = fetcher.fetch(QUrl(source.trimmed()));
            if (!page.ok()) {
                plan.failures << importer::pageError(source, page.reason);
                continue;
            }
            content = page.body;
            address = page.finalUrl.toString();
        } else {
            QString why;
            if (!readFile(source, content, why)) {
                plan.failures << why;
                continue;
            }
            address = QFileInfo(source).fileName();
        }
        QString problem;
        const importer::ParseResult parsed = importer::parseSource(content, address, &problem);
        if (parsed.format == Format::BookText) {
            QStringList notes;
            booksource::Source text = booksource::parse(spellBookText(importer::decodeSource(content), notes));
            if (!family.isEmpty()) {
                // Every recipe into the one family: the first gathers them all.
                for (size_t f = 1; f < text.families.size(); ++f)
                    for (booksource::Recipe &r : text.families[f].recipes)
                        text.families[0].recipes.push_back(std::move(r));
                if (!text.families.empty()) {
                    text.families.resize(1);
                    text.families[0].name = family;
                    text.families[0].problem.clear();
                }
            }
            for (const QString &n : notes)
                plan.notes << (sources.size() == 1 ? n : source + QStringLiteral(", ") + n);
            plan.texts.push_back(std::move(text));
            plan.textNames << source;
            continue;
        }
        if (!problem.isEmpty()) {
            plan.failures << QStringLiteral("%1 n'a pas été lu : %2").arg(source, problem);
            continue;
        }
        for (const QString &why : parsed.refused)
            plan.failures << QStringLiteral("%1 : %2").arg(source, why);
        if (parsed.recipes.empty()) {
            if (parsed.refused.isEmpty())
                plan.failures << QStringLiteral("Aucune recette n'a été trouvée dans %1").arg(source);
            continue;
        }
        if (parsed.recipesFound > int(parsed.recipes.size()))
            plan.notes << QStringLiteral("%1 : %2 recettes trouvées, les %3 premières sont lues")
                              .arg(source).arg(parsed.recipesFound).arg(parsed.recipes.size());
        int index = 0;
        // Each photo address fetched once; at most so many photos and bytes for one source.
        QHash<QString, importer::Fetched> fetched;
        int photos = 0;
        qint64 photoBytes = 0;
        bool capSaid = false;
        for (const importer::Recipe &r : parsed.recipes) {
            ++number;
            ++index;
            const QString label = parsed.recipes.size() == 1 ? source : QStringLiteral("%1 (recette %2)").arg(source).arg(index);
            plan.labels.insert(number, label);
            if (!r.changes.isEmpty())
                plan.notes << QStringLiteral("%1 : « %2 » : %3").arg(label, r.title, r.changes.describe());
            for (const QString &remark : r.remarks)
                plan.notes << QStringLiteral("%1 : « %2 » : %3").arg(label, r.title, remark);
            if (r.shortened)
                plan.notes << QStringLiteral("%1 : « %2 » : texte raccourci à %3 octets").arg(label, r.title).arg(importer::kMaxTextBytes);
            booksource::Recipe recipe;
            recipe.line = number;
            recipe.title = r.title;
            recipe.text = r.text;
            if (link && !r.imageUrl.isEmpty()) {
                // The photo's address may be relative to the page.
                const QUrl photoUrl = QUrl(address).resolved(QUrl(r.imageUrl));
                const QString key = photoUrl.toString();
                if (!fetched.contains(key) && (photos >= importer::kMaxPhotosPerSource
                                               || photoBytes >= importer::kMaxPhotoBytesPerSource)) {
                    if (!capSaid)
                        plan.notes << QStringLiteral("%1 : photos limitées à %2 (%3 Mo) par source, les recettes suivantes sont sans image")
                                          .arg(source).arg(importer::kMaxPhotosPerSource)
                                          .arg(importer::kMaxPhotoBytesPerSource / (1024 * 1024));
                    capSaid = true;
                    fetched.insert(key, {});
                }
                if (!fetched.contains(key)) {
                    fetched.insert(key, fetcher.fetchFromPage(photoUrl, QUrl(address), std::min(importer::kMaxSourceBytes,
                                                                          importer::kMaxPhotoBytesPerSource - photoBytes)));
                    ++photos;
                    photoBytes += fetched.value(key).body.size();
                }
                const importer::Fetched photo = fetched.value(key);
                QString why = photo.reason;
                const bool pastCap = photo.body.isEmpty() && why.isEmpty(); // said once above
                if (photo.ok() && !pastCap) {
                    if (const std::optional<QString> path = importer::storePhoto(photo.body, bookDir, r.title, why)) {
                        recipe.imagePath = *path;
                        plan.photos.insert(number, *path);
                    }
                }
                if (recipe.imagePath.isEmpty() && !pastCap)
                    plan.notes << QStringLiteral("%1 : « %2 » : sans image, la photo %3 n'a pas pu être lue : %4")
                                      .arg(label, r.title, photoUrl.toString(), why);
            }
            const QString name = chooseFamily(r.categories, bookFamilies, family);
            auto it = std::find_if(plan.found.families.begin(), plan.found.families.end(),
                                   [&](const booksource::Family &f) { return upperKey(f.name) == upperKey(name); });
            if (it == plan.found.families.end()) {
                booksource::Family f;
                f.line = number;
                f.name = name;
                plan.found.families.push_back(f);
                it = plan.found.families.end() - 1;
            }
            it->recipes.push_back(std::move(recipe));
        }
    }
    return plan;
}

} // namespace gratinel::booktool
