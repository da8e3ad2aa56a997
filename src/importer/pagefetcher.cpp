// The bounded HTTP(S) reader.
#include "importer/pagefetcher.h"

#include "importer/charset.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace gratinel::importer {

namespace {

bool fetchable(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

// Qt's errors said in French: its own texts are in English.
QString networkReason(const QNetworkReply &reply)
{
    switch (reply.error()) {
    case QNetworkReply::HostNotFoundError: return QStringLiteral("serveur introuvable");
    case QNetworkReply::ConnectionRefusedError: return QStringLiteral("connexion refusée");
    case QNetworkReply::RemoteHostClosedError: return QStringLiteral("connexion fermée par le serveur");
    case QNetworkReply::TimeoutError: return QStringLiteral("le serveur ne répond pas");
    case QNetworkReply::SslHandshakeFailedError: return QStringLiteral("échec de la connexion sécurisée");
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::BackgroundRequestNotAllowedError:
        return QStringLiteral("réseau indisponible");
    case QNetworkReply::TooManyRedirectsError:
        return QStringLiteral("plus de %1 redirections").arg(kMaxRedirects);
    case QNetworkReply::InsecureRedirectError: return QStringLiteral("redirection de https:// vers http://");
    case QNetworkReply::ProtocolUnknownError:
        return QStringLiteral("redirection vers une adresse qui n'est ni http:// ni https://");
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
    case QNetworkReply::UnknownProxyError:
        return QStringLiteral("le serveur mandataire (proxy) ne permet pas de la lire");
    case QNetworkReply::ContentAccessDenied:
    case QNetworkReply::ContentOperationNotPermittedError:
    case QNetworkReply::AuthenticationRequiredError:
        return QStringLiteral("accès refusé par le serveur");
    case QNetworkReply::ContentNotFoundError:
    case QNetworkReply::ContentGoneError:
        return QStringLiteral("page introuvable sur le serveur");
    case QNetworkReply::ProtocolFailure:
    case QNetworkReply::ProtocolInvalidOperationError:
    case QNetworkReply::UnknownContentError:
        return QStringLiteral("réponse du serveur illisible (données corrompues ou mal compressées)");
    case QNetworkReply::InternalServerError:
    case QNetworkReply::ServiceUnavailableError:
    case QNetworkReply::OperationNotImplementedError:
    case QNetworkReply::UnknownServerError:
        return QStringLiteral("erreur du serveur");
    default: return QStringLiteral("erreur réseau n° %1").arg(int(reply.error()));
    }
}

bool isPrivate(const QHostAddress &address)
{
    bool v4 = false;
    const quint32 ip = address.toIPv4Address(&v4); // IPv4 and its IPv6 mapped form
    if (v4) {
        const auto in = [&](quint32 net, int bits) { return (ip >> (32 - bits)) == (net >> (32 - bits)); };
        return in(0x7F000000, 8) || in(0x0A000000, 8) || in(0xAC100000, 12) || in(0xC0A80000, 16)
               || in(0xA9FE0000, 16) || ip == 0;
    }
    return address.isLoopback() || address.isLinkLocal() || address.isSiteLocal() || address.isUniqueLocalUnicast()
           || address == QHostAddress::AnyIPv6;
}

// Why url, taken from the content of page, may not be fetched, or empty.
QString privateHostReason(const QUrl &url, const QUrl &page)
{
    if (url.host().compare(page.host(), Qt::CaseInsensitive) == 0)
        return {};
    QList<QHostAddress> addresses;
    if (QHostAddress literal; literal.setAddress(url.host()))
        addresses << literal;
    else
        addresses = QHostInfo::fromName(url.host()).addresses();
    for (const QHostAddress &a : addresses)
        if (isPrivate(a))
            return QStringLiteral("adresse locale ou privée (%1) donnée par une page d'un autre serveur").arg(url.host());
    return {};
}

} // namespace

bool isLink(const QString &text)
{
    const QString t = text.trimmed();
    return (t.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
            || t.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
           && fetchable(QUrl(t));
}

QString pageError(const QString &address, const QString &reason)
{
    return QStringLiteral("La page %1 n'a pas pu être lue : %2.").arg(address, reason);
}

QByteArray PageFetcher::userAgent()
{
    return QByteArrayLiteral("Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) "
                             "Chrome/124.0 Safari/537.36");
}

Fetched PageFetcher::fetch(const QUrl &url, qint64 maxBytes) const
{
    return fetchChecked(url, nullptr, maxBytes);
}

Fetched PageFetcher::fetchFromPage(const QUrl &url, const QUrl &page, qint64 maxBytes) const
{
    return fetchChecked(url, &page, maxBytes);
}

Fetched PageFetcher::fetchChecked(const QUrl &url, const QUrl *page, qint64 maxBytes) const
{
    Fetched result;
    result.finalUrl = url;
    if (!fetchable(url)) {
        result.reason = QStringLiteral("seules les adresses http:// et https:// sont lues");
        return result;
    }
    if (page)
        result.reason = privateHostReason(url, *page);
    if (!result.reason.isEmpty())
        return result;
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
    request.setRawHeader("Accept", "text/html,application/xhtml+xml,application/json;q=0.9,image/*;q=0.8,*/*;q=0.5");
    request.setRawHeader("Accept-Language", "fr-FR,fr;q=0.9,en;q=0.5");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    QNetworkReply *reply = manager.get(request);
    // Qt's network thread reads no further ahead than this: once the reply is aborted (its
    // size or time passed), nothing more is received, and the manager's end does not wait.
    reply->setReadBufferSize(kFetchBufferBytes);
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QTimer watch;
    const QString tooBig = QStringLiteral("plus de %1 Mo").arg(maxBytes / (1024 * 1024));
    const auto stop = [&](const QString &why) {
        if (result.reason.isEmpty())
            result.reason = why;
        reply->abort();
    };
    // Each step catches what it throws: nothing may leave through Qt's event loop.
    const auto take = [&] {
        try {
            const QByteArray chunk = reply->read(maxBytes + 1 - result.body.size());
            result.received += chunk.size();
            result.body += chunk;
            if (result.body.size() > maxBytes)
                stop(tooBig);
        } catch (const std::bad_alloc &) {
            stop(QStringLiteral("mémoire insuffisante"));
        }
    };
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        stop(QStringLiteral("pas de réponse complète en %1 s").arg(std::max(1, (timeoutMs_ + 999) / 1000)));
    });
    QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
        if (stop_ && stop_()) {
            result.stopped = true;
            stop(QStringLiteral("lecture interrompue"));
        }
    });
    // Qt follows the redirections itself, never from https to http, and counts them.
    QObject::connect(reply, &QNetworkReply::redirected, &loop, [&](const QUrl &to) {
        if (!fetchable(to))
            stop(QStringLiteral("redirection vers une adresse qui n'est ni http:// ni https://"));
        else if (const QString why = page ? privateHostReason(to, *page) : QString(); !why.isEmpty())
            stop(QStringLiteral("redirection vers une ") + why);
    });
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > maxBytes)
            stop(tooBig);
    });
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, take);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    timer.start(timeoutMs_);
    if (stop_)
        watch.start(100);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (result.reason.isEmpty() && reply->bytesAvailable() > 0)
        take();
    result.finalUrl = reply->url();
    result.charset = charsetOf(reply->rawHeader("Content-Type"));
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (result.reason.isEmpty() && status >= 400)
        result.reason = QStringLiteral("le serveur a répondu %1 %2")
                            .arg(status)
                            .arg(QString::fromLatin1(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray()))
                            .trimmed();
    else if (result.reason.isEmpty() && reply->error() != QNetworkReply::NoError)
        result.reason = networkReason(*reply);
    else if (result.reason.isEmpty() && result.body.size() > maxBytes)
        result.reason = tooBig;
    reply->deleteLater();
    if (!result.ok())
        result.body.clear();
    return result;
}

} // namespace gratinel::importer
