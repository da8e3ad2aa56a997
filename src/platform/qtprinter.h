// The default printer (or a PDF file) as a line printer measured in twips, on QPrinter.
#pragma once

#include "platform/platform.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include <optional>

namespace gratinel {

class QtPrinter : public Printer {
public:
    // The system's default printer. Without one every operation fails: nothing is ever
    // written to a file in its place.
    QtPrinter();
    // A PDF file instead of a printer, for proofs and measurements.
    explicit QtPrinter(const QString &pdfFile);
    ~QtPrinter() override;

    bool setFontSize(int points) override;
    int currentX() const override { return x_; }
    bool setCurrentX(int twips) override;
    int currentY() const override { return y_; }
    bool textWidth(const QString &text, int &twips) override;
    bool textHeight(const QString &text, int &twips) override;
    int printableWidth() const override;
    int printableHeight() const override;
    bool print(const QString &text) override;
    bool endLine() override;
    bool newPage() override;
    bool endDoc() override;

private:
    bool ready();
    // Draws the words printed since the line's last break in one go.
    void flush();
    const QFontMetricsF &metrics();
    double toDevice(int twips) const;
    int toTwips(double device) const;

    QPrinter printer_;
    QPainter painter_;
    QFont font_;
    std::optional<QFontMetricsF> metrics_;
    bool failed_ = false;
    int x_ = 0;
    int y_ = 0;
    QString pending_;
    int pendingX_ = 0;
    int pendingY_ = 0;
};

} // namespace gratinel
