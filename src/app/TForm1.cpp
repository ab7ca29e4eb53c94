#include "app/TForm1.h"

#include "app/Trace.h"
#include "app/Tstart.h"
#include "core/EnterKey.h"
#include "core/Guard.h"
#include "core/MessageBox.h"
#include "core/ScreenFit.h"
#include "core/TextFile.h"
#include "display/DetailText.h"
#include "display/Tview.h"
#include "lists/ListGrid.h"
#include "lists/SignatureWidth.h"
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
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

namespace orba {
namespace {

constexpr int ScrollBarRoom = 22;
constexpr int DesignWidth = 605;
constexpr int DesignHeight = 455;
// Long enough for a window manager to have maximised a window it was asked to.
constexpr int SettleMs = 1000;

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
    for (QObject* watched : {static_cast<QObject*>(ScrollBox1), static_cast<QObject*>(ScrollBox2),
                             static_cast<QObject*>(RxSplitter1), static_cast<QObject*>(RxSplitter2),
                             static_cast<QObject*>(ComboBox1)})
        watched->installEventFilter(this);
}

TForm1::~TForm1() = default;

void TForm1::wireHandlers() {
    on(PageControl1, &QTabWidget::currentChanged, this, [this] { PageControl1Change(); });
    on(Beenden1, &QAction::triggered, this, [this] { Beenden1Click(); });
    on(SpeedButton6, &QToolButton::clicked, this, [this] { Beenden1Click(); });
    on(Infober1, &QAction::triggered, this, [this] { Infober1Click(); });
    on(Einstellungen1, &QAction::triggered, this, [this] { Einstellungen1Click(); });
    on(Katalogaktualisieren1, &QAction::triggered, this, [this] { Katalogaktualisieren1Click(); });
    // A position the user chose is the one to keep sharing from.
    for (QSplitter* splitter : {RxSplitter1, RxSplitter2})
        on(splitter, &QSplitter::splitterMoved, this, [this] { m_splitSettled = true; });
    // The hit list and the private list share one selection handler.
    for (ListGrid* grid : {StringGrid1, StringGrid3})
        on(grid, &ListGrid::rowSelected, this, [this](int row) { StringGrid1SelectCell(row); });
    wireSearch();
    wireLists();
    wireOutput();
    wireArrangementAndHelp();
    wireKeyboard();
}

// Keys a keyboard user needs beyond what the controls bring: Enter on the search row's buttons,
// and switching the list pages from anywhere in the window.
void TForm1::wireKeyboard() {
    pressOnEnter({SpeedButton1, SpeedButton2, SpeedButton4, SpeedButton5, SpeedButton6});
    const std::pair<QKeySequence, int> pageKeys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1}};
    for (const auto& [keys, step] : pageKeys)
        on(new QShortcut(keys, this), &QShortcut::activated, this,
           [this, step = step] { switchPage(step); });
}

// A list that had the focus hands it to the list of the page now shown.
void TForm1::switchPage(int step) {
    const bool inPages = PageControl1->isAncestorOf(focusWidget());
    const int count = PageControl1->count();
    PageControl1->setCurrentIndex((PageControl1->currentIndex() + step + count) % count);
    if (inPages && CurrentGrid)
        CurrentGrid->setFocus(Qt::TabFocusReason);
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
    restoreWindow();
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
    fitSignatureColumns();

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
    } else {
        for (QWidget* panel : {Panel3, Panel4, Panel5})
            panel->show();
        for (QWidget* panel : {Panel6, Panel7, Panel9})
            panel->hide();
        ScrollBox1->show();
    }
    applyStoredSplit();
    ShowMediumDetails(-1);
}

// The stored position of the arrangement in force, in pixels of the side it measures. It was
// taken in a window of the stored size (of the design size when none is stored); a window of
// another size gives the side the same share.
void TForm1::applyStoredSplit() {
    const auto stored = [this](const char* key, const char* referenceKey, int reference,
                               int extent) {
        const qint64 pixels =
            qint64(m_settings->readInteger("Allgemein", key, 200)) * extent /
            qMax(1, m_settings->readInteger("Allgemein", referenceKey, reference));
        return int(std::clamp<qint64>(pixels, 0, extent));
    };
    if (SideBySide) {
        const int width = stored("hsplit", "breite", DesignWidth, this->width());
        const int total = qMax(RxSplitter2->width(), width + 40);
        RxSplitter2->setSizes({total - width, width});
    } else {
        const int height = stored("vsplit", "hoehe", DesignHeight, this->height());
        const int total = qMax(RxSplitter1->height(), height + 40);
        RxSplitter1->setSizes({height, total - height});
    }
}

