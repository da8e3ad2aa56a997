// A font as the booklet sets it, measured on the page's device: advances in points, one
// table lookup per character.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QString>

#include <vector>

class QPaintDevice;

namespace gratinel {

class CharWidths {
public:
    // The font is drawn without shaping (no kerning, no ligatures), so a line's width is
    // the sum of its characters' advances and its text extracts from the page as typed.
    CharWidths(QFont font, QPaintDevice *device);

    const QFont &font() const { return font_; }
    qreal width(QChar c);
    qreal width(QStringView text);
    qreal ascent() const { return ascent_; }
    qreal descent() const { return descent_; }
    // Distance between two baselines of this font's lines.
    qreal lineHeight() const { return lineHeight_; }

private:
    QFont font_;
    QFontMetricsF metrics_;
    qreal toPoints_;
    qreal ascent_;
    qreal descent_;
    qreal lineHeight_;
    std::vector<float> cache_; // by UTF-16 unit; negative until measured
};

} // namespace gratinel
