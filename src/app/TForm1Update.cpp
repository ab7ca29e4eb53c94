// Catalogue updates from the organisation: the menu command, the optional look at start-up, and
// taking the new catalogue over in the running program.
#include "app/BusyScope.h"
#include "app/TForm1.h"
#include "catalogue/Tsachgeb.h"
#include "catalogue/Tschlag.h"
#include "core/Guard.h"
#include "core/MessageBox.h"
#include "display/Tinfo.h"
#include "display/Tview.h"
#include "lists/GridOperations.h"
#include "lists/ListGrid.h"
#include "settings/SettingsFile.h"
#include "settings/Tstat.h"
#include "update/CatalogueChange.h"
#include "update/CatalogueUpdate.h"
#include "update/Taktualisierung.h"
#include "update/UpdateOutcome.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTimer>

namespace orba {
namespace {

// How often a finished download looks again whether the program is free to take it over.
constexpr int IdleRetryMs = 200;

// Finds the medium of each entry of the grid in the catalogue by its signature, the entry's
// index serving as a hint, and lets the entry's title follow the catalogue's. Whether an index
// or a title changed.
bool refind(const Catalogue& catalogue, ListGrid& grid, int titleColumn) {
    QStringList signatures;
    QList<qint32> hints;
    for (int row = 1; row < grid.rowCount(); ++row) {
        signatures.append(grid.cell(0, row));
        hints.append(grid.rowIndex(row));
    }
    const QList<FoundMedium> found = findMedia(catalogue, signatures, hints);
    bool changed = false;
    for (int row = 1; row < grid.rowCount(); ++row) {
        const FoundMedium& medium = found[row - 1];
        changed |= grid.rowIndex(row) != medium.index;
        grid.setRowIndex(row, medium.index);
        if (medium.index != ListGrid::NotInCatalogue &&
            grid.cell(titleColumn, row) != medium.title) {
            grid.setCell(titleColumn, row, medium.title);
            changed = true;
        }
    }
    return changed;
}

int countGone(const ListGrid& grid) {
    int gone = 0;
    for (int row = 1; row < grid.rowCount(); ++row)
        gone += grid.rowIndex(row) == ListGrid::NotInCatalogue;
    return gone;
}

} // namespace

void TForm1::Katalogaktualisieren1Click() {
    startUpdate(false);
}

void TForm1::checkForUpdateAtStart() {
    const QDate today = QDate::currentDate();
    if (UpdateSettings::read(*m_settings).checkDue(today))
        startUpdate(true);
}

// From the menu the update runs in view; at start-up it looks quietly and asks before it loads.
// The menu brings a quiet look into view, and it then goes on as if started from the menu.
void TForm1::startUpdate(bool atStart) {
    if (m_update) {
        m_updateQuiet = false;
        m_updateWindow->show();
        m_updateWindow->raise();
        return;
    }
    if (!m_updateWindow) {
        m_updateWindow = new Taktualisierung(this);
        on(m_updateWindow, &Taktualisierung::cancelRequested, this, [this] {
            if (m_update)
                m_update->cancel();
        });
    }
    m_updateQuiet = atStart;
    m_update = new CatalogueUpdate(UpdateSettings::read(*m_settings), QDir::currentPath(), this);
    on(m_update, &CatalogueUpdate::progress, this,
       [this](const QString& step, qint64 done, qint64 total) {
           m_updateWindow->showProgress(step, done, total);
       });
    on(m_update, &CatalogueUpdate::offered, this, [this, atStart] {
        if (atStart)
            UpdateSettings::recordCheck(*m_settings, QDate::currentDate());
        if (m_updateQuiet) {
            if (!msg::ask(this, QStringLiteral("Meldung"),
                          QStringLiteral("Die Organisation bietet eine Aktualisierung des Katalogs "
                                         "mit dem Stand %1 an. Jetzt herunterladen?")
                              .arg(standText(m_update->offer().stand())))) {
                endUpdate();
                return;
            }
            m_updateWindow->show();
        }
        m_update->download();
    });
    on(m_update, &CatalogueUpdate::downloaded, this, [this] { installWhenIdle(); });
    on(m_update, &CatalogueUpdate::upToDate, this, [this, atStart](const QString& message) {
        const bool quiet = m_updateQuiet;
        endUpdate();
        if (atStart)
            UpdateSettings::recordCheck(*m_settings, QDate::currentDate());
        if (!quiet)
            msg::info(this, message);
    });
    // A quiet look at start-up that fails says nothing: the teacher did not ask for it, and the
    // next start looks again. Once the window is in view, every failure is told.
    on(m_update, &CatalogueUpdate::failed, this, [this](const QString& message) {
        const bool inView = m_updateWindow->isVisible();
        endUpdate();
        if (inView)
            msg::error(this, message);
    });
    if (!atStart)
        m_updateWindow->show();
    m_update->check();
}

// The lists and the report read the catalogue by index: it changes only while no search runs and
// no dialog is open.
void TForm1::installWhenIdle() {
    if (!m_update)
        return;
    if (m_searching || QApplication::activeModalWidget()) {
        m_updateWindow->showWaiting(
            QStringLiteral("Die Dateien sind geprüft; sie werden übernommen, sobald die Suche oder "
                           "der geöffnete Dialog beendet ist."));
        QTimer::singleShot(IdleRetryMs, this, [this] { guarded([this] { installWhenIdle(); }); });
        return;
    }
    QStringList replaced;
    try {
        replaced = m_update->install(*m_settings);
    } catch (const OrbaError& e) {
        endUpdate();
        msg::error(this, e.message());
        return;
    }
    UpdateOutcome outcome;
    outcome.stand = m_update->offer().stand();
    endUpdate();
    takeOverUpdate(replaced, outcome);
}

void TForm1::endUpdate() {
    m_updateWindow->hide();
    if (m_update)
        m_update->deleteLater();
    m_update = nullptr;
}

// The windows that show the replaced files read them again; the hit list goes, since its rows
// point into the old catalogue, and the private list and the basket find their media again by
// signature.
void TForm1::takeOverUpdate(const QStringList& replaced, UpdateOutcome outcome) {
    if (replaced.contains(QStringLiteral("stat.dat")))
        m_forms.stat->reload();
    if (replaced.contains(QStringLiteral("schlag.dat")))
        m_forms.schlag->reload();
    if (replaced.contains(QStringLiteral("info.rtf")))
        m_forms.info->reload();
    outcome.catalogueReplaced = replaced.contains(QStringLiteral("orb32.dat"));
    if (outcome.catalogueReplaced) {
        // A catalogue that cannot be read back leaves the lists on the one in memory: taken
        // for empty, it would mark every entry as gone.
        Catalogue fresh;
        bool loaded = false;
        guarded([&] {
            fresh.load(QStringLiteral("orb32.dat"));
            loaded = true;
        });
        if (!loaded)
            return;
        outcome.change = compareCatalogues(m_catalogue, fresh);
        m_catalogue = std::move(fresh);
        delete m_subjectAreas;
        m_subjectAreas = nullptr;

        const BusyScope busy(Busy);
        clearHitList();
        outcome.privateListGone = refindPrivateList();
        outcome.basketRemoved = refindBasket();
        StatusPanels[3]->setText(outcome.statusText());
    }
    ShowMediumDetails(-1);
    msg::info(this, outcome.message());
}

// Entries whose medium left the catalogue stay, marked; returns how many there are. The file is
// saved when an entry's index or title changed, unless the catalogue is empty: one that could
// not be read must not cost the list what it knew.
qsizetype TForm1::refindPrivateList() {
    if (!StringGrid3->hasEntries())
        return 0;
    if (refind(m_catalogue, *StringGrid3, 2) && m_catalogue.count() > 0)
        guarded([this] { SavePrivateList(); });
    return countGone(*StringGrid3);
}

// No order may name a medium the organisation no longer has: such entries leave the basket.
QStringList TForm1::refindBasket() {
    QStringList removed;
    if (!StringGrid2->hasEntries())
        return removed;
    refind(m_catalogue, *StringGrid2, 1);
    for (int row = StringGrid2->rowCount() - 1; row >= 1; --row) {
        if (StringGrid2->rowIndex(row) != ListGrid::NotInCatalogue)
            continue;
        removed.prepend(StringGrid2->cell(0, row));
        StringGrid2->selectRow(row);
        StringGrid4->selectRow(row);
        removeBasketRow();
    }
    guarded([this] { SaveBasket(); });
    return removed;
}

} // namespace orba
