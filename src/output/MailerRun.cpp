#include "output/MailerRun.h"

#include "core/Cp1252.h"
#include "core/TextFile.h"
#include "output/MailerLog.h"
#include "platform/Installation.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>

namespace orba {
namespace {

const QString logFile = QStringLiteral("log.tmp");
// How often the wait looks for the log and repaints.
constexpr int pollMs = 50;
// The mailer writes its log as its last act; this is ample for it to exit afterwards.
constexpr int exitGraceMs = 5000;

bool logWritten() {
    QFile log(logFile);
    return log.open(QIODevice::ReadOnly) && log.size() > 0;
}

MailerOutcome judgeLog() {
    const QStringList lines = textfile::readLines(logFile);
    const QByteArray success = mailerlog::success.toLatin1();
    for (const QString& line : lines) {
        if (cp1252::upper(cp1252::encode(line)).contains(success))
            return MailerOutcome::Sent;
    }
    // The transcript's lines are marked, so only the mailer's own report begins this way.
    if (mailerlog::causeIn(lines).startsWith(mailerlog::signInRefused))
        return MailerOutcome::SignInRefused;
    return MailerOutcome::Failed;
}

bool waitForLog(QProcess& mailer, QDeadlineTimer deadline) {
    while (!logWritten()) {
        // The log may have come just before the mailer ended.
        if (mailer.state() == QProcess::NotRunning)
            return logWritten();
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        mailer.waitForFinished(pollMs);
    }
    return true;
}

void stop(QProcess& mailer, bool logSeen) {
    if (logSeen && mailer.waitForFinished(exitGraceMs))
        return;
    if (mailer.state() != QProcess::NotRunning) {
        mailer.kill();
        mailer.waitForFinished();
    }
}

} // namespace

MailerOutcome runMailer(const QStringList& arguments, std::chrono::milliseconds waitLimit,
                        const QByteArray& input) {
    // A log left from the last send would be taken for this one's.
    QFile::remove(logFile);
    if (QFileInfo::exists(logFile))
        return MailerOutcome::NotStarted;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restoreCursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });

    QProcess mailer;
    mailer.setProgram(platform::mailerProgram(QDir::currentPath()));
    mailer.setArguments(arguments);
    mailer.setWorkingDirectory(QDir::currentPath());
    // Its console output is not used.
    mailer.setStandardOutputFile(QProcess::nullDevice());
    mailer.setStandardErrorFile(QProcess::nullDevice());
    mailer.start();
    if (!mailer.waitForStarted())
        return MailerOutcome::NotStarted;
    // Written out while the log is waited for; the mailer then reads the end of its input.
    mailer.write(input);
    mailer.closeWriteChannel();

    const bool logSeen = waitForLog(mailer, QDeadlineTimer(waitLimit));
    stop(mailer, logSeen);
    if (!logSeen)
        return MailerOutcome::NoLog;
    return judgeLog();
}

} // namespace orba
