// How the lines of a recipe read: quantities, units, foods and cooking, and the lines around a
// recipe that are none of its own (a yield, a time, the blogger's closing words).
#pragma once

#include <QString>

namespace gratinel::importer {

// Starts with a quantity: a number, a fraction, or a number word ("2", "½", "1/2", "une",
// "two", "zwei", "dos").
bool startsWithQuantity(const QString &line);

// Names a unit of the kitchen after a number or alone ("200 g", "2 c. à soupe", "1 cup",
// "3 EL", "1 pizca", "2 łyżki").
bool hasUnit(const QString &line);

// Names a food ("sel", "farine", "Butter", "tomates", "aceite"), in the languages of the book.
bool hasFoodWord(const QString &line);

// Reads as a line of ingredients: short, with a quantity, a unit or a food, not a sentence
// nor a filter of an index ("Chocolat (12)").
bool readsAsIngredient(const QString &line);

// Speaks of cooking: a cooking verb, a temperature or a duration.
bool speaksOfCooking(const QString &line);

// A sentence: ends as one, or is long.
bool isSentence(const QString &line);

// "Pour 6 personnes", "Serves 4", "Für 12 Stück", "Rende 12 fatias": whom the recipe feeds.
bool isYieldLine(const QString &line);

// "Temps de cuisson : 20 min", "Prep time: 15 minutes": a time, not a step.
bool isTimeLine(const QString &line);

// What a blogger writes after a recipe: "Bon appétit !", "Si vous avez aimé cette recette,
// partagez-la", "Let me know in the comments".
bool isChatter(const QString &line);

// The words of a text, lower case, that may name its foods (four letters or more).
QStringList foodCandidates(const QString &line);

} // namespace gratinel::importer
