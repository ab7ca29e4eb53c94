// The simple search, the search engine's binding to the window, and the hit list's menu.
#include "app/BusyScope.h"
#include "app/TForm1.h"
#include "catalogue/AdvancedCriteria.h"
#include "catalogue/HitOrder.h"
#include "catalogue/Record.h"
#include "catalogue/SearchEngine.h"
#include "catalogue/SearchRun.h"
#include "catalogue/Terwsuch.h"
#include "catalogue/Tsachgeb.h"
#include "core/Guard.h"
#include "display/Tview.h"
#include "lists/ListGrid.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QStatusBar>
#include <QToolButton>

namespace orba {
namespace {

// A slice of scanning between two looks at the event queue: short enough that "Stop" and
// repaints come through within about 50 ms, long enough that event processing costs little.
constexpr int SliceMs = 30;

} // namespace

void TForm1::buildHitListMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    MediuminWarenkorbkopieren1 =
        PopupMenu1->addAction(QStringLiteral("selektiertes Medium in &Bestellkorb kopieren"));
    MediuminWarenkorbkopieren1->setObjectName(QStringLiteral("MediuminWarenkorbkopieren1"));
    MediuminprivateListekopieren1 =
        PopupMenu1->addAction(QStringLiteral("selektiertes Medium in &private Liste kopieren"));
    MediuminprivateListekopieren1->setObjectName(QStringLiteral("MediuminprivateListekopieren1"));
    PopupMenu1->addSeparator();
    // The keyboard's way to what a click on a column heading does.
    nachSignatursortieren1 = PopupMenu1->addAction(QStringLiteral("nach &Signatur sortieren"));
    nachSignatursortieren1->setObjectName(QStringLiteral("nachSignatursortieren1"));
    nachTitelsortieren1 = PopupMenu1->addAction(QStringLiteral("nach &Titel sortieren"));
    nachTitelsortieren1->setObjectName(QStringLiteral("nachTitelsortieren1"));
    PopupMenu1->addSeparator();
    // "Abbruch" only closes the menu, which any choice does.
    PopupMenu1->addAction(QStringLiteral("&Abbruch"))->setObjectName(QStringLiteral("Abbruch1"));
}

