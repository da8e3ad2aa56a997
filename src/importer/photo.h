// A recipe's photo stored as a JPEG file in the book folder's images/ folder.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace gratinel::importer {

// The file name made from title: letters without accents and digits, the rest as '-', at
// most 48 characters, ".jpg"; "recette.jpg" for a title with none. Never taken from an address.
QString photoFileName(const QString &title);

// Writes bytes (a JPEG as it is; PNG, GIF, WebP and the other types Qt reads converted) as
// bookDir/images/NAME.jpg, NAME from the title, followed by "-2", "-3"... when the name is
// taken: never over an existing file. The native absolute path written, or no value with the
// reason (a folder whose path holds characters outside Windows-1252 is refused).
std::optional<QString> storePhoto(const QByteArray &bytes, const QString &bookDir, const QString &title,
                                  QString &reason);

} // namespace gratinel::importer
