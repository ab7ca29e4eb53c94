// The user file and the user list made from it. The list shows the file's lines sorted once;
// what it writes back loads as the same list: load(save(load(x))) = load(x). The dialog shows
// exactly that list, and each entry's name and school split and join again unchanged.
#include "settings/UserFile.h"

#include "core/WholeFile.h"
#include "FuzzSupport.h"
#include "settings/Tbenu.h"

#include <QCollator>

using namespace orba;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::writeFile(QStringLiteral("benu.dat"), fuzz::bytes(data, size));
    WholeFile file(QStringLiteral("benu.dat"));
    const QStringList loaded = sortUserLines(file.readLines());

    QCollator order{QLocale()};
    order.setCaseSensitivity(Qt::CaseInsensitive);
    for (qsizetype i = 1; i < loaded.size(); ++i)
        FUZZ_EXPECT(order.compare(loaded[i - 1], loaded[i]) <= 0, loaded[i - 1] + u'/' + loaded[i]);

    WholeFile saved(QStringLiteral("saved.dat"));
    saved.writeLines(loaded);
    FUZZ_EXPECT(sortUserLines(saved.readLines()) == loaded);

    const Tbenu users(nullptr, QStringLiteral("benu.dat"));
    FUZZ_EXPECT(users.entries() == loaded);

    for (const QString& line : loaded) {
        const UserEntry entry = splitUserLine(line);
        FUZZ_EXPECT(!entry.name.contains(u'\t'));
        FUZZ_EXPECT(joinUserLine(entry) == (line.contains(u'\t') ? line : line + u'\t'));
        FUZZ_EXPECT(sortedPosition(loaded, line) > loaded.indexOf(line));
    }
    return 0;
}
