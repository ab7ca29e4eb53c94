#include "settings/DisplayList.h"

#include "settings/SettingsFile.h"

#include <map>

namespace orba {
namespace {

const QString kSection = QStringLiteral("Anzeige");
const QString kItem = QStringLiteral("Item");

int toInteger(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        throw OrbaError::notAnInteger(text);
    return value;
}

// The entry an "Item" value ("6,1") stands for; nothing for a value without a comma or with a
// negative field number. A field number or flag that is no integer, or a field number beyond
// the field list, throws.
std::optional<DisplayEntry> parseEntry(const QString& value) {
    const qsizetype comma = value.indexOf(QLatin1Char(','));
    if (comma < 0)
        return std::nullopt;
    const int field = toInteger(value.left(comma));
    if (field < 0)
        return std::nullopt;
    if (field >= displayFieldNames().size())
        throw OrbaError::indexOutOfRange();
    return DisplayEntry{field, toInteger(value.mid(comma + 1)) != 0};
}

// The position of a key "Item" + decimal without leading zeros, below `count`; -1 for any
// other key.
int itemPosition(const QString& key, int count) {
    if (!key.startsWith(kItem, Qt::CaseInsensitive))
        return -1;
    const QStringView digits = QStringView(key).sliced(kItem.size());
    if (digits.isEmpty() || (digits.size() > 1 && digits[0] == QLatin1Char('0')))
        return -1;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
    }
    bool ok = false;
    const int position = digits.toInt(&ok);
    return ok && position < count ? position : -1;
}

// The value of each position the section holds, in position order; the first of a key counts.
std::map<int, QString> itemValues(const SettingsFile& settings, int count) {
    std::map<int, QString> values;
    for (const auto& [key, value] : settings.readSection(kSection)) {
        const int position = itemPosition(key, count);
        if (position >= 0)
            values.try_emplace(position, value);
    }
    return values;
}

} // namespace

const QStringList& displayFieldNames() {
    static const QStringList names = {QStringLiteral("Beschreibung"),
                                      QStringLiteral("Alter"),
                                      QStringLiteral("Schlagwörter"),
                                      QStringLiteral("Eignung"),
                                      QStringLiteral("Anzahl Spieler w"),
                                      QStringLiteral("Nr."),
                                      QStringLiteral("Titel"),
                                      QStringLiteral("Spieldauer"),
                                      QStringLiteral("Bühne"),
                                      QStringLiteral("Anzahl Spieler m"),
                                      QStringLiteral("Anzahl Spieler >15"),
                                      QStringLiteral("Medienart"),
                                      QStringLiteral("Standort"),
                                      QStringLiteral("Autor"),
                                      QStringLiteral("Bewertung"),
                                      QStringLiteral("Neuerscheinung")};
    return names;
}

DisplayListLoad readDisplayList(const SettingsFile& settings) {
    const auto fieldCount = static_cast<int>(displayFieldNames().size());
    DisplayListLoad load;
    const int count = settings.readInteger(kSection, QStringLiteral("Count"), 0);
    if (count <= 0) {
        for (int field = 0; field < fieldCount; ++field)
            load.list.append({field, false});
        return load;
    }
    QList<bool> listed(fieldCount, false);
    for (const auto& [position, value] : itemValues(settings, count)) {
        if (load.list.size() == fieldCount)
            break;
        try {
            const std::optional<DisplayEntry> entry = parseEntry(value);
            if (entry && !listed[entry->field]) {
                listed[entry->field] = true;
                load.list.append(*entry);
            }
        } catch (const OrbaError& e) {
            if (!load.error)
                load.error = e;
        }
    }
    return load;
}

void writeDisplayList(SettingsFile& settings, const DisplayList& list) {
    settings.writeInteger(kSection, QStringLiteral("Count"), static_cast<int>(list.size()));
    for (int position = 0; position < list.size(); ++position) {
        const DisplayEntry& entry = list[position];
        settings.writeString(kSection, kItem + QString::number(position),
                             QStringLiteral("%1,%2").arg(entry.field).arg(entry.shown ? 1 : 0));
    }
}

} // namespace orba
