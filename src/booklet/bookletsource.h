// The book as the booklet reads it: families and recipes in the lists' French order, each
// recipe's text and photo path read when its turn comes.
#pragma once

#include "store/bytestream.h"
#include "store/recordfile.h"
#include "store/records.h"
#include "store/status.h"

#include <QString>

#include <vector>

namespace gratinel {

struct BookletRecipe {
    QString title; // as the recipe list shows it
    qint32 record = 0;
};

struct BookletFamily {
    QString name; // as the family list shows it
    qint32 record = 0;
    std::vector<BookletRecipe> recipes; // in the recipe list's order
};

// Reads through files opened by the caller (the program's own, or the tool's read-only
// ones); nothing is ever written.
class BookletSource {
public:
    BookletSource(RecordFile<FamilyRecord> &families, RecordFile<RecipeRecord> &recipes, ByteStream &texts,
                  ByteStream &images, const QString &bookDir);

    // Every family in use, in the family list's order, without recipes: the scan stops at
    // the header's count of families in use, or at the last record.
    Status families(std::vector<BookletFamily> &out);
    // Fills the recipes of every family given, by one scan of the recipe file that stops at
    // the header's count of recipes in use; each family's recipes in French order.
    Status fillRecipes(std::vector<BookletFamily> &families);
    // The recipe's whole text ('\n' between lines) and its image path as stored; a range
    // that runs past its file gives what the file holds.
    Status readRecipe(qint32 record, QString &text, QString &imagePath);
    // Where the photo of a stored path is: a relative path is taken from the book's folder.
    QString photoFile(const QString &imagePath) const;

private:
    RecordFile<FamilyRecord> &familyFile_;
    RecordFile<RecipeRecord> &recipeFile_;
    ByteStream &textFile_;
    ByteStream &imageFile_;
    QString bookDir_;
};

} // namespace gratinel
