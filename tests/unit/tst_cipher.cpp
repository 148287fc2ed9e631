#include "service/Cipher.h"
#include "service/Error.h"
#include "service/Rc6.h"
#include "service/ServiceConstants.h"

#include <QFile>
#include <QSettings>
#include <QTest>
#include <algorithm>

using namespace tavix;

namespace {

template <std::size_t N> std::array<std::uint8_t, N> fromHex(const char *hex)
{
    const QByteArray bytes = QByteArray::fromHex(hex);
    std::array<std::uint8_t, N> result{};
    std::copy(bytes.begin(), bytes.end(), result.begin());
    return result;
}

QByteArray toHex(const Rc6::Block &block)
{
    return QByteArray(reinterpret_cast<const char *>(block.data()), block.size()).toHex();
}

QString base64ErrorOf(const QByteArray &base64)
{
    try {
        DecipherText(base64, "chiave");
    } catch (const Error &e) {
        return e.text();
    }
    return QStringLiteral("(no error)");
}

} // namespace

class TestCipher : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void rc6Vectors_data();
    void rc6Vectors();
    void knownAnswers_data();
    void knownAnswers();
    void keyTextUsesFirst15Characters();
    void badBase64_data();
    void badBase64();
    void storedConstantEndsAtNul();
    void xorText_data();
    void xorText();

    void generatedConstantsMatchDeployment();
    void rebaseAddress_data();
    void rebaseAddress();
    void overrides_data();
    void overrides();
    void badOverridesChangeNothing_data();
    void badOverridesChangeNothing();
};

void TestCipher::cleanup()
{
    qunsetenv("TAVIX_SERVICE_BASE");
    qunsetenv("TAVIX_PRINT_BASE");
    setServiceBaseOverride({});
    setPrintBaseOverride({});
}

void TestCipher::rc6Vectors_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("cipher");
    QTest::newRow("zero key, zero block") << QByteArray("00000000000000000000000000000000")
                                          << QByteArray("00000000000000000000000000000000")
                                          << QByteArray("8fc3a53656b1f778c129df4e9848a41e");
    QTest::newRow("published key and block") << QByteArray("0123456789abcdef0112233445566778")
                                             << QByteArray("02132435465768798a9bacbdcedfe0f1")
                                             << QByteArray("524e192f4715c6231f51f6367ea43f18");
}

void TestCipher::rc6Vectors()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, cipher);
    const Rc6 rc6(fromHex<Rc6::KeySize>(key.constData()));
    auto block = fromHex<Rc6::BlockSize>(plain.constData());
    rc6.encryptBlock(block);
    QCOMPARE(toHex(block), cipher);
    rc6.decryptBlock(block);
    QCOMPARE(toHex(block), plain);
}

// Stored forms computed by a separate implementation: they pin the key block, the initial
// chaining block and the final-part rule, which a round trip alone cannot tell apart.
void TestCipher::knownAnswers_data()
{
    QTest::addColumn<QByteArray>("keyText");
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("empty") << QByteArray("chiave") << QByteArray() << QByteArray();
    QTest::newRow("13 bytes: 20 characters ending ==")
        << QByteArray("chiave") << QByteArray("http://a.it/x")
        << QByteArray("EiHQX1b/1R/Ddt6yYw==");
    QTest::newRow("16 bytes: one whole block")
        << QByteArray("chiave") << QByteArray("0123456789abcdef")
        << QByteArray("TxTi5aN9fVOJGH/1ux0YDA==");
    QTest::newRow("21 bytes: block and 5-byte final part")
        << QByteArray("chiave")
        << QByteArray("Via Verdi 3, citt\xe0"
                      " 21")
        << QByteArray("mMwPCn+Jnekd5E4gLYT56DHtXgAZ");
    QTest::newRow("32 bytes: two blocks, key text over 15 characters")
        << QByteArray("0123456789ABCDEFGHIJ") << QByteArray("0123456789abcdef0123456789ABCDEF")
        << QByteArray("UxZNnCYKDAkqT0nS9hLpAUtRpR3OaPeUhoV3EP3DUbw=");
}

void TestCipher::knownAnswers()
{
    QFETCH(QByteArray, keyText);
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, stored);
    QCOMPARE(EncipherText(plain, keyText), stored);
    QCOMPARE(DecipherText(stored, keyText), plain);
}

void TestCipher::keyTextUsesFirst15Characters()
{
    const QByteArray plain = "http://127.0.0.1:8642/registrazione.php";
    const QByteArray stored = EncipherText(plain, "0123456789ABCDE");
    QCOMPARE(EncipherText(plain, "0123456789ABCDEF"), stored);
    QCOMPARE(EncipherText(plain, "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"), stored);
    QVERIFY(EncipherText(plain, "0123456789ABCDX") != stored); // the 15th character counts
    QVERIFY(DecipherText(stored, "0123456789ABCDx") != plain);
}

