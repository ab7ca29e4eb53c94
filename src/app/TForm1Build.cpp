// Builds the main window's controls; behaviour lives in TForm1.cpp.
#include "app/TForm1.h"
#include "catalogue/Record.h"
#include "display/Tview.h"
#include "lists/ListGrid.h"

#include <QAction>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace orba {
namespace {

constexpr int ButtonPanelWidth = 132;
constexpr int TopPanelHeight = 57;
constexpr int FieldHeight = 26;

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                    const QString& hint = QString()) {
    auto* b = named(new QPushButton(caption, parent), name);
    b->setToolTip(hint);
    b->setEnabled(false);
    return b;
}

QToolButton* speedButton(QWidget* parent, const char* name, const QString& caption,
                         const QString& hint, int width) {
    auto* b = named(new QToolButton(parent), name);
    b->setText(caption);
    b->setToolTip(hint);
    b->setMinimumSize(width, FieldHeight);
    return b;
}

// The column of buttons at a page's right edge, or the bar at its bottom.
QWidget* buttonPanel(const char* name, Qt::Orientation orientation,
                     std::initializer_list<QPushButton*> buttons) {
    auto* panel = named(new QWidget, name);
    QBoxLayout* layout =
        orientation == Qt::Vertical ? static_cast<QBoxLayout*>(new QVBoxLayout) : new QHBoxLayout;
    layout->setContentsMargins(4, 4, 4, 4);
    for (QPushButton* b : buttons) {
        b->setParent(panel);
        layout->addWidget(b);
    }
    layout->addStretch();
    panel->setLayout(layout);
    if (orientation == Qt::Vertical)
        panel->setFixedWidth(ButtonPanelWidth);
    return panel;
}

QAction* entry(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

Tview* detailView(const char* name, int width, const QString& block) {
    auto* view = named(new Tview, name);
    view->resize(width, 500);
    view->setBlock(block);
    view->setBitmapFile(QStringLiteral("ordner.bmp"));
    view->setAccessibleName(QStringLiteral("Details zum Medium"));
    view->setAccessibleDescription(QStringLiteral("Die Angaben zum gewählten Medium, mit den "
                                                  "Pfeiltasten Zeile für Zeile zu lesen"));
    view->SetTags({QStringLiteral("<h1>=<b><img><x=5><c=255,0,0><fs=10>"),
                   QStringLiteral("<h2>=<b><x=5><c=0,0,255><fs=12>"),
                   QStringLiteral("<n>=<fs=10><c=0,0,0>"), QStringLiteral("<blue>=<c=0,0,255>")});
    return view;
}

QScrollArea* scrollBox(const char* name, Tview* view) {
    auto* box = named(new QScrollArea, name);
    // The view inside takes the focus and scrolls to the line it reads.
    box->setFocusPolicy(Qt::NoFocus);
    box->setBackgroundRole(QPalette::Base);
    box->setWidget(view);
    box->setWidgetResizable(false);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return box;
}

} // namespace

