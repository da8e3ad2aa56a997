// Page breaks, blank left-hand pages, footers, and the drawing primitives of the booklet.
#include "booklet/pagewriter.h"

#include "booklet/charwidths.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <cmath>

namespace gratinel {

PageWriter::PageWriter(BookletStyle &style, QPainter *painter, QPagedPaintDevice *device, bool twoSided)
    : style_(style), painter_(painter), device_(device), twoSided_(twoSided)
{
    if (device_)
        scale_ = device_->logicalDpiX() / 72.0;
    y_ = style_.top;
}

void PageWriter::setFooter(bool numbered, const QString &family)
{
    numbered_ = numbered;
    family_ = family;
}

void PageWriter::newPage(bool rightHand)
{
    if (twoSided_ && rightHand && page_ % 2 == 1) {
        // The next page would be a left-hand one: it stays blank, without a footer.
        if (painting() && ok_)
            ok_ = device_->newPage();
        ++page_;
        ++blanks_;
    }
    if (page_ > 0 && painting() && ok_)
        ok_ = device_->newPage();
    ++page_;
    startPage();
}

void PageWriter::startPage()
{
    y_ = style_.top;
    if (!numbered_ || !painting())
        return;
    CharWidths &f = *style_.footer;
    const QString number = QString::number(page_);
    if (page_ % 2 == 0) {
        text(f, style_.left, style_.footerBaseline, number, style_.quiet);
        if (!family_.isEmpty()) {
            const qreal x = style_.left + f.width(number) + 12;
            // A long name keeps to the footer's width.
            QString name = family_;
            while (name.size() > 1 && x + f.width(name) > style_.left + style_.column)
                name.chop(1);
            if (name.size() < family_.size())
                name = name.chopped(1) + u'…';
            text(f, x, style_.footerBaseline, name, style_.quiet);
        }
    } else {
        text(f, style_.left + style_.column - f.width(number), style_.footerBaseline, number, style_.quiet);
    }
}

void PageWriter::text(CharWidths &font, qreal x, qreal baseline, const QString &text, const QColor &colour)
{
    if (!painter_ || text.isEmpty())
        return;
    if (font_ != &font.font()) {
        painter_->setFont(font.font());
        font_ = &font.font();
    }
    painter_->setPen(colour);
    painter_->drawText(at(x, baseline), text);
}

void PageWriter::rule(qreal x1, qreal x2, qreal y, qreal thickness, const QColor &colour)
{
    if (!painter_ || x2 <= x1 || thickness <= 0)
        return;
    painter_->setPen(QPen(colour, thickness * scale_, Qt::SolidLine, Qt::FlatCap));
    painter_->drawLine(at(x1, y), at(x2, y));
}

void PageWriter::leader(CharWidths &font, qreal x1, qreal x2, qreal baseline)
{
    // Dots as text, so that the page's text reads "Desserts ........ 18" on one line, close
    // to the words on each side; on a grid from the column's edge, so that they stand in
    // columns from line to line.
    const qreal pitch = font.width(u'.');
    const qreal gap = font.width(u' ') * 0.6;
    const qreal first = std::ceil((x1 + gap - style_.left) / pitch);
    const qreal last = std::floor((x2 - gap - style_.left) / pitch);
    const int dots = int(last - first);
    if (!painter_ || dots < 2)
        return;
    text(font, style_.left + first * pitch, baseline, QString(dots, u'.'), style_.quiet);
}

void PageWriter::frame(const QRectF &points, qreal thickness, const QColor &colour)
{
    if (!painter_)
        return;
    painter_->setPen(QPen(colour, thickness * scale_));
    painter_->setBrush(Qt::NoBrush);
    painter_->drawRect(QRectF(at(points.left(), points.top()), at(points.right(), points.bottom())));
}

void PageWriter::image(const QRectF &points, const QImage &image)
{
    if (!painter_ || image.isNull())
        return;
    painter_->drawImage(QRectF(at(points.left(), points.top()), at(points.right(), points.bottom())), image);
}

} // namespace gratinel
