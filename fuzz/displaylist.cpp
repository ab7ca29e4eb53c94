// The display list of the settings dialog. The input is a settings file. Loading must give
// exactly what the dialog's rules give when walked position by position (for a Count small enough
// to walk), never take long whatever Count says, and list each field once; what the dialog then
// saves must load back unchanged and without complaint. A file that cannot be read whole is never
// written over.
#include "settings/DisplayList.h"

#include "core/OrbaError.h"
#include "FuzzSupport.h"
#include "settings/SettingsFile.h"

#include <optional>

using namespace orba;

namespace {

const QString kFile = QStringLiteral("orbaw.ini");
const QString kSection = QStringLiteral("Anzeige");
constexpr int kWalkable = 4096;

int integerOf(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        throw OrbaError::notAnInteger(text);
    return value;
}

// Every position from 0 to Count - 1 in turn, as the dialog's rules describe it.
DisplayListLoad walkPositions(const SettingsFile& settings, int count) {
    DisplayListLoad load;
    QList<bool> listed(displayFieldNames().size(), false);
    for (int position = 0; position < count; ++position) {
        const QString value =
            settings.readString(kSection, QStringLiteral("Item%1").arg(position), QString());
        const qsizetype comma = value.indexOf(u',');
        if (comma < 0 || load.list.size() == listed.size())
            continue;
        try {
            const int field = integerOf(value.left(comma));
            if (field < 0)
                continue;
            if (field >= listed.size())
                throw OrbaError::indexOutOfRange();
            const bool shown = integerOf(value.mid(comma + 1)) != 0;
            if (!listed[field]) {
                listed[field] = true;
                load.list.append({field, shown});
            }
        } catch (const OrbaError& error) {
            if (!load.error)
                load.error = error;
        }
    }
    return load;
}

QString describe(const DisplayListLoad& load) {
    QStringList entries;
    for (const DisplayEntry& entry : load.list)
        entries.append(QStringLiteral("%1,%2").arg(entry.field).arg(entry.shown));
    return entries.join(u' ') + QStringLiteral(" | ") +
           (load.error ? load.error->message() : QString());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input = fuzz::bytes(data, size);
    fuzz::writeFile(kFile, input);
    SettingsFile settings(kFile);
    const DisplayListLoad load = readDisplayList(settings);
    if (settings.readError()) {
        fuzz::expectLeftAlone(kFile, input, [&] { writeDisplayList(settings, load.list); });
        return 0;
    }
    FUZZ_EXPECT(load.list.size() <= displayFieldNames().size());
    QList<bool> listed(displayFieldNames().size(), false);
    for (const DisplayEntry& entry : load.list) {
        FUZZ_EXPECT(entry.field >= 0 && entry.field < listed.size() && !listed[entry.field]);
        listed[entry.field] = true;
    }
    const int count = settings.readInteger(kSection, QStringLiteral("Count"), 0);
    if (count > 0 && count <= kWalkable) {
        const DisplayListLoad walked = walkPositions(settings, count);
        FUZZ_EXPECT(walked.list == load.list && describe(walked) == describe(load),
                    describe(load) + QStringLiteral(" / walked: ") + describe(walked));
    }

    writeDisplayList(settings, load.list);
    const DisplayListLoad saved = readDisplayList(SettingsFile(kFile));
    FUZZ_EXPECT(saved.list == load.list || (load.list.isEmpty() && saved.list.size() == 16),
                describe(saved));
    FUZZ_EXPECT(!saved.error, describe(saved));
    return 0;
}
