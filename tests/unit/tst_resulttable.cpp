#include "service/Error.h"
#include "service/ResultTable.h"

#include <QFile>
#include <QTest>

using tavix::Error;
using tavix::FieldKind;
using tavix::ResultTable;

namespace {

QByteArray fixture(const char *name)
{
    QFile file(QStringLiteral(TAVIX_FIXTURES_DIR "/") + QLatin1StringView(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return file.readAll();
}

// A packet of one r8 field "Valore" and one string field "Nome", with the given ROW lines.
QByteArray packetWithRows(const QByteArray &rows)
{
    return "<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET Version=\"2.0\"><METADATA>"
           "<FIELDS><FIELD attrname=\"Valore\" fieldtype=\"r8\"/>"
           "<FIELD attrname=\"Nome\" fieldtype=\"string\" WIDTH=\"20\"/></FIELDS></METADATA>"
           "<ROWDATA>" +
           rows + "</ROWDATA></DATAPACKET>";
}

QString errorOf(const std::function<void()> &operation)
{
    try {
        operation();
    } catch (const Error &e) {
        return e.text();
    }
    return QString();
}

// Every cell of every row, as text and null mark, in field order.
QStringList cells(const ResultTable &table)
{
    QStringList out;
    for (int r = 0; r < table.rowCount(); ++r)
        for (int f = 0; f < table.fieldCount(); ++f)
            out << (table.isNullAt(r, f) ? QStringLiteral("<null>") : table.textAt(r, f));
    return out;
}

} // namespace

class TestResultTable : public QObject
{
    Q_OBJECT
private slots:
    void loadsFieldsRowsAndCursor()
    {
        ResultTable table;
        table.LoadPacket(fixture("taf_two_rows.xml"));
        QVERIFY(table.isActive());
        QCOMPARE(table.fieldCount(), 9);
        QCOMPARE(table.field(0).name, QStringLiteral("Comune"));
        QCOMPARE(table.field(0).width, 5);
        QCOMPARE(table.field(0).kind, FieldKind::Text);
        QCOMPARE(table.field(3).kind, FieldKind::Number);
        QCOMPARE(table.field(3).type, QByteArray("r8"));
        QCOMPARE(table.recordCount(), 2);

        const int pf = table.fieldByName(QStringLiteral("PF"));
        const int nord = table.fieldByName(QStringLiteral("NordGauss"));
        const int notes = table.fieldByName(QStringLiteral("Annotazioni"));
        QVERIFY(!table.eof());
        QCOMPARE(table.text(pf), QStringLiteral("01"));
        QCOMPARE(table.number(nord), 4987654.321);
        QCOMPARE(table.text(notes), QStringLiteral("Spigolo \"nord\" d'angolo & muro"));
        table.next();
        QVERIFY(!table.eof());
        QCOMPARE(table.text(pf), QStringLiteral("7"));
        // a missing attribute is null: empty text, number 0
        QVERIFY(table.isNull(nord));
        QCOMPARE(table.text(nord), QString());
        QCOMPARE(table.number(nord), 0.0);
        QVERIFY(table.isNull(notes));
        table.next();
        QVERIFY(table.eof());
        table.first();
        QCOMPARE(table.text(pf), QStringLiteral("01"));
    }

    void emptyRowData()
    {
        ResultTable table;
        table.LoadPacket(fixture("empty_rowdata.xml"));
        QVERIFY(table.isActive());
        QCOMPARE(table.recordCount(), 0);
        QVERIFY(table.eof());
        QCOMPARE(table.text(table.fieldByName(QStringLiteral("Comune"))), QString());
        QCOMPARE(table.text(table.fieldByName(QStringLiteral("Quota"))), QString());
        table.next();
        QVERIFY(table.eof());
    }

    void fieldLookupIgnoresCase_data()
    {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<int>("position");
        QTest::newRow("exact") << QStringLiteral("PF") << 2;
        QTest::newRow("lower") << QStringLiteral("pf") << 2;
        QTest::newRow("upper") << QStringLiteral("XCASSINI") << 3;
        QTest::newRow("unknown") << QStringLiteral("Particella") << -1;
    }

    void fieldLookupIgnoresCase()
    {
        QFETCH(QString, asked);
        QFETCH(int, position);
        ResultTable table;
        table.LoadPacket(fixture("taf_two_rows.xml"));
        if (position >= 0) {
            QCOMPARE(table.fieldByName(asked), position);
        } else {
            const QString error = errorOf([&] { table.fieldByName(asked); });
            QCOMPARE(error, QStringLiteral("Campo 'Particella' non trovato"));
        }
    }

    void numberForms_data()
    {
        QTest::addColumn<QByteArray>("attribute");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::newRow("decimal") << QByteArray("12.50") << QStringLiteral("12.5") << 12.5;
        QTest::newRow("whole") << QByteArray("100") << QStringLiteral("100") << 100.0;
        QTest::newRow("negative") << QByteArray("-0.75") << QStringLiteral("-0.75") << -0.75;
        QTest::newRow("negative zero") << QByteArray("-0.000") << QStringLiteral("0") << 0.0;
        QTest::newRow("coordinate")
            << QByteArray("4987654.321") << QStringLiteral("4987654.321") << 4987654.321;
        QTest::newRow("exponent") << QByteArray("1.5E-3") << QStringLiteral("0.0015") << 0.0015;
        QTest::newRow("blanks") << QByteArray(" 7 ") << QStringLiteral("7") << 7.0;
        QTest::newRow("seventeen digits")
            << QByteArray("0.30000000000000004") << QStringLiteral("0.3") << 0.30000000000000004;
    }

    // Shown with up to 15 significant digits; the packet keeps the exact value.
    void numberForms()
    {
        QFETCH(QByteArray, attribute);
        QFETCH(QString, text);
        QFETCH(double, number);
        ResultTable table;
        table.LoadPacket(packetWithRows("<ROW Valore=\"" + attribute + "\"/>"));
        QCOMPARE(table.text(0), text);
        QCOMPARE(table.number(0), number);
        ResultTable reloaded;
        reloaded.LoadPacket(table.PacketText());
        QCOMPARE(reloaded.number(0), number);
    }

    void emptyNumberIsNull()
    {
        ResultTable table;
        table.LoadPacket(packetWithRows("<ROW Valore=\"\" Nome=\"\"/>"));
        QVERIFY(table.isNull(0));
        QVERIFY(!table.isNull(1)); // an empty text is a value
        QVERIFY(!table.PacketText().contains("Valore=\""));
    }

    void filterKeepsRowsBelowLimit_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<int>("count");
        QTest::newRow("two decimals") << QStringLiteral("XqYq<100.00") << 1;
        QTest::newRow("printf %f") << QString::asprintf("XqYq<%f", 100.0) << 1;
        QTest::newRow("strict") << QStringLiteral("XqYq<12.345") << 0;
        QTest::newRow("both") << QStringLiteral("xqyq < 1000") << 2;
        QTest::newRow("empty") << QString() << 2;
    }

    void filterKeepsRowsBelowLimit()
    {
        QFETCH(QString, expression);
        QFETCH(int, count);
        ResultTable table;
        table.LoadPacket(fixture("taf_two_rows.xml"));
        table.setFilter(expression);
        table.setFiltered(true);
        QCOMPARE(table.recordCount(), count);
        QCOMPARE(table.rowCount(), count);
        int visited = 0;
        for (table.first(); !table.eof(); table.next())
            ++visited;
        QCOMPARE(visited, count);

        ResultTable copy; // PacketText writes the hidden rows too
        copy.LoadPacket(table.PacketText());
        QCOMPARE(copy.recordCount(), 2);
        table.setFiltered(false);
        QCOMPARE(table.recordCount(), 2);
    }

    void filterSurvivesReload()
    {
        ResultTable table;
        table.setFilter(QStringLiteral("XqYq<100.00"));
        table.setFiltered(true);
        table.LoadPacket(fixture("taf_two_rows.xml"));
        QCOMPARE(table.recordCount(), 1);
        QCOMPARE(table.text(table.fieldByName(QStringLiteral("XqYq"))), QStringLiteral("12.345"));
        table.LoadPacket(QByteArray());
        table.LoadPacket(fixture("taf_two_rows.xml"));
        QCOMPARE(table.filter(), QStringLiteral("XqYq<100.00"));
        QVERIFY(table.isFiltered());
        QCOMPARE(table.recordCount(), 1);
    }

    void filterFollowsAnnotation()
    {
        ResultTable table;
        table.LoadPacket(fixture("taf_two_rows.xml"));
        table.setFilter(QStringLiteral("XqYq<100.00"));
        table.setFiltered(true);
        table.setFiltered(false);
        table.setNumberAt(1, table.fieldByName(QStringLiteral("XqYq")), 50);
        table.setFiltered(true);
        QCOMPARE(table.recordCount(), 2);
    }

    void badFilters_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("error");
        QTest::newRow("no operator")
            << QStringLiteral("XqYq=3") << QStringLiteral("Filtro non valido: 'XqYq=3'");
        QTest::newRow("no number")
            << QStringLiteral("XqYq<abc") << QStringLiteral("Filtro non valido: 'XqYq<abc'");
        QTest::newRow("unknown field")
            << QStringLiteral("Distanza<3") << QStringLiteral("Campo 'Distanza' non trovato");
        QTest::newRow("text field")
            << QStringLiteral("PF<3") << QStringLiteral("Il campo 'PF' del filtro non è numerico");
    }

