#pragma once
// A tafserver of its own for a test: a temporary database with the comuni tables, the fixture
// archive (tests/fixtures/taf/fixture.taf) and two accounts, served on a free loopback port.

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class TafServerProcess
{
public:
    static constexpr const char *kUser = "tecnico@example.it";
    static constexpr const char *kPassword = "pass word àè";
    static constexpr const char *kDemoUser = "demo@tavix.it";
    static constexpr const char *kDemoPassword = "demo";

    TafServerProcess() = default;
    ~TafServerProcess();
    TafServerProcess(const TafServerProcess &) = delete;
    TafServerProcess &operator=(const TafServerProcess &) = delete;

    // Seeds and starts; false with `error` set when something fails.
    bool start(QString *error);
    // SIGTERM, then waits; the exit code of the service (-1 when it had to be killed).
    int stop();

    QString baseUrl() const { return QStringLiteral("http://127.0.0.1:%1/").arg(m_port); }
    int port() const { return m_port; }
    QString databasePath() const { return m_dir.filePath(QStringLiteral("taf.db")); }
    QString rootPath() const { return m_dir.filePath(QStringLiteral("root")); }
    // Runs a tafserver subcommand to its end; its exit code, its standard error in `errors`.
    static int run(const QStringList &arguments, QByteArray *errors = nullptr);
    static QString executable();

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};
