#include "service/Error.h"
#include "settings/ReferenceLists.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tavix;

class TestReferenceLists : public QObject
{
    Q_OBJECT
private slots:
    void provincesInTheirFixedOrderAppended()
    {
        QStringList list{QStringLiteral("X")};
        FillProvinceList(list);
        QCOMPARE(list.size(), 104);
        QCOMPARE(list[1], QStringLiteral("AGRIGENTO"));
        QCOMPARE(list.indexOf(QStringLiteral("LA SPEZIA")) + 1, list.indexOf(QStringLiteral("L'AQUILA")));
        QVERIFY(list.contains(QStringLiteral("FORLI")));
        QCOMPARE(list.last(), QStringLiteral("VITERBO"));
        FillProvinceList(list);
        QCOMPARE(list.size(), 207);
    }

    void linesAreTakenWhole_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("crlf, final end") << QByteArray("A\r\nB\r\n") << QStringList{"A", "B"};
        QTest::newRow("lf, cr, no final end") << QByteArray("A\nB\rC") << QStringList{"A", "B", "C"};
        QTest::newRow("empty line kept") << QByteArray("A\n\nB\n") << QStringList{"A", "", "B"};
        QTest::newRow("blanks kept") << QByteArray(" SAN MARCO  \n") << QStringList{" SAN MARCO  "};
        QTest::newRow("8-bit") << QByteArray("FORL\xCC\n") << QStringList{QStringLiteral("FORLÌ")};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
    }
    void linesAreTakenWhole()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QCOMPARE(SplitLines(bytes), lines);
    }

    void comuniFileByExactProvinceName()
    {
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("L'AQUILA.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("ACCIANO\r\nL'AQUILA\r\n");
        f.close();
        setComuniFolder(dir.path());
        QStringList list{QStringLiteral("old")};
        LoadComuni(QStringLiteral("L'AQUILA"), list);
        QCOMPARE(list, (QStringList{"ACCIANO", "L'AQUILA"}));

        list = {QStringLiteral("old")};
        try {
            LoadComuni(QStringLiteral("REGGIO DI CALABRIA"), list);
            QFAIL("a missing file must be an error");
        } catch (const Error &e) {
            QVERIFY(e.text().contains(QLatin1String("REGGIO DI CALABRIA.txt")));
        }
        QVERIFY(list.isEmpty());
        setComuniFolder({});
    }

    void shippedFilesCoverEveryProvince()
    {
        setComuniFolder(QStringLiteral(TAVIX_SOURCE_DIR "/data/FilesComuni"));
        QStringList provinces;
        FillProvinceList(provinces);
        int total = 0;
        for (const QString &p : provinces) {
            QStringList comuni;
            LoadComuni(p, comuni);
            QVERIFY2(!comuni.isEmpty(), qPrintable(p));
            total += comuni.size();
        }
        QVERIFY(total >= 7896);
        QStringList roma;
        LoadComuni(QStringLiteral("ROMA"), roma);
        QVERIFY(roma.contains(QStringLiteral("ROMA")));
        setComuniFolder({});
    }
};

QTEST_GUILESS_MAIN(TestReferenceLists)
#include "tst_referencelists.moc"
