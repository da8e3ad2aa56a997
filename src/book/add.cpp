// Adding a family or a recipe.
#include "book/frmrecettes.h"

namespace gratinel {

void frmRecettes::prepareAddPage() {}

void frmRecettes::Option1_Click(int) {}

void frmRecettes::cmdValideAjouter_Click() {}

void frmRecettes::cmdEffacerAjouter_Click() {}

void frmRecettes::cmdAideAjouter_Click() {}

} // namespace gratinel
