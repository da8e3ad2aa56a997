// The title of a recipe a page shows: its own name, without the site's name, a date or a
// category glued to it.
#pragma once

#include "importer/pagelines.h"

#include <QString>

#include <cstddef>

namespace gratinel::importer {

// The title of the page's recipe that starts at line recipeStart: a recipe plug-in's title;
// else the page's main heading (the last <h1> before the recipe that names no site), or the
// shorter of it and og:title when they agree, og:title when they do not; else og:title, the
// part of <title> that the page shows as a heading, or <title>, without the site's name.
QString pageRecipeTitle(const PageLines &page, std::size_t recipeStart);

// title without the site's name and a generic word after a separator ("Tarte | Chez Lou",
// "Pannenkoeken – Recept", "Lemon loaf recipe"): siteName when known, else the last part when
// short.
QString withoutSiteName(const QString &title, const QString &siteName);

// title without a date before or after it ("12 mars 2023", "2023-03-12", "March 12, 2023").
QString withoutDate(const QString &title);

} // namespace gratinel::importer
