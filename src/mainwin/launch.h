// Creating, loading and showing the main window at the end of start-up.
#pragma once

class QWidget;

namespace gratinel {

class Module1;

// Creates the main frame, loads it (which loads the recipe book) and shows it. Returns
// nullptr when the program was ended during the load.
QWidget *launchMainWindow(Module1 &m);

} // namespace gratinel
