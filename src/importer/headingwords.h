// What a heading or a class name of a page says it is above: ingredients, steps, or the end
// of a recipe.
#pragma once

#include <QString>

namespace gratinel::importer {

enum class HeadingRole { None, Ingredients, Steps, End };

// What a heading's text names. loose: a real heading (<h2>, ...), that may say more after its
// word ("Ingrédients pour 4 personnes", "Préparation de la pâte"; never "Ingrédients de
// qualité" nor a time such as "Préparation : 15 min"), and may name the end of a recipe
// ("Notes", "Commentaires"); otherwise a label in a paragraph, that must be the word alone.
// Words in French, English, German, Dutch, Italian, Spanish, Portuguese, the Nordic languages,
// Polish, Czech, Hungarian, Turkish, Romanian and Croatian.
HeadingRole headingRole(const QString &text, bool loose);

// The role of the first class or id token that marks a recipe plug-in's list of ingredients or
// steps ("wprm-recipe-ingredients-container", "tasty-recipes-instructions",
// "mv-create-ingredients", "zlrecipe-instructions-list", "recipe-card-directions").
HeadingRole containerRole(const QString &classes);

// True when a class token marks a recipe plug-in's title ("wprm-recipe-name", "tasty-recipes-title").
bool isPluginTitle(const QString &classes);

} // namespace gratinel::importer
