#pragma once

#include "core/WholeFile.h"

#include <functional>
#include <QString>

namespace orba {

// The merge for a list file whose lines are entries named by a key (a signature, a user). This
// copy's own changes since it last read or wrote the file (entries added, removed or changed) are
// applied to what the file holds now, so that another copy's entries and removals stay too. Where
// both changed the same entry, this copy's change wins, and an entry it changed comes back when
// the other copy removed it. A file that has gone (a share no longer there) gets this copy's list.
using KeyOfLine = std::function<QString(const QString& line)>;
WholeFile::Merge mergeByKey(KeyOfLine keyOf);

} // namespace orba
