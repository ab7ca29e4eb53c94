#pragma once

namespace orba {

class ValueList;

// Where a report's data come from: the list being printed, asked record by record.
class ReportSource {
public:
    virtual ~ReportSource() = default;
    // Rows of the list being printed, header row included: the range of the progress bar.
    virtual int recordCount() const = 0;
    // Fills the title placeholders; called once at the start of a report.
    virtual void titleData(ValueList& list) = 0;
    // Fills the next record's placeholders; false (list untouched) when the data are at their
    // end.
    virtual bool nextRecord(ValueList& list) = 0;
    // True once the user cancelled the command while the title data were taken: the report
    // ends there.
    virtual bool cancelled() const { return false; }
};

} // namespace orba
