// The private list's file. Whatever a file holds, what the list saves of it loads back the same:
// load(save(load(x))) = load(x); and saving that again writes the same bytes.
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

QByteArray contents(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::writeFile(QStringLiteral("orba.lst"), fuzz::bytes(data, size));
    WholeFile original(QStringLiteral("orba.lst"));
    const PrivateListLoad loaded = loadPrivateList(original);

    WholeFile saved(QStringLiteral("saved.lst"));
    savePrivateList(saved, loaded.entries);
    const PrivateListLoad again = loadPrivateList(saved);
    FUZZ_EXPECT(describe(again.entries) == describe(loaded.entries),
                describe(loaded.entries) + QStringLiteral("\n/\n") + describe(again.entries));
    FUZZ_EXPECT(!again.error);

    const QByteArray firstSave = contents(QStringLiteral("saved.lst"));
    savePrivateList(saved, again.entries);
    FUZZ_EXPECT(contents(QStringLiteral("saved.lst")) == firstSave);
    return 0;
}
