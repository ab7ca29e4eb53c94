#include "update/CatalogueChange.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Record.h"
#include "core/Cp1252.h"

#include <algorithm>
#include <QByteArrayView>
#include <QHash>
#include <vector>

namespace orba {
namespace {

// The signatures of the records the lists can show (those with a "|"), sorted, each once.
std::vector<QByteArrayView> signatures(const Catalogue& catalogue) {
    std::vector<QByteArrayView> result;
    result.reserve(catalogue.count());
    for (qsizetype i = 0; i < catalogue.count(); ++i) {
        const QByteArrayView line = catalogue.line(i);
        if (line.contains('|') && !record::field(line, record::Sig).isEmpty())
            result.push_back(record::field(line, record::Sig));
    }
    std::sort(result.begin(), result.end());
    result.erase(std::unique(result.begin(), result.end()), result.end());
    return result;
}

qsizetype countMissing(const std::vector<QByteArrayView>& from,
                       const std::vector<QByteArrayView>& in) {
    qsizetype missing = 0;
    auto other = in.begin();
    for (const QByteArrayView& signature : from) {
        other = std::lower_bound(other, in.end(), signature);
        if (other == in.end() || *other != signature)
            ++missing;
    }
    return missing;
}

} // namespace

CatalogueChange compareCatalogues(const Catalogue& before, const Catalogue& after) {
    const std::vector<QByteArrayView> old = signatures(before);
    const std::vector<QByteArrayView> current = signatures(after);
    return {countMissing(current, old), countMissing(old, current)};
}

QList<qint32> findSignatures(const Catalogue& catalogue, const QStringList& shownSignatures) {
    QList<qint32> indexes(shownSignatures.size(), -1);
    QHash<QString, QList<qsizetype>> wanted;
    for (qsizetype i = 0; i < shownSignatures.size(); ++i)
        wanted[shownSignatures[i]].append(i);
    for (qsizetype i = 0; i < catalogue.count() && !wanted.isEmpty(); ++i) {
        const QByteArrayView line = catalogue.line(i);
        if (!line.contains('|'))
            continue;
        const QByteArrayView signature = record::field(line, record::Sig);
        const auto found = wanted.constFind(
            record::displaySignature(cp1252::decode(signature.data(), signature.size())));
        if (found == wanted.cend())
            continue;
        for (qsizetype position : *found)
            indexes[position] = static_cast<qint32>(i);
        wanted.erase(found);
    }
    return indexes;
}

} // namespace orba
