#pragma once

#include "core/OrbaError.h"

#include <optional>
#include <QList>
#include <QString>
#include <QStringList>

namespace orba {

class SettingsFile;

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

struct DisplayListLoad {
    DisplayList list;
    // The first broken entry, as the error to show.
    std::optional<OrbaError> error;
};

// The display list of "[Anzeige]": "Count" positions, each "Item<i>" = field number, "," and
// shown flag. Without a positive Count, every field in number order, none shown. A position
// without a comma or with a negative field number is skipped; a field listed twice keeps its
// first position. A field number or flag that is no integer, or a field number beyond the
// fields, leaves its entry out and is reported once, while the other entries still load. Only
// the positions the file holds are looked at, and none once every field is listed, so that Count
// costs nothing however large it is.
DisplayListLoad readDisplayList(const SettingsFile& settings);
// Writes Count and one Item per entry. Throws the settings file's write error.
void writeDisplayList(SettingsFile& settings, const DisplayList& list);

} // namespace orba