// Both sides of a splitter keep their share of the room as the window changes size, so that
// neither the lists nor the details stay small on a large screen.
void TForm1::shareRoom(QSplitter* splitter, const QResizeEvent* resize) {
    if (!m_settings || splitter->widget(0)->isHidden() || splitter->widget(1)->isHidden())
        return;
    if (!m_splitSettled) {
        applyStoredSplit();
        return;
    }
    const bool across = splitter->orientation() == Qt::Horizontal;
    const int grown = across ? resize->size().width() - resize->oldSize().width()
                             : resize->size().height() - resize->oldSize().height();
    const QList<int> sizes = splitter->sizes();
    const int room = sizes[0] + sizes[1];
    if (grown == 0 || room <= 0 || !resize->oldSize().isValid())
        return;
    const int first = qRound(double(sizes[0]) * (room + grown) / room);
    splitter->setSizes({first, room + grown - first});
}

// The last size and state of the window, never larger than the screen's free area less the
// title bar; at the first start two thirds of that area, at least the window's design size.
void TForm1::restoreWindow() {
    const QRect free = screen()->availableGeometry();
    const QRect room = roomForContent(this);
    const int width =
        m_settings->readInteger("Allgemein", "breite", qMax(DesignWidth, free.width() * 2 / 3));
    const int height =
        m_settings->readInteger("Allgemein", "hoehe", qMax(DesignHeight, free.height() * 2 / 3));
    resize(fitOnScreen(room.left(), room.top(), width, height, room).size());
    if (m_settings->readInteger("Allgemein", "maximiert", 0) != 0)
        setWindowState(windowState() | Qt::WindowMaximized);
}

// Kept for the next start: the size the window returns to from maximised, its state, and the
// position of the splitter in force as it would be in a window of that size. Keys that hold
// their value already are not written again.
void TForm1::storeWindow() {
    const QSize normal = normalGeometry().isValid() ? normalGeometry().size() : size();
    std::vector<std::pair<const char*, int>> values = {
        {"breite", normal.width()}, {"hoehe", normal.height()}, {"maximiert", isMaximized()}};
    if (SideBySide)
        values.emplace_back("hsplit", Panel6->width() * normal.width() / qMax(1, width()));
    else
        values.emplace_back("vsplit", Panel2->height() * normal.height() / qMax(1, height()));
    for (const auto& [key, value] : values) {
        if (m_settings->readInteger("Allgemein", key, -1) != value)
            m_settings->writeInteger(QStringLiteral("Allgemein"), QLatin1String(key), value);
    }
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    QTimer::singleShot(SettleMs, this, [this] { m_splitSettled = true; });
}

// The signature columns have room for the catalogue's longest signature and for those of the
// private list, which may hold media an update took out of the catalogue.
void TForm1::fitSignatureColumns() {
    const QStringList longest = longestSignatures(m_catalogue);
    QStringList kept = longest;
    for (int row = 1; row < StringGrid3->rowCount(); ++row)
        kept.append(StringGrid3->cell(0, row));
    StringGrid1->fitColumn(0, longest);
    StringGrid2->fitColumn(0, kept);
    StringGrid3->fitColumn(0, kept);
    StringGrid3->fitColumn(1, {QStringLiteral("Nein")});
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!msg::askWarning(this, closeQuestion())) {
        event->ignore();
        return;
    }
    // A running search ends before the window and its lists go.
    SpeedButton2Click();
    guarded([this] { storeWindow(); });
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
    if (event->type() == QEvent::Resize && (watched == RxSplitter1 || watched == RxSplitter2))
        shareRoom(static_cast<QSplitter*>(watched), static_cast<QResizeEvent*>(event));
    // Enter on the media type searches, as it does in the search field.
    if (event->type() == QEvent::KeyPress && watched == ComboBox1) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            SpeedButton1Click();
            return true;
        }
    }
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
