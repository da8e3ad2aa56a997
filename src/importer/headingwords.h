// What a heading or a class name of a page says it is above: ingredients, steps, or another
// part of the page (notes, comments, equipment) after which a recipe's lists are over.
#pragma once

#include <QString>

namespace gratinel::importer {

enum class HeadingRole { None, Ingredients, Steps, End };

struct HeadingKind {
    HeadingRole role = HeadingRole::None;
    // What the heading says after its word, as written: "pour la pâte" of "Ingrédients pour
    // la pâte", "de la garniture" of "Préparation de la garniture"; empty when nothing.
    QString rest;
    // The rest names the people or the quantity ("pour 4 personnes", "(6 parts)"), not a part.
    bool restIsYield = false;
    // A numbered step ("Étape 2", "Step 3: the sauce").
    bool stepNumber = false;
    // Words that say what is needed without saying it is food ("What you need", "Il vous
    // faut", "Benodigdheden"): a how-to's tools may stand under them too.
    bool needsFood = false;
};

// What a heading's text names. loose: a real heading (<h2>, ...), that may say more after its
// word ("Ingrédients pour 4 personnes", "Préparation de la pâte"; never "Ingrédients de
// qualité", "Méthode de calcul", "Préparation de votre commande" nor a time such as
// "Préparation : 15 min"), and may name another part of the page ("Notes", "3 commentaires");
// otherwise a label in a paragraph, that must be the words alone. Words in French, English,
// German, Dutch, Italian, Spanish, Portuguese, Polish, the Nordic languages, Czech,
// Hungarian, Turkish, Romanian and Croatian, as recipe sites write them.
HeadingKind classifyHeading(const QString &text, bool loose);

inline HeadingRole headingRole(const QString &text, bool loose)
{
    return classifyHeading(text, loose).role;
}

// A heading that names a part of one recipe: "Pour la garniture", "For the frosting", "Für den
// Teig", "Garniture", "Glaçage". Under a heading of ingredients or steps of its rank, it is a
// sub-heading.
bool namesPart(const QString &heading);

// The role of the first class or id token that marks a recipe plug-in's list of ingredients or
// steps ("wprm-recipe-ingredients-container", "tasty-recipes-instructions",
// "mv-create-ingredients", "recipe__ingredients", "recipe-card-directions").
HeadingRole containerRole(const QString &classes);

// True when a class token marks a recipe plug-in's title ("wprm-recipe-name", "tasty-recipes-title").
bool isPluginTitle(const QString &classes);

} // namespace gratinel::importer
