// The order basket's file. Whatever a file holds, what the basket saves of it loads back the
// same: load(save(load(x))) = load(x), each signature once and none empty; saving that again
// writes the same bytes, and saving an empty basket leaves no file. A file that cannot be loaded
// whole is never written over.
#include "core/OrbaError.h"
#include "FuzzSupport.h"
#include "lists/BasketFile.h"

#include <QFile>
#include <QSet>

using namespace orba;

namespace {

QString describe(const QList<BasketEntry>& entries) {
    QStringList lines;
    for (const BasketEntry& entry : entries)
        lines.append(entry.signature + u'|' + entry.title + u'|' + QString::number(entry.index) +
                     u'|' + entry.date);
    return lines.join(u'\n');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input = fuzz::bytes(data, size);
    fuzz::writeFile(QStringLiteral("bestell.lst"), input);
    BasketFile original(QStringLiteral("bestell.lst"));
    QList<BasketEntry> loaded;
    try {
        loaded = original.load();
    } catch (const OrbaError&) {
        fuzz::expectLeftAlone(QStringLiteral("bestell.lst"), input, [&] {
            original.save({{QStringLiteral("X 1"), QStringLiteral("x"), 1}});
        });
        return 0;
    }
    QSet<QString> signatures;
    for (const BasketEntry& entry : loaded) {
        FUZZ_EXPECT(!entry.signature.isEmpty() && !signatures.contains(entry.signature),
                    entry.signature);
        signatures.insert(entry.signature);
    }

    // A file this copy never read would count as another copy's, to be merged with.
    QFile::remove(QStringLiteral("saved.lst"));
    BasketFile saved(QStringLiteral("saved.lst"));
    saved.save(loaded);
    // A cp1252 text that begins as a byte-order mark does reads back as Unicode.
    if (fuzz::startsWithByteOrderMark(fuzz::readFile(QStringLiteral("saved.lst"))))
        return 0;
    const QList<BasketEntry> again = BasketFile(QStringLiteral("saved.lst")).load();
    FUZZ_EXPECT(describe(again) == describe(loaded),
                describe(loaded) + QStringLiteral("\n/\n") + describe(again));
    const QByteArray firstSave = fuzz::readFile(QStringLiteral("saved.lst"));
    saved.save(again);
    FUZZ_EXPECT(fuzz::readFile(QStringLiteral("saved.lst")) == firstSave);
    FUZZ_EXPECT(QFile::exists(QStringLiteral("saved.lst")) == !loaded.isEmpty());

    saved.save({});
    FUZZ_EXPECT(!QFile::exists(QStringLiteral("saved.lst")));
    return 0;
}
