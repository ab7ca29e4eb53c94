#pragma once

#include "update/CatalogueChange.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace orba {

// What a teacher is told after an update: the new stand, how many media came and went, and what
// that meant for the private list and the order basket.
struct UpdateOutcome {
    QDateTime stand;
    bool catalogueReplaced = false;
    CatalogueChange change;
    // Private-list entries whose medium left the catalogue; they stay, marked.
    qsizetype privateListGone = 0;
    // Basket entries taken out because their medium left the catalogue.
    QStringList basketRemoved;

    QString message() const;
    // The status bar's short form.
    QString statusText() const;
};

} // namespace orba
