#pragma once

#include "SmtpConnection.h"
#include "SmtpTransfer.h"

#include <QString>

namespace orba::mailer {

// One German sentence on what went wrong with a failed transfer and what the user can do;
// `sender` is the envelope's sender address.
QString failureText(const TransferResult& result, const SmtpConnection& connection,
                    const QString& sender);

} // namespace orba::mailer
