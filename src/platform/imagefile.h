// Reading a recipe's image file into an image, whatever its viewable type.
#pragma once

#include <QImage>
#include <QString>

namespace gratinel {

// The image in the file at path, at its own size: Windows metafiles (WMF, EMF) through
// Metafile, every other type through Qt's image readers (GIF, JPEG, BMP, ICO...), each
// recognised by its content. A null image when the file is missing, unreadable, of an
// unknown type or damaged.
QImage loadImageFile(const QString &path);

} // namespace gratinel
