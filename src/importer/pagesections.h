// Where a page shows its recipes: the sections under its ingredients and steps headings, and
// which sections make one recipe.
#pragma once

#include "importer/headingwords.h"
#include "importer/pagelines.h"

#include <cstddef>
#include <vector>

namespace gratinel::importer {

struct Section {
    HeadingRole role = HeadingRole::None;
    std::size_t heading = 0;  // the line of its heading, label or plug-in container
    std::size_t begin = 0;    // its lines: every block up to the next heading of its level or above
    std::size_t end = 0;
    int level = 0;            // 0 a plug-in's container, 1 to 6 <h1> to <h6>, 7 a label in a paragraph
    QString name;             // the heading's words after its role's ("pour la pâte"), when they name a part
    bool needsFood = false;   // the heading says what is needed, not that it is food ("What you need")
};

struct RecipeSections {
    std::vector<Section> ingredients;
    std::vector<Section> steps;
    // The line of the recipe's own title, between it and the recipe before: the last heading of
    // the highest rank that names no role and no site, else the last short line in bold.
    std::size_t title = SIZE_MAX;
    std::size_t first = 0;        // its first heading's line, and the end of its last section
    std::size_t last = 0;
};

// What a heading, a label or a container line names, with the level at which it stands, or
// no role.
struct LineRole {
    HeadingKind kind;
    int level = 0;
};
LineRole roleOf(const PageLine &line);

// The recipes of the page: sections grouped in page order. Ingredients after a recipe's steps
// start another recipe when a title heading stands between them ("Mojito" then "Spritz"; a
// forum's two posts), and are another part of the same recipe otherwise; headings of the same
// role under one recipe are its sub-headings.
std::vector<RecipeSections> findRecipeSections(const PageLines &page);

} // namespace gratinel::importer
