// Pages and photos fetched over HTTP(S) with Qt Network, within fixed bounds.
#pragma once

#include "importer/limits.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>

namespace gratinel::importer {

// True for an http:// or https:// address (the only ones fetched).
bool isLink(const QString &text);

// « La page ADDRESS n'a pas pu être lue : REASON. »
QString pageError(const QString &address, const QString &reason);

struct Fetched {
    QByteArray body;
    QUrl finalUrl;   // after the redirects
    QByteArray charset; // the charset of the answer's Content-Type, when it gives one
    QString reason;  // in French, empty when the body was read
    qint64 received = 0;  // bytes of the answer received, those of a failed fetch included
    bool stopped = false; // the fetcher's stop said so
    bool ok() const { return reason.isEmpty(); }
};

// Reads one address at a time: at most kMaxRedirects redirections, each to http or https,
// at most maxBytes, the whole exchange within the timeout (tests shorten it), with a
// browser's user agent. A status of 400 or more is a failure. Runs a local event loop, in any
// thread; Qt keeps at most kFetchBufferBytes unread, so that a fetch ended early reads no
// more. stop, when given, is asked several times a second: true ends the fetch. Never throws.
class PageFetcher {
public:
    explicit PageFetcher(int timeoutMs = kFetchTimeoutMs, std::function<bool()> stop = {})
        : timeoutMs_(timeoutMs), stop_(std::move(stop)) {}
    Fetched fetch(const QUrl &url, qint64 maxBytes = kMaxSourceBytes) const;
    // An address taken from the content of page (a photo): neither it nor a redirection may go
    // to a loopback, private or link-local host, unless page came from that same host (a page
    // read from a file, given as an empty address, came from none).
    Fetched fetchFromPage(const QUrl &url, const QUrl &page, qint64 maxBytes = kMaxSourceBytes) const;
    static QByteArray userAgent();

private:
    Fetched fetchChecked(const QUrl &url, const QUrl *page, qint64 maxBytes) const;
    int timeoutMs_;
    std::function<bool()> stop_;
};

} // namespace gratinel::importer
