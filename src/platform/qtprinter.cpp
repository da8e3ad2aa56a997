// Line printing on the default printer or a PDF file, positions in twips from the printable area's corner.
#include "platform/qtprinter.h"

#include <QPrinterInfo>

namespace gratinel {

QtPrinter::QtPrinter() : printer_(QPrinter::HighResolution)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        failed_ = true;
    } else {
        printer_.setPrinterName(info.printerName());
        // Without the system's print support Qt falls back to writing a PDF file
        // somewhere: that is not printing, and is refused.
        if (printer_.outputFormat() != QPrinter::NativeFormat || !printer_.isValid())
            failed_ = true;
    }
    printer_.setDocName(QStringLiteral("Recette"));
}

QtPrinter::QtPrinter(const QString &pdfFile) : printer_(QPrinter::HighResolution)
{
    printer_.setOutputFormat(QPrinter::PdfFormat);
    printer_.setOutputFileName(pdfFile);
    printer_.setPageSize(QPageSize(QPageSize::A4));
    printer_.setDocName(QStringLiteral("Recette"));
}

QtPrinter::~QtPrinter()
{
    if (painter_.isActive()) {
        flush();
        painter_.end();
    }
}

void QtPrinter::flush()
{
    if (pending_.isEmpty())
        return;
    painter_.drawText(QPointF(toDevice(pendingX_), toDevice(pendingY_) + metrics().ascent()), pending_);
    pending_.clear();
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
        metrics_.reset();
    }
    return true;
}

const QFontMetricsF &QtPrinter::metrics()
{
    if (!metrics_)
        metrics_.emplace(painter_.font(), &printer_);
    return *metrics_;
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
    flush();
    font_.setPointSize(points);
    painter_.setFont(font_);
    metrics_.reset();
    return true;
}

bool QtPrinter::setCurrentX(int twips)
{
    if (!ready())
        return false;
    flush();
    x_ = twips;
    return true;
}

bool QtPrinter::textWidth(const QString &text, int &twips)
{
    if (!ready())
        return false;
    twips = toTwips(metrics().horizontalAdvance(text));
    return true;
}

bool QtPrinter::textHeight(const QString &, int &twips)
{
    if (!ready())
        return false;
    twips = toTwips(metrics().lineSpacing());
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
    // The words of a line are drawn together when it ends: one text run per line.
    if (pending_.isEmpty()) {
        pendingX_ = x_;
        pendingY_ = y_;
    }
    pending_ += text;
    x_ += toTwips(metrics().horizontalAdvance(text));
    return true;
}

bool QtPrinter::endLine()
{
    if (!ready())
        return false;
    flush();
    x_ = 0;
    y_ += toTwips(metrics().lineSpacing());
    return true;
}

bool QtPrinter::newPage()
{
    if (!ready())
        return false;
    flush();
    if (!printer_.newPage())
        return false;
    x_ = 0;
    y_ = 0;
    return true;
}

bool QtPrinter::endDoc()
{
    if (!painter_.isActive())
        return !failed_;
    flush();
    return painter_.end();
}

} // namespace gratinel
