// From a file or a link to recipes with their family and photo.
#include "importer/sourceimport.h"

#include "importer/importer.h"
#include "importer/pagefetcher.h"
#include "importer/photo.h"
#include "store/charactername.h"
#include "store/cp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace gratinel::importer {

namespace {

QString upperKey(const QString &name)
{
    return cp1252::storable(name.trimmed()).toUpper();
}

// The bytes of a file, up to one byte more than the importer takes, or the failure said.
std::optional<QByteArray> readFile(const QString &path, QString &failure)
{
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        failure = QStringLiteral("Le fichier %1 ne peut pas être lu.").arg(shown);
        return std::nullopt;
    }
    QByteArray bytes = file.read(kMaxSourceBytes + 1);
    if (bytes.size() > kMaxSourceBytes) {
        failure = QStringLiteral("Le fichier %1 dépasse %2 Mo.").arg(shown).arg(kMaxSourceBytes / (1024 * 1024));
        return std::nullopt;
    }
    return bytes;
}

// Fetches and stores the photo of each recipe: one fetch per address, and no more photos or
// bytes than a source may bring.
class PhotoFetches {
public:
    PhotoFetches(const SourceOptions &options, SourceRead &read) : options_(options), read_(read), fetcher_(options.timeoutMs) {}

    void store(SourceRecipe &r)
    {
        const QString key = r.photoUrl.toString();
        if (!fetched_.contains(key)) {
            if (photos_ >= kMaxPhotosPerSource || bytes_ >= kMaxPhotoBytesPerSource) {
                if (!capSaid_)
                    read_.notes << QStringLiteral("photos limitées à %1 (%2 Mo) par source, les recettes suivantes sont sans image")
                                       .arg(kMaxPhotosPerSource).arg(kMaxPhotoBytesPerSource / (1024 * 1024));
                capSaid_ = true;
                r.photoUrl.clear();
                return;
            }
            Fetched f = fetcher_.fetchFromPage(r.photoUrl, r.photoPage, std::min(kMaxSourceBytes, kMaxPhotoBytesPerSource - bytes_));
            ++photos_;
            bytes_ += f.body.size();
            fetched_.insert(key, std::move(f));
        }
        const Fetched &photo = fetched_[key];
        r.photoProblem = photo.reason;
        if (photo.ok())
            if (const std::optional<QString> path = storePhoto(photo.body, options_.bookDir, r.recipe.title, r.photoProblem))
                r.imagePath = *path;
    }

private:
    const SourceOptions &options_;
    SourceRead &read_;
    const PageFetcher fetcher_;
    QHash<QString, Fetched> fetched_;
    int photos_ = 0;
    qint64 bytes_ = 0;
    bool capSaid_ = false;
};

} // namespace

QString importedFamily()
{
    return QStringLiteral("Recettes importées");
}

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

SourceRead readSource(const QString &source, const SourceOptions &options)
{
    SourceRead read;
    if (!options.family.isEmpty()
        && (options.family.size() > kMaxTitleChars || !cp1252::canEncode(options.family))) {
        read.failure = QStringLiteral("Le livre ne peut pas garder le nom de famille « %1 ».").arg(visibleText(options.family));
        return read;
    }
    QByteArray content;
    QString address; // the page's final address, or the file's name
    QByteArray charset; // what the server said of the page's characters
    const bool link = isLink(source);
    if (link) {
        const Fetched page = PageFetcher(options.timeoutMs).fetch(QUrl(source.trimmed()));
        if (!page.ok()) {
            read.failure = pageError(source, page.reason);
            return read;
        }
        content = page.body;
        address = page.finalUrl.toString();
        charset = page.charset;
    } else if (const std::optional<QByteArray> bytes = readFile(source, read.failure)) {
        content = *bytes;
        address = QFileInfo(source).fileName();
    } else {
        return read;
    }

    QString problem;
    ParseResult parsed = parseSource(content, address, &problem, charset);
    read.format = parsed.format;
    if (parsed.format == Format::BookText && options.bookText) {
        read.bookText = decodeSource(content);
        return read;
    }
    if (!problem.isEmpty()) {
        read.failure = QStringLiteral("%1 n'a pas été lu : %2.").arg(source, problem);
        return read;
    }
    read.refused = parsed.refused;
    read.recipesFound = parsed.recipesFound;
    if (parsed.recipes.empty()) {
        read.failure = parsed.refused.isEmpty()
                           ? QStringLiteral("Aucune recette n'a été trouvée dans %1.").arg(source)
                           : QStringLiteral("Aucune recette de %1 ne peut aller dans le livre : %2.")
                                 .arg(source, parsed.refused.join(QStringLiteral(" ; ")));
        return read;
    }

    PhotoFetches photos(options, read);
    const size_t taken = std::min(parsed.recipes.size(), size_t(std::max(options.maxRecipes, 0)));
    for (size_t i = 0; i < taken; ++i) {
        SourceRecipe r;
        r.recipe = std::move(parsed.recipes[i]);
        r.family = chooseFamily(r.recipe.categories, options.bookFamilies, options.family);
        // The photo of a link, or of a saved page that gives its own full address; its address
        // may be relative to the page.
        if (!r.recipe.imageUrl.isEmpty() && (link || options.photosOfSavedPages)) {
            const QUrl page(link ? address : r.recipe.source);
            const QUrl photo = page.resolved(QUrl(r.recipe.imageUrl));
            if (isLink(page.toString()) && isLink(photo.toString())) {
                r.photoUrl = photo;
                r.photoPage = page;
            }
        }
        if (!r.photoUrl.isEmpty() && options.fetchPhotos) {
            if (options.stop && (read.stopped || options.stop()))
                read.stopped = true;
            else
                photos.store(r);
        }
        read.recipes.push_back(std::move(r));
    }
    return read;
}

std::optional<QString> fetchPhoto(const QUrl &url, const QUrl &page, const QString &bookDir, const QString &title,
                                  QString &reason, int timeoutMs, qint64 maxBytes)
{
    const Fetched photo = PageFetcher(timeoutMs).fetchFromPage(url, page, maxBytes);
    reason = photo.reason;
    if (!photo.ok())
        return std::nullopt;
    return storePhoto(photo.body, bookDir, title, reason);
}

} // namespace gratinel::importer
