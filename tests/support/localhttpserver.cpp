// The tests' local HTTP server.
#include "localhttpserver.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace gratinel {

LocalHttpServer::LocalHttpServer()
{
    server_.listen(QHostAddress::LocalHost);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = server_.nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            auto *pending = new QByteArray;
            connect(socket, &QObject::destroyed, this, [pending] { delete pending; });
            connect(socket, &QTcpSocket::readyRead, this, [this, socket, pending] {
                *pending += socket->readAll();
                // Each request the connection carries, in turn.
                for (qsizetype end; (end = pending->indexOf("\r\n\r\n")) >= 0;) {
                    const QByteArray request = pending->left(end);
                    pending->remove(0, end + 4);
                    answer(socket, request);
                }
            });
        }
    });
}

QString LocalHttpServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
}

void LocalHttpServer::answer(QTcpSocket *socket, const QByteArray &request)
{
    const QString path = QString::fromLatin1(request.split(' ').value(1));
    requests << path;
    const Answer a = answers_.value(path, Answer{404, "<html><body>introuvable</body></html>", "text/html", {}, 0, true, {}});
    QByteArray head = "HTTP/1.1 " + QByteArray::number(a.status) + (a.status < 400 ? " OK" : " Not Found") + "\r\n";
    head += "Content-Type: " + a.contentType + "\r\n";
    if (!a.location.isEmpty())
        head += "Location: " + a.location + "\r\n";
    head += a.headers;
    if (a.sendLength)
        head += "Content-Length: " + QByteArray::number(a.body.size()) + "\r\n";
    head += a.sendLength ? "\r\n" : "Connection: close\r\n\r\n";
    QPointer<QTcpSocket> guarded(socket);
    const auto send = [guarded, head, body = a.body, close = !a.sendLength] {
        if (!guarded)
            return;
        guarded->write(head);
        guarded->write(body);
        // Without a length, the end of the connection ends the answer.
        if (close)
            guarded->disconnectFromHost();
    };
    if (a.delayMs > 0)
        QTimer::singleShot(a.delayMs, socket, send);
    else
        send();
}

} // namespace gratinel

namespace gratinel {

EndlessHttpServer::EndlessHttpServer()
{
    server_.listen(QHostAddress::LocalHost);
    port_ = server_.serverPort();
    server_.moveToThread(this);
    start();
}

EndlessHttpServer::~EndlessHttpServer()
{
    done_ = true;
    wait();
}

QString EndlessHttpServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path);
}

void EndlessHttpServer::run()
{
    const QByteArray chunk = "10000\r\n" + QByteArray(0x10000, 'x') + "\r\n";
    while (!done_) {
        if (!server_.waitForNewConnection(100))
            continue;
        std::unique_ptr<QTcpSocket> socket(server_.nextPendingConnection());
        QByteArray request;
        while (!done_ && !request.contains("\r\n\r\n") && socket->waitForReadyRead(100))
            request += socket->readAll();
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nTransfer-Encoding: chunked\r\n\r\n");
        while (!done_ && socket->state() == QAbstractSocket::ConnectedState && sent_ < 512LL * 1024 * 1024) {
            if (socket->bytesToWrite() < 4 * chunk.size()) {
                socket->write(chunk);
                sent_ += chunk.size();
            }
            socket->waitForBytesWritten(100);
        }
    }
}

} // namespace gratinel
