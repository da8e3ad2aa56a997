// Finding the file an image path names, as the Windows program found it.
#pragma once

#include <QString>

namespace gratinel::pathlookup {

// Where the lookup of a path ended.
struct Found {
    QString file;             // the ordinary file the path names, as it is spelled on disk; empty when none
    bool folderThere = false; // the last folder of the path is there (readable), the file is not
};

// Looks a full path of this system up the way Windows resolved a path: "." and ".." taken
// from the path's text, and each name that is not found as written compared with the folder's
// entries with letter case ignored and its trailing spaces and dots dropped. A name written
// exactly is always preferred. A relative path, or a path of another system, finds nothing.
Found find(const QString &path);

} // namespace gratinel::pathlookup
