#pragma once

#include <QByteArray>

// Ed25519 signatures (libsodium): the organisation signs what it publishes with its secret key,
// ORBA checks with the public key it ships with.
namespace orba::ed25519 {

constexpr int PublicKeySize = 32;
constexpr int SecretKeySize = 64;
constexpr int SignatureSize = 64;
constexpr int SeedSize = 32;

struct KeyPair {
    QByteArray publicKey;
    QByteArray secretKey;
};

// Throw OrbaError for a seed or secret key of the wrong size.
KeyPair makeKeyPair();
// The same seed always gives the same pair.
KeyPair keyPairFromSeed(const QByteArray& seed);

QByteArray sign(const QByteArray& message, const QByteArray& secretKey);
// False also for a key or signature of the wrong size.
bool verify(const QByteArray& message, const QByteArray& signature, const QByteArray& publicKey);

} // namespace orba::ed25519
