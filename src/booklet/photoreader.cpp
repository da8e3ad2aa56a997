// Photos read by their header first, decoded scaled down (JPEG decodes at a fraction).
#include "booklet/photoreader.h"

#include <QFileInfo>
#include <QImageIOHandler>
#include <QImageReader>

namespace gratinel {

namespace {

bool turned(const QImageReader &reader)
{
    return reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
}

} // namespace

PhotoReader::PhotoReader(std::function<QImage(const QString &)> other) : other_(std::move(other)) {}

std::optional<QSize> PhotoReader::size(const QString &path, QString &reason)
{
    const QFileInfo file(path);
    if (!file.exists()) {
        reason = QStringLiteral("fichier absent");
        return std::nullopt;
    }
    if (!file.isFile() || !file.isReadable()) {
        reason = QStringLiteral("fichier illisible");
        return std::nullopt;
    }
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QSize s = reader.canRead() ? reader.size() : QSize();
    if (s.isValid() && !s.isEmpty())
        return turned(reader) ? s.transposed() : s;
    if (reader.canRead()) {
        // A reader that cannot tell the size without decoding.
        const QImage image = reader.read();
        if (!image.isNull())
            return image.size();
    } else if (other_) {
        otherImage_ = other_(path);
        otherPath_ = path;
        if (!otherImage_.isNull())
            return otherImage_.size();
    }
    reason = QStringLiteral("pas une image lisible");
    return std::nullopt;
}

QImage PhotoReader::decode(const QString &path, QSize maxPixels)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    if (!reader.canRead())
        return {};
    QSize s = reader.size();
    if (s.isValid() && turned(reader))
        s.transpose();
    if (s.isValid() && (s.width() > maxPixels.width() || s.height() > maxPixels.height())) {
        const QSize scaled = s.scaled(maxPixels, Qt::KeepAspectRatio);
        // The reader scales before turning.
        reader.setScaledSize(turned(reader) ? scaled.transposed() : scaled);
    }
    QImage image = reader.read();
    if (image.width() > maxPixels.width() || image.height() > maxPixels.height())
        image = image.scaled(maxPixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

QImage PhotoReader::read(const QString &path, QSize maxPixels)
{
    QImage image;
    if (QImageReader(path).canRead())
        image = decode(path, maxPixels);
    else if (other_)
        image = otherPath_ == path ? otherImage_ : other_(path);
    otherPath_.clear();
    otherImage_ = QImage();
    if (image.width() > maxPixels.width() || image.height() > maxPixels.height())
        image = image.scaled(maxPixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

} // namespace gratinel
