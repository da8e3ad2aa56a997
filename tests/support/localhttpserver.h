// A small HTTP/1.0 server on 127.0.0.1 for the tests: answers from a table of paths, in the
// test's own event loop, and stops with the test.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTcpServer>

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

} // namespace gratinel