    void badFilters()
    {
        QFETCH(QString, expression);
        QFETCH(QString, error);
        ResultTable table;
        table.LoadPacket(fixture("taf_two_rows.xml"));
        table.setFiltered(true);
        QCOMPARE(errorOf([&] { table.setFilter(expression); }), error);
    }

    void closedTable()
    {
        ResultTable open;
        open.LoadPacket(fixture("taf_two_rows.xml"));
        ResultTable closed;
        QVERIFY(!closed.isActive());
        QCOMPARE(closed.PacketText(), QByteArray());
        open.LoadPacket(closed.PacketText()); // empty text closes
        QVERIFY(!open.isActive());
        QCOMPARE(open.fieldCount(), 0);
        QCOMPARE(open.rowCount(), 0);
        QVERIFY(!errorOf([&] { open.recordCount(); }).isEmpty());
        QVERIFY(!errorOf([&] { open.first(); }).isEmpty());
        QVERIFY(!errorOf([&] { open.next(); }).isEmpty());
        QVERIFY(!errorOf([&] { open.eof(); }).isEmpty());
        QCOMPARE(errorOf([&] { open.fieldByName(QStringLiteral("PF")); }),
                 QStringLiteral("Campo 'PF' non trovato"));
    }

    void malformedPacket_data()
    {
        QTest::addColumn<QByteArray>("packet");
        QTest::addColumn<QString>("error");
        const QByteArray good = fixture("taf_two_rows.xml");
        QTest::newRow("not xml") << QByteArray("Errore interno del server") << "il testo non è XML";
        QTest::newRow("html") << QByteArray("<html><body>404</body></html>")
                              << "manca l'elemento DATAPACKET";
        QTest::newRow("no metadata")
            << QByteArray("<DATAPACKET Version=\"2.0\"/>") << "manca la dichiarazione dei campi";
        QTest::newRow("truncated")
            << good.left(good.indexOf("<ROW ") + 60) << "il testo è incompleto";
        QTest::newRow("truncated metadata") << good.left(200) << "il testo è incompleto";
        QTest::newRow("not a number")
            << packetWithRows("<ROW Valore=\"12,5\"/>")
            << "il valore '12,5' del campo 'Valore' (riga 1) non è un numero";
        QTest::newRow("infinite") << packetWithRows("<ROW Valore=\"inf\"/>") << "non è un numero";
        QTest::newRow("unknown entity")
            << packetWithRows("<ROW Nome=\"&egrave;\"/>") << "entità sconosciuta '&egrave;'";
        QTest::newRow("bad reference")
            << packetWithRows("<ROW Nome=\"&#xD800;\"/>") << "riferimento a carattere non valido";
        QTest::newRow("less than")
            << packetWithRows("<ROW Nome=\"a<b\"/>") << "carattere '<' in un valore";
        QTest::newRow("unquoted") << packetWithRows("<ROW Nome=abc/>")
                                  << "valore di attributo senza virgolette";
        QTest::newRow("nested") << packetWithRows("<ROW Nome=\"a\"><X/></ROW>")
                                << "manca la chiusura dell'elemento ROW";
        QTest::newRow("trailing") << packetWithRows("") + "<X/>"
                                  << "testo inatteso dopo la fine del pacchetto";
        QTest::newRow("encoding")
            << QByteArray("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><DATAPACKET/>")
            << "codifica 'shift_jis' non supportata";
        QTest::newRow("doctype") << QByteArray("<!DOCTYPE x [<!ENTITY a \"b\">]><DATAPACKET/>")
                                 << "DOCTYPE";
        QTest::newRow("bad metadata")
            << QByteArray("<DATAPACKET><METADATA><FIELDS><FIELD "
                          "attrname=\"A\"></FIELDS></METADATA></DATAPACKET>")
            << "dichiarazione dei campi non valida";
        QTest::newRow("nameless field")
            << QByteArray("<DATAPACKET><METADATA><FIELDS><FIELD "
                          "fieldtype=\"r8\"/></FIELDS></METADATA></DATAPACKET>")
            << "campo senza nome";
        QTest::newRow("field twice")
            << QByteArray(
                   "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"PF\"/><FIELD attrname=\"pf\"/>"
                   "</FIELDS></METADATA></DATAPACKET>")
            << "il campo 'pf' è dichiarato due volte";
    }

