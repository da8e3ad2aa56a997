// A small HTTP/1.0 server on 127.0.0.1 for the tests: answers from a table of paths, in the
// test's own event loop, and stops with the test.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <QThread>

#include <atomic>

namespace gratinel {

class LocalHttpServer : public QObject {
public:
    struct Answer {
        int status = 200;
        QByteArray body;
        QByteArray contentType = "text/html; charset=utf-8";
        QByteArray location;   // for a redirection
        int delayMs = 0;       // before the answer is sent
        bool sendLength = true;
        QByteArray headers;    // more header lines, each ended by CR LF
    };

    LocalHttpServer();
    bool isListening() const { return server_.isListening(); }
    // "http://127.0.0.1:PORT" + path.
    QString url(const QString &path) const;
    void serve(const QString &path, const Answer &answer) { answers_.insert(path, answer); }
    // Paths asked, in order.
    QStringList requests;

private:
    void answer(class QTcpSocket *socket, const QByteArray &request);

    QTcpServer server_;
    QHash<QString, Answer> answers_;
};

// A server that answers every request with a chunked body that never ends, from a thread of
// its own, as a real server keeps sending whatever the client's thread does (up to 512 MB).
class EndlessHttpServer : public QThread {
public:
    EndlessHttpServer();
    ~EndlessHttpServer() override;
    QString url(const QString &path) const;
    // Bytes the connections have taken so far.
    qint64 sent() const { return sent_; }

protected:
    void run() override;

private:
    QTcpServer server_;
    quint16 port_ = 0;
    std::atomic<qint64> sent_{0};
    std::atomic<bool> done_{false};
};

} // namespace gratinel
