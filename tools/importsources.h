// The sources of an import read into book sources: texts of ours, pages, links, JSON and
// Meal-Master files, with what the import must say about each recipe.
#pragma once

#include "store/booksource.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace gratinel::booktool {

// The family of recipes that name none the book has.
inline QString importedFamily() { return QStringLiteral("Recettes importées"); }

struct ImportPlan {
    // Our own texts, each imported on its own (their line numbers are theirs).
    std::vector<booksource::Source> texts;
    QStringList textNames;
    // The recipes of pages and files in one source, each recipe's line its number in
    // the whole import, with the label said in its report lines.
    booksource::Source found;
    QHash<int, QString> labels;
    // The photos written for them, by recipe number, removed again when the recipe is not added.
    QHash<int, QString> photos;
    QStringList notes;   // report lines: characters changed, photos missing, texts shortened
    QStringList failures; // sources not read or without recipe
};

// Reads every source (a file or an http(s) address), in order; each recipe goes to the family
// chooseFamily gives. The photos of linked pages are written to bookDir/images/.
ImportPlan readSources(const QStringList &sources, const QString &bookDir, const QString &family,
                       const QStringList &bookFamilies);

// The family a recipe goes to: forced when given, else the first category that names a
// family of the book (upper case of its stored form, as the add page compares), else
// "Recettes importées".
QString chooseFamily(const QStringList &categories, const QStringList &bookFamilies, const QString &forced);

// text with the characters outside Windows-1252 spelled from the replacement table; one
// note per recipe ("## " line) or family changed, "ligne N : ...".
QString spellBookText(const QString &text, QStringList &notes);

} // namespace gratinel::booktool
