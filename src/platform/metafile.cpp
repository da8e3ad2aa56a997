// Metafile recognition, record walk, and drawing through libwmf, or libemf2svg and Qt SVG.
#include "platform/metafile.h"

#include "platform/childcall.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <optional>
#include <cstdlib>
#include <cstring>

#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/gd.h>

namespace gratinel {

namespace {

constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
constexpr int kPlaceableBytes = 22;
constexpr int kWmfHeaderBytes = 18;
constexpr quint32 kEmfSignature = 0x464D4520; // " EMF"
constexpr int kEmfHeaderMinBytes = 88;
constexpr quint32 kEmrHeader = 1;
constexpr quint32 kEmrEof = 14;
constexpr double kDotsPerInch = 96.0;
constexpr quint16 kSetWindowOrg = 0x020B;

quint16 u16At(const QByteArray &b, qint64 at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

quint32 u32At(const QByteArray &b, qint64 at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

qint32 i32At(const QByteArray &b, qint64 at)
{
    return qFromLittleEndian<qint32>(b.constData() + at);
}

// Offset of the standard WMF header: after the placeable header when there is one.
qint64 wmfHeaderAt(const QByteArray &b)
{
    return b.size() >= 4 && u32At(b, 0) == kPlaceableKey ? kPlaceableBytes : 0;
}

} // namespace

Metafile::Kind Metafile::kindOf(const QByteArray &head)
{
    if (head.size() >= 44 && u32At(head, 0) == kEmrHeader && u32At(head, 40) == kEmfSignature)
        return Kind::Emf;
    const qint64 at = wmfHeaderAt(head);
    if (head.size() >= at + kWmfHeaderBytes) {
        const quint16 type = u16At(head, at);
        const quint16 words = u16At(head, at + 2);
        const quint16 version = u16At(head, at + 4);
        if ((type == 1 || type == 2) && words == 9 && (version == 0x0100 || version == 0x0300))
            return Kind::Wmf;
    }
    return Kind::None;
}

bool Metafile::recordsFit(const QByteArray &data, Kind kind)
{
    const qint64 size = data.size();
    if (kind == Kind::Wmf) {
        // Records: size in 16-bit words (at least 3), function; function 0 ends the file.
        qint64 at = wmfHeaderAt(data) + kWmfHeaderBytes;
        while (at + 6 <= size) {
            const qint64 bytes = qint64(u32At(data, at)) * 2;
            if (bytes < 6 || bytes > size - at)
                return false;
            if (u16At(data, at + 4) == 0)
                return true;
            at += bytes;
        }
        return false;
    }
    if (kind == Kind::Emf) {
        // Records: type, size in bytes (a multiple of 4, at least 8); the header comes first.
        if (size < kEmfHeaderMinBytes || u32At(data, 4) < quint32(kEmfHeaderMinBytes))
            return false;
        qint64 at = 0;
        while (at + 8 <= size) {
            const quint32 type = u32At(data, at);
            const qint64 bytes = u32At(data, at + 4);
            if (bytes < 8 || bytes % 4 != 0 || bytes > size - at)
                return false;
            if ((at == 0) != (type == kEmrHeader))
                return false;
            if (type == kEmrEof)
                return true;
            at += bytes;
        }
    }
    return false;
}

QSize Metafile::renderSize(QSizeF natural)
{
    const double w = natural.width();
    const double h = natural.height();
    if (!(w >= 0.5 && h >= 0.5) || !std::isfinite(w) || !std::isfinite(h))
        return {};
    double scale = 1.0;
    scale = std::min(scale, kMaxSide / w);
    scale = std::min(scale, kMaxSide / h);
    scale = std::min(scale, std::sqrt(double(kMaxPixels) / (w * h)));
    const auto side = [scale](double v) { return std::clamp(int(std::floor(v * scale + 0.5)), 1, kMaxSide); };
    QSize s(side(w), side(h));
    // Rounding up may pass the pixel bound by a row.
    while (qint64(s.width()) * s.height() > kMaxPixels)
        s = s.height() > s.width() ? QSize(s.width(), s.height() - 1) : QSize(s.width() - 1, s.height());
    return s;
}

QSizeF Metafile::emfFrameSize(const QByteArray &data)
{
    // The frame, in hundredths of a millimetre, inclusive; failing that the bounds in pixels.
    const double fw = double(i32At(data, 32)) - i32At(data, 24);
    const double fh = double(i32At(data, 36)) - i32At(data, 28);
    if (fw > 0 && fh > 0)
        return {fw * kDotsPerInch / 2540.0, fh * kDotsPerInch / 2540.0};
    const double bw = double(i32At(data, 16)) - i32At(data, 8) + 1;
    const double bh = double(i32At(data, 20)) - i32At(data, 12) + 1;
    return {bw, bh};
}

QRectF Metafile::wmfFrame(const QByteArray &data)
{
    // The placeable header's frame, in logical units, with its units per inch; the player
    // draws in points from the window origin, which the first SetWindowOrg record gives.
    if (wmfHeaderAt(data) != kPlaceableBytes)
        return {};
    const double left = qint16(u16At(data, 6)), top = qint16(u16At(data, 8));
    const double right = qint16(u16At(data, 10)), bottom = qint16(u16At(data, 12));
    const double inch = u16At(data, 14);
    if (inch <= 0 || right <= left || bottom <= top)
        return {};
    double orgX = 0, orgY = 0;
    const qint64 size = data.size();
    for (qint64 at = kPlaceableBytes + kWmfHeaderBytes; at + 6 <= size;) {
        const qint64 bytes = qint64(u32At(data, at)) * 2;
        const quint16 function = u16At(data, at + 4);
        if (bytes < 6 || bytes > size - at || function == 0)
            break;
        if (function == kSetWindowOrg && bytes >= 10) {
            orgY = qint16(u16At(data, at + 6));
            orgX = qint16(u16At(data, at + 8));
            break;
        }
        at += bytes;
    }
    const double points = 72.0 / inch;
    return QRectF(QPointF((left - orgX) * points, (top - orgY) * points),
                  QPointF((right - orgX) * points, (bottom - orgY) * points));
}

QImage Metafile::renderWmf(const QByteArray &data)
{
    const QRectF frame = wmfFrame(data);
    ChildLimits limits;
    limits.maxOutputBytes = kMaxPixels * 4 + 16;
    // libwmf's raster device keeps the file's colours exactly (its SVG device rounds them
    // to named colours). The child answers the width, the height and the pixels.
    const std::optional<QByteArray> answer = runInChild([&data, frame]() -> std::optional<QByteArray> {
        wmfAPI *api = nullptr;
        wmfAPI_Options options{};
        options.function = wmf_gd_function;
        const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
        if (wmf_api_create(&api, flags, &options) != wmf_E_None)
            return std::nullopt;
        QByteArray copy = data;
        std::optional<QByteArray> pixels;
        wmfD_Rect box{};
        unsigned int w = 0, h = 0;
        if (wmf_mem_open(api, reinterpret_cast<unsigned char *>(copy.data()), long(copy.size())) == wmf_E_None
            && wmf_scan(api, 0, &box) == wmf_E_None
            && wmf_display_size(api, &w, &h, kDotsPerInch, kDotsPerInch) == wmf_E_None) {
            const QSize size = renderSize(QSizeF(w, h));
            if (!size.isEmpty()) {
                wmf_gd_t *device = WMF_GD_GetData(api);
                device->type = wmf_gd_image;
                // The drawing's extent would stretch a small drawing over the whole picture:
                // the file's own frame, when it has one, is the picture.
                if (!frame.isEmpty()) {
                    box.TL = {float(frame.left()), float(frame.top())};
                    box.BR = {float(frame.right()), float(frame.bottom())};
                }
                device->bbox = box;
                device->width = unsigned(size.width());
                device->height = unsigned(size.height());
                if (wmf_play(api, 0, &box) == wmf_E_None && device->gd_image) {
                    if (const int *p = wmf_gd_image_pixels(device->gd_image)) {
                        const qint32 dims[2] = {size.width(), size.height()};
                        QByteArray out(reinterpret_cast<const char *>(dims), sizeof dims);
                        out.append(reinterpret_cast<const char *>(p), qsizetype(size.width()) * size.height() * 4);
                        pixels = out;
                    }
                }
            }
        }
        wmf_api_destroy(api);
        return pixels;
    }, limits);
    if (!answer || answer->size() < 8)
        return {};
    qint32 dims[2];
    std::memcpy(dims, answer->constData(), sizeof dims);
    const QSize size(dims[0], dims[1]);
    if (renderSize(size) != size || answer->size() != 8 + qint64(size.width()) * size.height() * 4)
        return {};
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    // Pixels as 0x00RRGGBB; the top bits hold a transparency that the white page ignores.
    const auto *src = reinterpret_cast<const quint32 *>(answer->constData() + 8);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = 0xFF000000u | (src[qsizetype(y) * size.width() + x] & 0x00FFFFFFu);
    }
    return image;
}

std::optional<QByteArray> Metafile::emfToSvg(const QByteArray &data)
{
    const QSize size = renderSize(emfFrameSize(data));
    if (size.isEmpty())
        return std::nullopt;
    return runInChild([&data, size]() -> std::optional<QByteArray> {
        generatorOptions options{};
        char nameSpace[] = "";
        options.nameSpace = nameSpace;
        options.verbose = false;
        options.emfplus = true;
        options.svgDelimiter = true;
        options.imgWidth = size.width();
        options.imgHeight = size.height();
        QByteArray copy = data;
        char *out = nullptr;
        size_t length = 0;
        const int ok = emf2svg(copy.data(), size_t(copy.size()), &out, &length, &options);
        std::optional<QByteArray> svg;
        if (ok && out)
            svg = QByteArray(out, qsizetype(length));
        std::free(out);
        return svg;
    });
}

QImage Metafile::render(const QByteArray &data)
{
    const Kind kind = kindOf(data);
    if (kind == Kind::None || data.size() > kMaxFileBytes || !recordsFit(data, kind))
        return {};
    if (kind == Kind::Wmf)
        return renderWmf(data);
    const std::optional<QByteArray> svg = emfToSvg(data);
    if (!svg)
        return {};
    QSvgRenderer renderer(*svg);
    if (!renderer.isValid())
        return {};
    // libemf2svg fits the drawing's bounds into the size asked for: the frame gives the size.
    const QSize size = renderSize(emfFrameSize(data));
    if (size.isEmpty())
        return {};
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    painter.end();
    return image;
}

} // namespace gratinel
