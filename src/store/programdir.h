// Where the program runs from: the program directory as the book's paths use it, and the floppy rule.
#pragma once

#include <QString>

namespace gratinel {

// True for a Windows path: a drive letter ("C:...") or a network path ("\\server...").
bool isDrivePath(const QString &dir);

// The program directory from the directory of the executable. A Windows path is put in
// upper case (file names there ignore case) and ends in exactly one backslash; any other
// path keeps its case, as its file names are case-sensitive, and ends in one slash.
QString programDirFor(const QString &exeDir);

// True when the program directory lies on a floppy drive: drive letter A: or B:. Only
// drive-letter paths can: "/..." and network paths never do.
bool isFloppyDir(const QString &programDir);

} // namespace gratinel
