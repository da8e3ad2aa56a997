// Small Windows metafiles (WMF and EMF) written byte by byte, for the image tests.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QRect>
#include <QSize>

namespace gratinel::metafilebuilder {

// A placeable WMF of `size` pixels at 96 dots per inch (logical units of 1/1440 inch),
// white, with `box` (in pixels) filled in `fill` without outline.
QByteArray wmfWithRectangle(QSize size, QRect box, QColor fill);
// The same drawing with the box given as a four-point polygon.
QByteArray wmfWithPolygon(QSize size, QRect box, QColor fill);
// An EMF whose frame is `size` pixels at 96 dots per inch, logical units in pixels,
// with `box` filled in `fill` without outline.
QByteArray emfWithRectangle(QSize size, QRect box, QColor fill);

} // namespace gratinel::metafilebuilder
