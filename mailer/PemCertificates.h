#pragma once

#include <QByteArray>

namespace orba::mailer {

// Whether `pem` holds a certificate in PEM form and every certificate in it is whole: base64 that
// decodes to one DER sequence of the length it announces. A certificate in DER form, a key alone
// or a file cut short holds none that OpenSSL could use.
bool holdsUsableCertificates(const QByteArray& pem);

} // namespace orba::mailer
