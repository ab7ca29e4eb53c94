// The order basket's file. Whatever a file holds, what the basket saves of it loads back the
// same: load(save(load(x))) = load(x), each signature once and none empty; saving that again
// writes the same bytes, and saving an empty basket leaves no file.
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

QByteArray contents(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::writeFile(QStringLiteral("bestell.lst"), fuzz::bytes(data, size));
    const QList<BasketEntry> loaded = BasketFile(QStringLiteral("bestell.lst")).load();
    QSet<QString> signatures;
    for (const BasketEntry& entry : loaded) {
        FUZZ_EXPECT(!entry.signature.isEmpty() && !signatures.contains(entry.signature),
                    entry.signature);
        signatures.insert(entry.signature);
    }

    BasketFile saved(QStringLiteral("saved.lst"));
    saved.save(loaded);
    const QList<BasketEntry> again = BasketFile(QStringLiteral("saved.lst")).load();
    FUZZ_EXPECT(describe(again) == describe(loaded),
                describe(loaded) + QStringLiteral("\n/\n") + describe(again));
    const QByteArray firstSave = contents(QStringLiteral("saved.lst"));
    saved.save(again);
    FUZZ_EXPECT(contents(QStringLiteral("saved.lst")) == firstSave);
    FUZZ_EXPECT(QFile::exists(QStringLiteral("saved.lst")) == !loaded.isEmpty());

    saved.save({});
    FUZZ_EXPECT(!QFile::exists(QStringLiteral("saved.lst")));
    return 0;
}
