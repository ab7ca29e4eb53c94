#include "lists/ListGrid.h"

#include "core/OrbaError.h"
#include "lists/ListGridModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyle>

namespace orba {

namespace {
constexpr int fixedRowHeight = 18;
}

ListGrid::ListGrid(int columns, QWidget* parent)
    : QTableView(parent), m_model(new ListGridModel(columns, this)) {
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setSortingEnabled(false);
    setTabKeyNavigation(false);
    // The selected row stays plain to see while another control has the focus.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     colours.color(QPalette::Active, QPalette::Highlight).lighter(170));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::Text));
    setPalette(colours);

    QHeaderView* rows = verticalHeader();
    rows->hide();
    // Fixed heights let the view place a million rows without measuring any of them.
    rows->setMinimumSectionSize(fixedRowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fixedRowHeight);

    QHeaderView* titles = horizontalHeader();
    titles->setSectionsClickable(false);
    titles->setSortIndicatorShown(false);
    titles->setHighlightSections(false);
    titles->setStretchLastSection(false);

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ListGrid::onCurrentRowChanged);
}

ListGrid::~ListGrid() = default;

int ListGrid::columnCount() const {
    return m_model->columnCount();
}

int ListGrid::rowCount() const {
    return m_model->rowCount() + 1;
}

void ListGrid::setRowCount(int rows) {
    QScopedValueRollback quiet(m_quietSelection, true);
    m_model->resize(rows - 1);
}

QString ListGrid::cell(int column, int row) const {
    return row == 0 ? m_model->title(column) : m_model->text(row - 1, column);
}

void ListGrid::setCell(int column, int row, const QString& text) {
    if (row == 0)
        m_model->setTitle(column, text);
    else
        m_model->setText(row - 1, column, text);
}

qint32 ListGrid::rowIndex(int row) const {
    return m_model->catalogueIndex(row - 1);
}

void ListGrid::setRowIndex(int row, qint32 catalogueIndex) {
    m_model->setCatalogueIndex(row - 1, catalogueIndex);
}

void ListGrid::clearRows() {
    QScopedValueRollback quiet(m_quietSelection, true);
    m_model->clear();
}

int ListGrid::addRow() {
    QScopedValueRollback quiet(m_quietSelection, true);
    return m_model->appendRow() + 1;
}

void ListGrid::appendIndexRows(const qint32* indices, qsizetype count) {
    QScopedValueRollback quiet(m_quietSelection, true);
    m_model->appendIndexRows(indices, count);
}

void ListGrid::setCellSource(CellSource source) {
    m_model->setCellSource(std::move(source));
}

int ListGrid::selectedRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 1;
}

void ListGrid::selectRow(int row) {
    if (row < 1 || row >= rowCount())
        throw OrbaError::indexOutOfRange();
    const QModelIndex index = m_model->index(row - 1, 0);
    makeCurrent(index);
    scrollTo(index);
    emit rowSelected(row);
}

void ListGrid::setEditable(bool editable) {
    m_model->setEditable(editable);
    setEditTriggers(editable
                        ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed
                        : QAbstractItemView::NoEditTriggers);
}

void ListGrid::setColumnWidthPx(int column, int width) {
    setColumnWidth(column, width);
}

void ListGrid::fitColumn(int column, const QStringList& texts) {
    // The room the cell leaves beside its text: the delegate's margin on each side, the grid line.
    const int margins =
        2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 1;
    const QFontMetrics metrics(font());
    int width = horizontalHeader()->sectionSizeHint(column);
    for (const QString& text : texts)
        width = qMax(width, metrics.horizontalAdvance(text) + margins);
    setColumnWidth(column, width);
}

void ListGrid::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const QModelIndex index = indexAt(pos);
    if (!index.isValid())
        return;
    makeCurrent(index);
    {
        QScopedValueRollback quiet(m_quietSelection, true);
        QTableView::mousePressEvent(event);
    }
    const int row = index.row() + 1;
    emit rowSelected(row);
    emit rowPressed(row, event->button(), pos);
}

void ListGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    QTableView::mouseDoubleClickEvent(event);
    if (index.isValid())
        emit rowDoubleClicked(index.row() + 1);
}

void ListGrid::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool pageKey = key == Qt::Key_PageUp || key == Qt::Key_PageDown;
    if ((event->modifiers() & Qt::ControlModifier) &&
        (pageKey || key == Qt::Key_Tab || key == Qt::Key_Backtab)) {
        event->ignore();
        return;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && state() != EditingState) {
        emit rowActivated(selectedRow());
        return;
    }
    const bool menuKey =
        key == Qt::Key_Menu || (key == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (!menuKey) {
        QTableView::keyPressEvent(event);
        return;
    }
    const QModelIndex cell = m_model->index(selectedRow() - 1, qMax(0, currentIndex().column()));
    scrollTo(cell);
    emit rowPressed(cell.row() + 1, Qt::RightButton, visualRect(cell).bottomLeft());
}

QModelIndex ListGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    // Whole rows are selected, so Home and End go to the first and last row, not column.
    if (action == MoveHome || action == MoveEnd)
        modifiers |= Qt::ControlModifier;
    return QTableView::moveCursor(action, modifiers);
}

// A frame around the whole list shows where the focus is; the cell's own focus mark is faint.
void ListGrid::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Active, QPalette::Highlight), 2));
    painter.drawRect(viewport()->rect().adjusted(1, 1, -1, -1));
}

void ListGrid::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    viewport()->update();
}

void ListGrid::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    viewport()->update();
}

// Scrolling moves the painted rows, frame included; the frame is drawn anew where it belongs.
void ListGrid::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    if (hasFocus())
        viewport()->update();
}

void ListGrid::onCurrentRowChanged(const QModelIndex& current) {
    if (!m_quietSelection && current.isValid())
        emit rowSelected(current.row() + 1);
}

void ListGrid::makeCurrent(const QModelIndex& index) {
    QScopedValueRollback quiet(m_quietSelection, true);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
}

} // namespace orba