    // Each fails with a message that says what is wrong, and the table is left closed.
    void malformedPacket()
    {
        QFETCH(QByteArray, packet);
        QFETCH(QString, error);
        ResultTable table;
        table.LoadPacket(fixture("taf_two_rows.xml"));
        const QString message = errorOf([&] { table.LoadPacket(packet); });
        QVERIFY2(message.startsWith(QStringLiteral("Pacchetto dati non valido: ")),
                 qPrintable(message));
        QVERIFY2(message.contains(error), qPrintable(message));
        QVERIFY(!table.isActive());
    }

    void fieldTypes_data()
    {
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<bool>("numeric");
        QTest::newRow("r8") << QByteArray("r8") << true;
        QTest::newRow("i4") << QByteArray("i4") << true;
        QTest::newRow("ui2") << QByteArray("ui2") << true;
        QTest::newRow("fixedFMT") << QByteArray("fixedFMT") << true;
        QTest::newRow("string") << QByteArray("string") << false;
        QTest::newRow("date") << QByteArray("date") << false;
        QTest::newRow("unknown") << QByteArray("bin.hex") << false;
    }

    void fieldTypes()
    {
        QFETCH(QByteArray, type);
        QFETCH(bool, numeric);
        ResultTable table;
        table.LoadPacket(
            "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS><FIELD attrname=\"A\" fieldtype=\"" +
            type + "\"/></FIELDS></METADATA><ROWDATA><ROW A=\"42\"/></ROWDATA></DATAPACKET>");
        QCOMPARE(table.field(0).kind, numeric ? FieldKind::Number : FieldKind::Text);
        QCOMPARE(table.text(0), QStringLiteral("42"));
        QCOMPARE(table.number(0), 42.0);
    }

