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
            auto *request = new QByteArray;
            connect(socket, &QObject::destroyed, this, [request] { delete request; });
            connect(socket, &QTcpSocket::readyRead, this, [this, socket, request] {
                *request += socket->readAll();
                if (request->contains("\r\n\r\n") && !request->isEmpty()) {
                    answer(socket, *request);
                    request->clear();
                    request->append('!'); // answered: later bytes are not a new request
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
    if (request.startsWith('!'))
        return;
    const QString path = QString::fromLatin1(request.split(' ').value(1));
    requests << path;
    const Answer a = answers_.value(path, Answer{404, "<html><body>introuvable</body></html>", "text/html", {}, 0, true});
    QByteArray head = "HTTP/1.0 " + QByteArray::number(a.status) + (a.status < 400 ? " OK" : " Not Found") + "\r\n";
    head += "Content-Type: " + a.contentType + "\r\n";
    if (!a.location.isEmpty())
        head += "Location: " + a.location + "\r\n";
    if (a.sendLength)
        head += "Content-Length: " + QByteArray::number(a.body.size()) + "\r\n";
    head += "Connection: close\r\n\r\n";
    QPointer<QTcpSocket> guarded(socket);
    const auto send = [guarded, head, body = a.body] {
        if (!guarded)
            return;
        guarded->write(head);
        guarded->write(body);
        guarded->disconnectFromHost();
    };
    if (a.delayMs > 0)
        QTimer::singleShot(a.delayMs, socket, send);
    else
        send();
}

} // namespace gratinel
