// The recipe list's scan: two fields looked at in every record, the title decoded in few.
#include "book/familyscan.h"

#include "store/module1.h"

namespace gratinel {

Status scanFamilyRecipes(Module1 &m, qint32 family, FamilyRecipes &found)
{
    const qint16 wanted = m.recipeCount();
    qint32 last = 0;
    Status s = m.recipeFile.lastRecord(last);
    if (!s.isOk() || wanted <= 0)
        return s;
    return m.recipeFile.scanBytes(2, last, [&](qint32 n, const char *r) {
        if (RecipeRecord::stateIn(r) == kInUse) {
            ++found.inUse;
            if (RecipeRecord::familyRecordIn(r) == family)
                found.entries.push_back({RecipeRecord::titleTextIn(r), n});
        }
        return found.inUse != wanted;
    });
}

} // namespace gratinel
