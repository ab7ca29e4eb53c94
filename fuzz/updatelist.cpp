// What a catalogue update reads from the network or a folder others can write in. The signed
// list is refused in German or read so that writing it out and reading it again gives the same
// list; a signature made for the bytes verifies, and one changed bit in it is refused. A
// downloaded catalogue reads as one exactly when every line has 17 fields and a signature,
// however its pieces arrived. A swap's journal names only files an update writes, each once.
#include "catalogue/CatalogueCheck.h"
#include "core/OrbaError.h"
#include "FuzzSupport.h"
#include "update/Ed25519.h"
#include "update/UpdateInstaller.h"
#include "update/UpdateManifest.h"

using namespace orba;

namespace {

bool sameFiles(const QList<PublishedFile>& a, const QList<PublishedFile>& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || a[i].size != b[i].size || a[i].sha256 != b[i].sha256)
            return false;
    return true;
}

// The plain reading of a catalogue's record rules.
bool readsAsCatalogue(QByteArray text) {
    text.replace("\r\n", "\n").replace('\r', '\n');
    if (text.endsWith('\n'))
        text.chop(1);
    if (text.isEmpty() || text.contains('\0'))
        return false;
    for (const QByteArray& line : text.split('\n'))
        if (line.count('|') != 16 || line.startsWith('|'))
            return false;
    return true;
}

void checkCatalogue(const QByteArray& text) {
    CatalogueCheck whole;
    whole.add(text);
    CatalogueCheck pieces;
    const qsizetype cut = text.isEmpty() ? 0 : text.size() * 7 / 13;
    pieces.add(QByteArrayView(text).first(cut));
    pieces.add(QByteArrayView(text).sliced(cut));
    FUZZ_EXPECT(whole.fault() == pieces.fault(), whole.fault() + QLatin1Char('/') + pieces.fault());
    FUZZ_EXPECT(whole.fault().isEmpty() == readsAsCatalogue(text), whole.fault());
}

void checkJournal(const QByteArray& text) {
    const std::optional<QStringList> names = journalNames(text);
    if (!names)
        return;
    FUZZ_EXPECT(!names->isEmpty() && QStringList(*names).removeDuplicates() == 0);
    for (const QString& name : *names)
        FUZZ_EXPECT(UpdateManifest::publishedFiles().contains(name) ||
                        name == UpdateManifest::fileName || name == UpdateManifest::signatureName,
                    name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray text = fuzz::bytes(data, size);
    checkCatalogue(text);
    checkJournal(text);
    static const ed25519::KeyPair key = ed25519::keyPairFromSeed(QByteArray(32, '\x2a'));
    QByteArray signature = ed25519::sign(text, key.secretKey);
    FUZZ_EXPECT(ed25519::verify(text, signature, key.publicKey));
    signature[int(size % ed25519::SignatureSize)] ^= char(1 << (size % 8));
    FUZZ_EXPECT(!ed25519::verify(text, signature, key.publicKey));

    std::optional<UpdateManifest> list;
    try {
        list = UpdateManifest::parse(text);
    } catch (const OrbaError& e) {
        FUZZ_EXPECT(e.message().startsWith(QStringLiteral("Die Liste der Aktualisierung")));
        return 0;
    }
    FUZZ_EXPECT(list->stand().isValid());
    bool hasCatalogue = false;
    for (const PublishedFile& file : list->files())
        hasCatalogue |= file.name == UpdateManifest::publishedFiles().constFirst();
    FUZZ_EXPECT(hasCatalogue);
    for (const PublishedFile& file : list->files())
        FUZZ_EXPECT(UpdateManifest::publishedFiles().contains(file.name) && file.size >= 0 &&
                    file.sha256.size() == 32);
    const UpdateManifest again = UpdateManifest::parse(list->text());
    FUZZ_EXPECT(again.stand() == list->stand() && again.validUntil() == list->validUntil() &&
                    sameFiles(again.files(), list->files()),
                QString::fromLatin1(list->text()));
    return 0;
}
