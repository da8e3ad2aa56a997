// What the recipe book shows, as the print and send commands take it.
#pragma once

#include "store/recipesheet.h"

#include <QString>
#include <QStringList>

namespace gratinel {

class frmRecettes;

// The selected family and recipe as their lists show them, and the recipe's text box.
RecipeSheet shownRecipe(const frmRecettes &book);

// The printed blocks, in order: heading, family, recipe, and the text when there is one;
// each block after the first starts with a line break (crlf).
QStringList printBlocks(const QString &heading, const RecipeSheet &sheet, const QString &crlf);

} // namespace gratinel
