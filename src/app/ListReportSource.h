#pragma once

#include "output/ReportSource.h"

#include <functional>
#include <QString>
#include <utility>

namespace orba {

class Catalogue;
class ListGrid;

// The main window's two data providers: the records of the list being printed, one per grid
// row from PrintRow on, and on the basket page its reservation dates and the ordering user.
class ListReportSource : public ReportSource {
public:
    using AskUser = std::function<std::pair<QString, QString>()>;

    // `dates` is the basket's date column, null for the other lists.
    ListReportSource(const Catalogue& catalogue, const ListGrid& grid, const ListGrid* dates,
                     bool showUserList, AskUser askUser);

    int recordCount() const override;
    void titleData(ValueList& list) override;
    bool nextRecord(ValueList& list) override;

private:
    const Catalogue& m_catalogue;
    const ListGrid& m_grid;
    const ListGrid* m_dates;
    bool m_showUserList;
    AskUser m_askUser;
    int m_printRow = 1;
};

} // namespace orba
