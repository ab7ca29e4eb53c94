#pragma once

#include <functional>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

namespace orba::test {

// A temporary directory made the working directory for the lifetime of the object.
class WorkingDir {
public:
    WorkingDir();
    ~WorkingDir();
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// Answers the next modal dialog (a message box or any dialog) by calling `answer` with it as soon
// as it is shown; returns at once. `seen` receives the dialog's text and caption for checks.
struct ModalSeen {
    QString caption;
    QString text;
    bool shown = false;
};
void answerNextModal(std::function<void(QWidget*)> answer, ModalSeen* seen = nullptr);
// Clicks the button with this text in the next modal dialog.
void clickInNextModal(const QString& buttonText, ModalSeen* seen = nullptr);

// Answers every message box shown while it lives and keeps its text, so that a message nobody
// expected fails a test instead of blocking it.
class MessageWatch {
public:
    MessageWatch();
    const QStringList& texts() const { return m_texts; }

private:
    QTimer m_timer;
    QStringList m_texts;
};

} // namespace orba::test
