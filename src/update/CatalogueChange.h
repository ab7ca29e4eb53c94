#pragma once

#include <QList>
#include <QStringList>

namespace orba {

class Catalogue;

// What an update did to the catalogue, counted by signature: media that came and media that went.
struct CatalogueChange {
    qsizetype added = 0;
    qsizetype removed = 0;
};

CatalogueChange compareCatalogues(const Catalogue& before, const Catalogue& after);

// The Catalogue index of each signature (in the form the lists show), found again after the
// catalogue changed: the first record that has it, -1 when none has.
QList<qint32> findSignatures(const Catalogue& catalogue, const QStringList& shownSignatures);

} // namespace orba
