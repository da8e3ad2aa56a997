// Test books and byte helpers.
#include "testbook.h"

#include <QFile>
#include <QtEndian>

namespace gratinel::testbook {

BookBuilder minimal()
{
    BookBuilder b;
    for (int i = 1; i <= 16; ++i)
        b.addFamily(QStringLiteral("Famille %1").arg(i, 2, 10, QLatin1Char('0')));
    for (int i = 1; i <= 300; ++i)
        b.addRecipe(2, QStringLiteral("Recette %1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("Texte %1").arg(i));
    return b;
}

OpenedBook::OpenedBook(const QString &dir)
{
    platform.exeDir = dir;
    // Start-up asks for its window only once the book is open; it never touches it, so any
    // pointer stands for "made" and none is kept.
    started = m.Main([](Module1 &m) { return reinterpret_cast<QWidget *>(&m); });
    m.mainWindow = nullptr;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

bool patchFile(const QString &path, qint64 offset, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::ReadWrite) && f.seek(offset) && f.write(bytes) == bytes.size();
}

qint16 int16At(const QByteArray &bytes, qint64 offset)
{
    return qFromLittleEndian<qint16>(bytes.constData() + offset);
}

qint32 int32At(const QByteArray &bytes, qint64 offset)
{
    return qFromLittleEndian<qint32>(bytes.constData() + offset);
}

QByteArray le16(qint16 v)
{
    QByteArray b(2, '\0');
    qToLittleEndian<qint16>(v, b.data());
    return b;
}

QByteArray le32(qint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian<qint32>(v, b.data());
    return b;
}

} // namespace gratinel::testbook
