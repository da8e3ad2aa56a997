// Windows metafiles (WMF and EMF), which Qt cannot read: recognised by their content, checked
// record by record, then drawn on white in a child process: WMF by libwmf, EMF converted to SVG
// by libemf2svg and drawn by Qt SVG.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSize>

#include <optional>

namespace gratinel {

class Metafile {
public:
    enum class Kind { None, Wmf, Emf };

    // What one drawing may cost. A larger file is refused; a larger drawing is scaled down,
    // keeping its proportions, to fit both bounds (64 MB of pixels at most).
    static constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;
    static constexpr int kMaxSide = 8192;
    static constexpr qint64 kMaxPixels = 16 * 1024 * 1024;

    // The kind of metafile that the bytes begin with; None for anything else.
    static Kind kindOf(const QByteArray &head);

    // True when every record lies inside the data and the end record is there.
    static bool recordsFit(const QByteArray &data, Kind kind);

    // The size a drawing of natural size is rendered at: unchanged within the bounds, scaled
    // down to them otherwise; an empty size when natural is empty.
    static QSize renderSize(QSizeF natural);

    // The drawing, at its own size at 96 dots per inch (within the bounds), on white; a null
    // image when the data is no metafile, is damaged, or cannot be drawn.
    static QImage render(const QByteArray &data);

private:
    static QImage renderWmf(const QByteArray &data);
    static std::optional<QByteArray> emfToSvg(const QByteArray &data);
    static QSizeF emfFrameSize(const QByteArray &data);
    static QRectF wmfFrame(const QByteArray &data);
};

} // namespace gratinel
