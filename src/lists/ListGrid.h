#pragma once

#include <functional>
#include <QTableView>

namespace orba {

class ListGridModel;

// The grid of the hit list, private list, basket and date column. Rows are counted as in the
// lists' own terms: row 0 is the header, data rows start at 1, and there is always at least one
// data row. Every data row carries, unseen, the Catalogue index of its medium. A list "has
// entries" when the first cell of row 1 is not empty.
//
// Rows appended with appendIndexRows() hold only their index; their texts come from the cell
// source, so a million hits cost a few bytes each. Writing a cell of such a row gives it texts
// of its own.
//
// For the keyboard the grid is one stop: Tab and Shift+Tab leave it, the arrow and page keys
// move inside it, Ctrl with Tab or the page keys is left to the window, which switches pages.
class ListGrid : public QTableView {
    Q_OBJECT
public:
    using CellSource = std::function<QString(qint32 catalogueIndex, int column)>;
    // The index of an entry whose medium an update took out of the catalogue; the entry is
    // shown struck through.
    static constexpr qint32 NotInCatalogue = -1;

    ListGrid(int columns, QWidget* parent = nullptr);
    ~ListGrid() override;

    int columnCount() const;
    int rowCount() const; // header included, so at least 2
    void setRowCount(int rows);

    QString cell(int column, int row) const; // row 0: the column title
    void setCell(int column, int row, const QString& text);
    qint32 rowIndex(int row) const;
    void setRowIndex(int row, qint32 catalogueIndex);

    bool hasEntries() const { return !cell(0, 1).isEmpty(); }
    // Back to the single empty data row.
    void clearRows();
    // Appends one data row (empty texts, index 0) and returns its number.
    int addRow();
    // Appends rows that take their texts from the cell source.
    void appendIndexRows(const qint32* indices, qsizetype count);
    void setCellSource(CellSource source);

    // The selected data row (1 when nothing is selected).
    int selectedRow() const;
    // Selects a data row, scrolls to it and emits rowSelected.
    void selectRow(int row);

    void setEditable(bool editable);
    void setColumnWidthPx(int column, int width);
    // Makes a column wide enough for its title and each of `texts`, whole.
    void fitColumn(int column, const QStringList& texts);

signals:
    // A data row became the selected one (by keyboard, mouse or program).
    void rowSelected(int row);
    // A mouse button was pressed on a data row (after selecting it); pos is in viewport terms.
    // The context-menu keys (Menu, Shift+F10) count as the right button pressed on the selected
    // row's current cell, so every list opens the same menu for keyboard users.
    void rowPressed(int row, Qt::MouseButton button, QPoint pos);
    void rowDoubleClicked(int row);
    // Enter was pressed on the selected data row.
    void rowActivated(int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void onCurrentRowChanged(const QModelIndex& current);
    // Makes the row of `index` the current and only selected one without announcing it.
    void makeCurrent(const QModelIndex& index);

    ListGridModel* m_model;
    // Set while the grid moves the current row itself, so that the change is announced once.
    bool m_quietSelection = false;
};

} // namespace orba
