// The rules that tell an image path from one that is not, and the image file dialog.
#pragma once

#include "platform/platform.h"

#include <QString>

#include <optional>

namespace gratinel::imagepaths {

// Messages the pages show (information icon) when a path is refused, with the beep, or
// when the program's own image window will not show the type, without.
inline const QString kNotAnImage = QStringLiteral("Ce fichier n'est pas un fichier image.");
inline const QString kNotViewable =
    QStringLiteral("Ce type de fichier ne sera pas affichable par le visualisateur interne d'images.");

// The part of path after its last '.', in upper case; the search covers the whole path,
// folders included, so "C:\Mes.Photos\tarte" gives "PHOTOS\TARTE". Empty for a path ending
// in '.'; no value for a path without any '.'.
std::optional<QString> imageExtension(const QString &path);

// True for the types that are certainly no image (programs, libraries, documents).
bool isRefusedExtension(const QString &extension);
// True for the types the program's own image window shows.
bool isViewableExtension(const QString &extension);

// Check made as soon as the add page's path changes: true when a non-empty path has no
// '.' or a refused type. A path ending in '.' passes here.
bool refusedOnChange(const QString &path);

enum class Verdict {
    Refused,     // no '.', ending in '.', or a refused type: nothing may be stored
    Viewable,    // stored silently
    NotViewable, // stored after the kNotViewable warning
};
// Check made when a non-empty path is validated, by the add and the modify pages.
Verdict checkOnValidation(const QString &path);

// Whether a recipe's image is there to be shown. A full path is looked up as Windows did
// (letter case, trailing spaces and dots, ".." on the text: store/pathlookup), the folder and
// the file on the same path.
enum class Presence {
    Present,     // an ordinary file is at that path; file (when given) gets its name on disk
    Gone,        // a full path of this system, its folder there and readable, and nothing of
                 // that name in it
    Unreachable, // anything else: the folder absent (a USB key not plugged in, a share not
                 // mounted), a path of another system (a drive letter) or of no folder
};
Presence imagePresence(const QString &path, QString *file = nullptr);

// The file dialog's set-up: title, the image filters with GIF first and preselected, the
// catch-all filter last, no start name.
Platform::OpenFileRequest dialogRequest();

// Runs the file dialog; the chosen file's full path, or no value when the user cancelled.
std::optional<QString> chooseImage(Platform &platform);

} // namespace gratinel::imagepaths
