// The sources of an import read into book sources: texts of ours, pages, links, JSON and
// Meal-Master files, with what the import must say about each recipe.
#pragma once

#include "store/booksource.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

namespace gratinel::booktool {

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
    bool stopped = false;  // asked to stop while the sources were read
};

// Reads every source (a file or an http(s) address) with importer::readSource, in order; each
// recipe goes to the family importer::chooseFamily gives. The photos of pages are written to
// bookDir/images/. stop is asked between sources, while each is fetched and read, and before
// each photo.
ImportPlan readSources(const QStringList &sources, const QString &bookDir, const QString &family,
                       const QStringList &bookFamilies, const std::function<bool()> &stop = {});

// text with the characters outside Windows-1252 spelled from the replacement table; one
// note per recipe ("## " line) or family changed, "ligne N : ...".
QString spellBookText(const QString &text, QStringList &notes);

} // namespace gratinel::booktool
