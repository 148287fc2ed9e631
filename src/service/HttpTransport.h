#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QString>
#include <QUrl>

namespace tavix {

class MultipartForm;

// Blocking HTTP on the calling (UI) thread: each call runs a nested event loop that excludes
// user input, so windows keep painting while no handler can be re-entered. Every wait is
// bounded.
class HttpTransport
{
public:
    struct Timeouts
    {
        int idleMs = 30'000;     // GET and download: no byte received for this long
        int totalMs = 300'000;   // GET and download: whole exchange
        int postMs = 90'000;     // multipart POST: whole exchange
    };

    HttpTransport();
    explicit HttpTransport(Timeouts timeouts);

    // The body of a successful GET. Throws tavix::Error on any failure (no connection,
    // error status, time-out).
    QByteArray get(const QUrl &url);

    // GET into a local file, replaced only when the whole body arrived. Returns whether it did;
    // a failed download leaves no partial file behind.
    bool download(const QUrl &url, const QString &localFile);

    // One multipart POST. The answer's lines joined with CR LF and trimmed of blanks and control
    // characters; after the POST time-out, the text of kPostTimeoutAnswer. Throws tavix::Error on
    // a transport failure.
    QString post(const QUrl &url, const MultipartForm &form);

    static const QString kPostTimeoutAnswer;

    // Decodes and trims an answer body the way post() does.
    static QString answerText(const QByteArray &body, const QByteArray &contentType);

    const Timeouts &timeouts() const { return m_timeouts; }

private:
    struct Outcome
    {
        QByteArray body;
        QByteArray contentType;
        int status = 0;
        bool timedOut = false;
        QString error; // empty on success
    };
    Outcome exchange(QNetworkReply *reply, int idleMs, int totalMs);

    Timeouts m_timeouts;
    QNetworkAccessManager m_manager;
};

} // namespace tavix
