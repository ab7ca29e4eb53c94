#include "app/TForm1.h"

#include "app/Trace.h"
#include "app/Tstart.h"
#include "core/Guard.h"
#include "core/MessageBox.h"
#include "core/TextFile.h"
#include "display/DetailText.h"
#include "display/Tview.h"
#include "lists/ListGrid.h"
#include "output/MailSignIn.h"
#include "platform/PasswordStore.h"
#include "platform/WindowsDirectory.h"
#include "settings/SystemSettings.h"
#include "settings/Tsetup.h"
#include "update/UpdateInstaller.h"
#include "update/UpdateSettings.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>

namespace orba {
namespace {

constexpr int ScrollBarRoom = 22;

} // namespace

TForm1::TForm1(Forms& forms) : m_forms(forms) {
    buildWindow();
    buildHitListMenu();
    buildListMenus();
    Trace("  form1-constructor 1");
    Trace("  form1-constructor 2");
    Trace("  form1-constructor 3");
    CurrentPage = 0;
    SelectPage(0);
    SideBySide = false;
    wireHandlers();
    ScrollBox1->installEventFilter(this);
    ScrollBox2->installEventFilter(this);
}

TForm1::~TForm1() = default;

void TForm1::wireHandlers() {
    on(PageControl1, &QTabWidget::currentChanged, this, [this] { PageControl1Change(); });
    on(Beenden1, &QAction::triggered, this, [this] { Beenden1Click(); });
    on(SpeedButton6, &QToolButton::clicked, this, [this] { Beenden1Click(); });
    on(Infober1, &QAction::triggered, this, [this] { Infober1Click(); });
    on(Einstellungen1, &QAction::triggered, this, [this] { Einstellungen1Click(); });
    on(Katalogaktualisieren1, &QAction::triggered, this, [this] { Katalogaktualisieren1Click(); });
    // The hit list and the private list share one selection handler.
    for (ListGrid* grid : {StringGrid1, StringGrid3})
        on(grid, &ListGrid::rowSelected, this, [this](int row) { StringGrid1SelectCell(row); });
    wireSearch();
    wireLists();
    wireOutput();
    wireArrangementAndHelp();
}

void TForm1::FormCreate() {
    Trace("  form1-createform PostMessage");
    LoadStartupData();
}

// Each step runs behind its own guard: a failing step is reported and the later steps still
// run, with their defaults, so nothing afterwards meets state that was never set up.
void TForm1::LoadStartupData() {
    Trace("  form1-Init start");
    view1->Clear();

    Trace("  form1-Init medianarten einlesen");
    Trace("  form1-Init mediandaten einlesen");
    guarded([] { finishInterruptedUpdate(QDir::currentPath()); });
    guarded([&] { m_catalogue.load(QStringLiteral("orb32.dat")); });

    Trace("  form1-Init ini-dateen lesen");
    m_settings = std::make_unique<SettingsFile>(
        openSettings(QStringLiteral("orbaw.ini"), QStringLiteral(".\\orbaw.ini")));
    if (const std::optional<OrbaError>& unread = m_settings->readError())
        showError(unread->message() + QStringLiteral("\n\nORBA startet mit den Grundeinstellungen "
                                                     "und schreibt nicht in die Datei, solange "
                                                     "sie nicht gelesen werden kann."));
    guarded([&] { ApplyArrangement(m_settings->readInteger("Anzeige", "hsplit", 0) == 1); });

    const int mediaType = m_settings->readInteger("Anzeige", "medart", 0);
    ComboBox1->setCurrentIndex(mediaType >= 0 && mediaType < ComboBox1->count() ? mediaType : -1);

    HtmlHelpMode = m_settings->readInteger("Anzeige", "htmlhelp", 1);
    const bool cdMode = m_settings->readInteger("Extras", "cdstart", 0) != 0;
    const QString privateList =
        m_settings->readString("Extras", "privdatei", QStringLiteral("orba.lst"));
    if (cdMode)
        LocalDataDir = platform::windowsDirectory();
    m_privateListFile = WholeFile(LocalDataDir + privateList);

    Trace("  form1-Init private Liste einlesen");
    guarded([&] { fillPrivateList(); });
    // The catalogue may have changed since the list was saved: its indexes are only hints.
    refindPrivateList();
    m_basketFile = BasketFile(LocalDataDir + QStringLiteral("bestell.lst"));
    guarded([&] { fillBasket(); });

    const QString firstColumn = m_settings->readString("udef", "grid_sp0", QString());
    if (!firstColumn.isEmpty())
        StringGrid1->setCell(0, 0, firstColumn);
    const QString secondColumn = m_settings->readString("udef", "grid_sp1", QString());
    if (!secondColumn.isEmpty())
        StringGrid1->setCell(1, 0, secondColumn);

    m_subjectAreaCaption = m_settings->readString("udef", "btn_sachgeb", QString());
    if (!m_subjectAreaCaption.isEmpty())
        Sachgebiete1->setText(m_subjectAreaCaption);

    const bool updates = UpdateSettings::read(*m_settings).offered();
    KatalogaktualisierenSeparator->setVisible(updates);
    Katalogaktualisieren1->setVisible(updates);
}

void TForm1::SelectPage(int page) {
    if (PageControl1->count() > page) {
        // Only the user's tab change is a page-change event.
        const QSignalBlocker quiet(PageControl1);
        PageControl1->setCurrentIndex(page);
    }
    CurrentPage = page;
    Notiz1->setEnabled(false);
    switch (CurrentPage) {
    case 0:
        CurrentGrid = StringGrid1;
        break;
    case 1:
        CurrentGrid = StringGrid3;
        break;
    case 2:
        CurrentGrid = StringGrid2;
        break;
    default:
        CurrentGrid = nullptr;
    }
    if (CurrentPage == 1)
        Notiz1->setEnabled(true);
}

void TForm1::PageControl1Change() {
    SelectPage(PageControl1->currentIndex());
    updatePrintEntries();
    ShowMediumDetails(-1);
}

void TForm1::StringGrid1SelectCell(int row) {
    if (!Busy)
        ShowMediumDetails(row);
}

void TForm1::ShowMediumDetails(int row) {
    if (!CurrentGrid || CurrentGrid->rowCount() < 2 || !CurrentGrid->hasEntries() || !m_forms.setup)
        return;
    if (row < 0)
        row = CurrentGrid->selectedRow();
    const qint32 index = CurrentGrid->rowIndex(row);
    const QString text =
        index == ListGrid::NotInCatalogue
            ? QStringLiteral("<h1>Nicht mehr im Katalog<br> <n>Die Organisation führt dieses "
                             "Medium seit einer Aktualisierung des Katalogs nicht mehr. Es bleibt "
                             "mit seiner Notiz in Ihrer privaten Liste, kann aber nicht bestellt "
                             "werden.<p> ")
            : detailText(m_catalogue.line(index), m_forms.setup->displayList());
    (SideBySide ? view2 : view1)->SetText(text);
}

void TForm1::Einstellungen1Click() {
    if (m_forms.setup->exec() == QDialog::Accepted)
        ShowMediumDetails(-1);
}

void TForm1::updatePrintEntries() {
    const bool printable = CurrentGrid && CurrentGrid->rowCount() >= 2 && CurrentGrid->hasEntries();
    Drucken1->setEnabled(printable);
    Drucken2->setEnabled(printable);
}

void TForm1::ApplyArrangement(bool sideBySide) {
    SideBySide = sideBySide;
    horizontaleTeilung1->setChecked(sideBySide);
    horizontaleTeilung1->setEnabled(!sideBySide);
    vertikaleTeilung1->setChecked(!sideBySide);
    vertikaleTeilung1->setEnabled(sideBySide);
    if (sideBySide) {
        Panel6->show();
        // The upper area reaches down to the status bar; the lower area has no room.
        ScrollBox1->hide();
        const int width = m_settings->readInteger("Allgemein", "hsplit", 200);
        const int total = qMax(RxSplitter2->width(), width + 40);
        RxSplitter2->setSizes({total - width, width});
    } else {
        for (QWidget* panel : {Panel3, Panel4, Panel5})
            panel->show();
        for (QWidget* panel : {Panel6, Panel7, Panel9})
            panel->hide();
        ScrollBox1->show();
        const int height = m_settings->readInteger("Allgemein", "vsplit", 200);
        const int total = qMax(RxSplitter1->height(), height + 40);
        RxSplitter1->setSizes({height, total - height});
    }
    ShowMediumDetails(-1);
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!msg::askWarning(this, closeQuestion())) {
        event->ignore();
        return;
    }
    // A running search ends before the window and its lists go.
    SpeedButton2Click();
    event->accept();
}

void TForm1::Beenden1Click() {
    close();
}

void TForm1::Infober1Click() {
    m_forms.start->showAsAboutBox();
}

// Whatever changes a scroll box's size (the window, a splitter, a switch of the arrangement, the
// first layout) reaches its view at once, so the text is never laid out for a stale width.
bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && (watched == ScrollBox1 || watched == ScrollBox2))
        FormResize();
    return QMainWindow::eventFilter(watched, event);
}

// The detail views take their scroll box's width less room for the vertical scroll bar.
void TForm1::FormResize() {
    view1->setFixedWidth(qMax(0, ScrollBox1->width() - ScrollBarRoom));
    view2->setFixedWidth(qMax(0, ScrollBox2->width() - ScrollBarRoom));
}

QString TForm1::statusPanelText(int panel) const {
    return StatusPanels[panel]->text();
}

} // namespace orba
