// Writes a whole new book (the four data files) from families and recipes held in memory.
#pragma once

#include "store/records.h"
#include "store/status.h"

#include <QByteArray>
#include <QString>

#include <limits>
#include <optional>
#include <vector>

namespace gratinel {

class BookBuilder {
public:
    // Adds a family record and returns its record number (2 for the first one).
    qint32 addFamily(const QString &name, qint16 state = kInUse);
    // Adds a recipe record of the family with that record number and returns its record
    // number. An empty text or image path is stored as none.
    qint32 addRecipe(qint32 familyRecord, const QString &title, const QString &text = {},
                     const QString &imagePath = {}, qint16 state = kInUse);
    // The same with the text and path as they are stored, every byte kept as it comes.
    qint32 addStoredRecipe(qint32 familyRecord, const QString &title, const QByteArray &text,
                           const QByteArray &imagePath, qint16 state = kInUse);

    // Whether every text and image path lies within the positions a record can hold
    // (GRTN3.DAT and GRTN4.DAT of at most 2 GB); the records are wrong, and never to be
    // written, when it does not.
    static constexpr qint64 kMaxStreamBytes = std::numeric_limits<qint32>::max();
    bool streamsFit(qint64 maxBytes = kMaxStreamBytes) const;

    // The counts written in the headers; by default the number of in-use records.
    void setFamilyCount(qint16 count) { familyCount_ = count; }
    void setRecipeCount(qint16 count) { recipeCount_ = count; }
    // The bytes after the count in each header record (128 and 148 bytes); spaces by default.
    void setHeaderFiller(const QByteArray &family, const QByteArray &recipe);

    int familyRecords() const { return int(families_.size()); }
    int recipeRecords() const { return int(recipes_.size()); }
    int inUseFamilies() const;
    int inUseRecipes() const;

    // Writes GRTN1.DAT to GRTN4.DAT into dir, replacing files of those names. Refused with
    // Full, nothing written, when a count left to its default would not fit in the header.
    Status writeTo(const QString &dir) const;

private:
    std::vector<FamilyRecord> families_;
    std::vector<RecipeRecord> recipes_;
    QByteArray texts_;
    QByteArray images_;
    std::optional<qint16> familyCount_;
    std::optional<qint16> recipeCount_;
    QByteArray familyFiller_ = QByteArray(FamilyRecord::kSize - 2, ' ');
    QByteArray recipeFiller_ = QByteArray(RecipeRecord::kSize - 2, ' ');
};

} // namespace gratinel
