// French for the whole program, Qt's own dialogs and menus included.
#pragma once

class QApplication;

namespace gratinel {

// Makes French the default locale and loads Qt's French translation; returns false
// when the translation file could not be found (the program still runs).
bool installFrenchTranslations(QApplication &app);

} // namespace gratinel
