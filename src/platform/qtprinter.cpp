// Line printing on the default printer, positions in twips from the printable area's corner.
#include "platform/qtprinter.h"

#include <QFontMetricsF>
#include <QPrinterInfo>

namespace gratinel {

QtPrinter::QtPrinter() : printer_(QPrinter::HighResolution)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        failed_ = true;
    else
        printer_.setPrinterName(info.printerName());
    printer_.setDocName(QStringLiteral("Recette"));
}

QtPrinter::~QtPrinter()
{
    if (painter_.isActive())
        painter_.end();
}

bool QtPrinter::ready()
{
    if (failed_)
        return false;
    if (!painter_.isActive()) {
        if (!painter_.begin(&printer_)) {
            failed_ = true;
            return false;
        }
        painter_.setFont(font_);
    }
    return true;
}

double QtPrinter::toDevice(int twips) const
{
    return twips * printer_.resolution() / 1440.0;
}

int QtPrinter::toTwips(double device) const
{
    return qRound(device * 1440.0 / printer_.resolution());
}

bool QtPrinter::setFontSize(int points)
{
    if (!ready())
        return false;
    font_.setPointSize(points);
    painter_.setFont(font_);
    return true;
}

bool QtPrinter::setCurrentX(int twips)
{
    if (!ready())
        return false;
    x_ = twips;
    return true;
}

bool QtPrinter::textWidth(const QString &text, int &twips)
{
    if (!ready())
        return false;
    twips = toTwips(QFontMetricsF(painter_.font(), &printer_).horizontalAdvance(text));
    return true;
}

int QtPrinter::printableWidth() const
{
    return toTwips(printer_.pageLayout().paintRectPixels(printer_.resolution()).width());
}

int QtPrinter::printableHeight() const
{
    return toTwips(printer_.pageLayout().paintRectPixels(printer_.resolution()).height());
}

bool QtPrinter::print(const QString &text)
{
    if (!ready())
        return false;
    const QFontMetricsF metrics(painter_.font(), &printer_);
    painter_.drawText(QPointF(toDevice(x_), toDevice(y_) + metrics.ascent()), text);
    x_ += toTwips(metrics.horizontalAdvance(text));
    return true;
}

bool QtPrinter::endLine()
{
    if (!ready())
        return false;
    x_ = 0;
    y_ += toTwips(QFontMetricsF(painter_.font(), &printer_).lineSpacing());
    return true;
}

bool QtPrinter::newPage()
{
    if (!ready() || !printer_.newPage())
        return false;
    x_ = 0;
    y_ = 0;
    return true;
}

bool QtPrinter::endDoc()
{
    if (!painter_.isActive())
        return !failed_;
    return painter_.end();
}

} // namespace gratinel
