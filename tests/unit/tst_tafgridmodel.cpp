#include "PacketBuilder.h"

#include "mainwin/GridLayout.h"
#include "mainwin/TafGridModel.h"
#include "service/ResultTable.h"

#include <QAbstractItemModelTester>
#include <QMimeData>
#include <QTest>

#include <memory>

using tavix::ResultTable;
using tavix::TafGridModel;

namespace {

const QList<PacketField> Fields = {
    {"Provincia", "string", 2}, {"Comune", "string", 5}, {"PF", "string", 2}, {"XCassini", "r8"},
    {"NordGauss", "r8"},        {"Extra", "r8"},         {"XqYq", "r8"},
};

// Row i: PF i, XCassini 1000 + i/8, Gauss null on even rows, XqYq 10 * i.
QByteArray fortyRows()
{
    QList<QByteArray> rows;
    for (int i = 0; i < 40; ++i) {
        QByteArray row = "Provincia=\"RM\" Comune=\"H501\" PF=\"" + QByteArray::number(i) +
                         "\" XCassini=\"" + QByteArray::number(1000 + i / 8.0, 'f', 3) +
                         "\" Extra=\"100\" XqYq=\"" + QByteArray::number(10 * i) + "\"";
        if (i % 2)
            row += " NordGauss=\"4990000.25\"";
        rows << row;
    }
    return buildPacket(Fields, rows);
}

} // namespace

class TestTafGridModel : public QObject
{
    Q_OBJECT
private:
    ResultTable table;
    std::unique_ptr<TafGridModel> model;

    int column(const char *title) const
    {
        for (int c = 0; c < model->columnCount(); ++c)
            if (model->headerData(c, Qt::Horizontal).toString() == QLatin1String(title))
                return c;
        return -1;
    }
    QVariant cell(int row, const char *title, int role = Qt::DisplayRole) const
    {
        return model->data(model->index(row, column(title)), role);
    }

private slots:
    void init()
    {
        table.setFiltered(false);
        table.setFilter(QString());
        table.LoadPacket(fortyRows());
        tavix::ApplyGridLayout(table);
        model = std::make_unique<TafGridModel>(table);
    }

    void passesTheModelTesterThroughChanges()
    {
        QAbstractItemModelTester tester(model.get(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        table.setFilter(QStringLiteral("XqYq<30.00"));
        table.setFiltered(true);
        model->reload();
        table.LoadPacket(QByteArray());
        model->reload();
        QCOMPARE(model->rowCount(), 0);
        QCOMPARE(model->columnCount(), 0);
    }

    void visibleColumnsWithTitles()
    {
        QStringList titles;
        for (int c = 0; c < model->columnCount(); ++c)
            titles << model->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles.join(u','), QStringLiteral("Comune,PF,X Cassini,Nord Gauss,Extra"));
        QCOMPARE(model->rowCount(), 40);
        QCOMPARE(model->columnWidth(column("PF")), 30);
        QCOMPARE(model->columnWidth(column("Comune")), 0);
    }

    void displayAndRawValues()
    {
        QCOMPARE(cell(3, "X Cassini").toString(), QStringLiteral("1000.375"));
        QCOMPARE(cell(4, "X Cassini").toString(), QStringLiteral("1000.500"));
        QCOMPARE(cell(4, "X Cassini", TafGridModel::RawValueRole), QVariant(1000.5));
        QCOMPARE(cell(1, "Nord Gauss").toString(), QStringLiteral("4990000.250"));
        QCOMPARE(cell(0, "Nord Gauss").toString(), QString());
        QVERIFY(!cell(0, "Nord Gauss", TafGridModel::RawValueRole).isValid());
        QCOMPARE(cell(0, "Extra").toString(), QStringLiteral("100")); // no format: the table's text
        QCOMPARE(cell(7, "PF", TafGridModel::RawValueRole), QVariant(QStringLiteral("7")));
        QCOMPARE(cell(7, "PF", TafGridModel::RawValueRole).typeId(), QMetaType::QString);
        QCOMPARE(cell(7, "PF", Qt::ToolTipRole).toString(), QStringLiteral("7"));
        QVERIFY(!cell(4, "X Cassini", Qt::ToolTipRole).isValid());
    }

    void filterLeavesThreeOfForty()
    {
        table.setFilter(QStringLiteral("XqYq<25.00"));
        table.setFiltered(true);
        model->reload();
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(cell(2, "PF").toString(), QStringLiteral("2"));
    }

    // A view may paint between a change of the table and the reload that follows.
    void staleModelReadsNothing()
    {
        table.LoadPacket(QByteArray());
        QVERIFY(!cell(39, "PF").isValid());
        QVERIFY(!model->headerData(0, Qt::Horizontal).isValid());
        QCOMPARE(model->columnWidth(1), 0);
    }

    void rowRoundTripsThroughMime()
    {
        const std::unique_ptr<QMimeData> mime(model->rowMimeData(4));
        QVERIFY(mime);
        QVERIFY(mime->hasFormat(QLatin1String(TafGridModel::RowMimeType)));
        const QMap<QString, QString> row = TafGridModel::rowFromMime(mime.get());
        QCOMPARE(row.size(), Fields.size());
        QCOMPARE(row.value(QStringLiteral("XCassini")), QStringLiteral("1000.5")); // plain text
        QCOMPARE(row.value(QStringLiteral("NordGauss")), QString());
        QCOMPARE(row.value(QStringLiteral("XqYq")), QStringLiteral("40"));
        QCOMPARE(row.value(QStringLiteral("Provincia")), QStringLiteral("RM"));

        QVERIFY(!model->rowMimeData(40));
        QMimeData foreign;
        foreign.setText(QStringLiteral("XCassini=1"));
        QVERIFY(TafGridModel::rowFromMime(&foreign).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTafGridModel)
#include "tst_tafgridmodel.moc"
