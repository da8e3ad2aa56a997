// A recipe's photo for the printed page: its size from the file's header, then the picture
// decoded no larger than the page shows it.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>

namespace gratinel {

class PhotoReader {
public:
    // Files that Qt's image readers do not take (a Windows metafile...) may still be drawn
    // by other: the program gives its own image loading; a null image means unreadable.
    explicit PhotoReader(std::function<QImage(const QString &)> other = {});

    // The picture's size in pixels, upright; no value, with the reason in French, when the
    // file is missing or holds no picture that reads.
    std::optional<QSize> size(const QString &path, QString &reason);
    // The picture, upright, at most maxPixels (never larger than the file's own); a null
    // image when it cannot be decoded after all.
    QImage read(const QString &path, QSize maxPixels);
    // The same with Qt's readers only: safe on any thread.
    static QImage decode(const QString &path, QSize maxPixels);

private:
    std::function<QImage(const QString &)> other_;
    QString otherPath_;
    QImage otherImage_;
};

} // namespace gratinel
