#include "catalogue/HitOrder.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Record.h"

#include <algorithm>
#include <numeric>
#include <QCollator>

namespace orba {

void sortHits(std::vector<qint32>& hits, const Catalogue& catalogue, HitColumn column,
              Qt::SortOrder order) {
    QCollator collator(QLocale(QLocale::German, QLocale::Germany));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    // One key per hit, made once: comparing keys is far cheaper than comparing texts.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(hits.size());
    for (const qint32 hit : hits) {
        QString signature;
        QString title;
        record::hitCells(catalogue.line(hit), &signature, &title);
        keys.push_back(collator.sortKey(column == HitColumn::Signature ? signature : title));
    }
    std::vector<std::size_t> positions(hits.size());
    std::iota(positions.begin(), positions.end(), std::size_t(0));
    std::sort(positions.begin(), positions.end(), [&](std::size_t a, std::size_t b) {
        const int compared = keys[a].compare(keys[b]);
        if (compared == 0)
            return hits[a] < hits[b];
        return order == Qt::AscendingOrder ? compared < 0 : compared > 0;
    });
    std::vector<qint32> sorted;
    sorted.reserve(hits.size());
    for (const std::size_t position : positions)
        sorted.push_back(hits[position]);
    hits = std::move(sorted);
}

} // namespace orba
