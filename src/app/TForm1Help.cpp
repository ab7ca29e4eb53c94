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
    // F1 in the lists asks for the page of the list shown, elsewhere for the main window's page.
    htmlhelp1->setHelpId(this, [this](QWidget* widget) {
        return PageControl1->isAncestorOf(widget)
                   ? objectName() + QLatin1Char('/') + PageControl1->currentWidget()->objectName()
                   : objectName();
    });
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

// The dialogs exist only after the main window; their help buttons are routed here. F1 finds
// every window's help by itself.
void TForm1::wireDialogHelp() {
    const std::initializer_list<QAbstractButton*> buttons = {
        m_forms.setup->BitBtn2, m_forms.erwsuch->BitBtn1, m_forms.notiz->helpButton(),
        m_forms.benu->helpButton(), m_forms.email->helpButton()};
    for (QAbstractButton* button : buttons)
        routeHelpButton(button);
    Tsetup* setup = m_forms.setup;
    htmlhelp1->setHelpId(setup, [setup](QWidget*) {
        return setup->objectName() + QLatin1Char('/') +
               setup->PageControl1->currentWidget()->objectName();
    });
    m_forms.schlag->setProperty("helpContext", Tschlag::HelpContext);
}

void TForm1::routeHelpButton(QAbstractButton* button) {
    on(button, &QAbstractButton::clicked, this, [this, button] { htmlhelp1->windowHelp(button); });
}

// The menu entries of the arrangement: apply it, store it, and show it in the settings dialog.
void TForm1::arrange(bool sideBySide) {
    ApplyArrangement(sideBySide);
    m_settings->writeInteger(QStringLiteral("Anzeige"), QStringLiteral("hsplit"), sideBySide);
    m_forms.setup->setArrangementChoice(sideBySide);
}

} // namespace orba
