// The program's title, caption of the main window and of every message box.
#pragma once

#include <QString>

namespace gratinel {

inline QString appTitle()
{
    return QStringLiteral("Gratinel \"Free\"");
}

} // namespace gratinel
