#pragma once

#include <QtGlobal>
#include <vector>

namespace orba {

class SearchEngine;

// Drives a search through the catalogue in time slices, so that the window can process its
// events between them: step() scans until its time budget is used, and stop() ends the run
// before the next slice. The engine must outlive the run.
class SearchRun {
public:
    SearchRun(const SearchEngine& engine, qsizetype recordCount);

    // Scans successive records for about budgetMs milliseconds, at least one chunk of them, and
    // appends their hits; the first step scans its first chunk only. Returns false once the run is
    // over (catalogue exhausted or stopped); hits of that last slice are appended all the same.
    bool step(std::vector<qint32>& hits, int budgetMs);

    // The next record to test, for the progress display.
    qsizetype position() const { return m_position; }
    qsizetype recordCount() const { return m_recordCount; }
    void stop() { m_stopped = true; }

private:
    const SearchEngine& m_engine;
    qsizetype m_recordCount;
    qsizetype m_position = 0;
    qsizetype m_chunk;
    bool m_stopped = false;
};

} // namespace orba
