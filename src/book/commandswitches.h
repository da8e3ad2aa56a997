// The main window's commands as the recipe book switches them: menu items by name, toolbar buttons by key.
#pragma once

#include <QString>

namespace gratinel {

class CommandSwitches {
public:
    virtual ~CommandSwitches() = default;
    virtual void setMenuEnabled(const QString &name, bool enabled) = 0;
    virtual void setButtonEnabled(const QString &key, bool enabled) = 0;
};

} // namespace gratinel
