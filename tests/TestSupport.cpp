#include "TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace orba::test {

WorkingDir::WorkingDir() : m_previous(QDir::currentPath()) {
    QDir::setCurrent(m_dir.path());
}

WorkingDir::~WorkingDir() {
    QDir::setCurrent(m_previous);
}

void WorkingDir::write(const QString& name, const QByteArray& bytes) const {
    QFile f(file(name));
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write test file");
    f.write(bytes);
}

QByteArray WorkingDir::read(const QString& name) const {
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void answerNextModal(std::function<void(QWidget*)> answer, ModalSeen* seen) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer, seen] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        timer->stop();
        timer->deleteLater();
        if (seen) {
            seen->shown = true;
            seen->caption = modal->windowTitle();
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                seen->text = box->text();
        }
        answer(modal);
    });
    timer->start();
}

MessageWatch::MessageWatch() {
    m_timer.setInterval(10);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        m_texts.append(box->text());
        box->buttons().constFirst()->click();
    });
    m_timer.start();
}

void clickInNextModal(const QString& buttonText, ModalSeen* seen) {
    answerNextModal(
        [buttonText](QWidget* modal) {
            for (QAbstractButton* button : modal->findChildren<QAbstractButton*>()) {
                if (button->text().remove(QLatin1Char('&')) == buttonText && button->isVisible()) {
                    button->click();
                    return;
                }
            }
            qWarning("no button '%s' in the modal dialog", qPrintable(buttonText));
            modal->close();
        },
        seen);
}

} // namespace orba::test
