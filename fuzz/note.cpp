// Note files. The input's first line is a signature as a list shows it, the rest the note. A
// signature that makes no plain file name of the working directory gets no note; any other keeps
// its note, in the working directory, as written, through save and load and save again.
#include "catalogue/Record.h"
#include "core/OrbaError.h"
#include "core/TextFile.h"
#include "display/NoteFile.h"
#include "FuzzSupport.h"

#include <QDir>

using namespace orba;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input = fuzz::bytes(data, size);
    const qsizetype firstLineEnd = input.indexOf('\n');
    const QString displayed = QString::fromUtf8(input.left(firstLineEnd < 0 ? 0 : firstLineEnd));
    const QStringList note = textfile::splitLines(input.mid(firstLineEnd + 1));
    const QString stored = record::storedSignature(displayed);
    const QString fileName = noteFileName(displayed);

    if (stored.isEmpty() || !isSafeNoteName(stored)) {
        bool refused = false;
        try {
            writeNote(stored, note);
        } catch (const OrbaError&) {
            refused = true;
        }
        FUZZ_EXPECT(refused && !noteExists(displayed), displayed);
        return 0;
    }
    const auto files = [] { return QDir::current().entryList(QDir::Files | QDir::Hidden); };
    FUZZ_EXPECT(files().isEmpty());
    try {
        writeNote(stored, note);
    } catch (const OrbaError&) {
        // The file system may refuse a name (too long, say); the user is told so.
        FUZZ_EXPECT(files().isEmpty());
        return 0;
    }
    FUZZ_EXPECT(files() == QStringList{fileName}, fileName);
    const QStringList loaded = readNote(displayed);
    FUZZ_EXPECT(loaded == note);
    writeNote(stored, loaded);
    FUZZ_EXPECT(readNote(displayed) == loaded);
    deleteNote(stored);
    FUZZ_EXPECT(!noteExists(displayed));
    return 0;
}