void TestCipher::badBase64_data()
{
    QTest::addColumn<QByteArray>("base64");
    QTest::newRow("one character") << QByteArray("A");
    QTest::newRow("three characters") << QByteArray("QUJ");
    QTest::newRow("padding missing") << QByteArray("EiHQX1b/1R/Ddt6yYw");
    QTest::newRow("five characters") << QByteArray("QUJDR");
    QTest::newRow("blank inside") << QByteArray("QU D");
    QTest::newRow("padding inside") << QByteArray("QQ==QUJD");
    QTest::newRow("not the alphabet") << QByteArray("QU*D");
}

void TestCipher::badBase64()
{
    QFETCH(QByteArray, base64);
    QCOMPARE(base64ErrorOf(base64), QStringLiteral("Base64: Incorrect string format"));
}

void TestCipher::storedConstantEndsAtNul()
{
    const QByteArray stored = EncipherConstant("query.php", "sorgente", "4711");
    const QByteArray withTail = stored + '\0' + "rubbish";
    QCOMPARE(DecipherConstant(withTail.constData(), withTail.size(), "sorgente", "4711"),
             QByteArray("query.php"));
    QCOMPARE(DecipherConstant(stored.constData(), stored.size(), "sorgente", "4711"),
             QByteArray("query.php"));
    // A wrong mask gives another key: unreadable text, no error.
    QVERIFY(DecipherConstant(stored.constData(), stored.size(), "sorgente", "4712") != "query.php");
}

void TestCipher::xorText_data()
{
    QTest::addColumn<QByteArray>("decimal");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("zero") << QByteArray("0") << QByteArray("Ab1");
    QTest::newRow("one") << QByteArray("1") << QByteArray("@c0");
    QTest::newRow("lowest byte only") << QByteArray("4353") << QByteArray("@c0"); // 0x1101
    QTest::newRow("negative") << QByteArray("-1") << QByteArray("\xbe\x9d\xce");
    QTest::newRow("letters") << QByteArray("12a") << QByteArray();
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("blank") << QByteArray(" 12") << QByteArray();
    QTest::newRow("out of range") << QByteArray("99999999999") << QByteArray();
}

void TestCipher::xorText()
{
    QFETCH(QByteArray, decimal);
    QFETCH(QByteArray, expected);
    QCOMPARE(XorText("Ab1", decimal), expected);
}

void TestCipher::generatedConstantsMatchDeployment()
{
    const QSettings ini(QStringLiteral(TAVIX_DEPLOYMENT_FILE), QSettings::IniFormat);
    const auto value = [&ini](const char *key) { return ini.value(QLatin1String(key)).toString(); };
    QVERIFY(!value("Service/ServiceBase1").isEmpty());
    QCOMPARE(serviceBase(), value("Service/ServiceBase1") + value("Service/ServiceBase2"));
    QCOMPARE(queryPage(), value("Service/QueryPage"));
    QCOMPARE(comuniPage(), value("Service/ComuniPage"));
    QCOMPARE(uploadPage(), value("Service/UploadPage"));
    QCOMPARE(printedCardsPage(), value("Service/PrintedCardsPage"));
    QCOMPARE(newUserPage(), value("Service/NewUserPage"));
    QCOMPARE(replaceImagePage(), value("Service/ReplaceImagePage"));
    QCOMPARE(deleteImagePage(), value("Service/DeleteImagePage"));
    QCOMPARE(cardPrintPage(), value("Print/CardPrintPage"));
    QCOMPARE(listPrintPage(), value("Print/ListPrintPage"));
    QCOMPARE(defaultPrintBase(), value("Print/PrintBaseAddress"));

    // The addresses are compiled in enciphered only.
    QFile header(QStringLiteral(TAVIX_STORED_CONSTANTS));
    QVERIFY(header.open(QIODevice::ReadOnly));
    const QByteArray text = header.readAll();
    QVERIFY(!text.contains(value("Service/QueryPage").toLatin1()));
    QVERIFY(!text.contains(value("Service/NewUserPage").toLatin1()));
}

void TestCipher::rebaseAddress_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("overrideBase");
    QTest::addColumn<QString>("expected");
    const QString page = QStringLiteral("http://127.0.0.1:8642/cancellazione.php?user=");
    QTest::newRow("under the base")
        << page << QStringLiteral("http://10.0.0.5:9000/tavix/")
        << QStringLiteral("http://10.0.0.5:9000/tavix/cancellazione.php?user=");
    QTest::newRow("no override") << page << QString() << page;
    QTest::newRow("elsewhere") << QStringLiteral("https://registro.example.it/nuovo.php")
                               << QStringLiteral("http://10.0.0.5:9000/")
                               << QStringLiteral("https://registro.example.it/nuovo.php");
    QTest::newRow("same host, other port")
        << QStringLiteral("http://127.0.0.1:86420/x.php") << QStringLiteral("http://10.0.0.5/")
        << QStringLiteral("http://127.0.0.1:86420/x.php");
}

