// Adding the families and recipes of a book source to an open book, with the add page's checks.
#pragma once

#include "store/booksource.h"
#include "store/status.h"

#include <QStringList>

#include <functional>

namespace gratinel {

class Module1;

namespace bookimport {

// The longest recipe text the book takes, in stored bytes (line ends counted as two).
constexpr int kMaxTextBytes = 30000;

struct Result {
    int familiesAdded = 0;
    int recipesAdded = 0;
    int recipesSkipped = 0;
    // One line per family or recipe not added: "ligne N : why".
    QStringList skipped;
    // One line per recipe added: "ligne N : recette « title » ajoutée à « family »".
    QStringList added;
    // Stopped on request before the end of the source.
    bool interrupted = false;
};

// Adds every family and recipe of source to the book open in m, each through bookedits, so
// in the same write order and with the same syncs as the add page. A family whose name is
// already in the book (compared in upper case) gets the recipes; a recipe that cannot be
// added (a problem in its lines, a title its family already holds, compared in upper case,
// a text over kMaxTextBytes, a full count or file) is skipped, and the next one is tried.
// Only a failed read or write stops the import; its Status is the answer. stop, when given, is
// asked before each family and recipe; true ends the import there (result.interrupted).
Status importSource(Module1 &m, const booksource::Source &source, Result &result,
                    const std::function<bool()> &stop = {});

} // namespace bookimport
} // namespace gratinel
