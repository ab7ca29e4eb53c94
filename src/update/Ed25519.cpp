#include "update/Ed25519.h"

#include "core/OrbaError.h"

#include <sodium.h>

namespace orba::ed25519 {
namespace {

void initialise() {
    static const int ready = sodium_init();
    if (ready < 0)
        throw OrbaError(QStringLiteral("Die Bibliothek libsodium lässt sich nicht starten"));
}

auto bytes(const QByteArray& array) {
    return reinterpret_cast<const unsigned char*>(array.constData());
}

auto bytes(QByteArray& array) {
    return reinterpret_cast<unsigned char*>(array.data());
}

OrbaError invalidKey() {
    return OrbaError(QStringLiteral("Der Schlüssel hat nicht die Länge eines Ed25519-Schlüssels"));
}

} // namespace

KeyPair makeKeyPair() {
    initialise();
    KeyPair pair{QByteArray(PublicKeySize, '\0'), QByteArray(SecretKeySize, '\0')};
    crypto_sign_keypair(bytes(pair.publicKey), bytes(pair.secretKey));
    return pair;
}

KeyPair keyPairFromSeed(const QByteArray& seed) {
    initialise();
    if (seed.size() != SeedSize)
        throw invalidKey();
    KeyPair pair{QByteArray(PublicKeySize, '\0'), QByteArray(SecretKeySize, '\0')};
    crypto_sign_seed_keypair(bytes(pair.publicKey), bytes(pair.secretKey), bytes(seed));
    return pair;
}

QByteArray sign(const QByteArray& message, const QByteArray& secretKey) {
    initialise();
    if (secretKey.size() != SecretKeySize)
        throw invalidKey();
    QByteArray signature(SignatureSize, '\0');
    crypto_sign_detached(bytes(signature), nullptr, bytes(message),
                         static_cast<unsigned long long>(message.size()), bytes(secretKey));
    return signature;
}

bool verify(const QByteArray& message, const QByteArray& signature, const QByteArray& publicKey) {
    initialise();
    if (signature.size() != SignatureSize || publicKey.size() != PublicKeySize)
        return false;
    return crypto_sign_verify_detached(bytes(signature), bytes(message),
                                       static_cast<unsigned long long>(message.size()),
                                       bytes(publicKey)) == 0;
}

} // namespace orba::ed25519
