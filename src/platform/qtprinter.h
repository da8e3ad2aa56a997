// The default printer as a line printer measured in twips, on QPrinter.
#pragma once

#include "platform/platform.h"

#include <QFont>
#include <QPainter>
#include <QPrinter>

namespace gratinel {

class QtPrinter : public Printer {
public:
    QtPrinter();
    ~QtPrinter() override;

    bool setFontSize(int points) override;
    int currentX() const override { return x_; }
    bool setCurrentX(int twips) override;
    int currentY() const override { return y_; }
    bool textWidth(const QString &text, int &twips) override;
    int printableWidth() const override;
    int printableHeight() const override;
    bool print(const QString &text) override;
    bool endLine() override;
    bool newPage() override;
    bool endDoc() override;

private:
    bool ready();
    double toDevice(int twips) const;
    int toTwips(double device) const;

    QPrinter printer_;
    QPainter painter_;
    QFont font_;
    bool failed_ = false;
    int x_ = 0;
    int y_ = 0;
};

} // namespace gratinel
