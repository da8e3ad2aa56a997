// Meal-Master recipe files: "MMMMM" or "-----" headed blocks, several recipes per file.
#pragma once

#include "importer/recipe.h"

#include <QString>

#include <vector>

namespace gratinel::importer {

// True when text holds a Meal-Master header line ("MMMMM----- Recipe via Meal-Master" or
// "---------- Recipe via Meal-Master").
bool looksLikeMealMaster(const QString &text);

// The recipes of a Meal-Master text: title, categories, yield (or servings), ingredients
// in their columns (quantity, unit code, name; two columns side by side; "-" continuation
// lines; "-----NAME-----" sub-headings), then the directions, one step per paragraph.
// Up to kMaxRecipes are read; found counts them all.
std::vector<RecipeFields> readMealMaster(const QString &text, int &found);

} // namespace gratinel::importer
