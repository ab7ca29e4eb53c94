#pragma once

#include "output/ReportPage.h"

#include <functional>
#include <optional>

namespace orba {

class ReportSource;
class ReportTextMetrics;
class Tprint;

// One run of a report over its data: title data into the title band, then record after record
// into the detail band, each fitted to its texts, and everything distributed over pages.
class ReportRun {
public:
    // Called with the record counter before each record is fetched; false abandons the run.
    using Progress = std::function<bool(int recordCounter)>;

    ReportRun(Tprint& report, const ReportTextMetrics& metrics);

    // The pages for a printable area `pageHeight` design pixels high; none when abandoned.
    std::optional<QList<ReportPage>> layOut(ReportSource& source, int pageHeight,
                                            const Progress& progress = {});

private:
    void fillTitle(ReportSource& source);

    Tprint& m_report;
    const ReportTextMetrics& m_metrics;
};

} // namespace orba
