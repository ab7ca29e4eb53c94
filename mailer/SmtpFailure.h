#pragma once

#include "SmtpConnection.h"
#include "SmtpTransfer.h"

#include <QString>

namespace orba::mailer {

// One German sentence on what went wrong with a failed transfer and what the user can do.
QString failureText(const TransferResult& result, const SmtpConnection& connection);

} // namespace orba::mailer
