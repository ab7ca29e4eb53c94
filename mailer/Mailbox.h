#pragma once

#include <QString>

namespace orba::mailer {

// An address as a mail header names it: the address itself and, if given, the name shown for it.
struct Mailbox {
    QString name;
    QString address;
};

// Reads "max@schule.example", "<max@schule.example>", "Max Muster <max@schule.example>" or
// "\"Muster, Max\" <max@schule.example>". Throws OrbaError with a German message naming the text
// when it is no usable address: one without a name before and a host after the "@", or with
// blanks, line breaks or mail syntax characters in the address, or with a host beyond ASCII that
// has no ASCII form. Such a host comes in its ASCII form ("xn--…"), as mail to it travels.
Mailbox parseMailbox(const QString& text);

} // namespace orba::mailer
