// One way from a source (a file or an http(s) link) to recipes for the book, with their family
// and photo: the book tool's import and the drop on the add page both take it. No window.
#pragma once

#include "importer/limits.h"
#include "importer/recipe.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>
#include <vector>

namespace gratinel::importer {

class PageReader;

// The family of recipes that name none the book has.
QString importedFamily();

// The family a recipe goes to: forced when given, else the first category that names a
// family of the book (upper case of its stored form, as the add page compares), else
// importedFamily().
QString chooseFamily(const QStringList &categories, const QStringList &bookFamilies, const QString &forced);

struct SourceOptions {
    QString bookDir;          // photos are stored in bookDir/images/
    QString family;           // every recipe into it when given; refused when the book cannot hold it
    QStringList bookFamilies; // the families of the book, as stored
    // Recipes taken further (family, photo) in source order; the others are only counted.
    int maxRecipes = kMaxRecipes;
    // false: each recipe's photo address is given and nothing is fetched (the caller fetches
    // it with fetchPhoto when the recipe is really added).
    bool fetchPhotos = true;
    // true: a saved page that gives its own full address has its photo fetched too (the drop,
    // where the cook sees the address); otherwise only a link's photos are (the tool, whose
    // saved pages are read without going to the network).
    bool photosOfSavedPages = false;
    // false: a text of ours is said to hold no recipe instead of being handed over.
    bool bookText = true;
    int timeoutMs = kFetchTimeoutMs;
    // Time the fetches of all the photos of one source may take together.
    int photoTimeMs = kPhotoTimePerSourceMs;
    // The reader process that reads the source's bytes, kept from one source to the next;
    // readSource starts one of its own when none is given.
    PageReader *reader = nullptr;
    // Asked while a link is fetched or a source read, and before each fetch of a photo: true
    // ends the read (stopped) and leaves the remaining recipes without photo. Called from the
    // thread that reads.
    std::function<bool()> stop;
};

struct SourceRecipe {
    Recipe recipe;
    QString family;
    QUrl photoUrl;        // the photo's address, empty when there is none to fetch
    QUrl photoPage;       // the link that gave it (for the private-host rule of fetchPhoto), empty for a file
    QString imagePath;    // the stored photo, when fetched and stored
    QString photoProblem; // why a photo fetched could not be stored
};

struct SourceRead {
    Format format = Format::Unknown;
    // Why the source gives nothing, as a sentence naming it; empty when it was read.
    QString failure;
    QString bookText; // a text of ours, decoded, for the book's own reader
    std::vector<SourceRecipe> recipes;
    int recipesFound = 0;  // may pass recipes.size()
    QStringList refused;   // recipes the book cannot hold, each "« NAME » : reason"
    QStringList notes;     // what the reader of the source must know (the photo caps)
    bool stopped = false;  // options.stop said so (failure is then empty)
};

// Reads source: a file (not a folder, readable, at most kMaxSourceBytes) or an http(s) link
// (fetched within options.timeoutMs); finds its recipes through the reader process; chooses
// each one's family; fetches and stores each photo (one fetch per address, at most
// kMaxPhotosPerSource photos, kMaxPhotoBytesPerSource bytes received and options.photoTimeMs
// for them all). The caller owns the stored photos: a recipe not added must have its imagePath
// removed.
SourceRead readSource(const QString &source, const SourceOptions &options);

// Fetches url (an address taken from the content of page) and stores it as a JPEG in
// bookDir/images/, its name made from title: the stored path, or no value with the reason.
std::optional<QString> fetchPhoto(const QUrl &url, const QUrl &page, const QString &bookDir, const QString &title,
                                  QString &reason, int timeoutMs = kFetchTimeoutMs, qint64 maxBytes = kMaxSourceBytes);

} // namespace gratinel::importer
