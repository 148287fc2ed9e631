#pragma once

#include <QByteArray>
#include <QList>
#include <QTcpServer>
#include <QUrl>

#include <functional>

// A minimal HTTP/1.1 server on 127.0.0.1 that runs in the test's own thread (the client's
// nested event loop serves it). Records every request; answers through a handler.
class LoopbackHttpServer : public QObject
{
    Q_OBJECT
public:
    struct Request
    {
        QByteArray method;
        QByteArray target; // path and query exactly as sent
        QByteArray headers;
        QByteArray body;
    };
    struct Response
    {
        int status = 200;
        QByteArray body;
        QByteArray contentType = "text/xml";
        bool silent = false; // accept the request and never answer
    };
    using Handler = std::function<Response(const Request &)>;

    explicit LoopbackHttpServer(Handler handler);
    QUrl url(const QString &path = {}) const;

    QList<Request> requests;

private:
    void onConnection();
    Handler m_handler;
    QTcpServer m_server;
};
