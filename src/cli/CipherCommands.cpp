#include "cli/CipherCommands.h"

#include "service/Cipher.h"
#include "service/Error.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace tavix::cli {

namespace {

constexpr int BadInput = 2;

struct CommandText
{
    QString name;
    QString description;
    QString input;     // name of the positional argument
    QString inputHelp; // its description
};

struct CipherInput
{
    QByteArray keySource;
    QByteArray mask;
    QByteArray text;
};

// Command-line text as the single-byte text the cipher works on.
QByteArray singleByte(const QString &text, const QString &what)
{
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            throw Error(QStringLiteral("%1: carattere non ammesso \"%2\" (solo caratteri Latin-1)")
                            .arg(what, c));
    }
    return text.toLatin1();
}

CipherInput checkedInput(const QCommandLineParser &parser, const CommandText &command)
{
    if (!parser.isSet(QStringLiteral("key-text")))
        throw Error(QStringLiteral("manca l'opzione --key-text"));
    if (!parser.isSet(QStringLiteral("mask")))
        throw Error(QStringLiteral("manca l'opzione --mask"));
    const QString keyText = parser.value(QStringLiteral("key-text"));
    const QString mask = parser.value(QStringLiteral("mask"));
    if (keyText.isEmpty())
        throw Error(QStringLiteral("la chiave --key-text è vuota"));
    if (!IsValidMask(mask.toLatin1()))
        throw Error(QStringLiteral("la maschera --mask deve essere un numero intero, non \"%1\"")
                        .arg(mask));
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        throw Error(QStringLiteral("manca l'argomento %1").arg(command.input));
    if (positional.size() > 1)
        throw Error(
            QStringLiteral("troppi argomenti: racchiudere %1 tra virgolette").arg(command.input));
    return {singleByte(keyText, QStringLiteral("--key-text")), mask.toLatin1(),
            singleByte(positional.constFirst(), command.input)};
}

QString parseError(const QCommandLineParser &parser)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty())
        return QStringLiteral("opzione sconosciuta \"%1\"").arg(unknown.constFirst());
    return QStringLiteral("opzione senza valore o con un valore non ammesso (%1)")
        .arg(parser.errorText());
}

int badInput(const CommandText &command, const QString &reason)
{
    QTextStream(stderr) << "tavix-cli " << command.name << ": " << reason << "\n"
                        << "Usare \"tavix-cli " << command.name << " --help\" per l'aiuto.\n";
    return BadInput;
}

int runCipherCommand(const QStringList &args, const CommandText &command,
                     QString (*transform)(const CipherInput &))
{
    QCommandLineParser parser;
    parser.setApplicationDescription(command.description);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Mostra questo aiuto."));
    parser.addOption(help);
    parser.addOption({QStringLiteral("key-text"),
                      QStringLiteral("Sorgente del testo chiave (come KeyTextSource)."),
                      QStringLiteral("K")});
    parser.addOption({QStringLiteral("mask"),
                      QStringLiteral("Maschera decimale (come MaskSource)."), QStringLiteral("M")});
    parser.addPositionalArgument(command.input, command.inputHelp);

    if (!parser.parse(args))
        return badInput(command, parseError(parser));
    if (parser.isSet(help)) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    try {
        const QString result = transform(checkedInput(parser, command));
        QTextStream(stdout) << result << '\n';
        return 0;
    } catch (const Error &e) {
        return badInput(command, e.text());
    }
}

QString encipher(const CipherInput &input)
{
    return QString::fromLatin1(EncipherConstant(input.text, input.keySource, input.mask));
}

QString decipher(const CipherInput &input)
{
    return QString::fromLatin1(
        DecipherConstant(input.text.constData(), input.text.size(), input.keySource, input.mask));
}

} // namespace

int runEncipher(const QStringList &args)
{
    const CommandText command{
        QStringLiteral("encipher"),
        QStringLiteral("Cifra TESTO e stampa il valore memorizzato (Base64)."),
        QStringLiteral("TESTO"), QStringLiteral("Il testo in chiaro.")};
    return runCipherCommand(args, command, encipher);
}

int runDecipher(const QStringList &args)
{
    const CommandText command{QStringLiteral("decipher"),
                              QStringLiteral("Decifra un valore memorizzato e stampa il testo."),
                              QStringLiteral("BASE64"), QStringLiteral("Il valore memorizzato.")};
    return runCipherCommand(args, command, decipher);
}

} // namespace tavix::cli
