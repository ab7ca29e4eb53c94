#include "core/ListMerge.h"

#include <QHash>
#include <QSet>

namespace orba {
namespace {

// The first line of each key.
QHash<QString, QString> byKey(const QStringList& lines, const KeyOfLine& keyOf) {
    QHash<QString, QString> entries;
    entries.reserve(lines.size());
    for (const QString& line : lines) {
        const QString key = keyOf(line);
        if (!entries.contains(key))
            entries.insert(key, line);
    }
    return entries;
}

QStringList merge(const QStringList& base, const QStringList& mine, const QStringList& theirs,
                  const KeyOfLine& keyOf) {
    const QHash<QString, QString> before = byKey(base, keyOf);
    const QHash<QString, QString> now = byKey(mine, keyOf);
    // Whether this copy added or changed the entry of the key since `base`.
    const auto ownChange = [&](const QString& key, const QString& line) {
        const auto was = before.constFind(key);
        return was == before.cend() || *was != line;
    };
    QStringList merged;
    merged.reserve(theirs.size() + mine.size());
    QSet<QString> placed;
    for (const QString& line : theirs) {
        const QString key = keyOf(line);
        placed.insert(key);
        const auto own = now.constFind(key);
        if (own == now.cend()) {
            if (!before.contains(key))
                merged.append(line);
        } else {
            merged.append(ownChange(key, *own) ? *own : line);
        }
    }
    for (const QString& line : mine) {
        const QString key = keyOf(line);
        if (!placed.contains(key) && ownChange(key, line)) {
            placed.insert(key);
            merged.append(line);
        }
    }
    return merged;
}

} // namespace

WholeFile::Merge mergeByKey(KeyOfLine keyOf) {
    return [keyOf = std::move(keyOf)](const QStringList& base, const QStringList& mine,
                                      const std::optional<QStringList>& theirs) {
        return theirs ? merge(base, mine, *theirs, keyOf) : mine;
    };
}

} // namespace orba
