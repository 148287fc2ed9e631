#include "cli/CipherCommands.h"
#include "cli/QueryCommand.h"
#include "service/Error.h"
#include "service/ServiceConstants.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

struct Command
{
    const char *name;
    const char *summary;
    int (*run)(const QStringList &args);
};

const Command Commands[] = {
    {"encipher", "cifra un testo nella forma dei valori memorizzati", tavix::cli::runEncipher},
    {"decipher", "decifra un valore memorizzato", tavix::cli::runDecipher},
    {"query", "esegue un'operazione del servizio e ne stampa il risultato", tavix::cli::runQuery},
};

QString usage()
{
    QString text = QStringLiteral("uso: tavix-cli COMANDO [OPZIONI] ...\n\nComandi:\n");
    for (const Command &command : Commands)
        text += QStringLiteral("  %1  %2\n")
                    .arg(QLatin1String(command.name), -10)
                    .arg(QLatin1String(command.summary));
    text += QStringLiteral(
        "\nOpzioni generali:\n"
        "  --service-base URL  indirizzo base del servizio (o variabile TAVIX_SERVICE_BASE)\n"
        "  --print-base URL    indirizzo base delle stampe (o variabile TAVIX_PRINT_BASE)\n"
        "\n\"tavix-cli COMANDO --help\" descrive le opzioni di un comando.\n");
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("CALDERIX"));
    QCoreApplication::setApplicationName(QStringLiteral("Tavix"));

    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    try {
        tavix::applyServiceOverrides(args);
    } catch (const tavix::Error &e) {
        err << "tavix-cli: " << e.text() << '\n';
        return 2;
    }

    const QString name = args.value(1);
    if (name == u"--help" || name == u"-h" || name == u"help") {
        QTextStream(stdout) << usage();
        return 0;
    }
    for (const Command &command : Commands) {
        if (name == QLatin1String(command.name)) {
            try {
                return command.run(args.mid(1));
            } catch (const tavix::Error &e) {
                err << "tavix-cli " << name << ": " << e.text() << '\n';
                return 1;
            }
        }
    }
    err << (name.isEmpty() ? QStringLiteral("tavix-cli: manca il comando\n")
                           : QStringLiteral("tavix-cli: comando sconosciuto \"%1\"\n").arg(name))
        << usage();
    return 2;
}
