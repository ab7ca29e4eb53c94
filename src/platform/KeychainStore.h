#pragma once

#include "platform/PasswordStore.h"

namespace orba {

// The desktop's password store (Secret Service, KWallet, Keychain, Credential Manager) through
// QtKeychain; never a file of its own. Each call waits for the store's answer, taking no user
// input meanwhile.
class KeychainStore : public PasswordStore {
public:
    Lookup read(const QString& key) override;
    bool write(const QString& key, const QString& password) override;
    void remove(const QString& key) override;
};

} // namespace orba
