#pragma once

#include <QString>

namespace orba {

// The desktop's store for secrets, by key.
class PasswordStore {
public:
    enum class Status {
        Found,
        Missing,     // the store works but holds nothing under the key
        Unavailable, // there is no store (no keyring, no desktop session) or it refused
    };
    struct Lookup {
        Status status = Status::Unavailable;
        QString password;
    };

    virtual ~PasswordStore() = default;
    virtual Lookup read(const QString& key) = 0;
    // False when the store did not take it.
    virtual bool write(const QString& key, const QString& password) = 0;
    virtual void remove(const QString& key) = 0;
};

} // namespace orba
