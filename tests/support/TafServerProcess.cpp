#include "TafServerProcess.h"

#include <QRegularExpression>

namespace {
constexpr int kStepTimeoutMs = 30000;
}

QString TafServerProcess::executable()
{
    return QStringLiteral(TAVIX_TAFSERVER_PATH);
}

int TafServerProcess::run(const QStringList &arguments, QByteArray *errors)
{
    QProcess process;
    process.start(executable(), arguments);
    if (!process.waitForFinished(kStepTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    if (errors)
        *errors = process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

TafServerProcess::~TafServerProcess()
{
    stop();
}

bool TafServerProcess::start(QString *error)
{
    const QString db = databasePath();
    const QString root = rootPath();
    const QString fixture = QStringLiteral(TAVIX_FIXTURES_DIR "/taf/fixture.taf");
    const QList<QStringList> steps = {
        {QStringLiteral("seed"), QStringLiteral("--db"), db, QStringLiteral("--scope"),
         QStringLiteral("comuni"), QStringLiteral("--root"), root},
        {QStringLiteral("import-taf"), QStringLiteral("--db"), db, fixture},
        {QStringLiteral("add-user"), QStringLiteral("--db"), db, QString::fromUtf8(kUser),
         QString::fromUtf8(kPassword)},
    };
    for (const QStringList &step : steps) {
        QByteArray errors;
        if (run(step, &errors) != 0) {
            *error = QStringLiteral("tafserver %1 fallito: %2")
                         .arg(step.first(), QString::fromUtf8(errors));
            return false;
        }
    }
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start(executable(),
                    {QStringLiteral("serve"), QStringLiteral("--db"), db, QStringLiteral("--port"),
                     QStringLiteral("0"), QStringLiteral("--root"), root});
    // The service prints the address it listens on, with the port it was given.
    static const QRegularExpression listening(QStringLiteral(":(\\d+)/\\s*$"));
    QByteArray output;
    while (m_process.waitForReadyRead(kStepTimeoutMs)) {
        output += m_process.readAllStandardOutput();
        const auto match = listening.match(QString::fromUtf8(output));
        if (match.hasMatch()) {
            m_port = match.captured(1).toInt();
            return true;
        }
    }
    *error = QStringLiteral("tafserver serve non risponde: %1")
                 .arg(QString::fromUtf8(m_process.readAllStandardError()));
    return false;
}

int TafServerProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    m_process.terminate();
    if (!m_process.waitForFinished(10000)) {
        m_process.kill();
        m_process.waitForFinished();
        return -1;
    }
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}
