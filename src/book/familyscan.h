// The recipes of one family, found by one scan of the recipe file, as the recipe list shows them.
#pragma once

#include "book/recordlistmodel.h"
#include "store/status.h"

#include <vector>

namespace gratinel {

class Module1;

struct FamilyRecipes {
    std::vector<ListEntry> entries; // title and record number of each recipe of the family
    int inUse = 0;                  // recipes in use met by the scan, whatever their family
};

// Scans from record 2 in file order until recipeCount recipes in use have been met, or to
// the last record when the count claims more than there are (then found.inUse is smaller
// than recipeCount). Only the records of the family are decoded.
Status scanFamilyRecipes(Module1 &m, qint32 family, FamilyRecipes &found);

} // namespace gratinel
