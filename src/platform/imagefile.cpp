// Image files: metafiles by their first bytes, the rest by Qt's readers.
#include "platform/imagefile.h"

#include "platform/metafile.h"

#include <QFile>
#include <QImageReader>

namespace gratinel {

QImage loadImageFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = file.peek(64);
    if (Metafile::kindOf(head) != Metafile::Kind::None) {
        if (file.size() > Metafile::kMaxFileBytes)
            return {};
        return Metafile::render(file.readAll());
    }
    // Qt's readers keep to their own allocation limit (256 MB by default).
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    return reader.read();
}

} // namespace gratinel
