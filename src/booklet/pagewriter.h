// The booklet's pages one after the other: where the next line goes, page breaks, right-hand
// pages, footers, and drawing in points. Without a painter it only counts (the first pass).
#pragma once

#include "booklet/bookletstyle.h"

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>

class QPainter;
class QPagedPaintDevice;

namespace gratinel {

class CharWidths;

class PageWriter {
public:
    // painter and device both null, or the painter active on device, set to the style's paper
    // without margins (the origin at the paper's corner).
    PageWriter(BookletStyle &style, QPainter *painter, QPagedPaintDevice *device, bool twoSided);

    BookletStyle &style() { return style_; }
    bool painting() const { return painter_ != nullptr; }
    // False once the device refused a new page.
    bool ok() const { return ok_; }
    int page() const { return page_; }
    int blankPages() const { return blanks_; }

    // The footer of the pages started from now on: numbered or not, and the family named on
    // the left-hand pages (none when empty).
    void setFooter(bool numbered, const QString &family = {});
    // Starts the next page (the first call: the first page); with rightHand on two-sided
    // paper, a left-hand page is left blank first.
    void newPage(bool rightHand = false);

    qreal y() const { return y_; }
    void moveDown(qreal points) { y_ += points; }
    void moveTo(qreal y) { y_ = y; }
    qreal room() const { return style_.bottom - y_; }
    bool atTop() const { return y_ <= style_.top + 0.01; }

    // Drawing; nothing happens without a painter.
    void text(CharWidths &font, qreal x, qreal baseline, const QString &text, const QColor &colour);
    void rule(qreal x1, qreal x2, qreal y, qreal thickness, const QColor &colour);
    // Dots leading the eye from x1 to a page number at x2.
    void leader(CharWidths &font, qreal x1, qreal x2, qreal baseline);
    void frame(const QRectF &points, qreal thickness, const QColor &colour);
    void image(const QRectF &points, const QImage &image);

private:
    void startPage();
    QPointF at(qreal x, qreal y) const { return {x * scale_, y * scale_}; }

    BookletStyle &style_;
    QPainter *painter_;
    QPagedPaintDevice *device_;
    bool twoSided_;
    qreal scale_ = 1; // device units per point
    bool ok_ = true;
    int page_ = 0;
    int blanks_ = 0;
    qreal y_ = 0;
    bool numbered_ = false;
    QString family_;
    const QFont *font_ = nullptr;
};

} // namespace gratinel
