// Deleting a family with its recipes, or a recipe.
#include "book/frmrecettes.h"

namespace gratinel {

void frmRecettes::prepareDeletePage() {}

void frmRecettes::Option3_Click(int) {}

void frmRecettes::cmdSupprimer_Click() {}

void frmRecettes::cmdAideSupprimer_Click() {}

} // namespace gratinel
