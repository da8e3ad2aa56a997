// Character advances of a booklet font, measured once each.
#include "booklet/charwidths.h"

#include <QPaintDevice>

namespace gratinel {

namespace {

QFont unshaped(QFont font)
{
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setKerning(false);
    return font;
}

} // namespace

CharWidths::CharWidths(QFont font, QPaintDevice *device)
    : font_(unshaped(std::move(font))),
      metrics_(font_, device),
      toPoints_(72.0 / device->logicalDpiY()),
      ascent_(metrics_.ascent() * toPoints_),
      descent_(metrics_.descent() * toPoints_),
      lineHeight_(font_.pointSizeF() * 1.32),
      cache_(0x10000, -1.0f)
{
}

qreal CharWidths::width(QChar c)
{
    float &w = cache_[c.unicode()];
    if (w < 0)
        w = float(metrics_.horizontalAdvance(c) * toPoints_);
    return w;
}

qreal CharWidths::width(QStringView text)
{
    qreal sum = 0;
    for (QChar c : text)
        sum += width(c);
    return sum;
}

} // namespace gratinel
