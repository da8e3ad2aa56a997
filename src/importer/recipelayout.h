// The recipe text laid out in French from the fields of any source.
#pragma once

#include "importer/recipe.h"

namespace gratinel::importer {

// A duration as durationMinutes reads it ("PT1H15M", "P1DT2H", "PT90M", "20 minutes") in
// French ("1 h 15 min", "2 j 2 h", "1 h 30 min"); empty when it cannot be read or lasts nothing.
QString frenchDuration(const QString &iso);

// The recipe for the book: the title trimmed (spaces collapsed) to kMaxTitleChars, the text
// as "Pour 4 personnes", "Préparation : 15 min – Cuisson : 30 min", an empty line,
// "Ingrédients :" and "- " lines, an empty line, "Préparation :" and numbered steps (a
// section's name as a sub-heading), an empty line and "Source : " + source last. Characters
// outside Windows-1252 take their spelling from the replacement table; a text over
// kMaxTextBytes loses its last steps (the source line stays) and is marked shortened. A time
// that cannot be read is left out and named in the remarks, after the fields' own remarks.
Recipe layoutRecipe(const RecipeFields &fields, const QString &source);

} // namespace gratinel::importer
