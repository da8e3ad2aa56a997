// The checks of a book's four files, and the repairs of what the program itself would fix or
// would refuse to open.
#pragma once

#include "store/status.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <vector>

namespace gratinel::bookcheck {

// What repair does about a finding.
struct Fix {
    enum class Kind {
        None,        // reported and left alone
        CutFile,     // the file is cut to value bytes
        FamilyCount, // familyCount becomes value
        RecipeCount, // recipeCount becomes value
        ClearText,   // the text range of recipe record becomes 0, 0
        ShortenText, // the text of the finding's record keeps its first value bytes, those
                     // still in the file
        ClearImage,  // the image range of recipe record becomes 0, 0
    };
    Kind kind = Kind::None;
    qint64 value = 0;
};

struct Finding {
    bool error = true; // or a warning
    QString file;      // "GRTN2.DAT"
    qint32 record = 0; // 0 when the finding is about the whole file
    QString text;
    Fix fix;

    // "GRTN2.DAT, enregistrement 57 : text"
    QString describe() const;
};

struct Report {
    std::vector<Finding> findings;
    int families = 0; // in use
    int recipes = 0;

    int errors() const;
    int warnings() const;
    int fixable() const;
};

// Reads the four files of the folder dir and reports every problem, file by file and record by
// record. Nothing is written.
Report check(const QString &dir);

// Applies the fixes of report, which check made on the same files (the caller holds the folder
// lock in between), and says what was done, one line each.
Status repair(const QString &dir, const Report &report, QStringList &done);

} // namespace gratinel::bookcheck
