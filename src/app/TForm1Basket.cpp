// The order basket kept between runs, its tab's count, and what an order needs before it leaves.
#include "app/BusyScope.h"
#include "app/TForm1.h"
#include "core/Guard.h"
#include "core/MessageBox.h"
#include "lists/GridOperations.h"
#include "lists/ListGrid.h"
#include "lists/ReservationDate.h"
#include "lists/ReservationDateEdit.h"
#include "update/CatalogueChange.h"

#include <QTabWidget>

namespace orba {

void TForm1::wireBasket() {
    auto* dates = new ReservationDateDelegate(StringGrid4);
    StringGrid4->setItemDelegate(dates);
    on(dates, &ReservationDateDelegate::dateEdited, this, [this] { SaveBasket(); });
}

void TForm1::fillBasket() {
    showBasket(m_basketFile.load());
}

// The entries come back by signature. Those the catalogue no longer has leave, named, as after
// an update; an empty catalogue is one that could not be read, and its entries wait, struck
// through, for the next start. The selection stays on its medium.
void TForm1::showBasket(const QList<BasketEntry>& entries) {
    QStringList signatures;
    QList<qint32> hints;
    for (const BasketEntry& entry : entries) {
        signatures.append(entry.signature);
        hints.append(entry.index);
    }
    const QList<FoundMedium> found = findMedia(m_catalogue, signatures, hints);
    QStringList gone;
    {
        const BusyScope busy(Busy);
        const QString selected = StringGrid2->cell(0, StringGrid2->selectedRow());
        StringGrid2->clearRows();
        StringGrid4->clearRows();
        int selectedRow = 1;
        for (qsizetype i = 0; i < entries.size(); ++i) {
            const BasketEntry& entry = entries[i];
            if (found[i].index == ListGrid::NotInCatalogue && m_catalogue.count() > 0) {
                gone.append(entry.signature);
                continue;
            }
            const int row = StringGrid2->hasEntries() ? StringGrid2->addRow() : 1;
            StringGrid2->setCell(0, row, entry.signature);
            // The title follows the catalogue's, as in the private list.
            StringGrid2->setCell(1, row, found[i].title.isEmpty() ? entry.title : found[i].title);
            StringGrid2->setRowIndex(row, found[i].index);
            StringGrid4->setRowCount(StringGrid2->rowCount());
            StringGrid4->setCell(0, row, entry.date);
            if (entry.signature == selected)
                selectedRow = row;
        }
        StringGrid2->selectRow(selectedRow);
        StringGrid4->selectRow(selectedRow);
    }
    setBasketButtons(StringGrid2->hasEntries());
    updateBasketTab();
    if (gone.isEmpty())
        return;
    msg::info(this, QStringLiteral("Nicht mehr im Katalog und darum aus dem Bestellkorb genommen: "
                                   "%1.")
                        .arg(gone.join(QStringLiteral(", "))));
    SaveBasket();
}

void TForm1::SaveBasket() {
    updateBasketTab();
    QList<BasketEntry> entries;
    for (int row = 1; row < StringGrid2->rowCount(); ++row) {
        if (!StringGrid2->cell(0, row).isEmpty())
            entries.append({StringGrid2->cell(0, row), StringGrid2->cell(1, row),
                            StringGrid2->rowIndex(row), StringGrid4->cell(0, row)});
    }
    // Another copy of the program changed the basket meanwhile: the grid shows what it now holds.
    const QList<BasketEntry> saved = m_basketFile.save(entries);
    if (saved != entries)
        showBasket(saved);
}

int TForm1::basketCount() const {
    return StringGrid2->hasEntries() ? StringGrid2->rowCount() - 1 : 0;
}

void TForm1::updateBasketTab() {
    const int count = basketCount();
    PageControl1->setTabText(2, count > 0 ? QStringLiteral("&Bestellkorb (%1)").arg(count)
                                          : QStringLiteral("&Bestellkorb"));
}

// Removes the selected entry and its date, without saving.
void TForm1::removeBasketRow() {
    setBasketButtons(RemoveGridRow(*StringGrid2));
    RemoveGridRow(*StringGrid4);
}

// An order names a date for every medium it orders: a text from an older file that is no date
// is corrected first.
bool TForm1::basketDatesReadable() {
    for (int row = 1; row < StringGrid2->rowCount(); ++row) {
        const QString date = StringGrid4->cell(0, row);
        if (StringGrid2->rowIndex(row) == ListGrid::NotInCatalogue || readReservationDate(date))
            continue;
        StringGrid2->selectRow(row);
        const QString title = StringGrid2->cell(1, row);
        msg::error(this, date.isEmpty()
                             ? QStringLiteral("Für „%1“ ist kein Reservierungsdatum eingetragen. "
                                              "Bitte tragen Sie es vor der Bestellung ein.")
                                   .arg(title)
                             : QStringLiteral("Das Reservierungsdatum „%1“ von „%2“ ist kein "
                                              "gültiges Datum. Bitte ändern Sie es vor der "
                                              "Bestellung.")
                                   .arg(date, title));
        return false;
    }
    return true;
}

// Ending keeps the basket; the question says so, or that it cannot.
QString TForm1::closeQuestion() const {
    const int count = basketCount();
    if (count == 0)
        return QStringLiteral("ORBA 4.0 beenden ?");
    const QString media =
        count == 1 ? QStringLiteral("1 Medium") : QStringLiteral("%1 Medien").arg(count);
    return m_basketFile.kept()
               ? QStringLiteral("ORBA 4.0 beenden ?\n\nDer Bestellkorb mit %1 bleibt bis zum "
                                "nächsten Start erhalten.")
                     .arg(media)
               : QStringLiteral("ORBA 4.0 beenden ?\n\nDer Bestellkorb mit %1 konnte nicht "
                                "gespeichert werden und geht beim Beenden verloren.")
                     .arg(media);
}

} // namespace orba
