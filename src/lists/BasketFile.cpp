#include "lists/BasketFile.h"

#include "core/OrbaError.h"

#include <QFile>
#include <QSet>

namespace orba {
namespace {

const QChar kSeparator = QLatin1Char('|');

} // namespace

BasketFile::BasketFile(QString path) : m_file(std::move(path)) {}

QList<BasketEntry> BasketFile::load() {
    QStringList lines;
    try {
        lines = m_file.readLines();
    } catch (const OrbaError&) {
        m_unreadable = true;
        throw;
    }
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

void BasketFile::save(const QList<BasketEntry>& entries) {
    QStringList lines;
    for (const BasketEntry& entry : entries) {
        if (!entry.signature.isEmpty())
            lines.append(entry.signature + kSeparator + entry.title + kSeparator +
                         QString::number(entry.index) + kSeparator + entry.date);
    }
    try {
        // A file that could not be read is left to the one that keeps it from being written.
        if (lines.isEmpty() && !m_unreadable)
            remove();
        else
            m_file.writeLines(lines);
        m_saveFailed = false;
    } catch (const OrbaError&) {
        m_saveFailed = true;
        throw;
    }
}

void BasketFile::remove() {
    QFile file(path());
    if (file.exists() && !file.remove())
        throw OrbaError(QStringLiteral("Datei %1 kann nicht gelöscht werden").arg(path()));
}

} // namespace orba
