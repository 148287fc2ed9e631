#include "service/HttpTransport.h"

#include "service/Cp1252.h"
#include "service/Error.h"
#include "service/MultipartForm.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTimer>
#include <QUuid>

namespace tavix {

const QString HttpTransport::kPostTimeoutAnswer = QStringLiteral("[error 100: tiehttp timeout expired]");

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("tavix", text);
}

QNetworkRequest makeRequest(const QUrl &url, int idleMs)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    if (idleMs > 0)
        request.setTransferTimeout(idleMs);
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("Tavix"));
    return request;
}

} // namespace

HttpTransport::HttpTransport() : HttpTransport(Timeouts{}) {}

HttpTransport::HttpTransport(Timeouts timeouts) : m_timeouts(timeouts)
{
    m_manager.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

HttpTransport::Outcome HttpTransport::exchange(QNetworkReply *reply, int idleMs, int totalMs)
{
    Outcome out;
    QEventLoop loop;
    QTimer total;
    total.setSingleShot(true);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&total, &QTimer::timeout, &loop, [&] {
        out.timedOut = true;
        reply->abort();
    });
    total.start(totalMs);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    total.stop();

    out.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    out.contentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    if (reply->error() == QNetworkReply::OperationCanceledError && !out.timedOut && idleMs > 0)
        out.timedOut = true; // the idle transfer time-out cancels the reply
    if (out.timedOut) {
        out.error = tr("Il server non ha risposto in tempo");
    } else if (reply->error() != QNetworkReply::NoError) {
        out.error = reply->errorString();
    } else if (out.status >= 400) {
        out.error = tr("Il server ha risposto con l'errore HTTP %1").arg(out.status);
    } else {
        out.body = reply->readAll();
    }
    reply->deleteLater();
    return out;
}

QByteArray HttpTransport::get(const QUrl &url)
{
    QNetworkReply *reply = m_manager.get(makeRequest(url, m_timeouts.idleMs));
    Outcome out = exchange(reply, m_timeouts.idleMs, m_timeouts.totalMs);
    if (!out.error.isEmpty())
        throw Error(out.error);
    return out.body;
}

bool HttpTransport::download(const QUrl &url, const QString &localFile)
{
    QNetworkReply *reply = m_manager.get(makeRequest(url, m_timeouts.idleMs));
    Outcome out = exchange(reply, m_timeouts.idleMs, m_timeouts.totalMs);
    if (!out.error.isEmpty())
        return false;
    QSaveFile file(localFile);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(out.body);
    return file.commit();
}

QString HttpTransport::post(const QUrl &url, const MultipartForm &form)
{
    const QByteArray boundary = "----TavixBoundary" + QUuid::createUuid().toByteArray(QUuid::Id128);
    QNetworkRequest request = makeRequest(url, 0);
    request.setHeader(QNetworkRequest::ContentTypeHeader, MultipartForm::contentType(boundary));
    QNetworkReply *reply = m_manager.post(request, form.body(boundary));
    Outcome out = exchange(reply, 0, m_timeouts.postMs);
    if (out.timedOut)
        return kPostTimeoutAnswer;
    if (!out.error.isEmpty())
        throw Error(out.error);
    return answerText(out.body, out.contentType);
}

QString HttpTransport::answerText(const QByteArray &body, const QByteArray &contentType)
{
    const bool utf8 = contentType.toLower().contains("charset=utf-8");
    const QString text = utf8 ? QString::fromUtf8(body) : fromCp1252(body);
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QString joined = text.split(lineBreak).join(QLatin1String("\r\n"));
    qsizetype from = 0;
    qsizetype to = joined.size();
    while (from < to && joined.at(from).unicode() <= 0x20)
        ++from;
    while (to > from && joined.at(to - 1).unicode() <= 0x20)
        --to;
    return joined.mid(from, to - from);
}

} // namespace tavix
