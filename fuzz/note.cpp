// Note files. The input's first line is a signature as a list shows it, the rest the note. A
// signature that makes no plain file name of the working directory gets no note; any other keeps
// its note, in the working directory, as written, through save and load and save again; a note
// saved without lines has no file.
#include "catalogue/Record.h"
#include "core/OrbaError.h"
#include "core/TextFile.h"
#include "display/NoteFile.h"
#include "FuzzSupport.h"

#include <QDir>

using namespace orba;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [firstLine, noteText] = fuzz::splitFirstLine(fuzz::bytes(data, size));
    const QString displayed = QString::fromUtf8(firstLine);
    const QStringList note = textfile::splitLines(noteText);
    const QString stored = record::storedSignature(displayed);
    const QString fileName = noteFileName(displayed);

    if (stored.isEmpty() || !isSafeNoteName(stored)) {
        bool refused = false;
        try {
            NoteFile(stored).save(note);
        } catch (const OrbaError&) {
            refused = true;
        }
        FUZZ_EXPECT(refused && !noteExists(displayed), displayed);
        return 0;
    }
    const auto files = [] { return QDir::current().entryList(QDir::Files | QDir::Hidden); };
    FUZZ_EXPECT(files().isEmpty());
    NoteFile file(stored);
    try {
        file.save(note);
    } catch (const OrbaError&) {
        // The file system may refuse a name (too long, say); the user is told so.
        FUZZ_EXPECT(files().isEmpty());
        return 0;
    }
    FUZZ_EXPECT(files() == (note.isEmpty() ? QStringList() : QStringList{fileName}), fileName);
    // A cp1252 text that begins as a byte-order mark does reads back as Unicode.
    if (fuzz::startsWithByteOrderMark(textfile::joinLines(note))) {
        file.save({});
        return 0;
    }
    NoteFile again(stored);
    const QStringList loaded = again.read();
    FUZZ_EXPECT(loaded == note);
    again.save(loaded);
    FUZZ_EXPECT(NoteFile(stored).read() == loaded);
    again.save({});
    FUZZ_EXPECT(!noteExists(displayed));
    return 0;
}
