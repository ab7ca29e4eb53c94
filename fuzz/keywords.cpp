// The keyword file and the keyword list. The list holds every keyword of the file but the empty
// lines, each as often as the file has it, in the list's order; sorting it again changes
// nothing, and the window shows exactly that list.
#include "catalogue/KeywordList.h"
#include "catalogue/Tschlag.h"
#include "core/TextFile.h"
#include "FuzzSupport.h"

#include <algorithm>
#include <QCollator>
#include <QListWidget>

using namespace orba;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::writeFile(QStringLiteral("schlag.dat"), fuzz::bytes(data, size));
    QStringList lines = textfile::readLines(QStringLiteral("schlag.dat"));
    const QStringList keywords = keywordList(lines);

    lines.removeAll(QString());
    QStringList sortedLines = lines;
    QStringList sortedKeywords = keywords;
    std::sort(sortedLines.begin(), sortedLines.end());
    std::sort(sortedKeywords.begin(), sortedKeywords.end());
    FUZZ_EXPECT(sortedLines == sortedKeywords);
    QCollator order;
    order.setCaseSensitivity(Qt::CaseInsensitive);
    for (qsizetype i = 1; i < keywords.size(); ++i)
        FUZZ_EXPECT(order.compare(keywords[i - 1], keywords[i]) <= 0);
    FUZZ_EXPECT(keywordList(keywords) == keywords);

    const Tschlag window(nullptr);
    QStringList shown;
    for (int row = 0; row < window.ListBox1->count(); ++row)
        shown.append(window.ListBox1->item(row)->text());
    FUZZ_EXPECT(shown == keywords);
    return 0;
}
