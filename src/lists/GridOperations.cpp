#include "lists/GridOperations.h"

#include "lists/ListGrid.h"

namespace orba {

CopyResult CopyGridRow(const ListGrid& source, ListGrid& target, int targetColumn,
                       int sourceColumn) {
    const int from = source.selectedRow();
    const QString signature = source.cell(0, from);
    if (signature.isEmpty())
        return CopyResult::NothingToCopy;
    for (int row = 1; row < target.rowCount(); ++row) {
        if (target.cell(0, row) == signature)
            return CopyResult::AlreadyThere;
    }
    const int last = target.hasEntries() ? target.addRow() : 1;
    target.setCell(0, last, signature);
    target.setCell(targetColumn, last, source.cell(sourceColumn, from));
    target.setRowIndex(last, source.rowIndex(from));
    target.selectRow(last);
    return CopyResult::Copied;
}

bool RemoveGridRow(ListGrid& grid) {
    const int rows = grid.rowCount();
    for (int row = grid.selectedRow(); row < rows - 1; ++row) {
        for (int column = 0; column < grid.columnCount(); ++column)
            grid.setCell(column, row, grid.cell(column, row + 1));
        grid.setRowIndex(row, grid.rowIndex(row + 1));
    }
    if (rows > 2) {
        grid.setRowCount(rows - 1);
        return true;
    }
    // The single data row stays, emptied; its index is never shown or saved.
    for (int column = 0; column < grid.columnCount(); ++column)
        grid.setCell(column, 1, QString());
    return false;
}

} // namespace orba
