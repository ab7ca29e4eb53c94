#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace orba {

class Catalogue;

// What an update did to the catalogue, counted by signature: media that came and media that went.
struct CatalogueChange {
    qsizetype added = 0;
    qsizetype removed = 0;
};

CatalogueChange compareCatalogues(const Catalogue& before, const Catalogue& after);

// Where a list's media are in the catalogue. A list knows each medium by its signature (in the
// form the lists show); the index it kept is only a hint, which holds when the record there has
// that signature. Otherwise the first record that has it is taken, and none when no record has.
struct FoundMedium {
    qint32 index = -1; // -1: not in the catalogue
    QString title;     // the catalogue's title; empty when not found
};
QList<FoundMedium> findMedia(const Catalogue& catalogue, const QStringList& shownSignatures,
                             const QList<qint32>& hints);

} // namespace orba
