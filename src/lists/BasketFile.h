#pragma once

#include "core/WholeFile.h"

#include <QList>
#include <QString>

namespace orba {

// One line of the basket file: "signature|title|index|date". The index only hints where the
// medium stood; at start the entries are found again by signature.
struct BasketEntry {
    QString signature{}; // display form, as the grid shows it
    QString title{};
    qint32 index = 0;
    QString date{}; // reservation date, as the date column shows it
    bool operator==(const BasketEntry&) const = default;
};

// The order basket between runs, saved at every change like the private list, and merged like it
// with what another copy of the program saved meanwhile. An empty basket has no file.
class BasketFile {
public:
    explicit BasketFile(QString path = QString());

    const QString& path() const { return m_file.path(); }

    // The entries of every line that starts with a signature and a "|", each signature once;
    // other lines are skipped, and an index that is no number counts as 0. A missing file gives
    // none; one that cannot be read throws and is neither written over nor removed in this run.
    QList<BasketEntry> load();
    // Replaces the file with one line per entry (entries without signature left out), or removes
    // it when none is left; returns the entries the file holds afterwards. Throws the German
    // message and leaves the old file as it was.
    QList<BasketEntry> save(const QList<BasketEntry>& entries);
    // Whether the file holds the basket as it was last saved: not after a failed save, and never
    // in a run whose start could not read the file.
    bool kept() const { return !m_file.unreadable() && !m_saveFailed; }

private:
    WholeFile m_file;
    bool m_saveFailed = false;
};

} // namespace orba
