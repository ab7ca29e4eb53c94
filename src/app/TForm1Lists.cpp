// The private list, the order basket with its date column, and notes: the main window's side.
#include "app/BusyScope.h"
#include "app/TForm1.h"
#include "core/Guard.h"
#include "core/MessageBox.h"
#include "display/NoteFile.h"
#include "display/Tnotiz.h"
#include "lists/GridOperations.h"
#include "lists/ListGrid.h"
#include "lists/PrivateListFile.h"
#include "lists/ReservationDate.h"
#include "lists/Tresdat.h"
#include "settings/Tbenu.h"
#include "settings/Tsetup.h"

#include <QAction>
#include <QHash>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>

namespace orba {
namespace {

QAction* menuEntry(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

template <typename Fn>
void onAll(std::initializer_list<QPushButton*> buttons, QObject* context, Fn fn) {
    for (QPushButton* b : buttons)
        on(b, &QPushButton::clicked, context, fn);
}

} // namespace

void TForm1::buildListMenus() {
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    Notizanzeigenbearbeiten1 = menuEntry(PopupMenu2, "Notizanzeigenbearbeiten1",
                                         QStringLiteral("&Notiz anzeigen/bearbeiten"));
    PopupMenu2->addSeparator();
    MediuminBestellkorbkopieren2 =
        menuEntry(PopupMenu2, "MediuminBestellkorbkopieren2",
                  QStringLiteral("selektiertes Medium in den &Bestellkorb kopieren"));
    PopupMenu2->addSeparator();
    selektiertesMediumlschen1 = menuEntry(PopupMenu2, "selektiertesMediumlschen1",
                                          QStringLiteral("selektiertes Medium &löschen"));
    gesamteprivateListelschen1 = menuEntry(PopupMenu2, "gesamteprivateListelschen1",
                                           QStringLiteral("&gesamte private Liste löschen"));
    PopupMenu2->addSeparator();
    menuEntry(PopupMenu2, "Abbruch2", QStringLiteral("&Abbruch"));

    PopupMenu3 = new QMenu(this);
    PopupMenu3->setObjectName(QStringLiteral("PopupMenu3"));
    Reservierungsdatumndern1 = menuEntry(PopupMenu3, "Reservierungsdatumndern1",
                                         QStringLiteral("&Reservierungsdatum ändern"));
    selektiertesMediumlschen2 = menuEntry(PopupMenu3, "selektiertesMediumlschen2",
                                          QStringLiteral("selektiertes Medium &löschen"));
    PopupMenu3->addSeparator();
    gesamteListelschen1 = menuEntry(PopupMenu3, "gesamteListelschen1",
                                    QStringLiteral("&gesamten Bestellkorb löschen"));
    PopupMenu3->addSeparator();
    menuEntry(PopupMenu3, "Abbruch3", QStringLiteral("&Abbruch"));
}

void TForm1::wireLists() {
    auto toPrivateList = [this] { MediuminprivateListekopieren1Click(); };
    onAll({BitBtn2, BitBtn13}, this, toPrivateList);
    on(MediuminprivateListekopieren1, &QAction::triggered, this, toPrivateList);
    onAll({BitBtn9, BitBtn15}, this, [this] { BitBtn9Click(); });
    on(selektiertesMediumlschen1, &QAction::triggered, this, [this] { BitBtn9Click(); });
    on(gesamteprivateListelschen1, &QAction::triggered, this,
       [this] { gesamteprivateListelschen1Click(); });
    on(Notiz1, &QAction::triggered, this, [this] { Notiz1Click(); });
    on(Notizanzeigenbearbeiten1, &QAction::triggered, this, [this] { Notiz1Click(); });
    on(StringGrid3, &ListGrid::rowDoubleClicked, this, [this] { Notiz1Click(); });
    on(StringGrid3, &ListGrid::rowActivated, this, [this] {
        if (StringGrid3->hasEntries())
            Notiz1Click();
    });
    on(StringGrid3, &ListGrid::rowPressed, this, [this](int, Qt::MouseButton button, QPoint pos) {
        if (button == Qt::RightButton)
            PopupMenu2->popup(StringGrid3->viewport()->mapToGlobal(pos));
    });

    auto fromHitList = [this] { MediuminWarenkorbkopieren1Click(); };
    onAll({BitBtn1, BitBtn11}, this, fromHitList);
    on(MediuminWarenkorbkopieren1, &QAction::triggered, this, fromHitList);
    onAll({BitBtn8, BitBtn14}, this, [this] { BitBtn8Click(); });
    on(MediuminBestellkorbkopieren2, &QAction::triggered, this, [this] { BitBtn8Click(); });
    onAll({BitBtn6, BitBtn18}, this, [this] { BitBtn6Click(); });
    on(selektiertesMediumlschen2, &QAction::triggered, this, [this] { BitBtn6Click(); });
    on(gesamteListelschen1, &QAction::triggered, this, [this] { gesamteListelschen1Click(); });
    on(Reservierungsdatumndern1, &QAction::triggered, this,
       [this] { Reservierungsdatumndern1Click(); });
    onAll({BitBtn19, BitBtn20}, this, [this] { SelectPage(0); });

    on(StringGrid2, &ListGrid::rowSelected, this, [this](int row) { StringGrid2SelectCell(row); });
    on(StringGrid2, &ListGrid::rowPressed, this,
       [this](int row, Qt::MouseButton button, QPoint pos) {
           StringGrid2MouseDown(row, button, StringGrid2->viewport()->mapToGlobal(pos));
       });
    // The date column always shows the basket's selected row, and scrolls with the basket.
    on(StringGrid4, &ListGrid::rowSelected, this, [this](int row) {
        if (row != StringGrid2->selectedRow())
            StringGrid2->selectRow(row);
    });
    on(StringGrid4, &ListGrid::rowPressed, this,
       [this](int row, Qt::MouseButton button, QPoint pos) {
           StringGrid2MouseDown(row, button, StringGrid4->viewport()->mapToGlobal(pos));
       });
    connect(StringGrid2->verticalScrollBar(), &QScrollBar::valueChanged,
            StringGrid4->verticalScrollBar(), &QScrollBar::setValue);
    connect(StringGrid4->verticalScrollBar(), &QScrollBar::valueChanged,
            StringGrid2->verticalScrollBar(), &QScrollBar::setValue);
    on(Benutzerliste1, &QAction::triggered, this, [this] { m_forms.benu->exec(); });
    wireBasket();
}

void TForm1::setPrivateListButtons(bool enabled) {
    for (QPushButton* b : {BitBtn8, BitBtn9, BitBtn10, BitBtn14, BitBtn15, BitBtn16})
        b->setEnabled(enabled);
}

void TForm1::setBasketButtons(bool enabled) {
    for (QPushButton* b : {BitBtn4, BitBtn5, BitBtn6, BitBtn7, BitBtn17, BitBtn18})
        b->setEnabled(enabled);
}

int TForm1::appendPrivateListRow(const PrivateListEntry& entry,
                                 const std::optional<QString>& noteMarker) {
    const int row = StringGrid3->hasEntries() ? StringGrid3->addRow() : 1;
    StringGrid3->setCell(0, row, entry.signature);
    StringGrid3->setCell(1, row,
                         noteMarker.value_or(noteExists(entry.signature) ? QStringLiteral("Ja")
                                                                         : QStringLiteral("Nein")));
    StringGrid3->setCell(2, row, entry.title);
    StringGrid3->setRowIndex(row, entry.index);
    return row;
}

void TForm1::fillPrivateList() {
    const PrivateListLoad loaded = loadPrivateList(m_privateListFile);
    for (const PrivateListEntry& entry : loaded.entries)
        appendPrivateListRow(entry);
    if (!loaded.entries.isEmpty())
        setPrivateListButtons(true);
    if (loaded.error)
        throw *loaded.error;
}

void TForm1::SavePrivateList() {
    QList<PrivateListEntry> entries;
    for (int row = 1; row < StringGrid3->rowCount(); ++row) {
        if (!StringGrid3->cell(0, row).isEmpty())
            entries.append(
                {StringGrid3->cell(0, row), StringGrid3->cell(2, row), StringGrid3->rowIndex(row)});
    }
    const QList<PrivateListEntry> saved = savePrivateList(m_privateListFile, entries);
    if (saved != entries)
        showMergedPrivateList(saved);
}

// Another copy of the program changed the list meanwhile: the grid shows what the file now holds.
// Rows keep their note marker and the selection stays on its medium.
void TForm1::showMergedPrivateList(const QList<PrivateListEntry>& entries) {
    const BusyScope busy(Busy);
    QHash<QString, QString> markers;
    for (int row = 1; row < StringGrid3->rowCount(); ++row)
        markers.insert(StringGrid3->cell(0, row), StringGrid3->cell(1, row));
    const QString selected = StringGrid3->cell(0, StringGrid3->selectedRow());
    StringGrid3->clearRows();
    int selectedRow = 1;
    for (const PrivateListEntry& entry : entries) {
        const auto marker = markers.constFind(entry.signature);
        const int row = appendPrivateListRow(
            entry, marker == markers.cend() ? std::nullopt : std::optional(*marker));
        if (entry.signature == selected)
            selectedRow = row;
    }
    StringGrid3->selectRow(selectedRow);
    setPrivateListButtons(StringGrid3->hasEntries());
}

void TForm1::MediuminprivateListekopieren1Click() {
    const BusyScope busy(Busy);
    const CopyResult copied = CopyGridRow(*StringGrid1, *StringGrid3, 2, 1);
    if (copied == CopyResult::NothingToCopy)
        return;
    if (copied == CopyResult::AlreadyThere) {
        msg::error(this, QStringLiteral("Medium ist bereits in der privaten Liste"));
        return;
    }
    if (m_forms.setup->autoSwitch())
        SelectPage(1);
    setPrivateListButtons(true);
    SavePrivateList();
}

void TForm1::BitBtn9Click() {
    if (!msg::askWarning(this, QStringLiteral("Eintrag löschen ?")))
        return;
    setPrivateListButtons(RemoveGridRow(*StringGrid3));
    SavePrivateList();
}

void TForm1::gesamteprivateListelschen1Click() {
    if (!msg::askWarning(this, QStringLiteral("Möchten Sie die gesamte private Liste löschen?")))
        return;
    {
        const BusyScope busy(Busy);
        while (StringGrid3->rowCount() > 2) {
            StringGrid3->selectRow(1);
            RemoveGridRow(*StringGrid3);
        }
        setPrivateListButtons(RemoveGridRow(*StringGrid3));
    }
    SavePrivateList();
}

void TForm1::Notiz1Click() {
    const int row = StringGrid3->selectedRow();
    const bool hasNote = m_forms.notiz->editNote(StringGrid3->cell(0, row));
    // A cancelled edit leaves the marker as it was.
    if (m_forms.notiz->result() == QDialog::Accepted && StringGrid3->hasEntries())
        StringGrid3->setCell(1, row, hasNote ? QStringLiteral("Ja") : QStringLiteral("Nein"));
}

void TForm1::addToBasket(const ListGrid& source, int sourceColumn) {
    if (source.hasEntries() && source.rowIndex(source.selectedRow()) == ListGrid::NotInCatalogue) {
        msg::error(this, QStringLiteral("Medium ist nicht mehr im Katalog und kann nicht bestellt "
                                        "werden"));
        return;
    }
    const BusyScope busy(Busy);
    const CopyResult copied = CopyGridRow(source, *StringGrid2, 1, sourceColumn);
    if (copied == CopyResult::NothingToCopy)
        return;
    if (copied == CopyResult::AlreadyThere) {
        msg::error(this, QStringLiteral("Medium ist bereits im Bestellkorb"));
        return;
    }
    StringGrid4->setRowCount(StringGrid2->rowCount());
    StringGrid4->setCell(0, StringGrid2->rowCount() - 1, todayAsReservationDate());
    if (m_forms.setup->autoSwitch())
        SelectPage(2);
    setBasketButtons(true);
    StringGrid4->selectRow(StringGrid2->selectedRow());
    SaveBasket();
}

void TForm1::MediuminWarenkorbkopieren1Click() {
    addToBasket(*StringGrid1, 1);
}

void TForm1::BitBtn8Click() {
    addToBasket(*StringGrid3, 2);
}

void TForm1::BitBtn6Click() {
    removeBasketRow();
    SaveBasket();
}

void TForm1::gesamteListelschen1Click() {
    if (!msg::askWarning(this, QStringLiteral("Möchten Sie den gesamten Bestellkorb löschen?")))
        return;
    {
        const BusyScope busy(Busy);
        while (StringGrid2->rowCount() > 2) {
            StringGrid2->selectRow(1);
            StringGrid4->selectRow(1);
            removeBasketRow();
        }
        removeBasketRow();
    }
    SaveBasket();
}

void TForm1::Reservierungsdatumndern1Click() {
    const int row = StringGrid4->selectedRow();
    const auto answer = m_forms.resdat->ask(StringGrid4->cell(0, row));
    if (!answer)
        return;
    const auto& [date, allRows] = *answer;
    StringGrid4->setCell(0, row, date);
    if (allRows) {
        for (int r = 1; r < StringGrid4->rowCount(); ++r)
            StringGrid4->setCell(0, r, date);
    }
    SaveBasket();
}

void TForm1::StringGrid2SelectCell(int row) {
    if (Busy)
        return;
    ShowMediumDetails(row);
    StringGrid4->selectRow(row);
}

void TForm1::StringGrid2MouseDown(int row, Qt::MouseButton button, QPoint globalPos) {
    if (row != StringGrid2->selectedRow())
        StringGrid2->selectRow(row);
    Reservierungsdatumndern1->setEnabled(!StringGrid2->cell(1, row).isEmpty());
    if (button == Qt::RightButton)
        PopupMenu3->popup(globalPos);
}

} // namespace orba
