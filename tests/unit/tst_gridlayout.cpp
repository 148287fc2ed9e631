#include "PacketBuilder.h"

#include "mainwin/GridLayout.h"
#include "mainwin/PictureFormat.h"
#include "service/ResultTable.h"

#include <QTest>

using tavix::ResultTable;

namespace {

// The TAF fields in a server order unlike the grid's, Provincia first, an unknown field among
// them and XqYq last.
const QList<PacketField> ServerOrder = {
    {"Provincia", "string", 2},
    {"Foglio", "string", 4},
    {"Comune", "string", 5},
    {"PF", "string", 2},
    {"Sezione", "string", 1},
    {"XCassini", "r8"},
    {"Particella", "string", 10},
    {"NordGauss", "r8"},
    {"YCassini", "r8"},
    {"EstGauss", "r8"},
    {"Quota", "r8"},
    {"Extra1", "string", 3},
    {"Immagini", "string", 4},
    {"Attendibilita_A", "string", 2},
    {"Attendibilita_P", "string", 2},
    {"Rif_Planim", "string", 60},
    {"Rif_Altim", "string", 60},
    {"Annotazioni", "string", 250},
    {"Origine_CS", "string", 60},
    {"Fuso", "string", 5},
    {"Extra2", "r8"},
    {"FG_ORIG", "string", 4},
    {"PF_ORIG", "string", 2},
    {"ULTIMA_VARIAZIONE", "string", 10},
    {"CAUSALE", "string", 60},
    {"XqYq", "r8"},
};

QStringList visibleNames(const ResultTable &table)
{
    QStringList names;
    for (int i = 0; i < table.fieldCount(); ++i)
        if (table.field(i).visible)
            names << table.field(i).name;
    return names;
}

} // namespace

