// Handing a file or a web address to the program the desktop associates with it (xdg-open).
#pragma once

#include <QString>
#include <QStringList>

namespace gratinel {

// The MIME types whose associated program would open target: for a web address its
// scheme's handler (and, for http and https, the HTML viewer); for a file its type as the
// MIME database sees it, by name and content, then the types it derives from.
QStringList desktopTypesOf(const QString &target);

// True when the desktop names a program for one of types (xdg-mime query default), or,
// for a web address, when the system has a default browser.
bool desktopHasAssociation(const QString &target, const QStringList &types);

// Opens target as the desktop does, from workingDir. Returns 2 for a file that does not
// exist, 31 when no program is associated with it (nothing is started then), and 42
// once the desktop's opener has been started.
int desktopOpen(const QString &target, const QString &workingDir);

// True when the file's content (its magic numbers) and its name both give an image type in
// the MIME database. The desktop's opener chooses the program by name: a program or a
// script named like a picture is no image, and neither is a picture named "tarte.jar". An
// SVG picture is refused too: it may carry scripts, which a browser opening it would run.
bool isImageByContentAndName(const QString &path);

} // namespace gratinel