void TForm1::buildWindow() {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("ORBA 4.0"));
    resize(605, 455);
    buildMenu();

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildTopPanel());

    PageControl1 = named(new QTabWidget, "PageControl1");
    TabSheet1 = named(buildHitListPage(), "TabSheet1");
    TabSheet2 = named(buildPrivateListPage(), "TabSheet2");
    TabSheet3 = named(buildBasketPage(), "TabSheet3");
    PageControl1->addTab(TabSheet1, QStringLiteral("&Trefferliste"));
    PageControl1->addTab(TabSheet2, QStringLiteral("pri&vate Liste"));
    PageControl1->addTab(TabSheet3, QStringLiteral("&Bestellkorb"));
    // The last column of each list fills the remaining width.
    for (ListGrid* list : {StringGrid1, StringGrid2, StringGrid3})
        list->horizontalHeader()->setStretchLastSection(true);

    view1 = detailView("view1", 579, QString());
    view2 = detailView("view2", 320, QStringLiteral("-10"));
    ScrollBox1 = scrollBox("ScrollBox1", view1);
    ScrollBox2 = scrollBox("ScrollBox2", view2);
    // An empty header bar lies over the top strip of the lower view.
    HeaderControl1 = named(new QWidget(ScrollBox1->viewport()), "HeaderControl1");
    HeaderControl1->setFixedHeight(17);

    Panel6 = named(new QWidget, "Panel6");
    auto* panel6Layout = new QVBoxLayout(Panel6);
    panel6Layout->setContentsMargins(0, 0, 0, 0);
    panel6Layout->addWidget(ScrollBox2);

    Panel2 = named(new QWidget, "Panel2");
    auto* panel2Layout = new QVBoxLayout(Panel2);
    panel2Layout->setContentsMargins(0, 0, 0, 0);
    RxSplitter2 = named(new QSplitter(Qt::Horizontal), "RxSplitter2");
    RxSplitter2->setHandleWidth(3);
    RxSplitter2->setChildrenCollapsible(false);
    RxSplitter2->addWidget(PageControl1);
    RxSplitter2->addWidget(Panel6);
    RxSplitter2->setStretchFactor(0, 1);
    RxSplitter2->setStretchFactor(1, 0);
    panel2Layout->addWidget(RxSplitter2);

    RxSplitter1 = named(new QSplitter(Qt::Vertical), "RxSplitter1");
    RxSplitter1->setHandleWidth(3);
    RxSplitter1->setChildrenCollapsible(false);
    RxSplitter1->addWidget(Panel2);
    RxSplitter1->addWidget(ScrollBox1);
    RxSplitter1->setStretchFactor(0, 0);
    RxSplitter1->setStretchFactor(1, 1);
    // A splitter stays at least 20 pixels from either edge of its area.
    for (QWidget* w : {static_cast<QWidget*>(Panel2), static_cast<QWidget*>(ScrollBox1),
                       static_cast<QWidget*>(PageControl1), Panel6})
        w->setMinimumSize(20, 20);
    column->addWidget(RxSplitter1, 1);
    setCentralWidget(central);

    buildStatusBar();
    buildTabOrder();
}

