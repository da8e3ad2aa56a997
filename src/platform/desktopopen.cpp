// Desktop associations through the freedesktop tools (xdg-mime, xdg-open) and the MIME database.
#include "platform/desktopopen.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace gratinel {

namespace {

constexpr int kFileNotFound = 2;
constexpr int kNoAssociation = 31;
constexpr int kStarted = 42;
constexpr int kQueryTimeoutMs = 10000;

bool isWebAddress(const QString &target, QUrl &url)
{
    url = QUrl(target, QUrl::StrictMode);
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == u"http" || scheme == u"https" || scheme == u"mailto");
}

QString defaultApplication(const QString &type)
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!query.waitForFinished(kQueryTimeoutMs)) {
        query.kill();
        query.waitForFinished();
        return {};
    }
    if (query.exitStatus() != QProcess::NormalExit)
        return {};
    return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

} // namespace

QStringList desktopTypesOf(const QString &target)
{
    QUrl url;
    if (isWebAddress(target, url)) {
        QStringList types{QStringLiteral("x-scheme-handler/") + url.scheme()};
        if (url.scheme() != u"mailto")
            types << QStringLiteral("text/html");
        return types;
    }
    const QMimeType type = QMimeDatabase().mimeTypeForFile(target);
    QStringList types{type.name()};
    for (const QString &parent : type.allAncestors()) {
        // Every file is a stream of bytes: a program for those is no association.
        if (parent != u"application/octet-stream")
            types << parent;
    }
    types.removeAll(QStringLiteral("application/octet-stream"));
    return types;
}

bool desktopHasAssociation(const QString &target, const QStringList &types)
{
    for (const QString &type : types) {
        if (!defaultApplication(type).isEmpty())
            return true;
    }
    QUrl url;
    if (isWebAddress(target, url) && url.scheme() != u"mailto") {
        // xdg-open falls back on the system's browser when the desktop names none.
        if (!qEnvironmentVariable("BROWSER").isEmpty())
            return true;
        if (!QStandardPaths::findExecutable(QStringLiteral("x-www-browser")).isEmpty())
            return true;
    }
    return false;
}

int desktopOpen(const QString &target, const QString &workingDir)
{
    QUrl url;
    const bool web = isWebAddress(target, url);
    if (!web && !QFileInfo(target).isFile())
        return kFileNotFound;
    if (!desktopHasAssociation(target, desktopTypesOf(target)))
        return kNoAssociation;
    QProcess opener;
    opener.setProgram(QStringLiteral("xdg-open"));
    opener.setArguments({target});
    opener.setWorkingDirectory(workingDir);
    opener.setStandardInputFile(QProcess::nullDevice());
    return opener.startDetached() ? kStarted : kNoAssociation;
}

bool isImageByContentAndName(const QString &path)
{
    const QMimeDatabase db;
    // An SVG picture is a document that may carry scripts, and it is often opened by a web
    // browser, which runs them: never handed over.
    const auto picture = [](const QMimeType &type) {
        return type.name().startsWith(u"image/") && !type.inherits(QStringLiteral("image/svg+xml"));
    };
    return picture(db.mimeTypeForFile(path, QMimeDatabase::MatchContent))
           && picture(db.mimeTypeForFile(path, QMimeDatabase::MatchExtension));
}

} // namespace gratinel
