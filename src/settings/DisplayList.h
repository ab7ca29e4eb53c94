#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace orba {

// One entry of the display list: which detail field (0 to 15) and whether it is shown. The
// list's order is the order of the detail text.
struct DisplayEntry {
    int field = 0;
    bool shown = false;
    bool operator==(const DisplayEntry&) const = default;
};
using DisplayList = QList<DisplayEntry>;

// The labels of the detail fields, by field number.
const QStringList& displayFieldNames();

} // namespace orba
