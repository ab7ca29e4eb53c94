#pragma once

#include <Qt>
#include <QtGlobal>
#include <vector>

namespace orba {

class Catalogue;

// The columns of the hit list a click on its heading sorts by.
enum class HitColumn { Signature = 0, Title = 1 };

// Puts hits (Catalogue indexes) in the order of what the column shows: German alphabetical
// order, case aside, numbers by their value ("TH 9" before "TH 10"); hits that show the same stay
// in file order, in either direction.
void sortHits(std::vector<qint32>& hits, const Catalogue& catalogue, HitColumn column,
              Qt::SortOrder order);

} // namespace orba
