#include "lists/BasketFile.h"

#include "core/ListMerge.h"
#include "core/OrbaError.h"
#include "lists/PrivateListFile.h"

#include <QSet>

namespace orba {
namespace {

const QChar kSeparator = QLatin1Char('|');

QList<BasketEntry> parseBasket(const QStringList& lines) {
    QList<BasketEntry> entries;
    QSet<QString> seen;
    for (const QString& line : lines) {
        const QStringList parts = line.split(kSeparator);
        if (parts.size() < 2 || parts[0].isEmpty() || seen.contains(parts[0]))
            continue;
        seen.insert(parts[0]);
        BasketEntry entry{parts[0], parts[1]};
        if (parts.size() > 2)
            entry.index = parts[2].toInt();
        // Whatever follows the index is the date, separators and all.
        if (parts.size() > 3)
            entry.date = line.section(kSeparator, 3);
        entries.append(entry);
    }
    return entries;
}

} // namespace

BasketFile::BasketFile(QString path) : m_file(std::move(path), WholeFile::WhenEmpty::Remove) {}

QList<BasketEntry> BasketFile::load() {
    return parseBasket(m_file.readLines());
}

QList<BasketEntry> BasketFile::save(const QList<BasketEntry>& entries) {
    QStringList lines;
    for (const BasketEntry& entry : entries) {
        if (!entry.signature.isEmpty())
            lines.append(entry.signature + kSeparator + entry.title + kSeparator +
                         QString::number(entry.index) + kSeparator + entry.date);
    }
    try {
        const QStringList saved = m_file.writeLines(lines, mergeByKey(signatureOfLine));
        m_saveFailed = false;
        return parseBasket(saved);
    } catch (const OrbaError&) {
        m_saveFailed = true;
        throw;
    }
}

} // namespace orba
