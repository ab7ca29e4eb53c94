// The statistics file and its window. The first line is the date and every further line one
// row, its TAB starting the second column: nothing is lost or added, and the window shows exactly
// that. A file without lines is refused.
#include "settings/Statistics.h"

#include "core/OrbaError.h"
#include "core/TextFile.h"
#include "FuzzSupport.h"
#include "settings/Tstat.h"

#include <QLabel>
#include <QTreeWidget>

using namespace orba;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::writeFile(QStringLiteral("stat.dat"), fuzz::bytes(data, size));
    const QStringList lines = textfile::readLines(QStringLiteral("stat.dat"));
    if (lines.isEmpty()) {
        bool refused = false;
        try {
            parseStatistics(lines);
        } catch (const OrbaError&) {
            refused = true;
        }
        FUZZ_EXPECT(refused);
        return 0;
    }
    const Statistics statistics = parseStatistics(lines);
    FUZZ_EXPECT(statistics.date == lines.first() && statistics.rows.size() == lines.size() - 1);
    for (qsizetype i = 0; i < statistics.rows.size(); ++i) {
        const QStringList& row = statistics.rows[i];
        FUZZ_EXPECT(row.size() <= 2 && !row.first().contains(u'\t'));
        FUZZ_EXPECT(row.join(u'\t') == lines[i + 1]);
    }

    const Tstat window(nullptr);
    FUZZ_EXPECT(window.Label2->text() == statistics.date);
    FUZZ_EXPECT(window.ListBox1->topLevelItemCount() == statistics.rows.size());
    return 0;
}
