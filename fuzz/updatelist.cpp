// The signed list of a catalogue update, as it comes from the network. A list is refused in
// German or read so that writing it out and reading it again gives the same list; a signature
// made for the bytes verifies, and one changed bit in it is refused.
#include "core/OrbaError.h"
#include "FuzzSupport.h"
#include "update/Ed25519.h"
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray text = fuzz::bytes(data, size);
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
    FUZZ_EXPECT(again.stand() == list->stand() && sameFiles(again.files(), list->files()),
                QString::fromLatin1(list->text()));
    return 0;
}
