#include "app/ListReportSource.h"

#include "catalogue/Catalogue.h"
#include "lists/ListGrid.h"
#include "output/ReportValues.h"

namespace orba {

ListReportSource::ListReportSource(const Catalogue& catalogue, const ListGrid& grid,
                                   const ListGrid* dates, bool showUserList, AskUser askUser)
    : m_catalogue(catalogue), m_order(dates != nullptr), m_showUserList(showUserList),
      m_askUser(std::move(askUser)) {
    if (!grid.hasEntries())
        return;
    m_indices.reserve(grid.rowCount() - 1);
    for (int row = 1; row < grid.rowCount(); ++row) {
        // A medium no longer in the catalogue has nothing to print.
        if (grid.rowIndex(row) == ListGrid::NotInCatalogue)
            continue;
        m_indices.push_back(grid.rowIndex(row));
        if (dates)
            m_dates.append(dates->cell(0, row));
    }
}

int ListReportSource::recordCount() const {
    return int(m_indices.size()) + 1;
}

void ListReportSource::titleData(ValueList& list) {
    titleValues(list, m_order, m_showUserList, [this] {
        const std::pair<QString, QString> unknown{QStringLiteral("?"), QStringLiteral("?")};
        if (!m_askUser)
            return unknown;
        const auto user = m_askUser();
        m_cancelled = !user;
        return user.value_or(unknown);
    });
}

bool ListReportSource::nextRecord(ValueList& list) {
    if (m_printRow >= int(m_indices.size()))
        return false;
    const QString* date = m_order ? &m_dates[m_printRow] : nullptr;
    recordValues(list, m_catalogue.line(m_indices[m_printRow]), date);
    ++m_printRow;
    return true;
}

} // namespace orba