class TestGridLayout : public QObject
{
    Q_OBJECT
private slots:
    void picture_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("text");
        QTest::newRow("three decimals") << 12345.5 << "####0.000"
                                        << "12345.500";
        QTest::newRow("integer digits beyond the picture") << 4987654.3216 << "####0.000"
                                                           << "4987654.322";
        QTest::newRow("below one") << 0.25 << "###0.000"
                                   << "0.250";
        QTest::newRow("zero") << 0.0 << "######0.000"
                              << "0.000";
        QTest::newRow("negative") << -12345.5 << "####0.000"
                                  << "-12345.500";
        QTest::newRow("half up, stored just below") << 2.0005 << "####0.000"
                                                    << "2.001";
        QTest::newRow("half away from zero") << -2.0005 << "####0.000"
                                             << "-2.001";
        QTest::newRow("exact binary half") << 0.0625 << "0.000"
                                           << "0.063";
        QTest::newRow("below half") << 1.00049 << "0.000"
                                    << "1.000";
        QTest::newRow("carry into a new digit") << 99.9996 << "###0.000"
                                                << "100.000";
        QTest::newRow("carry from below the first digit") << 0.0009 << "0.000"
                                                          << "0.001";
        QTest::newRow("negative rounding to zero, no sign") << -0.0004 << "0.000"
                                                            << "0.000";
        QTest::newRow("negative zero") << -0.0 << "0.000"
                                       << "0.000";
        QTest::newRow("tiny") << 1e-12 << "0.000"
                              << "0.000";
        QTest::newRow("large") << 1e20 << "0.000"
                               << "100000000000000000000.000";
        QTest::newRow("mandatory integer digits") << 7.5 << "000.0"
                                                  << "007.5";
        QTest::newRow("optional decimals dropped") << 5.0 << "0.##"
                                                   << "5";
        QTest::newRow("optional decimals kept") << 5.25 << "0.0#"
                                                << "5.25";
        QTest::newRow("no integer digit asked") << 0.5 << "#.00"
                                                << ".50";
        QTest::newRow("no point") << 2.5 << "#0"
                                  << "3";
    }
    void picture()
    {
        QFETCH(double, value);
        QFETCH(QString, picture);
        QFETCH(QString, text);
        QCOMPARE(tavix::FormatPicture(value, picture), text);
    }

    void layoutOrdersTitlesAndHides()
    {
        ResultTable table;
        table.LoadPacket(buildPacket(ServerOrder, {}));
        tavix::ApplyGridLayout(table);

        QStringList expected;
        for (const tavix::GridColumnLayout &column : tavix::gridLayout())
            expected << QString::fromLatin1(column.field);
        expected << QStringLiteral("EXTRA1") << QStringLiteral("EXTRA2");
        QCOMPARE(visibleNames(table).join(u',').toUpper(), expected.join(u','));
        QCOMPARE(table.fieldCount(), 26);
        QCOMPARE(table.field(22).name, QStringLiteral("Provincia")); // unlisted keep their order
        QVERIFY(!table.field(22).visible);
        QCOMPARE(table.field(25).name, QStringLiteral("XqYq"));
        QVERIFY(!table.field(25).visible);

        const auto at = [&](const char *name) -> const tavix::Field & {
            return table.field(table.fieldByName(QLatin1String(name)));
        };
        QCOMPARE(at("Comune").displayTitle(), QStringLiteral("Comune"));
        QCOMPARE(at("Comune").displayWidth, 0);
        QCOMPARE(at("Sezione").displayTitle(), QStringLiteral("Sez"));
        QCOMPARE(at("Sezione").displayWidth, 25);
        QCOMPARE(at("Rif_Planim").displayTitle(), QStringLiteral("Riferimenti planimetrici"));
        QCOMPARE(at("Rif_Planim").displayWidth, 152);
        QCOMPARE(at("NordGauss").displayFormat, QStringLiteral("######0.000"));
        QCOMPARE(at("Quota").displayFormat, QStringLiteral("###0.000"));
        QCOMPARE(at("Extra1").displayTitle(), QStringLiteral("Extra1"));
        QVERIFY(at("Extra2").displayFormat.isEmpty());
    }

    // Missing fields close up; a coordinate declared as text gets no number format; the two
    // hidden columns are found in any case.
    void layoutOfAnOddPacket()
    {
        ResultTable table;
        table.LoadPacket(buildPacket({{"xqyq", "r8"},
                                      {"Foglio", "string", 4},
                                      {"PROVINCIA", "string", 2},
                                      {"xcassini", "string", 12},
                                      {"comune", "string", 5}},
                                     {}));
        tavix::ApplyGridLayout(table);
        QCOMPARE(visibleNames(table),
                 QStringList({QStringLiteral("comune"), QStringLiteral("Foglio"),
                              QStringLiteral("xcassini")}));
        QCOMPARE(table.field(2).displayTitle(), QStringLiteral("X Cassini"));
        QVERIFY(table.field(2).displayFormat.isEmpty());
        QCOMPARE(table.field(3).name, QStringLiteral("xqyq"));
        QCOMPARE(table.field(4).name, QStringLiteral("PROVINCIA"));
    }

    void layoutKeepsValuesAndPacket()
    {
        const QByteArray packet = buildPacket({{"XCassini", "r8"}, {"Comune", "string", 5}},
                                              {"XCassini=\"-12.3456\" Comune=\"L219\""});
        ResultTable table;
        table.LoadPacket(packet);
        const QByteArray before = table.PacketText();
        tavix::ApplyGridLayout(table);
        QCOMPARE(table.textAt(0, table.fieldByName(QStringLiteral("XCassini"))),
                 QStringLiteral("-12.3456"));
        QCOMPARE(table.PacketText(), before);

        ResultTable closed;
        tavix::ApplyGridLayout(closed); // nothing to lay out, no error
        QVERIFY(!closed.isActive());
    }
};

QTEST_GUILESS_MAIN(TestGridLayout)
#include "tst_gridlayout.moc"
