// The recipes a page shows to its readers, for pages whose recipes have no schema.org markup
// or lack part of it: the lists under headings such as « Ingrédients » and « Préparation »,
// or in the markup of the common recipe plug-ins.
#pragma once

#include "importer/recipe.h"

#include <QString>
#include <QStringList>

#include <vector>

struct GumboInternalNode;

namespace gratinel::importer {

struct ShownRecipe {
    QString title;                           // its own name (see showntitle.h)
    QString image;                           // og:image, for the page's first recipe
    QString yield;                           // "Pour 6 personnes", when said above or below the list
    std::vector<IngredientLine> ingredients;
    std::vector<RecipeFields::Step> steps;   // the section is a sub-heading under the steps heading

    // The ingredient lines, sub-headings not counted.
    int ingredientCount() const;
};

struct ShownPage {
    // Every recipe the page shows, in page order: ingredients that read as ingredients and
    // steps that read as steps, each once (a list shown twice gives one recipe).
    std::vector<ShownRecipe> recipes;
    // The first ingredients and steps the page shows, whether they read as a recipe or not:
    // what a marked recipe that lacks them may take.
    ShownRecipe parts;
    QStringList mealMaster; // texts of <pre> blocks that hold Meal-Master recipes
};

// Reads the page under root (a libgumbo document), in work linear in its size. Headings are
// recognised in French, English, German, Dutch, Italian, Spanish, Portuguese, Polish, the
// Nordic languages, Czech, Hungarian, Turkish and a few more. A shop's product page (og:type)
// shows no recipe.
ShownPage readShownPage(const GumboInternalNode *root);

} // namespace gratinel::importer
