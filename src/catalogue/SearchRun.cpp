#include "catalogue/SearchRun.h"

#include "catalogue/SearchEngine.h"

#include <algorithm>
#include <QElapsedTimer>

namespace orba {
namespace {

constexpr qsizetype FirstChunk = 4096;
constexpr qsizetype SmallestChunk = 256;
constexpr qsizetype LargestChunk = 1 << 20;

} // namespace

SearchRun::SearchRun(const SearchEngine& engine, qsizetype recordCount)
    : m_engine(engine), m_recordCount(recordCount), m_chunk(FirstChunk) {}

bool SearchRun::step(std::vector<qint32>& hits, int budgetMs) {
    if (m_stopped)
        return false;
    const qint64 budgetNs = qint64(budgetMs) * 1000000;
    // The first slice ends after its first chunk, so that the window shows the first hits and
    // takes a click on "Stop" at once, however fast the rest goes.
    const qint64 sliceNs = m_position == 0 ? 0 : budgetNs;
    QElapsedTimer timer;
    timer.start();
    while (m_position < m_recordCount) {
        const qint64 chunkStart = timer.nsecsElapsed();
        const qsizetype to = std::min(m_position + m_chunk, m_recordCount);
        m_engine.scan(m_position, to, hits);
        m_position = to;
        // Chunks are kept between an eighth and half of the budget: a slice then overshoots it
        // only a little, whether its records are cheap to test or not.
        const qint64 chunkNs = timer.nsecsElapsed() - chunkStart;
        if (chunkNs < budgetNs / 8)
            m_chunk = std::min(m_chunk * 2, LargestChunk);
        else if (chunkNs > budgetNs / 2)
            m_chunk = std::max(m_chunk / 2, SmallestChunk);
        if (timer.nsecsElapsed() >= sliceNs)
            break;
    }
    return m_position < m_recordCount;
}

} // namespace orba