void TestCipher::rebaseAddress()
{
    QFETCH(QString, address);
    QFETCH(QString, overrideBase);
    QFETCH(QString, expected);
    QCOMPARE(tavix::rebaseAddress(address, QStringLiteral("http://127.0.0.1:8642/"), overrideBase),
             expected);
}

void TestCipher::overrides_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("envService");
    QTest::addColumn<QString>("envPrint");
    QTest::addColumn<QString>("service");  // expected override, empty for none
    QTest::addColumn<QString>("print");    // expected override, empty for none
    QTest::addColumn<QStringList>("rest"); // args left for the program

    const QString prog = QStringLiteral("tavix");
    const QString a = QStringLiteral("http://127.0.0.1:5001/");
    const QString b = QStringLiteral("http://localhost:5002/");
    const QString p = QStringLiteral("http://127.0.0.1:5003/stampe/");
    QTest::newRow("nothing") << QStringList{prog, QStringLiteral("-x")} << QString() << QString()
                             << QString() << QString() << QStringList{prog, QStringLiteral("-x")};
    QTest::newRow("variables") << QStringList{prog} << a << p << a << p << QStringList{prog};
    QTest::newRow("option wins over variable")
        << QStringList{prog, QStringLiteral("--service-base"), b, QStringLiteral("query")} << a
        << QString() << b << QString() << QStringList{prog, QStringLiteral("query")};
    QTest::newRow("option=URL, final / added")
        << QStringList{prog, QStringLiteral("--service-base=http://localhost:5002"),
                       QStringLiteral("--print-base"), p}
        << QString() << QString() << b << p << QStringList{prog};
    QTest::newRow("after -- left alone")
        << QStringList{prog, QStringLiteral("--"), QStringLiteral("--service-base"), b} << QString()
        << QString() << QString() << QString()
        << QStringList{prog, QStringLiteral("--"), QStringLiteral("--service-base"), b};
}

void TestCipher::overrides()
{
    QFETCH(QStringList, args);
    QFETCH(QString, envService);
    QFETCH(QString, envPrint);
    QFETCH(QString, service);
    QFETCH(QString, print);
    QFETCH(QStringList, rest);
    const QString deploymentBase = serviceBase();
    const QString deploymentNewUser = newUserPage();
    const QString deploymentDelete = deleteImagePage();
    const QString deploymentPrint = defaultPrintBase();
    const QString deploymentQuery = queryPage();
    if (!envService.isEmpty())
        qputenv("TAVIX_SERVICE_BASE", envService.toUtf8());
    if (!envPrint.isEmpty())
        qputenv("TAVIX_PRINT_BASE", envPrint.toUtf8());

    applyServiceOverrides(args);

    QCOMPARE(args, rest);
    QCOMPARE(serviceBase(), service.isEmpty() ? deploymentBase : service);
    QCOMPARE(queryPage(), deploymentQuery);
    QCOMPARE(newUserPage(), tavix::rebaseAddress(deploymentNewUser, deploymentBase, service));
    QCOMPARE(deleteImagePage(), tavix::rebaseAddress(deploymentDelete, deploymentBase, service));
    QCOMPARE(defaultPrintBase(),
             print.isEmpty() ? tavix::rebaseAddress(deploymentPrint, deploymentBase, service)
                             : print);
}

void TestCipher::badOverridesChangeNothing_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("envService");
    QTest::addColumn<QString>("fragment");
    const QString prog = QStringLiteral("tavix");
    QTest::newRow("option without address") << QStringList{prog, QStringLiteral("--print-base")}
                                            << QString() << QStringLiteral("--print-base");
    QTest::newRow("option followed by option")
        << QStringList{prog, QStringLiteral("--service-base"), QStringLiteral("--print-base"),
                       QStringLiteral("http://h/")}
        << QString() << QStringLiteral("--service-base");
    QTest::newRow("not http") << QStringList{prog, QStringLiteral("--service-base=ftp://h/")}
                              << QString() << QStringLiteral("ftp://h/");
    QTest::newRow("bad variable") << QStringList{prog} << QStringLiteral("localhost:5000")
                                  << QStringLiteral("localhost:5000");
}

void TestCipher::badOverridesChangeNothing()
{
    QFETCH(QStringList, args);
    QFETCH(QString, envService);
    QFETCH(QString, fragment);
    setServiceBaseOverride(QStringLiteral("http://127.0.0.1:5001/"));
    setPrintBaseOverride(QStringLiteral("http://127.0.0.1:5001/stampe/"));
    if (!envService.isEmpty())
        qputenv("TAVIX_SERVICE_BASE", envService.toUtf8());
    QString error;
    try {
        applyServiceOverrides(args);
    } catch (const Error &e) {
        error = e.text();
    }
    QVERIFY2(error.contains(fragment), qPrintable(error));
    QCOMPARE(serviceBase(), QStringLiteral("http://127.0.0.1:5001/"));
    QCOMPARE(defaultPrintBase(), QStringLiteral("http://127.0.0.1:5001/stampe/"));
}

QTEST_GUILESS_MAIN(TestCipher)
#include "tst_cipher.moc"
