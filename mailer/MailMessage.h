#pragma once

#include "MailOrder.h"

#include <QByteArray>
#include <QDateTime>
#include <QStringList>

namespace orba::mailer {

// The complete message as it goes to the server: header fields, an empty line and the body
// lines as UTF-8 in quoted-printable, all lines ended by CR LF and 7-bit clean. Only an address
// with letters beyond ASCII before its "@" has no 7-bit form: it stays UTF-8, which a server
// takes only with SMTPUTF8, and libcurl asks for that where the server offers it.
QByteArray composeMessage(const MailOrder& order, const QStringList& bodyLines,
                          const QDateTime& date);

} // namespace orba::mailer
