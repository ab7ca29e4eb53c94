#include "output/MailCommand.h"

namespace orba {
namespace {

const QString bodyFile = QStringLiteral("mail.tmp");

} // namespace

QString mailCommandLine(const QString& subject, const QString& sender, const QString& recipient) {
    return QStringLiteral("send.exe -d -s\"") + subject + QStringLiteral("\" -f\"") + sender +
           QStringLiteral("\" ") + recipient + QLatin1Char(' ') + bodyFile;
}

QStringList mailArguments(const QString& subject, const QString& sender, const QString& recipient) {
    QStringList arguments{QStringLiteral("-d"), QStringLiteral("-s") + subject,
                          QStringLiteral("-f") + sender};
    arguments += recipient.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    arguments.append(bodyFile);
    return arguments;
}

} // namespace orba
