#pragma once

#include "core/OrbaError.h"
#include "core/WholeFile.h"

#include <optional>
#include <QList>
#include <QString>

namespace orba {

// One line of the private-list file: "signature|title|index". The note marker is not kept here;
// it follows from the note files.
struct PrivateListEntry {
    QString signature; // display form, as the grid shows it
    QString title;
    qint32 index = 0; // Catalogue index
    bool operator==(const PrivateListEntry&) const = default;
};

struct PrivateListLoad {
    QList<PrivateListEntry> entries;
    // The first index text that is not a decimal integer, as the error to show.
    std::optional<OrbaError> error;
};

// Reads the entries of every line holding a "|" after a signature; other lines are skipped. A
// line whose index is not a number still gives its entry, with index 0, so that the next save
// keeps it; only the first such text is reported, and the lines after it load as usual.
PrivateListLoad parsePrivateList(const QStringList& lines);
// The same from the file. A missing file gives an empty list; one that cannot be read throws and
// is not written over afterwards.
PrivateListLoad loadPrivateList(WholeFile& file);
// The signature of a file line: what comes before its first "|".
QString signatureOfLine(const QString& line);

// Replaces the file with one line per entry, skipping entries without signature (the empty
// list's row). When another copy of the program changed the file meanwhile, this copy's
// additions, removals and changes go into what it holds. Returns the entries the file holds
// afterwards. Throws "Datei %s kann nicht erstellt werden" and leaves the old file intact.
QList<PrivateListEntry> savePrivateList(WholeFile& file, const QList<PrivateListEntry>& entries);

} // namespace orba
