#include "PacketBuilder.h"

#include "mainwin/GridLayout.h"
#include "mainwin/TafDBGrid.h"
#include "mainwin/TafGridModel.h"
#include "service/ResultTable.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

using tavix::ResultTable;
using tavix::TafDBGrid;
using tavix::TafGridModel;

namespace {

// Records the drag it would run instead of blocking in QDrag::exec.
class RecordingGrid : public TafDBGrid
{
public:
    QList<QMap<QString, QString>> drags;

protected:
    void execRowDrag() override
    {
        const std::unique_ptr<QMimeData> mime(gridModel()->rowMimeData(currentRow()));
        drags << TafGridModel::rowFromMime(mime.get());
    }
};

// Records which rows the view asks for.
class CountingModel : public TafGridModel
{
public:
    using TafGridModel::TafGridModel;
    mutable QSet<int> rows;
    QVariant data(const QModelIndex &index, int role) const override
    {
        rows.insert(index.row());
        return TafGridModel::data(index, role);
    }
};

QByteArray fiveRows()
{
    QList<QByteArray> rows;
    for (int i = 0; i < 5; ++i)
        rows << "Comune=\"H501\" PF=\"0" + QByteArray::number(i) + "\" XCassini=\"12." +
                    QByteArray::number(i) + "5\" Provincia=\"RM\"";
    return buildPacket({{"Provincia", "string", 2},
                        {"Comune", "string", 5},
                        {"PF", "string", 2},
                        {"XCassini", "r8"}},
                       rows);
}

void sendMove(QWidget *viewport, QPoint pos, Qt::MouseButtons buttons)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(pos), QPointF(viewport->mapToGlobal(pos)),
                     Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
}

} // namespace

class TestTafDBGrid : public QObject
{
    Q_OBJECT
private:
    ResultTable table;
    std::unique_ptr<QWidget> window;
    RecordingGrid *grid = nullptr;
    QLineEdit *toolbar = nullptr;
    std::unique_ptr<TafGridModel> model;
    bool toolWindowShown = false;

    QPoint rowCentre(int row) const { return grid->visualRect(model->index(row, 1)).center(); }

private slots:
    void init()
    {
        table.setFiltered(false); // the switch outlives a load
        table.LoadPacket(fiveRows());
        tavix::ApplyGridLayout(table);
        model = std::make_unique<TafGridModel>(table);
        window = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(window.get());
        toolbar = new QLineEdit(window.get());
        grid = new RecordingGrid;
        layout->addWidget(toolbar);
        layout->addWidget(grid);
        grid->setModel(model.get());
        grid->setFocusAfterDrag(toolbar);
        toolWindowShown = false;
        grid->setToolWindowCheck([this] { return toolWindowShown; });
        window->resize(600, 300);
        window->show();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void cleanup()
    {
        window.reset();
        model.reset();
    }

    void showsTheLaidOutResult()
    {
        QCOMPARE(grid->objectName(), QStringLiteral("TAF_DBGrid"));
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(model->columnCount(), 3);   // Provincia hidden
        QCOMPARE(grid->columnWidth(1), 30);  // PF, from the layout
        QVERIFY(grid->columnWidth(2) >= 65); // X Cassini, never narrower than its value
        QVERIFY(grid->columnWidth(2) > grid->fontMetrics().horizontalAdvance(u"-00000.000"_qs));
        QVERIFY(grid->columnWidth(0) >= grid->fontMetrics().horizontalAdvance(u"Comune"_qs));
        QCOMPARE(grid->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
        QCOMPARE(grid->currentRow(), 0);

        table.setFilter(QStringLiteral("XCassini<12.2"));
        table.setFiltered(true);
        model->reload();
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(grid->currentRow(), 0);
        QCOMPARE(grid->columnWidth(1), 30);
    }

    void paintsScrollsAndResizesOnlyVisibleRows()
    {
        QList<QByteArray> rows;
        for (int i = 0; i < 20000; ++i)
            rows << "PF=\"" + QByteArray::number(i % 100) + "\" XCassini=\"1.5\"";
        ResultTable big;
        big.LoadPacket(buildPacket({{"PF", "string", 2}, {"XCassini", "r8"}}, rows));
        tavix::ApplyGridLayout(big);
        CountingModel counting(big);
        TafDBGrid view;
        view.setModel(&counting);
        view.resize(400, 300);
        view.show();
        const auto asked = [&] {
            counting.rows.clear();
            view.grab();
            return QList<int>(counting.rows.cbegin(), counting.rows.cend());
        };
        const auto within = [](const QList<int> &asked, int from, int to) {
            return !asked.isEmpty() && asked.size() < 60 &&
                   std::all_of(asked.cbegin(), asked.cend(),
                               [&](int row) { return row >= from && row <= to; });
        };
        QVERIFY(within(asked(), 0, 60));
        view.scrollTo(counting.index(15000, 0));
        QVERIFY(within(asked(), 14940, 15060));
        view.resize(600, 500);
        QVERIFY(within(asked(), 14940, 15060));
    }

    void dragDecision_data()
    {
        const int d = QApplication::startDragDistance();
        QTest::addColumn<QPoint>("move");
        QTest::addColumn<bool>("armed");
        QTest::addColumn<bool>("starts");
        QTest::newRow("unarmed, far") << QPoint(3 * d, 0) << false << false;
        QTest::newRow("armed, no movement") << QPoint(0, 0) << true << false;
        QTest::newRow("armed, below the threshold") << QPoint(d - 1, 0) << true << false;
        QTest::newRow("armed, at the threshold") << QPoint(d / 2, d - d / 2) << true << true;
        QTest::newRow("armed, backwards") << QPoint(0, -2 * d) << true << true;
    }
    void dragDecision()
    {
        QFETCH(QPoint, move);
        QFETCH(bool, armed);
        QFETCH(bool, starts);
        const QPoint press(50, 40);
        QCOMPARE(TafDBGrid::shouldStartDrag(press, press + move, armed), starts);
    }

    void withoutToolWindowPressAndMoveOnlySelect()
    {
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, rowCentre(1));
        sendMove(grid->viewport(), rowCentre(3), Qt::LeftButton);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, rowCentre(3));
        QVERIFY(grid->drags.isEmpty());
        QVERIFY(!grid->isDragArmed());
        QCOMPARE(grid->currentRow(), 3);
    }

