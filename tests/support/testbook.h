// Books for tests: a valid book in a temporary folder, and helpers to read its bytes back.
#pragma once

#include "fakeplatform.h"
#include "store/bookbuilder.h"
#include "store/module1.h"

#include <QByteArray>
#include <QString>

namespace gratinel::testbook {

// The smallest book start-up accepts: 16 families named "Famille 01".."Famille 16"
// (records 2..17) and 300 recipes "Recette 001".."Recette 300" (records 2..301), all in
// the family of record 2, each with the text "Texte n".
BookBuilder minimal();

// The book of the folder dir opened by the program's own start-up, with no window: the
// store as the windows would find it. started is false when start-up refused the book
// (platform holds its message).
struct OpenedBook {
    explicit OpenedBook(const QString &dir);
    FakePlatform platform;
    Module1 m{platform, platform};
    bool started = false;
};

QByteArray readFile(const QString &path);
bool writeFile(const QString &path, const QByteArray &bytes);
// Overwrites bytes of a file at a 0-based offset.
bool patchFile(const QString &path, qint64 offset, const QByteArray &bytes);
qint16 int16At(const QByteArray &bytes, qint64 offset);
qint32 int32At(const QByteArray &bytes, qint64 offset);
QByteArray le16(qint16 v);
QByteArray le32(qint32 v);

} // namespace gratinel::testbook
