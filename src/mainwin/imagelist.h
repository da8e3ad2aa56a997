// The toolbar's image list: twenty 16 x 16 images, each known by its key and its position.
#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

namespace gratinel {

class ImageList {
public:
    ImageList();
    // The keys in image-list order.
    static const QStringList &keys();
    QIcon byKey(const QString &key) const;
    // Image at a position counted from 1.
    QIcon byIndex(int index) const;
    int count() const { return int(keys().size()); }
};

} // namespace gratinel
