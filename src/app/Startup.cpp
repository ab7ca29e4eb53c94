#include "app/Startup.h"

#include "app/TForm1.h"
#include "app/Trace.h"
#include "app/Tstart.h"
#include "catalogue/Terwsuch.h"
#include "catalogue/Tschlag.h"
#include "core/Guard.h"
#include "display/Tinfo.h"
#include "display/Tnotiz.h"
#include "lists/Tresdat.h"
#include "output/Temail.h"
#include "output/TForm15.h"
#include "settings/SettingsFile.h"
#include "settings/Tbenu.h"
#include "settings/Tbenu_neu.h"
#include "settings/Tlog.h"
#include "settings/Tsetup.h"
#include "settings/Tstat.h"

#include <QApplication>
#include <QComboBox>

namespace orba {

Session::Session() {
    m_forms.start = new Tstart;
    m_forms.start->show();
    QApplication::processEvents();

    Trace("form1", true);
    m_forms.form1 = new TForm1(m_forms);
    m_forms.form1->FormCreate();
    // The dialogs belong to the main window, so they go when it goes.
    QWidget* owner = m_forms.form1;
    Trace("stat");
    m_forms.stat = new Tstat(owner);
    Trace("sach");
    Trace("erwsuch");
    m_forms.erwsuch =
        new Terwsuch(owner, m_forms.form1->settings().readInteger("extras", "stdoindex", 0));
    Trace("setup");
    m_forms.setup = new Tsetup(*m_forms.form1);
    Trace("email");
    m_forms.email = new Temail(owner);
    Trace("info");
    m_forms.info = new Tinfo(owner, m_forms.form1->settings());
    Trace("serien");
    Trace("medart");
    Trace("adress");
    Trace("schlag");
    m_forms.schlag = new Tschlag(owner);
    Trace("notiz");
    m_forms.notiz = new Tnotiz(owner);
    Trace("benu");
    m_forms.benu = new Tbenu(owner, m_forms.form1->localDataDir() + QStringLiteral("benu.dat"));
    Trace("benu_neu");
    m_forms.benuNeu = new Tbenu_neu(owner);
    m_forms.benu->setEditor(m_forms.benuNeu);
    Trace("log");
    m_forms.log = new Tlog(owner);
    Trace("resdat");
    m_forms.resdat = new Tresdat(owner);
    Trace("form15");
    m_forms.form15 = new TForm15(owner);

    m_forms.erwsuch->setKeywordList(m_forms.schlag);
    m_forms.form1->wireDialogHelp();
    m_forms.form1->wireMail();

    m_forms.start->hide();
    m_forms.form1->show();
    m_forms.form1->Edit1->setFocus();
    m_forms.form1->checkForUpdateAtStart();
}

Session::~Session() {
    delete m_forms.form1;
    delete m_forms.start;
}

std::unique_ptr<Session> startUp() {
    try {
        return std::make_unique<Session>();
    } catch (const OrbaError& e) {
        showError(e.message());
        return nullptr;
    }
}

} // namespace orba
