// Reading the lines of a recipe's sections: its ingredient lines with their sub-headings and
// the yield said above them, its steps with their sections.
#pragma once

#include "importer/pagesections.h"
#include "importer/recipe.h"

#include <vector>

namespace gratinel::importer {

struct IngredientsRead {
    std::vector<IngredientLine> lines;
    QString yield;      // "Pour 6 personnes", said above or below the list
    int sentences = 0;  // lines left out because they are sentences (an introduction, a tip)
    bool needsFood = false; // under headings that do not say they are food ("What you need")
    // What follows the last list and reads as steps: a numbered list, sentences. The steps of a
    // recipe that gives them no heading of their own.
    std::vector<RecipeFields::Step> tail;
};

// Every block of the sections: list items, table rows (column headings left out), lines of
// paragraphs; lines in bold, ending with a colon or holding a list become sub-headings
// ("Pour la pâte"), and so do the sections' own headings when there are several. A paragraph
// beside a list is kept only when it starts with a quantity. The blogger's closing words end
// the lines.
IngredientsRead readIngredients(const PageLines &page, const std::vector<Section> &sections);

// Every block of the sections, the paragraph before a list included; sub-headings and the
// sections' headings (when there are several) name the steps that follow. Step numbers alone,
// times, links and the blogger's closing words are no steps; the closing words end them.
std::vector<RecipeFields::Step> readSteps(const PageLines &page, const std::vector<Section> &sections);

// A line without its bullet or number ("- ", "• ", "1. ", "2) ", "Étape 3 : ").
QString withoutBullet(const QString &line);

} // namespace gratinel::importer
