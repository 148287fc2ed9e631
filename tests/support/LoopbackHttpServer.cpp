#include "LoopbackHttpServer.h"

#include <QTcpSocket>

LoopbackHttpServer::LoopbackHttpServer(Handler handler) : m_handler(std::move(handler))
{
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, &LoopbackHttpServer::onConnection);
}

QUrl LoopbackHttpServer::url(const QString &path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(m_server.serverPort()) + path);
}

void LoopbackHttpServer::onConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
            *buffer += socket->readAll();
            const qsizetype headEnd = buffer->indexOf("\r\n\r\n");
            if (headEnd < 0)
                return;
            Request req;
            const QByteArray head = buffer->left(headEnd);
            const QList<QByteArray> lines = head.split('\n');
            const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
            req.method = first.value(0);
            req.target = first.value(1);
            req.headers = head;
            qsizetype length = 0;
            for (const QByteArray &l : lines) {
                if (l.toLower().startsWith("content-length:"))
                    length = l.mid(15).trimmed().toLongLong();
            }
            if (buffer->size() < headEnd + 4 + length)
                return;
            req.body = buffer->mid(headEnd + 4, length);
            buffer->clear();
            requests << req;
            const Response resp = m_handler(req);
            if (resp.silent)
                return;
            QByteArray out = "HTTP/1.1 " + QByteArray::number(resp.status) + " X\r\n";
            out += "Content-Type: " + resp.contentType + "\r\n";
            out += "Content-Length: " + QByteArray::number(resp.body.size()) + "\r\n";
            out += "Connection: close\r\n\r\n" + resp.body;
            socket->write(out);
            socket->disconnectFromHost();
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}
