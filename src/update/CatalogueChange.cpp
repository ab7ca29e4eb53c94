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

QList<FoundMedium> findMedia(const Catalogue& catalogue, const QStringList& shownSignatures,
                             const QList<qint32>& hints) {
    // Only records with a "|" show in lists; the title is decoded only for a record found.
    auto shownSignature = [&catalogue](qsizetype index) {
        const QByteArrayView line = catalogue.line(index);
        if (!line.contains('|'))
            return QString();
        const QByteArrayView signature = record::field(line, record::Sig);
        return record::displaySignature(cp1252::decode(signature.data(), signature.size()));
    };
    auto foundAt = [&catalogue](qsizetype index) {
        const QByteArrayView title = record::field(catalogue.line(index), record::Titel);
        return FoundMedium{static_cast<qint32>(index), cp1252::decode(title.data(), title.size())};
    };
    QList<FoundMedium> found(shownSignatures.size());
    QHash<QString, QList<qsizetype>> wanted;
    for (qsizetype i = 0; i < shownSignatures.size(); ++i) {
        const qint32 hint = hints.value(i, -1);
        if (catalogue.contains(hint) && shownSignature(hint) == shownSignatures[i])
            found[i] = foundAt(hint);
        else
            wanted[shownSignatures[i]].append(i);
    }
    for (qsizetype i = 0; i < catalogue.count() && !wanted.isEmpty(); ++i) {
        const auto entries = wanted.constFind(shownSignature(i));
        if (entries == wanted.cend())
            continue;
        for (qsizetype position : *entries)
            found[position] = foundAt(i);
        wanted.erase(entries);
    }
    return found;
}

} // namespace orba
