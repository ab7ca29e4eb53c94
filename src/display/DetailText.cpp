#include "display/DetailText.h"

#include "catalogue/Record.h"
#include "core/LeadingInteger.h"

namespace orba {
namespace {

using namespace record;

QString item(const QString& heading, const QString& value) {
    return QStringLiteral("<h1>") + heading + QStringLiteral("<br> <n>") + value +
           QStringLiteral("<p> ");
}

QString ageGroupNames(const QString& flags) {
    QString names;
    for (int k = 0; k < 4; ++k) {
        if (flags[k] != QLatin1Char('1'))
            continue;
        if (!names.isEmpty())
            names += QStringLiteral(", ");
        names += ageGroups()[k];
    }
    return names;
}

struct FieldItem {
    const char* heading;
    int field;
};

// Display codes that show one field under a heading when the field is not empty.
constexpr FieldItem kPlainItems[16] = {
    {nullptr, 0},                        // 0: description, line breaks converted
    {nullptr, 0},                        // 1: age groups
    {"Schlagwörter", Schlag},            // 2
    {"Eignung", Eignung},                // 3
    {"Anzahl Spieler weiblich", Anzspw}, // 4
    {"Nr.", Sig},                        // 5
    {nullptr, 0},                        // 6: the title, shown even when empty
    {"Spieldauer", Dauer},               // 7
    {"Bühne", Buehne},                   // 8
    {"Anzahl Spieler männlich", Anzspm}, // 9
    {nullptr, 0},                        // 10: more than 15 players, heading only
    {"Medienart", Medart},               // 11
    {"Standort", Stdo},                  // 12
    {"Autor", Autor},                    // 13
    {"Bewertung", Bewertung},            // 14
    {"Neuerscheinung", Neuanschaffung},  // 15
};

QString itemFor(int code, const QStringList& fields) {
    switch (code) {
    case 0:
        if (fields[Beschreibung].isEmpty())
            return {};
        return item(QStringLiteral("Beschreibung"),
                    QString(fields[Beschreibung])
                        .replace(QChar(DescriptionLineBreak), QStringLiteral("<br> ")));
    case 1: {
        const QString& flags = fields[Alter];
        if (flags.size() != 4 || flags == QLatin1String("0000"))
            return {};
        return item(QStringLiteral("Alter"), ageGroupNames(flags));
    }
    case 6:
        return item(QStringLiteral("Titel"), fields[Titel]);
    case 10:
        return leadingInteger(fields[Mehr15]) > 0
                   ? QStringLiteral("<h1>mehr als 15 Spieler<br> <p> ")
                   : QString();
    default:
        if (code < 0 || code > 15 || fields[kPlainItems[code].field].isEmpty())
            return {};
        return item(QString::fromUtf8(kPlainItems[code].heading), fields[kPlainItems[code].field]);
    }
}

} // namespace

QString detailText(QByteArrayView recordLine, const DisplayList& displayList) {
    const QStringList fields = fieldTexts(recordLine);
    QString text;
    for (const DisplayEntry& entry : displayList) {
        if (entry.shown)
            text += itemFor(entry.field, fields);
    }
    return text;
}

} // namespace orba
