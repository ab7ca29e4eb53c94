#pragma once

#include "output/ReportSource.h"

#include <functional>
#include <optional>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace orba {

class Catalogue;
class ListGrid;

// The main window's two data providers: the records of the list being printed, one per grid
// row from PrintRow on, and on the basket page its reservation dates and the ordering user.
// The rows are taken when the source is made, at the command: the report holds the list as it
// was then, whatever happens to the grids while it is laid out. An empty list (no signature in
// row 1) gives no records.
class ListReportSource : public ReportSource {
public:
    // The chosen (name, school); none when the user cancelled the order.
    using AskUser = std::function<std::optional<std::pair<QString, QString>>()>;

    // `dates` is the basket's date column, null for the other lists.
    ListReportSource(const Catalogue& catalogue, const ListGrid& grid, const ListGrid* dates,
                     bool showUserList, AskUser askUser);

    int recordCount() const override;
    void titleData(ValueList& list) override;
    bool nextRecord(ValueList& list) override;
    bool cancelled() const override { return m_cancelled; }

private:
    const Catalogue& m_catalogue;
    std::vector<qint32> m_indices;
    QStringList m_dates;
    bool m_order;
    bool m_showUserList;
    AskUser m_askUser;
    int m_printRow = 0;
    bool m_cancelled = false;
};

} // namespace orba
