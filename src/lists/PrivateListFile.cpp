#include "lists/PrivateListFile.h"

#include "core/ListMerge.h"

namespace orba {
namespace {

const QChar kSeparator = QLatin1Char('|');

// A decimal integer in the range of qint32 with an optional sign and nothing around it.
std::optional<qint32> parseDecimal(const QString& text) {
    const qsizetype digitsFrom =
        text.startsWith(QLatin1Char('-')) || text.startsWith(QLatin1Char('+')) ? 1 : 0;
    if (text.size() == digitsFrom)
        return std::nullopt;
    for (qsizetype i = digitsFrom; i < text.size(); ++i) {
        if (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9'))
            return std::nullopt;
    }
    bool ok = false;
    const qint32 value = text.toInt(&ok, 10);
    return ok ? std::optional<qint32>(value) : std::nullopt;
}

} // namespace

PrivateListLoad parsePrivateList(const QStringList& lines) {
    PrivateListLoad load;
    for (const QString& line : lines) {
        const qsizetype first = line.indexOf(kSeparator);
        // A line without a signature stands for no medium, as the empty list's row does.
        if (first <= 0)
            continue;
        PrivateListEntry entry;
        entry.signature = line.left(first);
        const QString rest = line.mid(first + 1);
        const qsizetype second = rest.indexOf(kSeparator);
        if (second >= 0) {
            entry.title = rest.left(second);
            const QString indexText = rest.mid(second + 1);
            if (!indexText.isEmpty()) {
                const std::optional<qint32> index = parseDecimal(indexText);
                if (index)
                    entry.index = *index;
                else if (!load.error)
                    load.error = OrbaError::notAnInteger(indexText);
            }
        }
        load.entries.append(entry);
    }
    return load;
}

PrivateListLoad loadPrivateList(WholeFile& file) {
    return parsePrivateList(file.readLines());
}

QString signatureOfLine(const QString& line) {
    const qsizetype first = line.indexOf(kSeparator);
    return first < 0 ? line : line.left(first);
}

QList<PrivateListEntry> savePrivateList(WholeFile& file, const QList<PrivateListEntry>& entries) {
    QStringList lines;
    for (const PrivateListEntry& entry : entries) {
        if (!entry.signature.isEmpty())
            lines.append(entry.signature + kSeparator + entry.title + kSeparator +
                         QString::number(entry.index));
    }
    return parsePrivateList(file.writeLines(lines, mergeByKey(signatureOfLine))).entries;
}

} // namespace orba
