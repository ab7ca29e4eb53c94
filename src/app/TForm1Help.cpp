// Window arrangement, help, the information and statistics windows.
#include "app/TForm1.h"
#include "catalogue/Terwsuch.h"
#include "catalogue/Tschlag.h"
#include "core/Guard.h"
#include "display/Tinfo.h"
#include "display/Tnotiz.h"
#include "display/Tview.h"
#include "output/Temail.h"
#include "settings/HelpRouter.h"
#include "settings/SettingsFile.h"
#include "settings/Tbenu.h"
#include "settings/Tsetup.h"
#include "settings/Tstat.h"

#include <functional>
#include <QAction>
#include <QEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QSplitterHandle>
#include <QToolButton>
#include <utility>

namespace orba {
namespace {

// Stores a splitter's place once the user lets go of it, not at every step of the drag: each
// store rewrites the settings file.
class MoveEnd : public QObject {
public:
    MoveEnd(QSplitter* splitter, std::function<void()> store)
        : QObject(splitter), m_store(std::move(store)) {
        connect(splitter, &QSplitter::splitterMoved, this, [this] { m_moved = true; });
        for (int i = 0; i < splitter->count(); ++i)
            splitter->handle(i)->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        // A splitter that does not follow the drag moves only when the handle takes the release.
        if (event->type() == QEvent::MouseButtonRelease)
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (std::exchange(m_moved, false))
                        guarded(m_store);
                },
                Qt::QueuedConnection);
        return false;
    }

private:
    std::function<void()> m_store;
    bool m_moved = false;
};

} // namespace

void TForm1::wireArrangementAndHelp() {
    htmlhelp1 = new HelpRouter(this, [this] { return HtmlHelpMode != 0; });
    on(SpeedButton5, &QToolButton::clicked, this, [this] { htmlhelp1->contentsHelp(); });
    on(Hilfeindex1, &QAction::triggered, this, [this] { htmlhelp1->contentsHelp(); });
    htmlhelp1->setWindowHelp(this, [this] { htmlhelp1->contentsHelp(); });
    on(horizontaleTeilung1, &QAction::triggered, this, [this] { arrange(true); });
    on(vertikaleTeilung1, &QAction::triggered, this, [this] { arrange(false); });
    new MoveEnd(RxSplitter1, [this] {
        m_settings->writeInteger(QStringLiteral("Allgemein"), QStringLiteral("vsplit"),
                                 Panel2->height());
    });
    new MoveEnd(RxSplitter2, [this] {
        m_settings->writeInteger(QStringLiteral("Allgemein"), QStringLiteral("hsplit"),
                                 Panel6->width());
    });
    on(aktuelleInfos1, &QAction::triggered, this, [this] {
        m_forms.info->show();
        m_forms.info->raise();
    });
    on(Statistik1, &QAction::triggered, this, [this] { m_forms.stat->exec(); });
}

// The dialogs exist only after the main window; their help buttons are routed here.
void TForm1::wireDialogHelp() {
    auto route = [this](QAbstractButton* button, const char* topic, int context) {
        const auto help = [this, topic, context] {
            htmlhelp1->dialogHelp(QLatin1String(topic), context);
        };
        on(button, &QAbstractButton::clicked, this, help);
        htmlhelp1->setWindowHelp(button->window(), help);
    };
    route(m_forms.setup->BitBtn2, "html/setup.htm", 518);
    route(m_forms.erwsuch->BitBtn1, "html/erwsuch.htm", 510);
    route(m_forms.notiz->helpButton(), "html/notiz.htm", 512);
    route(m_forms.benu->helpButton(), "html/benu.htm", 504);
    route(m_forms.email->helpButton(), "html/email.htm", 508);
    m_forms.schlag->setProperty("helpContext", Tschlag::HelpContext);
}

// The menu entries of the arrangement: apply it, store it, and show it in the settings dialog.
void TForm1::arrange(bool sideBySide) {
    ApplyArrangement(sideBySide);
    m_settings->writeInteger(QStringLiteral("Anzeige"), QStringLiteral("hsplit"), sideBySide);
    m_forms.setup->setArrangementChoice(sideBySide);
}

} // namespace orba
