// Window geometry in twips (1/1440 inch, 15 to a pixel at 96 dots per inch).
#pragma once

#include <QRect>
#include <QWidget>
#include <QtMath>

namespace gratinel {

constexpr int kTwipsPerPixel = 15;

inline int px(double twips) { return qRound(twips / kTwipsPerPixel); }
inline int twips(int pixels) { return pixels * kTwipsPerPixel; }

inline void place(QWidget *w, int left, int top, int width, int height)
{
    w->setGeometry(px(left), px(top), px(width), px(height));
}

} // namespace gratinel
