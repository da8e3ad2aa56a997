// Paper sizes, margins and type sizes of the booklet: A4, or A5 a little tighter.
#include "booklet/bookletstyle.h"

#include <QGuiApplication>

namespace gratinel {

namespace {

constexpr qreal kMm = 72.0 / 25.4;

std::unique_ptr<CharWidths> font(qreal points, bool bold, QPaintDevice *device)
{
    QFont f(QGuiApplication::font().family());
    f.setPointSizeF(points);
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    return std::make_unique<CharWidths>(f, device);
}

} // namespace

BookletStyle::BookletStyle(bool a5, QPaintDevice *device)
{
    pageWidth = (a5 ? 148 : 210) * kMm;
    pageHeight = (a5 ? 210 : 297) * kMm;
    const qreal margin = (a5 ? 15 : 20) * kMm;
    left = margin;
    column = pageWidth - 2 * margin;
    top = margin;
    bottom = pageHeight - (a5 ? 20 : 25) * kMm;
    footerBaseline = pageHeight - (a5 ? 11 : 14) * kMm;
    photoMaxHeight = (bottom - top) / 3;

    const qreal text = a5 ? 10 : 11;
    body = font(text, false, device);
    bodyBold = font(text, true, device);
    title = font(a5 ? 13.5 : 15, true, device);
    chapter = font(a5 ? 20 : 26, true, device);
    cover = font(a5 ? 26 : 34, true, device);
    coverLine = font(a5 ? 13 : 16, false, device);
    footer = font(a5 ? 8 : 9, false, device);
}

} // namespace gratinel
