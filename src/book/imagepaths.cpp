// Image paths: the file dialog, and the rules that refuse a path or warn it will not be shown.
#include "book/frmrecettes.h"

namespace gratinel {

void frmRecettes::txtImageAjouter_Change() {}

void frmRecettes::cmdImageAjouter_Click() {}

} // namespace gratinel
