#include "cli/QueryCommand.h"

#include "cli/TableFormat.h"
#include "service/DMTAFQueryPhp.h"
#include "service/Error.h"
#include "service/Notifier.h"
#include "settings/CRGestioneRegistro.h"
#include "settings/QSettingsKeyStore.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <functional>
#include <variant>

namespace tavix::cli {

namespace {

constexpr int Failed = 1;
constexpr int BadInput = 2;

// What an operation gives: a data packet, or lines of text.
using Output = std::variant<QByteArray, QStringList>;

struct Context
{
    TDM_Data &data;
    QString imageFolder; // --out, where DownloadImages keeps its files
};
using Run = std::function<Output(Context &, const QStringList &)>;

struct Operation
{
    const char *name;
    QStringList arguments; // names, for the usage text
    Run run;
};

QStringList lines(const QString &commaList)
{
    return commaList.isEmpty() ? QStringList() : commaList.split(QLatin1Char(','));
}

QStringList keepImages(const TDM_Data::ImageDownload &got, const QString &folder)
{
    QStringList out{got.status};
    for (const QString &local : got.localNames) {
        if (local.isEmpty() || !QFile::exists(local)) {
            out << (local.isEmpty() ? QString() : local);
            continue;
        }
        const QString kept = QDir(folder).absoluteFilePath(QFileInfo(local).fileName());
        QFile::remove(kept);
        out << (QFile::copy(local, kept) ? kept : local);
    }
    return out;
}

const QList<Operation> &operations()
{
    static const QList<Operation> ops = {
        {"QueryComuneCodeAndRegion", {"NOMECOMUNE"},
         [](Context &c, const QStringList &a) -> Output {
             const auto r = c.data.QueryComuneCodeAndRegion(a[0]);
             return QStringList{r.region, r.code};
         }},
        {"QueryComuneCode", {"NOMECOMUNE"},
         [](Context &c, const QStringList &a) -> Output { return QStringList{c.data.QueryComuneCode(a[0])}; }},
        {"QueryComuneName", {"CODICE"},
         [](Context &c, const QStringList &a) -> Output { return QStringList{c.data.QueryComuneName(a[0])}; }},
        {"QueryComuneProvince", {"CODICE"},
         [](Context &c, const QStringList &a) -> Output {
             return QStringList{c.data.QueryComuneProvince(a[0])};
         }},
        {"QueryTafByComune", {"NOMECOMUNE"},
         [](Context &c, const QStringList &a) -> Output { return c.data.QueryTafByComune(a[0]); }},
        {"QueryTafByPFFoglio", {"NOMECOMUNE", "PF", "FOGLIO"},
         [](Context &c, const QStringList &a) -> Output {
             return c.data.QueryTafByPFFoglio(a[0], a[1], a[2]);
         }},
        {"QueryTafByFogliInterval", {"NOMECOMUNE", "DAFOGLIO", "AFOGLIO"},
         [](Context &c, const QStringList &a) -> Output {
             return c.data.QueryTafByFogliInterval(a[0], a[1], a[2]);
         }},
        {"QueryTafByReliabilityInterval", {"NOMECOMUNE", "DAVALORE", "AVALORE"},
         [](Context &c, const QStringList &a) -> Output {
             return c.data.QueryTafByReliabilityInterval(a[0], a[1], a[2]);
         }},
        {"QueryTafByFogliList", {"FOGLIO/CODICE,..."},
         [](Context &c, const QStringList &a) -> Output { return c.data.QueryTafByFogliList(a[0]); }},
        {"QueryTafByPFList", {"PF/FOGLIO/CODICE,..."},
         [](Context &c, const QStringList &a) -> Output { return c.data.QueryTafByPFList(a[0]); }},
        {"QueryFogliOfComune", {"NOMECOMUNE"},
         [](Context &c, const QStringList &a) -> Output { return lines(c.data.QueryFogliOfComune(a[0])); }},
        {"QueryPFOfComuneFoglio", {"NOMECOMUNE", "FOGLIO"},
         [](Context &c, const QStringList &a) -> Output {
             return lines(c.data.QueryPFOfComuneFoglio(a[0], a[1]));
         }},
        {"QueryReliabilitiesOfComune", {"NOMECOMUNE"},
         [](Context &c, const QStringList &a) -> Output {
             return lines(c.data.QueryReliabilitiesOfComune(a[0]));
         }},
        {"QueryTafUpdateDate", {},
         [](Context &c, const QStringList &) -> Output { return QStringList{c.data.QueryTafUpdateDate()}; }},
        {"QueryUserCheck", {"UTENTE", "PASSWORD", "VERSIONE"},
         [](Context &c, const QStringList &a) -> Output {
             return QStringList{c.data.QueryUserCheck(a[0], a[1], a[2])};
         }},
        {"QueryUpdateCheck", {"UTENTE", "PASSWORD", "VERSIONE"},
         [](Context &c, const QStringList &a) -> Output {
             const auto u = c.data.QueryUpdateCheck(a[0], a[1], a[2]);
             return QStringList{u.address, u.fileName};
         }},
        {"DownloadImages", {"CODICE", "SEZIONE", "FOGLIO", "PF"},
         [](Context &c, const QStringList &a) -> Output {
             return keepImages(c.data.DownloadImages(a[0], a[1], a[2], a[3]), c.imageFolder);
         }},
        {"UploadImages",
         {"UTENTE", "CODICE", "SEZIONE", "FOGLIO", "PF", "FILE_PLANIM", "FILE_ALTIM", "FILE_EMP",
          "FILE_INFOAUS"},
         [](Context &c, const QStringList &a) -> Output {
             return QStringList{c.data.UploadImages(a[0], a[1], a[2], a[3], a[4], {a[5], a[6], a[7], a[8]})};
         }},
        {"SendPrintedCards", {"VOCE,..."},
         [](Context &c, const QStringList &a) -> Output {
             c.data.SendPrintedCards(a[0]);
             return QStringList();
         }},
    };
    return ops;
}

// Failed queries are reported on standard error and make the exit code 1.
class CliNotifier : public Notifier
{
public:
    void showError(const QString &, const QString &text) override
    {
        QTextStream(stderr) << text << '\n';
        failed = true;
    }
    bool failed = false;
};

QString operationList()
{
    QString text;
    for (const Operation &op : operations())
        text += QStringLiteral("  %1 %2\n").arg(QLatin1String(op.name), op.arguments.join(u' '));
    return text;
}

void printOutput(const Output &output, const QString &format, TDM_Data &data)
{
    QTextStream out(stdout);
    if (const auto *packet = std::get_if<QByteArray>(&output)) {
        if (format == u"packet" || packet->isEmpty()) {
            out.flush();
            QFile stdoutFile;
            stdoutFile.open(stdout, QIODevice::WriteOnly);
            stdoutFile.write(*packet);
            if (!packet->isEmpty())
                stdoutFile.write("\n");
            return;
        }
        out << (format == u"csv" ? tableAsCsv(data.ClientDataSet1) : tableAsText(data.ClientDataSet1));
        return;
    }
    for (const QString &line : std::get<QStringList>(output))
        out << line << '\n';
}

} // namespace

int runQuery(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Esegue un'operazione del servizio.\n\nOperazioni:\n") +
                                     operationList());
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("OPERAZIONE"), QStringLiteral("nome dell'operazione"));
    parser.addOption({QStringLiteral("user"), QStringLiteral("utente (altrimenti quello memorizzato)"),
                      QStringLiteral("U")});
    parser.addOption({QStringLiteral("password"), QStringLiteral("password"), QStringLiteral("P")});
    parser.addOption({QStringLiteral("format"), QStringLiteral("packet, csv o table"),
                      QStringLiteral("FORMATO"), QStringLiteral("packet")});
    parser.addOption({QStringLiteral("out"), QStringLiteral("cartella delle immagini scaricate"),
                      QStringLiteral("CARTELLA"), QStringLiteral(".")});
    QTextStream err(stderr);
    if (!parser.parse(args)) {
        err << "tavix-cli query: " << parser.errorText() << '\n';
        return BadInput;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    const QString format = parser.value(QStringLiteral("format"));
    if (format != u"packet" && format != u"csv" && format != u"table") {
        err << "tavix-cli query: formato sconosciuto \"" << format << "\" (packet, csv o table)\n";
        return BadInput;
    }
    const QStringList positional = parser.positionalArguments();
    const QString name = positional.value(0);
    const auto op = std::find_if(operations().cbegin(), operations().cend(),
                                 [&](const Operation &o) { return name == QLatin1String(o.name); });
    if (op == operations().cend()) {
        err << "tavix-cli query: operazione sconosciuta \"" << name << "\"\nOperazioni:\n"
            << operationList();
        return BadInput;
    }
    const QStringList opArgs = positional.mid(1);
    if (opArgs.size() != op->arguments.size()) {
        err << "tavix-cli query: " << name << " vuole " << op->arguments.size() << " argomenti: "
            << op->arguments.join(u' ') << '\n';
        return BadInput;
    }
    const QString imageFolder = parser.value(QStringLiteral("out"));
    if (!QDir(imageFolder).exists()) {
        err << "tavix-cli query: la cartella \"" << imageFolder << "\" non esiste\n";
        return BadInput;
    }

    TDM_Data data;
    if (parser.isSet(QStringLiteral("user"))) {
        data.ServiceUser = parser.value(QStringLiteral("user"));
        data.ServicePassword = parser.value(QStringLiteral("password"));
    } else {
        auto keys = QSettingsKeyStore::openProgramStore();
        SettingsStore store(*keys);
        data.ServiceUser = store.ReadRootValue(setting::kUser);
        data.ServicePassword = store.ReadRootValue(setting::kPwd);
    }

    CliNotifier notifier;
    Notifier *previous = setNotifier(&notifier);
    int code = 0;
    try {
        Context context{data, imageFolder};
        const Output output = op->run(context, opArgs);
        printOutput(output, format, data);
    } catch (const Error &e) {
        err << "tavix-cli query: " << e.text() << '\n';
        code = Failed;
    }
    setNotifier(previous);
    return notifier.failed ? Failed : code;
}

} // namespace tavix::cli
