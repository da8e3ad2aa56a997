// The recipe sheet: the shown recipe as a plain text file for another program, and its heading line.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

namespace gratinel {

// What the recipe book shows: the family and recipe as their lists name them, and the
// text as its box holds it (lines separated by '\n' or by carriage return + line feed).
struct RecipeSheet {
    QString family;
    QString recipe;
    QString text;
};

// The first line of a sheet and of a printout: the program's title and the day's date,
// day and month without leading zeros: "Gratinel "Free" (Edition du 5/3/2024)".
QString sheetHeading(const QDate &date);

// The sheet's bytes, in Windows-1252, every line ended by carriage return + line feed.
QByteArray recipeSheetBytes(const QDate &date, const RecipeSheet &sheet);

// Replaces the file at path by the sheet (the old file is deleted first). Returns false
// when the file could not be written completely; what was written stays.
bool writeRecipeSheetFile(const QString &path, const QByteArray &bytes);

} // namespace gratinel
