#pragma once

namespace orba {

class ListGrid;

// Copies the selected row of `source` into `target`: its signature (column 0), the source
// column's text into the target column, and its Catalogue index. Refuses (false) a signature the
// target already holds. The copied row becomes the target's selected row.
bool CopyGridRow(const ListGrid& source, ListGrid& target, int targetColumn, int sourceColumn);

// Removes the selected row; the rows below move up. True when data rows with entries remain.
bool RemoveGridRow(ListGrid& grid);

} // namespace orba
