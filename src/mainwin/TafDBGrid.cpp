#include "mainwin/TafDBGrid.h"

#include "mainwin/TafGridDelegate.h"

#include "mainwin/TafGridModel.h"
#include "service/ResultTable.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>

#include <algorithm>

namespace tavix {

TafDBGrid::TafDBGrid(QWidget *parent) : QTableView(parent)
{
    setObjectName(QStringLiteral("TAF_DBGrid"));
    setEditTriggers(NoEditTriggers);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setWordWrap(false);
    setItemDelegate(new TafGridDelegate(this));
    setCornerButtonEnabled(false);
    setAlternatingRowColors(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);

    QHeaderView *rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    // Left-aligned, a title cut by a narrow column keeps its start.
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    connect(this, &QAbstractItemView::clicked, this, &TafDBGrid::cellClicked);
    connect(this, &QAbstractItemView::doubleClicked, this, &TafDBGrid::cardRequested);
}

void TafDBGrid::setModel(QAbstractItemModel *model)
{
    if (QAbstractItemModel *old = this->model())
        disconnect(old, &QAbstractItemModel::modelReset, this, &TafDBGrid::afterReset);
    QTableView::setModel(model);
    if (model)
        connect(model, &QAbstractItemModel::modelReset, this, &TafDBGrid::afterReset);
    afterReset();
}

TafGridModel *TafDBGrid::gridModel() const
{
    return qobject_cast<TafGridModel *>(model());
}

int TafDBGrid::currentRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TafDBGrid::afterReset()
{
    const TafGridModel *grid = gridModel();
    if (!grid)
        return;
    for (int column = 0; column < grid->columnCount(); ++column) {
        const int width = grid->columnWidth(column);
        setColumnWidth(column, width > 0 ? std::max(width, numberFormatWidth(column))
                                         : defaultColumnWidth(column));
    }
    if (grid->rowCount() > 0)
        setCurrentIndex(grid->index(0, 0));
}

// The grid's own width: the title, or the declared text width in average characters when
// wider; no row is read, so a large result costs nothing here.
int TafDBGrid::defaultColumnWidth(int column) const
{
    const TafGridModel *grid = gridModel();
    const Field &field = grid->table().field(grid->fieldAt(column));
    const int characters = field.kind == FieldKind::Number ? 12 : std::min(field.width, 40);
    const int padding = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin) + 4;
    const int title = horizontalHeader()->fontMetrics().horizontalAdvance(field.displayTitle());
    const int content = fontMetrics().averageCharWidth() * characters;
    return std::max({title, content, 16}) + padding;
}

// The widths of the layout were drawn for a small font: a coordinate must never be cut, so a
// formatted column is at least as wide as its number format's widest negative value.
int TafDBGrid::numberFormatWidth(int column) const
{
    const TafGridModel *grid = gridModel();
    const Field &field = grid->table().field(grid->fieldAt(column));
    if (field.kind != FieldKind::Number || field.displayFormat.isEmpty())
        return 0;
    QString widest = QStringLiteral("-") + field.displayFormat;
    widest.replace(QLatin1Char('#'), QLatin1Char('0'));
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return fontMetrics().horizontalAdvance(widest) + 2 * margin + 2;
}

void TafDBGrid::setToolWindowCheck(std::function<bool()> visible)
{
    m_toolWindowVisible = std::move(visible);
}

void TafDBGrid::armDrag(bool toolWindowVisible)
{
    m_dragArmed = toolWindowVisible;
}

bool TafDBGrid::shouldStartDrag(QPoint pressPos, QPoint movePos, bool armed)
{
    return armed && (movePos - pressPos).manhattanLength() >= QApplication::startDragDistance();
}

bool TafDBGrid::isRowDrag(const QDropEvent *event)
{
    return qobject_cast<const TafDBGrid *>(event->source()) &&
           event->mimeData()->hasFormat(QLatin1String(TafGridModel::RowMimeType));
}

void TafDBGrid::TAF_DBGridEnter()
{
    if (m_toolWindowVisible)
        armDrag(m_toolWindowVisible());
}

void TafDBGrid::focusInEvent(QFocusEvent *event)
{
    TAF_DBGridEnter();
    QTableView::focusInEvent(event);
}

void TafDBGrid::mousePressEvent(QMouseEvent *event)
{
    TAF_DBGridEnter(); // the grid may have kept the focus since the tool window appeared
    QTableView::mousePressEvent(event);
    m_pressed = event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid();
    m_pressPos = event->position().toPoint();
}

void TafDBGrid::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragArmed || !m_pressed || !(event->buttons() & Qt::LeftButton)) {
        QTableView::mouseMoveEvent(event);
        return;
    }
    // Armed: the pressed row stays current until the drag starts.
    if (shouldStartDrag(m_pressPos, event->position().toPoint(), m_dragArmed)) {
        m_pressed = false;
        execRowDrag();
        TAF_DBGridEndDrag();
    }
}

void TafDBGrid::mouseReleaseEvent(QMouseEvent *event)
{
    m_pressed = false;
    QTableView::mouseReleaseEvent(event);
}

void TafDBGrid::execRowDrag()
{
    const TafGridModel *grid = gridModel();
    QMimeData *mime = grid ? grid->rowMimeData(currentRow()) : nullptr;
    if (!mime)
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->exec(Qt::CopyAction);
}

void TafDBGrid::TAF_DBGridEndDrag()
{
    m_dragArmed = false;
    setState(NoState);
    if (m_focusAfterDrag)
        m_focusAfterDrag->setFocus(Qt::OtherFocusReason);
}

void TafDBGrid::dragEnterEvent(QDragEnterEvent *event)
{
    if (isRowDrag(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TafDBGrid::dragMoveEvent(QDragMoveEvent *event)
{
    if (isRowDrag(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TafDBGrid::dropEvent(QDropEvent *event)
{
    if (isRowDrag(event))
        event->acceptProposedAction(); // nothing to do: the drag's end moves the focus
    else
        event->ignore();
}

} // namespace tavix