void TForm1::wireSearch() {
    const Catalogue* catalogue = &m_catalogue;
    StringGrid1->setCellSource([catalogue](qint32 index, int column) {
        QString signature;
        QString title;
        if (!catalogue->contains(index) ||
            !record::hitCells(catalogue->line(index), &signature, &title))
            return QString();
        return column == 0 ? record::displaySignature(signature) : title;
    });
    on(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    on(SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
    on(SpeedButton4, &QToolButton::clicked, this, [this] { erweiterteSuche1Click(); });
    on(erweiterteSuche1, &QAction::triggered, this, [this] { erweiterteSuche1Click(); });
    on(Sachgebiete1, &QAction::triggered, this, [this] { SpeedButton3Click(); });
    // Enter in the search field searches like "Start"; the field takes no line break.
    on(Edit1->lineEdit(), &QLineEdit::returnPressed, this, [this] { SpeedButton1Click(); });
    on(StringGrid1, &ListGrid::rowPressed, this,
       [this](int row, Qt::MouseButton button, QPoint pos) {
           StringGrid1MouseDown(row, button, pos);
       });
    StringGrid1->horizontalHeader()->setSectionsClickable(true);
    on(StringGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this,
       [this](int column) { sortHitList(column); });
    on(nachSignatursortieren1, &QAction::triggered, this, [this] { sortHitList(0); });
    on(nachTitelsortieren1, &QAction::triggered, this, [this] { sortHitList(1); });
}

void TForm1::erweiterteSuche1Click() {
    if (m_searching)
        return;
    m_forms.erwsuch->setSuitabilityCaption(m_subjectAreaCaption);
    if (m_forms.erwsuch->exec() != QDialog::Accepted)
        return;
    const AdvancedSearchInput input = m_forms.erwsuch->input();
    const CriteriaList criteria = advancedCriteria(input);
    // The window shows what was searched: the search's summary in the empty search field, which
    // the next simple search does not take for its text, and the media type that applied. The
    // history stays.
    showSearchSummary(advancedSummary(input));
    ComboBox1->setCurrentIndex(input.mediaType);
    SpeedButton2->show();
    SelectPage(0);
    RunSearch(criteria);
}

// The subject-area entry of the file menu, hidden as delivered.
void TForm1::SpeedButton3Click() {
    if (m_searching)
        return;
    Tsachgeb& areas = subjectAreas();
    areas.setCaptionText(m_subjectAreaCaption);
    if (areas.exec() != QDialog::Accepted)
        return;
    showSearchSummary(QString());
    SpeedButton2->show();
    SelectPage(0);
    RunSearch({QStringLiteral("3=") + areas.selectedSubjectArea()});
}

Tsachgeb& TForm1::subjectAreas() {
    if (!m_subjectAreas) {
        m_subjectAreas = new Tsachgeb(this, m_catalogue);
        routeHelpButton(m_subjectAreas->BitBtn4);
    }
    return *m_subjectAreas;
}

void TForm1::SpeedButton1Click() {
    if (m_searching)
        return;
    const QString text = Edit1->currentText();
    showSearchSummary(QString());
    CriteriaList criteria;
    if (!text.isEmpty()) {
        rememberSearchText(text);
        addCriterion(criteria, text, true, QLatin1Char('0'));
    }
    QApplication::setOverrideCursor(Qt::BusyCursor);
    if (ComboBox1->currentIndex() > 0)
        addCriterion(criteria, ComboBox1->currentText(), false, QLatin1Char('A'));
    SelectPage(0);
    RunSearch(criteria);
}

void TForm1::showSearchSummary(const QString& summary) {
    if (!summary.isEmpty())
        Edit1->setEditText(QString());
    Edit1->lineEdit()->setPlaceholderText(summary);
    Edit1->setToolTip(summary);
}

// The history stays sorted and holds every text once, whatever its case.
void TForm1::rememberSearchText(const QString& text) {
    int position = 0;
    for (; position < Edit1->count(); ++position) {
        const int order = Edit1->itemText(position).compare(text, Qt::CaseInsensitive);
        if (order == 0)
            return;
        if (order > 0)
            break;
    }
    Edit1->insertItem(position, text);
    Edit1->setCurrentIndex(-1);
    Edit1->setEditText(text);
}

void TForm1::SpeedButton2Click() {
    Busy = false;
    SpeedButton2->hide();
}

void TForm1::RunSearch(const CriteriaList& criteria) {
    if (m_searching)
        return;
    m_searching = true;
    SpeedButton2->show();
    SpeedButton2->raise();
    ProgressBar1 = new QProgressBar(StatusPanels[0]);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(1, 3, 148, StatusPanels[0]->height() - 6);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setAccessibleName(QStringLiteral("Suchfortschritt"));
    ProgressBar1->setRange(0, int(qMin<qsizetype>(m_catalogue.count(), INT_MAX)));
    ProgressBar1->show();
    Busy = true;
    clearHitList();

    // Whatever happens inside, the window comes back out of its search state.
    struct Completion {
        TForm1* form;
        ~Completion() {
            form->Busy = false;
            form->m_searching = false;
            delete form->ProgressBar1;
            form->ProgressBar1 = nullptr;
            form->SpeedButton2->hide();
            while (QApplication::overrideCursor())
                QApplication::restoreOverrideCursor();
        }
    } completion{this};

    const SearchEngine engine(m_catalogue, criteria);
    SearchRun run(engine, m_catalogue.count());
    std::vector<qint32> hits;
    bool more = true;
    while (more && Busy) {
        more = run.step(hits, SliceMs);
        listHits(hits);
        ProgressBar1->setValue(int(run.position()));
        QApplication::processEvents();
    }
}

void TForm1::listHits(std::vector<qint32>& hits) {
    if (hits.empty())
        return;
    const bool firstHit = !StringGrid1->hasEntries();
    if (firstHit) {
        Drucken1->setEnabled(true);
        Drucken2->setEnabled(true);
        if (!BitBtn1->isEnabled()) {
            for (QPushButton* b : {BitBtn1, BitBtn2, BitBtn3, BitBtn11, BitBtn12, BitBtn13})
                b->setEnabled(true);
            if (CurrentGrid)
                CurrentGrid->setFocus();
        }
    }
    StringGrid1->appendIndexRows(hits.data(), qsizetype(hits.size()));
    hits.clear();
    StatusPanels[2]->setText(QString::number(StringGrid1->rowCount() - 1));
    if (firstHit) {
        StringGrid1->selectRow(1);
        ShowMediumDetails(1);
    }
}

// The hits of the next list come in file order, and no detail stays from the last one.
void TForm1::clearHitList() {
    m_hitSortColumn = -1;
    StringGrid1->horizontalHeader()->setSortIndicatorShown(false);
    StringGrid1->clearRows();
    StatusPanels[2]->setText(QStringLiteral("0"));
    view1->Clear();
    view2->Clear();
}

// A column sorts the hits, the same column again the other way round; the order holds until the
// next search lists its hits in file order. The selected medium stays selected.
void TForm1::sortHitList(int column) {
    if (m_searching || !StringGrid1->hasEntries())
        return;
    const Qt::SortOrder order = column == m_hitSortColumn && m_hitSortOrder == Qt::AscendingOrder
                                    ? Qt::DescendingOrder
                                    : Qt::AscendingOrder;
    std::vector<qint32> hits;
    hits.reserve(std::size_t(StringGrid1->rowCount() - 1));
    for (int row = 1; row < StringGrid1->rowCount(); ++row)
        hits.push_back(StringGrid1->rowIndex(row));
    const qint32 selected = StringGrid1->rowIndex(StringGrid1->selectedRow());
    {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        sortHits(hits, m_catalogue, column == 0 ? HitColumn::Signature : HitColumn::Title, order);
    }
    m_hitSortColumn = column;
    m_hitSortOrder = order;
    StringGrid1->horizontalHeader()->setSortIndicatorShown(true);
    StringGrid1->horizontalHeader()->setSortIndicator(column, order);
    const BusyScope busy(Busy);
    StringGrid1->clearRows();
    StringGrid1->appendIndexRows(hits.data(), qsizetype(hits.size()));
    const auto at = std::find(hits.begin(), hits.end(), selected);
    StringGrid1->selectRow(int(at - hits.begin()) + 1);
}

void TForm1::StringGrid1MouseDown(int, Qt::MouseButton button, QPoint pos) {
    if (button != Qt::RightButton || !StringGrid1->hasEntries())
        return;
    PopupMenu1->popup(StringGrid1->viewport()->mapToGlobal(pos));
}

} // namespace orba
