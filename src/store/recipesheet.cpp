// Recipe sheet: its layout and the delete-then-create write of its file.
#include "store/recipesheet.h"

#include "platform/apptitle.h"
#include "store/cp1252.h"
#include "store/module1.h"

#include <QFile>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace gratinel {

QString sheetHeading(const QDate &date)
{
    return appTitle() + QStringLiteral(" (Edition du ") + date.toString(QStringLiteral("d/M/yyyy"))
        + QStringLiteral(")");
}

QByteArray recipeSheetBytes(const QDate &date, const RecipeSheet &sheet)
{
    const QByteArray crlf("\r\n");
    QByteArray out;
    out.reserve(sheet.text.size() + 256);
    out += cp1252::encode(sheetHeading(date)) + crlf + crlf;
    out += cp1252::encode(QStringLiteral("Famille de recettes : ") + sheet.family) + crlf;
    out += crlf + cp1252::encode(QStringLiteral("Recette : ") + sheet.recipe) + crlf;
    out += crlf + cp1252::encodeText(sheet.text) + crlf;
    return out;
}

bool writeRecipeSheetFile(const QString &path, const QByteArray &bytes)
{
    // A file that cannot be deleted (in use, read-only) is left to the creation below,
    // which then fails.
    QFile::remove(path);
#ifdef Q_OS_WIN
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    const bool written = file.write(bytes) == bytes.size();
    // Bytes still in a buffer are not on disk: the flush is part of writing them.
    const bool flushed = file.flush();
    file.close();
    return written && flushed && file.error() == QFileDevice::NoError;
#else
    // The sheet is made anew, never opened through whatever took its name since the removal:
    // a link planted there would have the program write where the link points.
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          0666);
    if (fd < 0)
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    const bool closed = ::close(fd) == 0;
    return done == bytes.size() && closed;
#endif
}

bool Module1::WriteRecipeSheet(const QString &extension, const RecipeSheet &sheet)
{
    return writeRecipeSheetFile(pathOf(QStringLiteral("recette.") + extension),
                                recipeSheetBytes(platform.today(), sheet));
}

} // namespace gratinel
