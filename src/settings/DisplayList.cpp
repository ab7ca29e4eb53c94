#include "settings/DisplayList.h"

namespace orba {

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

} // namespace orba
