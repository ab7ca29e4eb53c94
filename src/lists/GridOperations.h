#pragma once

namespace orba {

class ListGrid;

enum class CopyResult { Copied, AlreadyThere, NothingToCopy };

// Copies the selected row of `source` into `target`: its signature (column 0), the source
// column's text into the target column, and its Catalogue index. Refuses a signature the target
// already holds. A row without signature (an empty list's row, whose index is left over) is no
// medium and is never copied. The copied row becomes the target's selected row.
CopyResult CopyGridRow(const ListGrid& source, ListGrid& target, int targetColumn,
                       int sourceColumn);

// Removes the selected row; the rows below move up. True when data rows with entries remain.
bool RemoveGridRow(ListGrid& grid);

} // namespace orba
