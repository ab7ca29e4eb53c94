#pragma once

#include "app/Forms.h"
#include "catalogue/Catalogue.h"
#include "catalogue/SearchCriteria.h"
#include "core/WholeFile.h"
#include "lists/BasketFile.h"

#include <memory>
#include <optional>
#include <QMainWindow>
#include <QStringList>
#include <vector>

class QAbstractButton;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;
class QResizeEvent;
class QPushButton;
class QScrollArea;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QToolButton;

namespace orba {

class HelpRouter;
class ListGrid;
class MailSignIn;
class PasswordStore;
class ReportSource;
class SettingsFile;
class CatalogueUpdate;
class TQRPrint;
class Taktualisierung;
class Tsachgeb;
class Tview;
struct PrivateListEntry;
struct UpdateOutcome;

// The main window: search panel, the three list pages, the detail views and the status bar. It
// owns the Catalogue, the settings file and the lists for the whole run.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(Forms& forms);
    ~TForm1() override;

    // The creation handler: loads catalogue, settings and private list.
    void FormCreate();

    void SelectPage(int page);
    void ApplyArrangement(bool sideBySide);
    // Shows the medium of a row of the current list in the detail view; -1 for the selected row.
    void ShowMediumDetails(int row);
    // Connects the dialogs' help buttons; they are made after the main window.
    void wireDialogHelp();
    // Connects the e-mail dialog to the settings; it is made after the main window.
    void wireMail();
    HelpRouter& help() { return *htmlhelp1; }
    // The subject-area window, made at its first use with its help button routed.
    Tsachgeb& subjectAreas();
    TQRPrint& print() { return *QRPrint1; }
    std::unique_ptr<ReportSource> reportSource();
    // Runs a search and lists its hits; refused while another search runs.
    void RunSearch(const CriteriaList& criteria);
    bool searching() const { return m_searching; }
    // Looks for a catalogue update when the settings ask for it and it is due today.
    void checkForUpdateAtStart();

    const Catalogue& catalogue() const { return m_catalogue; }
    SettingsFile& settings() { return *m_settings; }
    ListGrid* currentGrid() const { return CurrentGrid; }
    int currentPage() const { return CurrentPage; }
    bool busy() const { return Busy; }
    bool sideBySide() const { return SideBySide; }
    int htmlHelpMode() const { return HtmlHelpMode; }
    void setHtmlHelpMode(int mode) { HtmlHelpMode = mode; }
    const QString& localDataDir() const { return LocalDataDir; }
    const QString& privateListFile() const { return m_privateListFile.path(); }
    const QString& subjectAreaCaption() const { return m_subjectAreaCaption; }
    QString statusPanelText(int panel) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void buildTabOrder();
    void buildMenu();
    QWidget* buildTopPanel();
    QWidget* buildHitListPage();
    QWidget* buildPrivateListPage();
    QWidget* buildBasketPage();
    void buildStatusBar();
    void buildHitListMenu();
    void buildListMenus();
    void wireLists();
    void wireOutput();
    void wireArrangementAndHelp();
    void routeHelpButton(QAbstractButton* button);
    void arrange(bool sideBySide);
    void applyStoredSplit();
    void shareRoom(QSplitter* splitter, const QResizeEvent* resize);
    void restoreWindow();
    void storeWindow();
    void wireKeyboard();
    void switchPage(int step);
    void fitSignatureColumns();
    void printList(const QString& mask, bool preview);
    void BitBtn5Click();
    void erweiterteSuche1Click();
    void SpeedButton3Click();
    void wireHandlers();
    void wireSearch();

    void LoadStartupData();
    void fillPrivateList();
    void PageControl1Change();
    void StringGrid1SelectCell(int row);
    void Einstellungen1Click();
    void Beenden1Click();
    void Infober1Click();
    void FormResize();
    void updatePrintEntries();

    void SpeedButton1Click();
    void SpeedButton2Click();
    void rememberSearchText(const QString& text);
    // The summary of an advanced search in the empty search field; an empty one clears it.
    void showSearchSummary(const QString& summary);
    void clearHitList();
    void sortHitList(int column);
    void listHits(std::vector<qint32>& hits);
    void StringGrid1MouseDown(int row, Qt::MouseButton button, QPoint pos);

    void setPrivateListButtons(bool enabled);
    void setBasketButtons(bool enabled);
    void SavePrivateList();
    // Appends a row; without a marker, the note file says whether the medium has a note.
    int appendPrivateListRow(const PrivateListEntry& entry,
                             const std::optional<QString>& noteMarker = std::nullopt);
    void showMergedPrivateList(const QList<PrivateListEntry>& entries);
    void MediuminprivateListekopieren1Click();
    void BitBtn9Click();
    void gesamteprivateListelschen1Click();
    void Notiz1Click();
    void addToBasket(const ListGrid& source, int sourceColumn);
    void MediuminWarenkorbkopieren1Click();
    void BitBtn8Click();
    void BitBtn6Click();
    void gesamteListelschen1Click();
    void Reservierungsdatumndern1Click();
    void StringGrid2SelectCell(int row);
    void StringGrid2MouseDown(int row, Qt::MouseButton button, QPoint globalPos);
    void wireBasket();
    void fillBasket();
    void showBasket(const QList<BasketEntry>& entries);
    void SaveBasket();
    int basketCount() const;
    void updateBasketTab();
    void removeBasketRow();
    bool basketDatesReadable();
    QString closeQuestion() const;