// Along the window as it reads: the search row, the tabs, the list of the page shown and its
// buttons, then the details beside or below the lists.
void TForm1::buildTabOrder() {
    const QList<QWidget*> order = {
        Edit1,        ComboBox1,    SpeedButton1, SpeedButton2, SpeedButton4,
        SpeedButton5, SpeedButton6, PageControl1, StringGrid1,  BitBtn1,
        BitBtn2,      BitBtn3,      StringGrid3,  BitBtn8,      BitBtn9,
        BitBtn10,     BitBtn19,     StringGrid2,  StringGrid4,  BitBtn4,
        BitBtn5,      BitBtn6,      BitBtn20,     view2,        view1};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void TForm1::buildMenu() {
    QMenuBar* bar = menuBar();
    Datei1 = bar->addMenu(QStringLiteral("&Datei"));
    Sachgebiete1 = entry(Datei1, "Sachgebiete1", QStringLiteral("Sachgebiete"));
    Sachgebiete1->setVisible(false);
    Katalog1 = entry(Datei1, "Katalog1", QStringLiteral("Katalog"));
    Katalog1->setVisible(false);
    Drucken1 = entry(Datei1, "Drucken1", QStringLiteral("Druck&vorschau"));
    Drucken2 = entry(Datei1, "Drucken2", QStringLiteral("&Drucken"));
    Drucken1->setEnabled(false);
    Drucken2->setEnabled(false);
    Datei1->addSeparator();
    Beenden1 = entry(Datei1, "Beenden1", QStringLiteral("&Beenden"));

    erweiterteSuche1 = bar->addAction(QStringLiteral("&erweiterte Suche"));
    erweiterteSuche1->setObjectName(QStringLiteral("erweiterteSuche1"));

    Anzeige1 = bar->addMenu(QStringLiteral("&Anzeige"));
    Notiz1 = entry(Anzeige1, "Notiz1", QStringLiteral("&Notiz"));
    Statistik1 = entry(Anzeige1, "Statistik1", QStringLiteral("&Statistik"));
    Statistik1->setVisible(false);
    StatistikSeparator = Anzeige1->addSeparator();
    StatistikSeparator->setVisible(false);
    aktuelleInfos1 = entry(Anzeige1, "aktuelleInfos1", QStringLiteral("aktuelle &Infos"));
    Anzeige1->addSeparator();
    horizontaleTeilung1 =
        entry(Anzeige1, "horizontaleTeilung1", QStringLiteral("&horizontale Teilung"));
    vertikaleTeilung1 = entry(Anzeige1, "vertikaleTeilung1", QStringLiteral("&vertikale Teilung"));
    horizontaleTeilung1->setCheckable(true);
    vertikaleTeilung1->setCheckable(true);

    Optionen1 = bar->addMenu(QStringLiteral("&Optionen"));
    Einstellungen1 = entry(Optionen1, "Einstellungen1", QStringLiteral("&Einstellungen"));
    Benutzerliste1 = entry(Optionen1, "Benutzerliste1", QStringLiteral("&Benutzerliste"));
    // Offered only where the settings name the organisation's update address.
    KatalogaktualisierenSeparator = Optionen1->addSeparator();
    Katalogaktualisieren1 =
        entry(Optionen1, "Katalogaktualisieren1", QStringLiteral("&Katalog aktualisieren …"));
    KatalogaktualisierenSeparator->setVisible(false);
    Katalogaktualisieren1->setVisible(false);

    Hilfe1 = bar->addMenu(QStringLiteral("&Hilfe"));
    Hilfeindex1 = entry(Hilfe1, "Hilfeindex1", QStringLiteral("&Hilfeindex"));
    Infober1 = entry(Hilfe1, "Infober1", QStringLiteral("&Info über ..."));
}

// The search row: each field under its label, the buttons beside them. On a narrow screen the
// fields give up width first, so that the whole row stays in the window.
QWidget* TForm1::buildTopPanel() {
    Panel1 = named(new QWidget, "Panel1");
    Panel1->setFixedHeight(TopPanelHeight);

    Label1 = named(new QLabel(QStringLiteral("&Suchbegriff"), Panel1), "Label1");
    Edit1 = named(new QComboBox(Panel1), "Edit1");
    Edit1->setEditable(true);
    Edit1->setInsertPolicy(QComboBox::NoInsert);
    // Completion from the history must not change the case of what the user types.
    Edit1->completer()->setCaseSensitivity(Qt::CaseSensitive);
    Edit1->setMinimumSize(90, FieldHeight);
    Edit1->setMaximumWidth(400);
    Edit1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    Edit1->setAccessibleName(QStringLiteral("Suchbegriff"));
    Edit1->lineEdit()->setAccessibleName(QStringLiteral("Suchbegriff"));
    Label1->setBuddy(Edit1);

    Label2 = named(new QLabel(QStringLiteral("&Medienart"), Panel1), "Label2");
    ComboBox1 = named(new QComboBox(Panel1), "ComboBox1");
    ComboBox1->addItems(record::mediaTypes());
    ComboBox1->setToolTip(QStringLiteral("Wählen Sie hier die gewünschte Medienart aus"));
    ComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ComboBox1->setMinimumContentsLength(8);
    ComboBox1->setMinimumHeight(FieldHeight);
    ComboBox1->setMaximumWidth(129);
    ComboBox1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    ComboBox1->setAccessibleName(QStringLiteral("Medienart"));
    Label2->setBuddy(ComboBox1);

    SpeedButton1 = speedButton(Panel1, "SpeedButton1", QStringLiteral("Sta&rt"),
                               QStringLiteral("Suchvorgang starten"), 57);
    // "Stop" lies exactly over "Start" and covers it while a search runs.
    SpeedButton2 = speedButton(Panel1, "SpeedButton2", QStringLiteral("Sto&p"),
                               QStringLiteral("Suchvorgang abbrechen"), 57);
    QSizePolicy coverStart = SpeedButton2->sizePolicy();
    coverStart.setRetainSizeWhenHidden(true);
    SpeedButton2->setSizePolicy(coverStart);
    SpeedButton2->hide();
    SpeedButton4 = speedButton(Panel1, "SpeedButton4", QStringLiteral("er&w.Suche"),
                               QStringLiteral("erweiterte Suche"), 70);
    SpeedButton5 = speedButton(Panel1, "SpeedButton5", QStringLiteral("H&ilfe"),
                               QStringLiteral("Hilfeindex"), 50);
    SpeedButton6 = speedButton(Panel1, "SpeedButton6", QStringLiteral("E&nde"),
                               QStringLiteral("ORBA 4.0 beenden"), 50);

    auto* row = new QGridLayout(Panel1);
    row->setContentsMargins(8, 4, 8, 4);
    row->setHorizontalSpacing(7);
    row->setVerticalSpacing(2);
    row->addWidget(Label1, 0, 0);
    row->addWidget(Edit1, 1, 0);
    row->addWidget(Label2, 0, 1);
    row->addWidget(ComboBox1, 1, 1);
    row->addWidget(SpeedButton1, 1, 2);
    row->addWidget(SpeedButton2, 1, 2);
    row->addWidget(SpeedButton4, 1, 3);
    row->addWidget(SpeedButton5, 1, 4);
    row->addWidget(SpeedButton6, 1, 5);
    row->setColumnStretch(6, 1);
    return Panel1;
}

QWidget* TForm1::buildHitListPage() {
    StringGrid1 = named(new ListGrid(2), "StringGrid1");
    StringGrid1->setCell(0, 0, QStringLiteral("Signatur"));
    StringGrid1->setCell(1, 0, QStringLiteral("Titel"));
    StringGrid1->setColumnWidthPx(0, 57);

    StringGrid1->setAccessibleName(QStringLiteral("Trefferliste"));

    BitBtn1 = button(nullptr, "BitBtn1", QStringLiteral("in den Bestell&korb"));
    BitBtn2 = button(nullptr, "BitBtn2", QStringLiteral("in private &Liste"));
    BitBtn3 = button(nullptr, "BitBtn3", QStringLiteral("Dr&ucken"));
    BitBtn11 = button(nullptr, "BitBtn11", QStringLiteral("in Bestellkorb"),
                      QStringLiteral("in Bestellkorb kopieren"));
    BitBtn12 =
        button(nullptr, "BitBtn12", QStringLiteral("Drucken"), QStringLiteral("Medien Drucken"));
    BitBtn13 = button(nullptr, "BitBtn13", QStringLiteral("in private Liste"),
                      QStringLiteral("in private Liste Kopieren"));
    Panel4 = buttonPanel("Panel4", Qt::Vertical, {BitBtn1, BitBtn2, BitBtn3});
    Panel7 = buttonPanel("Panel7", Qt::Horizontal, {BitBtn11, BitBtn12, BitBtn13});

    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(StringGrid1, 0, 0);
    grid->addWidget(Panel4, 0, 1);
    grid->addWidget(Panel7, 1, 0, 1, 2);
    Panel7->hide();
    return page;
}

QWidget* TForm1::buildPrivateListPage() {
    StringGrid3 = named(new ListGrid(3), "StringGrid3");
    StringGrid3->setCell(0, 0, QStringLiteral("Signatur"));
    StringGrid3->setCell(1, 0, QStringLiteral("Notiz"));
    StringGrid3->setCell(2, 0, QStringLiteral("Titel"));
    StringGrid3->setColumnWidthPx(0, 55);
    StringGrid3->setColumnWidthPx(1, 34);

    StringGrid3->setAccessibleName(QStringLiteral("private Liste"));

    BitBtn8 = button(nullptr, "BitBtn8", QStringLiteral("in den Bestell&korb"));
    BitBtn9 = button(nullptr, "BitBtn9", QStringLiteral("Eintra&g löschen"));
    BitBtn10 = button(nullptr, "BitBtn10", QStringLiteral("Dr&ucken"));
    BitBtn19 = button(nullptr, "BitBtn19", QStringLiteral("&zur Trefferliste"));
    BitBtn19->setEnabled(true);
    BitBtn14 = button(nullptr, "BitBtn14", QStringLiteral("in Bestellkorb"),
                      QStringLiteral("in Bestellkorb kopieren"));
    BitBtn15 = button(nullptr, "BitBtn15", QStringLiteral("Eintrag löschen"),
                      QStringLiteral("Eintrag löschen"));
    BitBtn16 =
        button(nullptr, "BitBtn16", QStringLiteral("Drucken"), QStringLiteral("Medien Drucken"));
    Panel5 = buttonPanel("Panel5", Qt::Vertical, {BitBtn8, BitBtn9, BitBtn10, BitBtn19});
    Panel8 = buttonPanel("Panel8", Qt::Horizontal, {BitBtn14, BitBtn15, BitBtn16});

    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(StringGrid3, 0, 0);
    grid->addWidget(Panel5, 0, 1);
    grid->addWidget(Panel8, 1, 0, 1, 2);
    Panel8->hide();
    return page;
}

QWidget* TForm1::buildBasketPage() {
    StringGrid2 = named(new ListGrid(2), "StringGrid2");
    StringGrid2->setCell(0, 0, QStringLiteral("Signatur"));
    StringGrid2->setCell(1, 0, QStringLiteral("Titel"));
    StringGrid2->setColumnWidthPx(0, 55);
    StringGrid2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid4 = named(new ListGrid(1), "StringGrid4");
    StringGrid4->setCell(0, 0, QStringLiteral("Res.Datum"));
    // Wide enough for a whole dd.MM.yyyy date in the program's font.
    StringGrid4->setFixedWidth(100);
    StringGrid4->horizontalHeader()->setStretchLastSection(true);
    StringGrid4->setEditable(true);
    StringGrid2->setAccessibleName(QStringLiteral("Bestellkorb"));
    StringGrid4->setAccessibleName(QStringLiteral("Reservierungsdatum"));

    BitBtn4 = button(nullptr, "BitBtn4", QStringLiteral("Bestellung dru&cken"));
    BitBtn5 = button(nullptr, "BitBtn5", QStringLiteral("E-Mai&l-Bestellung"));
    BitBtn6 = button(nullptr, "BitBtn6", QStringLiteral("Eintra&g löschen"));
    BitBtn20 = button(nullptr, "BitBtn20", QStringLiteral("&zur Trefferliste"));
    BitBtn20->setEnabled(true);
    BitBtn7 = button(nullptr, "BitBtn7", QStringLiteral("Bestelldruck"),
                     QStringLiteral("Bestellung drucken"));
    BitBtn17 = button(nullptr, "BitBtn17", QStringLiteral("E-Mail-Bestell."),
                      QStringLiteral("E-Mail-Bestellung"));
    BitBtn18 = button(nullptr, "BitBtn18", QStringLiteral("Eintrag löschen"),
                      QStringLiteral("Eintrag löschen"));
    Panel3 = buttonPanel("Panel3", Qt::Vertical, {BitBtn4, BitBtn5, BitBtn6, BitBtn20});
    Panel9 = buttonPanel("Panel9", Qt::Horizontal, {BitBtn7, BitBtn17, BitBtn18});

    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(StringGrid4, 0, 0);
    grid->addWidget(StringGrid2, 0, 1);
    grid->addWidget(Panel3, 0, 2);
    grid->addWidget(Panel9, 1, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    Panel9->hide();
    return page;
}

void TForm1::buildStatusBar() {
    StatusBar1 = named(new QStatusBar(this), "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    const int widths[5] = {150, 45, 50, 150, 50};
    for (int i = 0; i < 5; ++i) {
        auto* panel = new QLabel(StatusBar1);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFixedWidth(widths[i]);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        StatusBar1->addWidget(panel);
        StatusPanels[i] = panel;
    }
    StatusPanels[1]->setText(QStringLiteral("Treffer"));
    StatusPanels[3]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setStatusBar(StatusBar1);
}

} // namespace orba
