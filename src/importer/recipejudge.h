// Whether what a page shows under its headings is a recipe: ingredient lines that read as
// ingredients and steps that read as sentences about cooking.
#pragma once

#include "importer/pagelines.h"
#include "importer/recipe.h"
#include "importer/sectionlines.h"

#include <vector>

namespace gratinel::importer {

// At least two lines, most of them with a quantity, a unit or a food (the sentences left out
// of the lines counting against them), one at least with a unit or a food: not a list of
// tools ("2 tyre levers"), of filters ("Chocolat (12)") or of sentences. Under headings that
// only say what is needed ("What you need"), most lines must name a food.
bool readAsIngredients(const IngredientsRead &ingredients);

// Most steps read as sentences, and one at least speaks of cooking (a cooking verb, a
// temperature, a duration, a food, or a word of the ingredients): not the instructions of a
// shopping list nor an index's filters ("Moins de 15 min").
bool readAsSteps(const std::vector<RecipeFields::Step> &steps, const std::vector<IngredientLine> &ingredients);

// A page that shows no recipe whatever its headings say: a shop's product (og:type), a
// shopping list ("Ma liste de courses").
bool pageIsNoRecipe(const PageLines &page);

} // namespace gratinel::importer
