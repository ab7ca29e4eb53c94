#pragma once

#include <functional>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace orba {

class HelpViewer;

// One request the program made of a help viewer.
struct HelpRequest {
    enum Kind { Topic, Contents, Context };
    Kind kind = Topic;
    bool html = true; // false: the classic help file
    QString topic;    // Topic only, with its extension completed
    int context = 0;  // Context only
    QString address;  // the help file, for a topic "orbaw.chm::/" and the topic
    bool operator==(const HelpRequest&) const = default;
};

// The program's one help router. Every help request goes through here: the windows' help buttons
// and the main window's contents button follow the HTML help setting; the F1 key in a window or
// control carrying a help context (the dynamic property "helpContext") always asks the HTML help,
// in any other window it asks the window's help as its help button does, and in the help window
// the contents. Every request is recorded in order and answered by the own help window: there is
// no classic help viewer on this platform, so a classic request shows the page its context stands
// for (the contents for the contents), or a note that the help has no such page.
class HelpRouter : public QObject {
    Q_OBJECT
public:
    // `owner` (the main window) owns the help window; `htmlHelpMode` tells the current setting.
    // The router takes the application's F1 key for as long as it lives.
    HelpRouter(QWidget* owner, std::function<bool()> htmlHelpMode);
    ~HelpRouter() override;

    // The page "orbaw.chm::/" + topic; ".htm" is appended to a topic without that extension.
    void showTopic(const QString& topic);
    void showContents(bool html);
    void showContext(int context, bool html);

    // A dialog's help button: its topic in HTML mode, else its context in the classic help.
    void dialogHelp(const QString& topic, int context);
    // The main window's help button and menu entry "Hilfeindex": the contents of the help.
    void contentsHelp();
    // The help of the place `widget` is in, for a help button or F1 there: the page HelpTopics
    // names for its help id; nothing for a window without help.
    void windowHelp(QWidget* widget);
    // A window whose help follows the part of it in use (a page of its tabs) names its help id
    // from the widget in use ("TForm1/TabSheet2"); any other window's help id is its objectName.
    void setHelpId(QWidget* window, std::function<QString(QWidget*)> id);
    QString helpIdOf(QWidget* widget) const;
    // Closes the help window, as when the application's help is told to quit.
    void closeHelp();

    const QList<HelpRequest>& requests() const { return m_requests; }
    // The help window, made at its first use.
    HelpViewer* viewer();

    static QString withHtmExtension(const QString& topic);

    static const QString htmlHelpFile;
    static const QString classicHelpFile;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_owner;
    std::function<bool()> m_htmlHelpMode;
    QList<HelpRequest> m_requests;
    QPointer<HelpViewer> m_viewer;
    QList<std::pair<QPointer<QWidget>, std::function<QString(QWidget*)>>> m_helpIds;
};

} // namespace orba
