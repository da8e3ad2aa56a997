// The changes a user makes to the book, written in their fixed order: text bytes, image path
// bytes, record, header. Every check that can refuse a change runs before the first byte is
// written, so that a refused change leaves the files as they were.
#pragma once

#include "store/status.h"

#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

namespace gratinel {

class Module1;

namespace bookedits {

// Appends a family in use and raises familyCount. Refused (Status::Full, with the message to
// show) when the book already holds 32767 families.
Status addFamily(Module1 &m, const QString &name, qint32 &record);

// Appends the recipe's text to GRTN3.DAT and its image path to GRTN4.DAT (each only when not
// empty), then the record, then raises recipeCount. The text is as a text box holds it, its
// lines separated by '\n'. Refused when the book holds 32767 recipes or a file would pass
// the signed 32-bit range.
Status addRecipe(Module1 &m, qint32 familyRecord, const QString &title, const QString &text,
                 const QString &imagePath, qint32 &record);

// Renames the family of that record in place.
Status changeFamily(Module1 &m, qint32 record, const QString &name);

// Rewrites the recipe held in m.recipeWork (read when it was shown) as record: new family,
// title, text and image path. Without a text the stored one stays as it is, byte for byte,
// and without an image path the stored link (a missing image's too). A text that is the
// stored one or its beginning is written over it in place, any other is appended (so that a
// change cut short never leaves the old text half overwritten); a non-empty image path is
// appended, an empty one removes the link. Refused (Status::Full, with the message to show)
// when GRTN3.DAT or GRTN4.DAT would pass the signed 32-bit range.
Status changeRecipe(Module1 &m, qint32 record, qint32 familyRecord, const QString &title,
                    const std::optional<QString> &text, const std::optional<QString> &imagePath);

// Gives the recipe of that record another image path, appended to GRTN4.DAT; every other
// byte of the record stays as it is. Refused (Status::Full) as changeRecipe is.
Status changeImagePath(Module1 &m, qint32 record, const QString &imagePath);

// Marks the recipe deleted and lowers recipeCount.
Status deleteRecipe(Module1 &m, qint32 record);

// Marks the listed recipes deleted (and lowers recipeCount by their number, when there are
// any), then the family, and lowers familyCount.
Status deleteFamily(Module1 &m, qint32 record, const std::vector<qint32> &listedRecipes);

} // namespace bookedits
} // namespace gratinel
