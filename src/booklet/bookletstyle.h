// The booklet's page and type: paper, margins and the fonts of each kind of line, in points.
#pragma once

#include "booklet/charwidths.h"

#include <QColor>
#include <QString>

#include <memory>

class QPaintDevice;

namespace gratinel {

struct BookletStyle {
    // The fonts are of the printout's family (the application's font), measured on device.
    BookletStyle(bool a5, QPaintDevice *device);

    qreal pageWidth;
    qreal pageHeight;
    qreal left;   // text column, from the page's left edge
    qreal column; // its width
    qreal top;    // first line's top
    qreal bottom; // no text below
    qreal footerBaseline;
    qreal photoMaxHeight;

    QColor ink = QColor(0x1a, 0x1a, 0x1a);
    QColor accent = QColor(0x7a, 0x2e, 0x12); // chapter titles and rules
    QColor quiet = QColor(0x66, 0x66, 0x66);  // footers

    // Owned here, measured as they are used.
    std::unique_ptr<CharWidths> body;
    std::unique_ptr<CharWidths> bodyBold;
    std::unique_ptr<CharWidths> title;
    std::unique_ptr<CharWidths> chapter;
    std::unique_ptr<CharWidths> cover;
    std::unique_ptr<CharWidths> coverLine;
    std::unique_ptr<CharWidths> footer;
};

} // namespace gratinel
