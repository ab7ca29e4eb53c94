#pragma once

#include <QString>
#include <QStringList>

namespace orba::mailer {

// What the caller asks for on the command line:
//   send.exe -d -s"subject" -f"sender" recipient... bodyfile
struct MailOrder {
    bool transcript = false; // -d: log the whole exchange with the server
    QString subject;
    QString sender;     // the address alone, for the envelope
    QString senderName; // shown with it in the header; may be empty
    QStringList recipients;
    QString bodyFile;
};

// Throws OrbaError with the German reason when the command line cannot be used.
MailOrder parseCommandLine(int argc, const char* const* argv);

} // namespace orba::mailer
