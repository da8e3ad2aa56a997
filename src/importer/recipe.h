// A recipe as the importer hands it over: ready for the book, with what was changed on the way.
#pragma once

#include "store/spelling.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace gratinel::importer {

// One line of a recipe's ingredients: an ingredient, or a sub-heading ("Pâte") over the lines
// that follow it.
struct IngredientLine {
    QString text;
    bool heading = false;
};

// The fields of a recipe as its source gives them, before layout.
struct RecipeFields {
    struct Step {
        QString section; // a heading before this step, or empty
        QString text;
    };
    QString name;
    QStringList categories;
    QString yield;
    QString prepTime; // ISO 8601 durations, as "PT1H15M"
    QString cookTime;
    QString totalTime;
    std::vector<IngredientLine> ingredients;
    std::vector<Step> steps;
    QString image; // address of the photo, as the source gives it
    QString url;   // the recipe's own address, when the source gives one
    // Remarks for the report, in French, as "sans balisage de recette : à relire".
    QStringList remarks;
};

struct Recipe {
    QString title; // at most kMaxTitleChars, Windows-1252 only
    QStringList categories;
    QString text; // lines separated by '\n', at most kMaxTextBytes once stored with CRLF
    QString imageUrl;
    QString source; // address or file name, the text's last line
    spelling::Changes changes;
    bool shortened = false; // the text was cut to fit
    // What the import says about the recipe besides changes and shortening, each a French
    // phrase starting in lower case: "sans balisage de recette : à relire", "durée illisible
    // laissée de côté : « 20 mn env. »".
    QStringList remarks;
};

enum class Format { Unknown, BookText, Html, Json, MealMaster };

struct ParseResult {
    Format format = Format::Unknown;
    std::vector<Recipe> recipes;
    int recipesFound = 0; // may pass recipes.size() when the source holds more than kMaxRecipes
    QStringList refused;  // recipes the book cannot hold, each "« NAME » : reason"
};

} // namespace gratinel::importer
