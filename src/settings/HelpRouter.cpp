#include "settings/HelpRouter.h"

#include "platform/HelpViewer.h"
#include "settings/HelpTopics.h"

#include <algorithm>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace orba {
namespace {

const char* const kHelpContextProperty = "helpContext";

// The help context of the widget or of the nearest enclosing widget of its window; 0 for none.
int helpContextOf(QWidget* widget) {
    for (QWidget* w = widget; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        const int context = w->property(kHelpContextProperty).toInt();
        if (context > 0)
            return context;
    }
    return 0;
}

} // namespace

const QString HelpRouter::htmlHelpFile = QStringLiteral("orbaw.chm");
const QString HelpRouter::classicHelpFile = QStringLiteral("orbaw32.hlp");

HelpRouter::HelpRouter(QWidget* owner, std::function<bool()> htmlHelpMode)
    : QObject(owner), m_owner(owner), m_htmlHelpMode(std::move(htmlHelpMode)) {
    qApp->installEventFilter(this);
}

HelpRouter::~HelpRouter() {
    qApp->removeEventFilter(this);
    if (!m_owner)
        delete m_viewer.data();
}

QString HelpRouter::withHtmExtension(const QString& topic) {
    const qsizetype dot = topic.lastIndexOf(QLatin1Char('.'));
    const qsizetype separator =
        std::max(topic.lastIndexOf(QLatin1Char('/')), topic.lastIndexOf(QLatin1Char('\\')));
    if (dot > separator && topic.mid(dot).startsWith(QLatin1String(".htm"), Qt::CaseInsensitive))
        return topic;
    return topic + QLatin1String(".htm");
}

void HelpRouter::showTopic(const QString& topic) {
    const QString page = withHtmExtension(topic);
    m_requests.append(
        {HelpRequest::Topic, true, page, 0, htmlHelpFile + QLatin1String("::/") + page});
    viewer()->showTopic(page);
}

void HelpRouter::showContents(bool html) {
    m_requests.append(
        {HelpRequest::Contents, html, QString(), 0, html ? htmlHelpFile : classicHelpFile});
    viewer()->showContents();
}

void HelpRouter::showContext(int context, bool html) {
    m_requests.append(
        {HelpRequest::Context, html, QString(), context, html ? htmlHelpFile : classicHelpFile});
    viewer()->showContext(context, topicOfContext(context));
}

void HelpRouter::dialogHelp(const QString& topic, int context) {
    if (m_htmlHelpMode())
        showTopic(topic);
    else
        showContext(context, false);
}

void HelpRouter::contentsHelp() {
    showContents(m_htmlHelpMode());
}

void HelpRouter::windowHelp(QWidget* widget) {
    if (const std::optional<HelpTopic> help = helpTopicOf(helpIdOf(widget)))
        dialogHelp(help->topic, help->context);
}

void HelpRouter::setHelpId(QWidget* window, std::function<QString(QWidget*)> id) {
    m_helpIds.append({window, std::move(id)});
}

QString HelpRouter::helpIdOf(QWidget* widget) const {
    QWidget* window = widget->window();
    for (const auto& [known, id] : m_helpIds) {
        if (known == window)
            return id(widget);
    }
    return window->objectName();
}

void HelpRouter::closeHelp() {
    if (m_viewer)
        m_viewer->hide();
}

HelpViewer* HelpRouter::viewer() {
    if (!m_viewer)
        m_viewer = new HelpViewer(m_owner, htmlHelpFile);
    return m_viewer;
}

bool HelpRouter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    QWidget* window = widget->window();
    const int context = helpContextOf(widget);
    const bool contents = m_viewer && window == m_viewer;
    if (context <= 0 && !contents && !helpTopicOf(helpIdOf(widget)))
        return false;
    // The override claims the key from any shortcut, so that the key press itself comes here.
    event->accept();
    if (event->type() != QEvent::KeyPress)
        return true;
    if (context > 0)
        showContext(context, true);
    else if (contents)
        contentsHelp();
    else
        windowHelp(widget);
    return true;
}

} // namespace orba
