#include "app/ListReportSource.h"

#include "catalogue/Catalogue.h"
#include "lists/ListGrid.h"
#include "output/ReportValues.h"

namespace orba {

ListReportSource::ListReportSource(const Catalogue& catalogue, const ListGrid& grid,
                                   const ListGrid* dates, bool showUserList, AskUser askUser)
    : m_catalogue(catalogue), m_grid(grid), m_dates(dates), m_showUserList(showUserList),
      m_askUser(std::move(askUser)) {}

int ListReportSource::recordCount() const {
    return m_grid.rowCount();
}

void ListReportSource::titleData(ValueList& list) {
    titleValues(list, m_dates != nullptr, m_showUserList, m_askUser);
}

bool ListReportSource::nextRecord(ValueList& list) {
    if (m_printRow >= m_grid.rowCount())
        return false;
    const QString date = m_dates ? m_dates->cell(0, m_printRow) : QString();
    recordValues(list, m_catalogue.line(m_grid.rowIndex(m_printRow)), m_dates ? &date : nullptr);
    ++m_printRow;
    return true;
}

} // namespace orba