    void latin1Packet()
    {
        ResultTable table;
        table.LoadPacket(fixture("latin1_comune.xml"));
        QCOMPARE(table.text(0), QStringLiteral(u"Santà Caterina dello Ionio"));
        QCOMPARE(table.text(1), QStringLiteral(u"costo 5 €, caffè"));
        const QByteArray written = table.PacketText();
        QVERIFY(written.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\""));
        QVERIFY(written.contains("Sant\xC3\xA0"));
        ResultTable reloaded;
        reloaded.LoadPacket(written);
        QCOMPARE(cells(reloaded), cells(table));
    }

    void declaredEncodings_data()
    {
        QTest::addColumn<QByteArray>("packet");
        const QString body = QStringLiteral(
            "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS><FIELD attrname=\"Nome\" "
            "fieldtype=\"string\"/></FIELDS></METADATA><ROWDATA><ROW Nome=\"Forlì\"/>"
            "</ROWDATA></DATAPACKET>");
        QTest::newRow("utf-8 declared")
            << (QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?>") + body.toUtf8());
        QTest::newRow("utf-8 with mark") << (QByteArray("\xEF\xBB\xBF") + body.toUtf8());
        QTest::newRow("windows-1252")
            << (QByteArray("<?xml version='1.0' encoding='windows-1252'?>") + body.toLatin1());
        QByteArray utf16("\xFF\xFE");
        for (QChar c : body)
            utf16.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        QTest::newRow("utf-16 with mark") << utf16;
    }

    void declaredEncodings()
    {
        QFETCH(QByteArray, packet);
        ResultTable table;
        table.LoadPacket(packet);
        QCOMPARE(table.text(0), QStringLiteral(u"Forlì"));
    }

    void roundTrip()
    {
        const QByteArray rows = "<ROW Valore=\"1.25\" Nome=\"tab&#9;a capo&#10;fine\"/>\n"
                                "<ROW Nome='a \"citato\" &lt;x&gt; &amp; l&apos;altro'/>\n"
                                "<ROW Valore=\"-7\" Nome=\"\"/>\n"
                                "<ROW Valore=\"3\" Nome=\"caffè € &#x1F600;\" RowState=\"4\"/>\n"
                                "<ROW Valore=\"1e21\" Nome=\"spazi\r\n  normalizzati\"/>";
        ResultTable table;
        table.LoadPacket(packetWithRows(rows));
        QCOMPARE(table.rowCount(), 5);
        QCOMPARE(table.textAt(0, 1), QStringLiteral("tab\ta capo\nfine"));
        QCOMPARE(table.textAt(1, 1), QStringLiteral("a \"citato\" <x> & l'altro"));
        QCOMPARE(table.textAt(4, 1), QStringLiteral("spazi   normalizzati"));
        QVERIFY(table.isNullAt(1, 0));

        const QByteArray written = table.PacketText();
        ResultTable reloaded;
        reloaded.LoadPacket(written);
        QCOMPARE(cells(reloaded), cells(table));
        for (int r = 0; r < table.rowCount(); ++r)
            QCOMPARE(reloaded.numberAt(r, 0), table.numberAt(r, 0));
        QCOMPARE(reloaded.field(1).width, 20);
        QCOMPARE(reloaded.PacketText(), written);
    }

    void fixtureRoundTripKeepsDeclarations()
    {
        ResultTable table;
        table.LoadPacket(fixture("taf_two_rows.xml"));
        const QByteArray written = table.PacketText();
        QVERIFY(written.contains("<FIELD attrname=\"Comune\" fieldtype=\"string\" WIDTH=\"5\"/>"));
        QVERIFY(written.contains("<PARAMS LCID=\"1040\"/>"));
        QVERIFY(written.contains(" XqYq=\"250\""));
        ResultTable reloaded;
        reloaded.LoadPacket(written);
        QCOMPARE(cells(reloaded), cells(table));
    }

    void movedFieldKeepsItsValues()
    {
        ResultTable table;
        table.LoadPacket(fixture("taf_two_rows.xml"));
        table.moveField(table.fieldByName(QStringLiteral("XqYq")), 0);
        QCOMPARE(table.fieldByName(QStringLiteral("XqYq")), 0);
        QCOMPARE(table.field(0).name, QStringLiteral("XqYq"));
        QCOMPARE(table.field(0).position, 0);
        QCOMPARE(table.field(1).name, QStringLiteral("Comune"));
        QCOMPARE(table.field(1).position, 1);
        QCOMPARE(table.text(0), QStringLiteral("12.345"));
        table.field(0).visible = false;
        QVERIFY(!table.field(0).visible);
        // the packet keeps the loaded order
        QVERIFY(table.PacketText().indexOf("\"Comune\"") < table.PacketText().indexOf("\"XqYq\""));
    }
};

QTEST_GUILESS_MAIN(TestResultTable)
#include "tst_resulttable.moc"