    void withToolWindowPressAndMoveDragTheRow()
    {
        toolWindowShown = true;
        QSignalSpy clicks(grid, &TafDBGrid::cellClicked);
        const QPoint start = rowCentre(2);
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, start);
        QVERIFY(grid->isDragArmed());
        sendMove(grid->viewport(), start + QPoint(1, 0), Qt::LeftButton); // a tremble
        QVERIFY(grid->drags.isEmpty());
        sendMove(grid->viewport(), rowCentre(4), Qt::LeftButton);
        QCOMPARE(grid->drags.size(), 1);
        QCOMPARE(grid->drags[0].value(QStringLiteral("PF")), QStringLiteral("02"));
        QCOMPARE(grid->drags[0].value(QStringLiteral("XCassini")), QStringLiteral("12.25"));
        QCOMPARE(grid->drags[0].value(QStringLiteral("Provincia")), QStringLiteral("RM"));
        QVERIFY(!grid->isDragArmed());
        QVERIFY(toolbar->hasFocus());

        // The next click arms again; a click without movement stays a click.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rowCentre(3));
        QCOMPARE(grid->drags.size(), 1);
        QVERIFY(grid->isDragArmed());
        QCOMPARE(grid->currentRow(), 3);
        QCOMPARE(clicks.size(), 1);

        // The tool window closed while the grid kept the focus: no drag any more.
        toolWindowShown = false;
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, rowCentre(0));
        sendMove(grid->viewport(), rowCentre(4), Qt::LeftButton);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, rowCentre(4));
        QCOMPARE(grid->drags.size(), 1);
    }

    void doubleClickRequestsTheCard()
    {
        QSignalSpy card(grid, &TafDBGrid::cardRequested);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rowCentre(2));
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, rowCentre(2));
        QCOMPARE(card.size(), 1);
        QCOMPARE(grid->currentRow(), 2);
    }

    void refusesForeignDrops()
    {
        QMimeData mime;
        mime.setData(QLatin1String(TafGridModel::RowMimeType), "{}");
        QDragEnterEvent enter(rowCentre(1), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(grid->viewport(), &enter);
        QVERIFY(!enter.isAccepted()); // no grid is its source
    }
};

QTEST_MAIN(TestTafDBGrid)
#include "tst_tafdbgrid.moc"
