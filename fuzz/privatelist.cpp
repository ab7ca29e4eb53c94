// The private list's file. Whatever a file holds, what the list saves of it loads back the same:
// load(save(load(x))) = load(x); and saving that again writes the same bytes. A file that cannot
// be loaded whole is never written over.
#include "core/OrbaError.h"
#include "core/WholeFile.h"
#include "FuzzSupport.h"
#include "lists/PrivateListFile.h"

#include <QFile>

using namespace orba;

namespace {

QString describe(const QList<PrivateListEntry>& entries) {
    QStringList lines;
    for (const PrivateListEntry& entry : entries)
        lines.append(entry.signature + u'|' + entry.title + u'|' + QString::number(entry.index));
    return lines.join(u'\n');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input = fuzz::bytes(data, size);
    fuzz::writeFile(QStringLiteral("orba.lst"), input);
    WholeFile original(QStringLiteral("orba.lst"));
    PrivateListLoad loaded;
    try {
        loaded = loadPrivateList(original);
    } catch (const OrbaError&) {
        fuzz::expectLeftAlone(QStringLiteral("orba.lst"), input, [&] {
            savePrivateList(original, {{QStringLiteral("X 1"), QStringLiteral("x"), 1}});
        });
        return 0;
    }

    // A file this copy never read would count as another copy's, to be merged with.
    QFile::remove(QStringLiteral("saved.lst"));
    WholeFile saved(QStringLiteral("saved.lst"));
    savePrivateList(saved, loaded.entries);
    const QByteArray firstSave = fuzz::readFile(QStringLiteral("saved.lst"));
    // A cp1252 text that begins as a byte-order mark does reads back as Unicode.
    if (fuzz::startsWithByteOrderMark(firstSave))
        return 0;
    const PrivateListLoad again = loadPrivateList(saved);
    FUZZ_EXPECT(describe(again.entries) == describe(loaded.entries),
                describe(loaded.entries) + QStringLiteral("\n/\n") + describe(again.entries));
    FUZZ_EXPECT(!again.error);

    savePrivateList(saved, again.entries);
    FUZZ_EXPECT(fuzz::readFile(QStringLiteral("saved.lst")) == firstSave);
    return 0;
}
