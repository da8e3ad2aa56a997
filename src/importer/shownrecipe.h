// The recipe a page shows to its readers, for pages whose recipe has no schema.org markup or
// lacks part of it: the lists under headings such as « Ingrédients » and « Préparation », or
// in the markup of the common recipe plug-ins.
#pragma once

#include "importer/recipe.h"

#include <QString>
#include <QStringList>

#include <vector>

struct GumboInternalNode;

namespace gratinel::importer {

struct ShownRecipe {
    QString title;                           // the recipe plug-in's title, first <h1> or og:title, without the site's name
    QString image;                           // og:image
    std::vector<IngredientLine> ingredients;
    std::vector<RecipeFields::Step> steps;   // the section is a sub-heading under the steps heading
    QStringList mealMaster;                  // texts of <pre> blocks that hold Meal-Master recipes

    // The ingredient lines, sub-headings not counted.
    int ingredientCount() const;
    // A recipe only when the page shows an ingredients heading followed by at least two
    // items and a steps heading followed by a list or paragraphs.
    bool isRecipe() const { return ingredientCount() >= 2 && !steps.empty(); }
};

// Reads the page under root (a libgumbo document). Navigation, forms, asides, footers and
// comment sections are not read. Headings are recognised in French, English, German, Dutch,
// Italian, Spanish, Portuguese, the Nordic languages and a few more; a heading names the
// ingredients only alone or followed by the people or dish it is for ("Ingrédients pour 4
// personnes", never "Ingrédients de qualité").
ShownRecipe readShownRecipe(const GumboInternalNode *root);

} // namespace gratinel::importer
