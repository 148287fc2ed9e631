#pragma once

#include <QPointer>
#include <QTableView>

#include <functional>

class QDropEvent;

namespace tavix {

class TafGridModel;

// The read-only result grid ("TAF_DBGrid") over a TafGridModel: whole-row selection, the
// layout's column widths (the grid's own where the layout gives none; a column with a number
// format widened where the font could not show its widest value), uniform fixed row
// heights so that painting, scrolling and resizing only visit the visible rows. After every
// reset of the model the first row is current.
//
// Row drag for the zone and distance windows: while armed, pressing on a row and moving past
// QApplication::startDragDistance() with the button held drags that row (TafGridModel::
// rowMimeData); a click without movement stays a click. Unarmed, press and move only move the
// selection. Arming is refreshed from the tool-window check on focus-in and on every press;
// a finished or cancelled drag disarms and gives the focus to the focusAfterDrag widget, so
// the next click into the grid arms again. Drops onto the grid are accepted only from a grid
// and do nothing; drop targets elsewhere test isRowDrag() and read TafGridModel::rowFromMime().
//
// Wiring in the main window:
//     grid->setModel(model);                        // TafGridModel over ClientDataSet
//     grid->setToolWindowCheck([this] { return zone visible || distances visible; });
//     grid->setFocusAfterDrag(ActionToolBar);
//     connect(grid, &TafDBGrid::cardRequested, this, &TCRMainForm::TAF_DBGridDblClick);
//     connect(grid, &TafDBGrid::cellClicked, this, &TCRMainForm::UpdateStatusLabels);
//     // after each LoadPacket / filter change: if (LayoutPending) ApplyGridLayout(table);
//     // then model->reload(); the row the card opens is grid->currentRow() (filtered rows).
class TafDBGrid : public QTableView
{
    Q_OBJECT
public:
    explicit TafDBGrid(QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model) override; // a TafGridModel
    TafGridModel *gridModel() const;
    int currentRow() const; // -1 when there is none

    // `visible`: is the zone dialog or the distance calculator shown?
    void setToolWindowCheck(std::function<bool()> visible);
    void armDrag(bool toolWindowVisible);
    bool isDragArmed() const { return m_dragArmed; }
    void setFocusAfterDrag(QWidget *widget) { m_focusAfterDrag = widget; }

    static bool shouldStartDrag(QPoint pressPos, QPoint movePos, bool armed);
    // True for a drag from a grid carrying a row: the only drag the drop targets accept.
    static bool isRowDrag(const QDropEvent *event);

signals:
    void cardRequested(); // double-click on a row
    void cellClicked();   // every click on a cell

protected:
    // Runs the drag of the current row; blocks until it ends. Tests replace it.
    virtual void execRowDrag();

    void focusInEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void TAF_DBGridEnter();
    void TAF_DBGridEndDrag();
    void afterReset();
    int defaultColumnWidth(int column) const;
    int numberFormatWidth(int column) const;

    std::function<bool()> m_toolWindowVisible;
    QPointer<QWidget> m_focusAfterDrag;
    bool m_dragArmed = false;
    bool m_pressed = false;
    QPoint m_pressPos;
};

} // namespace tavix