    void Katalogaktualisieren1Click();
    void startUpdate(bool atStart);
    void installWhenIdle();
    void endUpdate();
    void takeOverUpdate(const QStringList& replaced, UpdateOutcome outcome);
    qsizetype refindPrivateList();
    QStringList refindBasket();

    Forms& m_forms;
    Catalogue m_catalogue;
    QStringList m_privateStore;
    std::unique_ptr<SettingsFile> m_settings;
    std::unique_ptr<PasswordStore> m_passwordStore;
    std::unique_ptr<MailSignIn> m_mailSignIn;

    int CurrentPage = 0;
    ListGrid* CurrentGrid = nullptr;
    bool Busy = false;
    bool m_searching = false;
    int m_hitSortColumn = -1; // none: file order
    Qt::SortOrder m_hitSortOrder = Qt::AscendingOrder;
    bool SideBySide = false;
    // Until the window has settled on the screen (a window manager may still maximise it), every
    // size it passes through gets the stored splitter positions; then both sides keep their share.
    bool m_splitSettled = false;
    int HtmlHelpMode = 1;
    QString LocalDataDir;
    WholeFile m_privateListFile;
    BasketFile m_basketFile;
    QString m_subjectAreaCaption;
    HelpRouter* htmlhelp1 = nullptr;
    TQRPrint* QRPrint1 = nullptr;
    Tsachgeb* m_subjectAreas = nullptr;
    CatalogueUpdate* m_update = nullptr;
    Taktualisierung* m_updateWindow = nullptr;
    // A look at start-up that nobody has seen yet: it asks before it loads and fails silently.
    bool m_updateQuiet = false;

public:
    // Controls, named as the window definition names them.
    QWidget* Panel1;
    QLabel* Label1;
    QComboBox* Edit1;
    QLabel* Label2;
    QComboBox* ComboBox1;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QToolButton* SpeedButton4;
    QToolButton* SpeedButton5;
    QToolButton* SpeedButton6;

    QSplitter* RxSplitter1;
    QWidget* Panel2;
    QSplitter* RxSplitter2;
    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QWidget* TabSheet3;
    ListGrid* StringGrid1;
    ListGrid* StringGrid2;
    ListGrid* StringGrid3;
    ListGrid* StringGrid4;
    QWidget* Panel3;
    QWidget* Panel4;
    QWidget* Panel5;
    QWidget* Panel6;
    QWidget* Panel7;
    QWidget* Panel8;
    QWidget* Panel9;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* BitBtn3;
    QPushButton* BitBtn4;
    QPushButton* BitBtn5;
    QPushButton* BitBtn6;
    QPushButton* BitBtn7;
    QPushButton* BitBtn8;
    QPushButton* BitBtn9;
    QPushButton* BitBtn10;
    QPushButton* BitBtn11;
    QPushButton* BitBtn12;
    QPushButton* BitBtn13;
    QPushButton* BitBtn14;
    QPushButton* BitBtn15;
    QPushButton* BitBtn16;
    QPushButton* BitBtn17;
    QPushButton* BitBtn18;
    QPushButton* BitBtn19;
    QPushButton* BitBtn20;
    QScrollArea* ScrollBox1;
    QScrollArea* ScrollBox2;
    QWidget* HeaderControl1;
    Tview* view1;
    Tview* view2;

    QStatusBar* StatusBar1;
    QLabel* StatusPanels[5];
    QProgressBar* ProgressBar1 = nullptr;

    QMenu* PopupMenu1;
    QAction* MediuminWarenkorbkopieren1;
    QAction* MediuminprivateListekopieren1;
    QAction* nachSignatursortieren1;
    QAction* nachTitelsortieren1;
    QMenu* PopupMenu2;
    QAction* Notizanzeigenbearbeiten1;
    QAction* MediuminBestellkorbkopieren2;
    QAction* selektiertesMediumlschen1;
    QAction* gesamteprivateListelschen1;
    QMenu* PopupMenu3;
    QAction* Reservierungsdatumndern1;
    QAction* selektiertesMediumlschen2;
    QAction* gesamteListelschen1;

    QMenu* Datei1;
    QAction* Sachgebiete1;
    QAction* Katalog1;
    QAction* Drucken1;
    QAction* Drucken2;
    QAction* Beenden1;
    QAction* erweiterteSuche1;
    QMenu* Anzeige1;
    QAction* Notiz1;
    QAction* Statistik1;
    QAction* StatistikSeparator;
    QAction* aktuelleInfos1;
    QAction* horizontaleTeilung1;
    QAction* vertikaleTeilung1;
    QMenu* Optionen1;
    QAction* Einstellungen1;
    QAction* Benutzerliste1;
    QAction* KatalogaktualisierenSeparator;
    QAction* Katalogaktualisieren1;
    QMenu* Hilfe1;
    QAction* Hilfeindex1;
    QAction* Infober1;
};

} // namespace orba
