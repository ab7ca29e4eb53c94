// The user file and the user list made from it. The list shows the file's lines sorted once;
// what it writes back loads as the same list: load(save(load(x))) = load(x). The dialog shows
// exactly that list, and each entry's name and school split and join again unchanged. A file
// that cannot be read whole is never written over.
#include "settings/UserFile.h"

#include "core/OrbaError.h"
#include "core/TextFile.h"
#include "core/WholeFile.h"
#include "FuzzSupport.h"
#include "settings/Tbenu.h"

#include <QCollator>
#include <QFile>

using namespace orba;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input = fuzz::bytes(data, size);
    fuzz::writeFile(QStringLiteral("benu.dat"), input);
    WholeFile file(QStringLiteral("benu.dat"));
    QStringList loaded;
    try {
        loaded = sortUserLines(file.readLines());
    } catch (const OrbaError&) {
        // A file that cannot be taken in whole is never written over.
        try {
            file.writeLines({QStringLiteral("Neu\t")});
        } catch (const OrbaError&) {
        }
        QFile after(QStringLiteral("benu.dat"));
        FUZZ_EXPECT(after.open(QIODevice::ReadOnly) && after.readAll() == input);
        return 0;
    }

    QCollator order{QLocale()};
    order.setCaseSensitivity(Qt::CaseInsensitive);
    for (qsizetype i = 1; i < loaded.size(); ++i)
        FUZZ_EXPECT(order.compare(loaded[i - 1], loaded[i]) <= 0, loaded[i - 1] + u'/' + loaded[i]);

    WholeFile saved(QStringLiteral("saved.dat"));
    saved.writeLines(loaded);
    // A cp1252 text that begins as a byte-order mark does reads back as Unicode.
    if (!fuzz::startsWithByteOrderMark(textfile::joinLines(loaded)))
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
