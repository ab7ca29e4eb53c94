#pragma once

#include <exception>
#include <QString>

namespace orba {

// The one error type for file, list and conversion failures; it carries the German text the
// user sees. Handlers let it unwind to the guard, which shows it and lets the loop go on.
class OrbaError : public std::exception {
public:
    explicit OrbaError(QString message);
    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

    static OrbaError cannotOpen(const QString& fileName);
    static OrbaError cannotCreate(const QString& fileName);
    static OrbaError cannotCreateFolder(const QString& folder);
    static OrbaError cannotWriteSettings(const QString& fileName);
    // A user's file that cannot be taken in whole: it holds a NUL or broken text, or characters
    // that cp1252 lacks.
    static OrbaError damaged(const QString& fileName);
    static OrbaError notStorable(const QString& fileName);
    static OrbaError notAnInteger(const QString& text);
    static OrbaError indexOutOfRange();

private:
    QString m_message;
    QByteArray m_utf8;
};

} // namespace orba
