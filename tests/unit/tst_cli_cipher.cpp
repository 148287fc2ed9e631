#include <QProcess>
#include <QTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run runCli(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(TAVIX_CLI), args);
    Run run;
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

QStringList keyArgs(const QString &command)
{
    return {command, QStringLiteral("--key-text"), QStringLiteral("q7Lr2Vx9TfB4mK0zWc8NpH3sJ"),
            QStringLiteral("--mask"), QStringLiteral("4711")};
}

} // namespace

class TestCliCipher : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip();
    void badInput_data();
    void badInput();
    void help();
};

void TestCliCipher::roundTrip()
{
    const QString plain = QStringLiteral("http://127.0.0.1:8642/città, \"prova\"?user=");
    const Run enciphered = runCli(keyArgs(QStringLiteral("encipher")) << plain);
    QCOMPARE(enciphered.exitCode, 0);
    const QString stored = enciphered.out.trimmed();
    QVERIFY(!stored.isEmpty());
    QVERIFY(!stored.contains(QStringLiteral("8642")));

    const Run deciphered = runCli(keyArgs(QStringLiteral("decipher")) << stored);
    QCOMPARE(deciphered.exitCode, 0);
    QCOMPARE(deciphered.out, plain + u'\n');
}

void TestCliCipher::badInput_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("fragment");
    const QString encipher = QStringLiteral("encipher");
    const QString x = QStringLiteral("x");
    QTest::newRow("no command") << QStringList() << QStringLiteral("manca il comando");
    QTest::newRow("unknown command")
        << QStringList{QStringLiteral("cifra")} << QStringLiteral("comando sconosciuto");
    QTest::newRow("no key text") << QStringList{encipher, QStringLiteral("--mask"),
                                                QStringLiteral("1"), x}
                                 << QStringLiteral("--key-text");
    QTest::newRow("no mask") << QStringList{encipher, QStringLiteral("--key-text"), x, x}
                             << QStringLiteral("--mask");
    QTest::newRow("mask not an integer")
        << (keyArgs(encipher).mid(0, 4) << QStringLiteral("47a1") << x)
        << QStringLiteral("numero intero");
    QTest::newRow("no text") << keyArgs(encipher) << QStringLiteral("TESTO");
    QTest::newRow("two texts") << (keyArgs(encipher) << x << x) << QStringLiteral("virgolette");
    QTest::newRow("unknown option") << (keyArgs(encipher) << QStringLiteral("--chiave") << x)
                                    << QStringLiteral("opzione sconosciuta");
    QTest::newRow("bad Base64") << (keyArgs(QStringLiteral("decipher")) << QStringLiteral("abcde"))
                                << QStringLiteral("Base64: Incorrect string format");
    QTest::newRow("bad service base")
        << (QStringList{QStringLiteral("--service-base"), QStringLiteral("ftp://h/")} +
                keyArgs(encipher)
            << x)
        << QStringLiteral("non valido");
}

void TestCliCipher::badInput()
{
    QFETCH(QStringList, args);
    QFETCH(QString, fragment);
    const Run run = runCli(args);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.contains(fragment), qPrintable(run.err));
}

void TestCliCipher::help()
{
    const Run run = runCli({QStringLiteral("--help")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.contains(QStringLiteral("encipher")));
    QVERIFY(run.out.contains(QStringLiteral("--service-base")));
}

QTEST_GUILESS_MAIN(TestCliCipher)
#include "tst_cli_cipher.moc"
