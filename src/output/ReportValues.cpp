#include "output/ReportValues.h"

#include "catalogue/Record.h"
#include "core/Cp1252.h"
#include "output/TrimText.h"
#include "output/ValueList.h"

#include <array>

namespace orba {
namespace {

struct FieldPlaceholder {
    const char* name;
    int field;
};

// Set only when their field holds something, in this order.
constexpr std::array<FieldPlaceholder, 14> optionalFields = {{
    {"^Dauer", record::Dauer},
    {"^Eignung", record::Eignung},
    {"^Anzspw", record::Anzspw},
    {"^Anzspm", record::Anzspm},
    {"^Adress", record::Adress},
    {"^Schlag", record::Schlag},
    {"^Text", record::Beschreibung},
    {"^Buehne", record::Buehne},
    {"^Medart", record::Medart},
    {"^Stdo", record::Stdo},
    {"^Autor", record::Autor},
    {"^Alter", record::Alter},
    {"^Bewertung", record::Bewertung},
    {"^Neuanschaffung", record::Neuanschaffung},
}};

QString decode(QByteArrayView bytes) {
    return cp1252::decode(bytes.data(), bytes.size());
}

} // namespace

void recordValues(ValueList& list, QByteArrayView recordLine, const QString* reservationDate) {
    const record::Fields fields = record::split(recordLine);
    list.set(QStringLiteral("^Sig"), decode(fields[record::Sig]));
    list.set(QStringLiteral("^Titel"), decode(fields[record::Titel]));
    for (const FieldPlaceholder& placeholder : optionalFields) {
        const QByteArrayView field = fields[placeholder.field];
        if (!field.isEmpty())
            list.set(QLatin1String(placeholder.name), decode(field));
    }
    if (reservationDate)
        list.set(QStringLiteral("^Resdatum"), trimBlanksAndControls(*reservationDate));
}

void titleValues(ValueList& list, bool basketPage, bool showUserList,
                 const std::function<std::pair<QString, QString>()>& askUser) {
    if (!basketPage || !list.contains(QStringLiteral("^Name")))
        return;
    std::pair<QString, QString> user{QStringLiteral("?"), QStringLiteral("?")};
    if (showUserList && askUser)
        user = askUser();
    list.set(QStringLiteral("^Name"), user.first);
    list.set(QStringLiteral("^Schulname"), user.second);
}

} // namespace orba
