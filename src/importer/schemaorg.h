// schema.org Recipe objects in JSON-LD, and their fields.
#pragma once

#include "importer/recipe.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QStringList>

#include <vector>

namespace gratinel::importer {

// Adds to out every object of value whose "@type" is Recipe (a string or a list, with or
// without the schema.org prefix): at the top, in an array, in "@graph" or under any key
// (a page's "mainEntity"), up to kMaxDepth levels and kMaxRecipes objects. found counts them
// all, those past kMaxRecipes too.
void collectRecipes(const QJsonValue &value, std::vector<QJsonObject> &out, int &found);

// What a page's schema.org data says it shows besides recipes: products and offers (by name),
// a list of recipes or pages, a collection page.
struct NonRecipes {
    QStringList products;
    bool list = false;
};
// Adds what value names at the top, in a list, in "@graph" or as "mainEntity".
void describedNonRecipes(const QJsonValue &value, NonRecipes &out, int depth = 0);

// The fields of a Recipe object: text fields with character references decoded and tags
// removed, instructions as a text, a list of texts, HowToStep or HowToSection objects.
RecipeFields fieldsOf(const QJsonObject &recipe);

} // namespace gratinel::importer
