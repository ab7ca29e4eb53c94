#pragma once

#include <memory>
#include <QPointer>
#include <QUrl>
#include <QVariant>
#include <QWidget>

class QTextBrowser;

namespace orba {

class HelpPages;

// The program's own stand-in for the platform's HTML help viewer. It shows the pages of the
// compiled help file (default "orbaw.chm") and, when there is no such file, the same pages as
// loose files in the help file's folder ("html/setup.htm" beside "orbaw.chm"). Links and
// pictures are resolved inside the help. A page it cannot show gives a German note in the
// window instead.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget* parent, QString helpFile = QStringLiteral("orbaw.chm"));
    ~HelpViewer() override;

    // Shows the page at `topic`, a path inside the help such as "html/setup.htm".
    void showTopic(const QString& topic);
    // Shows the start page: the help file's default topic, else the first index page found.
    void showContents();
    // Shows `topic`, the page the numeric help context stands for; a note naming the context
    // when it stands for none (an empty topic).
    void showContext(int context, const QString& topic);

    // Controls, named as the window definition names them.
    QTextBrowser* HelpBrowser;

private:
    // Every request reads the help anew: it may have been installed or replaced meanwhile.
    void reopen();
    void go(const QString& topic);
    void showNote(const QString& text);
    void present();
    QVariant resource(int type, const QUrl& url) const;
    QString pageOrNote(const QString& path) const;

    QPointer<QWidget> m_owner;
    QString m_helpFile;
    std::unique_ptr<HelpPages> m_pages;
};

} // namespace orba
