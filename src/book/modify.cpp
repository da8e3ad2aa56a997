// Modifying: renaming a family, changing a recipe's family, title, text and image.
#include "book/frmrecettes.h"

namespace gratinel {

void frmRecettes::prepareModifyPage() {}

void frmRecettes::Option2_Click(int) {}

void frmRecettes::cmdValideModifier_Click() {}

void frmRecettes::cmdEffacerModifier_Click() {}

void frmRecettes::cmdAideModifier_Click() {}

void frmRecettes::cmdImageModifier_Click() {}

} // namespace gratinel
