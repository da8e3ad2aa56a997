// Photos of imported recipes, written under the book folder.
#include "importer/photo.h"

#include "importer/limits.h"
#include "store/charactername.h"
#include "store/cp1252.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>

namespace gratinel::importer {

QString photoFileName(const QString &title)
{
    const QString plain = title.normalized(QString::NormalizationForm_KD);
    QString name;
    for (const QChar c : plain) {
        if (name.size() >= 48)
            break;
        if (c.unicode() < 128 && c.isLetterOrNumber())
            name += c.toLower();
        else if (c.category() != QChar::Mark_NonSpacing && !name.isEmpty() && !name.endsWith(u'-'))
            name += u'-';
    }
    while (name.endsWith(u'-'))
        name.chop(1);
    return (name.isEmpty() ? QStringLiteral("recette") : name) + QStringLiteral(".jpg");
}

std::optional<QString> storePhoto(const QByteArray &bytes, const QString &bookDir, const QString &title,
                                  QString &reason)
{
    QByteArray jpeg;
    if (bytes.startsWith("\xFF\xD8\xFF")) {
        jpeg = bytes;
    } else {
        QBuffer in;
        in.setData(bytes);
        QImageReader reader(&in);
        // A photo declaring an enormous size is refused before its pixels are made.
        const QSize size = reader.size();
        if (!size.isValid() || qint64(size.width()) * size.height() > 40'000'000) {
            reason = QStringLiteral("ce n'est pas une image lisible");
            return std::nullopt;
        }
        const QImage image = reader.read();
        if (image.isNull()) {
            reason = QStringLiteral("ce n'est pas une image lisible");
            return std::nullopt;
        }
        QBuffer out(&jpeg);
        out.open(QIODevice::WriteOnly);
        if (!image.convertToFormat(QImage::Format_RGB32).save(&out, "JPG", 90)) {
            reason = QStringLiteral("la conversion en JPEG a échoué");
            return std::nullopt;
        }
    }
    // The book keeps the path as it is given: absolute, and in its own character set.
    const QDir dir(QDir(bookDir).absolutePath());
    if (!cp1252::canEncode(QDir::toNativeSeparators(dir.absolutePath()))) {
        const QString path = QDir::toNativeSeparators(dir.absolutePath());
        reason = QStringLiteral("le chemin du dossier %1 a des caractères que le livre ne peut pas garder : %2")
                     .arg(visibleText(path), cp1252::unstorable(path).join(u' '));
        return std::nullopt;
    }
    if (!dir.mkpath(QStringLiteral("images"))) {
        reason = QStringLiteral("le dossier %1 ne peut pas être créé").arg(QDir::toNativeSeparators(dir.filePath(QStringLiteral("images"))));
        return std::nullopt;
    }
    const QString base = photoFileName(title).chopped(4);
    for (int n = 1; n <= 1000; ++n) {
        const QString name = n == 1 ? base + QStringLiteral(".jpg") : QStringLiteral("%1-%2.jpg").arg(base).arg(n);
        QFile file(dir.filePath(QStringLiteral("images/") + name));
        // NewOnly: created here or not at all, so an existing file is never written over.
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (file.exists())
                continue;
            reason = file.errorString();
            return std::nullopt;
        }
        if (file.write(jpeg) != jpeg.size() || !file.flush()) {
            reason = file.errorString();
            file.remove();
            return std::nullopt;
        }
        return QDir::toNativeSeparators(file.fileName());
    }
    reason = QStringLiteral("trop de photos du même nom");
    return std::nullopt;
}

} // namespace gratinel::importer
