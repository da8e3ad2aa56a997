// The main window's menu bar and toolbar, as tables: names, captions, shortcuts, tooltips.
#pragma once

#include <QKeySequence>
#include <QString>

#include <vector>

namespace gratinel {

struct MenuItemDef {
    int level;        // 0 for a menu of the bar, 1 for its items, 2 for a submenu's items
    const char *name; // object name of the item
    QString caption;  // "-" for a separator line
    QKeySequence shortcut;
    bool submenu;     // opens a submenu (its items follow it, one level deeper)
};

struct ToolButtonDef {
    QString key;      // empty for a separator
    QString toolTip;
    QString imageKey; // key in the image list
    int imageIndex;   // position in the image list when the image is given by position, else 0
};

const std::vector<MenuItemDef> &menuTable();
const std::vector<ToolButtonDef> &toolbarTable();

} // namespace gratinel
