#include "settings/Tsetup.h"

#include "app/TForm1.h"
#include "core/EnterKey.h"
#include "core/FixedDialog.h"
#include "core/Guard.h"
#include "core/StorableInput.h"
#include "settings/MailAccount.h"
#include "settings/SettingsFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace orba {
namespace {

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QCheckBox* checkBox(QWidget* page, const char* name, const QString& text) {
    return named(new QCheckBox(text, page), name);
}

// Never shown, but loaded and saved like the visible boxes.
QCheckBox* hiddenCheckBox(QWidget* page, const char* name, const QString& text) {
    QCheckBox* box = checkBox(page, name, text);
    box->hide();
    return box;
}

QToolButton* arrowButton(QWidget* page, const char* name, Qt::ArrowType arrow,
                         const QString& accessibleName, const QKeySequence& keys) {
    auto* button = named(new QToolButton(page), name);
    button->setArrowType(arrow);
    button->setAccessibleName(accessibleName);
    button->setShortcut(keys);
    button->setToolTip(
        QStringLiteral("%1 (%2)").arg(accessibleName, keys.toString(QKeySequence::NativeText)));
    return button;
}

QComboBox* choiceList(QWidget* page, const char* name, const QStringList& entries) {
    auto* list = named(new QComboBox(page), name);
    list->addItems(entries);
    return list;
}

// Sections and keys match without regard to case, as in the file.
QString settingId(const QString& section, const QString& key) {
    return (section + QLatin1Char('/') + key).toLower();
}

QPushButton* dialogButton(QWidget* panel, const char* name, const QString& caption) {
    auto* button = named(new QPushButton(caption, panel), name);
    button->setAutoDefault(false);
    return button;
}

// Each choice carries the value written for it.
QComboBox* securityList(QWidget* page) {
    auto* list = named(new QComboBox(page), "ComboBox1");
    list->addItem(QStringLiteral("keine"), securityText(MailSecurity::None));
    list->addItem(QStringLiteral("STARTTLS (meist Port 587)"),
                  securityText(MailSecurity::StartTls));
    list->addItem(QStringLiteral("SSL/TLS (meist Port 465)"), securityText(MailSecurity::Tls));
    return list;
}

// A value that names no security is shown and kept as written, never taken for plain text; the
// mailer refuses it with its reason.
void selectSecurity(QComboBox* list, const QString& value) {
    const std::optional<MailSecurity> security = parseSecurity(value);
    if (!security)
        list->addItem(value, value);
    list->setCurrentIndex(security ? list->findData(securityText(*security)) : list->count() - 1);
}

// A position outside the list leaves it without a selection.
void selectPosition(QComboBox* list, int position) {
    list->setCurrentIndex(position >= 0 && position < list->count() ? position : -1);
}

} // namespace

Tsetup::Tsetup(TForm1& main) : QDialog(&main), m_main(main) {
    setUpDialog(this, "Tsetup", QStringLiteral("Einstellungen"), 393, 287);
    PageControl1 = named(new QTabWidget(this), "PageControl1");
    PageControl1->addTab(buildDisplayPage(), QStringLiteral("An&zeige"));
    PageControl1->addTab(buildMailPage(), QStringLiteral("E-&Mail"));
    PageControl1->addTab(buildPresetsPage(), QStringLiteral("&Vorbelegungen"));
    PageControl1->setCurrentIndex(0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(PageControl1);
    layout->addWidget(buildButtons());

    // Enter on a focused button presses that button, not the default "OK".
    pressOnEnter({SpeedButton1, SpeedButton2, BitBtn1, BitBtn2});
    on(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    on(SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
    on(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    on(BitBtn1, &QPushButton::clicked, this, [this] { reject(); });

    FormCreate();
}

QWidget* Tsetup::buildDisplayPage() {
    auto* page = named(new QWidget, "TabSheet1");
    RxCheckListBox1 = named(new QListWidget(page), "RxCheckListBox1");
    SpeedButton1 = arrowButton(page, "SpeedButton1", Qt::UpArrow, QStringLiteral("Nach oben"),
                               QKeySequence(Qt::ALT | Qt::Key_Up));
    SpeedButton2 = arrowButton(page, "SpeedButton2", Qt::DownArrow, QStringLiteral("Nach unten"),
                               QKeySequence(Qt::ALT | Qt::Key_Down));
    vollbild = checkBox(page, "vollbild", QStringLiteral("Voll&bild bei Start"));
    autoschalt =
        checkBox(page, "autoschalt",
                 QStringLiteral("a&utom. Umschalten in entsprechende Liste beim Kopieren"));
    benutzerliste =
        checkBox(page, "benutzerliste",
                 QStringLiteral("Benutzer&liste vor dem Drucken einer Bestellung anzeigen"));
    sachklar = hiddenCheckBox(page, "sachklar", QStringLiteral("Sachgebiete im Klartext anzeigen"));
    htmlhelp = hiddenCheckBox(page, "htmlhelp", QStringLiteral("HTML-Hilfesystem verwenden"));
    anmeldung =
        hiddenCheckBox(page, "anmeldung",
                       QStringLiteral("Benutzerabgängige private Liste, Anmeldung erforderlich"));

    auto* arrows = new QVBoxLayout;
    arrows->addWidget(SpeedButton1);
    arrows->addWidget(SpeedButton2);
    arrows->addStretch();

    auto* layout = new QGridLayout(page);
    auto* listLabel = new QLabel(QStringLiteral("Mediendaten anzeigen"), page);
    listLabel->setBuddy(RxCheckListBox1);
    RxCheckListBox1->setAccessibleName(listLabel->text());
    layout->addWidget(listLabel, 0, 0);
    layout->addWidget(RxCheckListBox1, 1, 0);
    layout->addLayout(arrows, 1, 1);
    layout->addWidget(vollbild, 2, 0, 1, 2);
    layout->addWidget(autoschalt, 3, 0, 1, 2);
    layout->addWidget(benutzerliste, 4, 0, 1, 2);
    layout->setRowStretch(1, 1);
    return page;
}

QWidget* Tsetup::buildMailPage() {
    auto* page = named(new QWidget, "TabSheet2");
    Edit3 = named(new QLineEdit(page), "Edit3");
    Edit4 = named(new QLineEdit(page), "Edit4");
    Edit2 = named(new QLineEdit(page), "Edit2");
    Edit1 = named(new QLineEdit(page), "Edit1");
    Edit1->setPlaceholderText(QStringLiteral("Name oder Name:Port"));
    ComboBox1 = securityList(page);
    Edit5 = named(new QLineEdit(page), "Edit5");
    Edit5->setPlaceholderText(QStringLiteral("leer: ohne Anmeldung"));
    for (QLineEdit* field : {Edit3, Edit4, Edit2, Edit1, Edit5})
        guardLineInput(field);
    CheckBox4 = hiddenCheckBox(page, "CheckBox4",
                               QStringLiteral("E-Mail immer vor dem Versenden anzeigen"));
    auto* note = new QLabel(QStringLiteral("Das Passwort wird beim Senden erfragt."), page);
    note->setEnabled(false);

    auto* layout = new QFormLayout(page);
    layout->addRow(QStringLiteral("E-Mail der Wirkhaus"), Edit3);
    layout->addRow(QStringLiteral("Betreff"), Edit4);
    layout->addRow(QStringLiteral("Eigene E-Mail-Adresse"), Edit2);
    layout->addRow(QStringLiteral("SMTP Server"), Edit1);
    layout->addRow(QStringLiteral("Verbindungssicherheit"), ComboBox1);
    layout->addRow(QStringLiteral("Benutzername"), Edit5);
    layout->addRow(QString(), note);
    return page;
}

// The print formats only name the fixed templates; they are shown, never saved.
QWidget* Tsetup::buildPresetsPage() {
    auto* page = named(new QWidget, "TabSheet3");
    druckmed = choiceList(page, "druckmed", {QStringLiteral("Medien")});
    druckmed->setEnabled(false);
    druckbest = choiceList(page, "druckbest", {QStringLiteral("Bestell")});
    druckbest->setEnabled(false);
    druckkat = choiceList(page, "druckkat", {QStringLiteral("Kat2")});
    medart = choiceList(page, "medart", {});
    teilung =
        choiceList(page, "teilung",
                   {QStringLiteral("vertikale Teilung"), QStringLiteral("horizontale Teilung")});

    auto* layout = new QFormLayout(page);
    layout->addRow(QStringLiteral("Druckformat für Mediendruck"), druckmed);
    layout->addRow(QStringLiteral("Druckformat für Bestellungen"), druckbest);
    layout->addRow(QStringLiteral("Druckformat für Katalogdruck"), druckkat);
    layout->addRow(QStringLiteral("Medienart für Suchvorgang"), medart);
    layout->addRow(QStringLiteral("Anordnung der Fenster"), teilung);
    layout->setRowVisible(druckkat, false);
    return page;
}

QWidget* Tsetup::buildButtons() {
    auto* panel = new QWidget(this);
    BitBtn3 = dialogButton(panel, "BitBtn3", QStringLiteral("&OK"));
    BitBtn3->setDefault(true);
    BitBtn1 = dialogButton(panel, "BitBtn1", QStringLiteral("&Abbrechen"));
    BitBtn2 = dialogButton(panel, "BitBtn2", QStringLiteral("&Hilfe"));

    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    layout->addWidget(BitBtn3);
    layout->addWidget(BitBtn1);
    layout->addWidget(BitBtn2);
    return panel;
}

void Tsetup::FormCreate() {
    const SettingsFile& settings = m_main.settings();
    const auto isOn = [&](const char* section, const char* key, int def) {
        return settings.readInteger(section, key, def) == 1;
    };

    loadDisplayList();
    RxCheckListBox1->setCurrentRow(0);

    vollbild->setChecked(isOn("Allgemein", "Vollbild", 0));
    // Only the state is set: the main window is shown when start-up is done, not before.
    if (vollbild->isChecked())
        m_main.setWindowState(m_main.windowState() | Qt::WindowMaximized);

    autoschalt->setChecked(isOn("Allgemein", "autoschalt", 0));
    benutzerliste->setChecked(isOn("Benutzer", "Benutzerliste", 0));
    sachklar->setChecked(isOn("Anzeige", "sachklartext", 0));
    anmeldung->setChecked(isOn("Benutzer", "Anmeldung", 0));
    htmlhelp->setChecked(isOn("Anzeige", "htmlhelp", 1));

    Edit3->setText(settings.readString("mail", "email", QString()));
    // An address the administrator set for every user would come back whatever is typed here.
    const bool orderAddressFixed = settings.fixedBySystem("mail", "email");
    Edit3->setReadOnly(orderAddressFixed);
    Edit3->setToolTip(orderAddressFixed ? QStringLiteral("Vom Administrator für alle Benutzer "
                                                         "festgelegt")
                                        : QString());
    Edit4->setText(settings.readString("mail", "betreff", QString()));
    Edit2->setText(settings.readString("mail", "return Path", QString()));
    Edit1->setText(settings.readString("mail", "SMTP Host", QString()));
    selectSecurity(ComboBox1,
                   settings.readString(mailkeys::section, mailkeys::security, QString()));
    Edit5->setText(settings.readString(mailkeys::section, mailkeys::user, QString()));
    CheckBox4->setChecked(isOn("mail", "anzeigen", 0));

    for (QComboBox* format : {druckmed, druckbest, druckkat})
        format->setCurrentIndex(0);

    selectPosition(teilung, settings.readInteger("anzeige", "hsplit", 0));

    for (int i = 0; i < m_main.ComboBox1->count(); ++i)
        medart->addItem(m_main.ComboBox1->itemText(i));
    selectPosition(medart, settings.readInteger("anzeige", "medart", 0));
    rememberAllStored();
}

// A broken entry is reported once and left out; the other entries and the rest of the settings
// still load, so that the next OK does not overwrite them with blanks.
void Tsetup::loadDisplayList() {
    RxCheckListBox1->clear();
    const DisplayListLoad load = readDisplayList(m_main.settings());
    for (const DisplayEntry& entry : load.list)
        appendEntry(entry);
    if (load.error)
        showError(load.error->message());
}

void Tsetup::appendEntry(const DisplayEntry& entry) {
    auto* item = new QListWidgetItem(displayFieldNames().at(entry.field), RxCheckListBox1);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setData(Qt::UserRole, entry.field);
    item->setCheckState(entry.shown ? Qt::Checked : Qt::Unchecked);
}

DisplayList Tsetup::displayList() const {
    DisplayList list;
    for (int row = 0; row < RxCheckListBox1->count(); ++row) {
        const QListWidgetItem* item = RxCheckListBox1->item(row);
        list.append({item->data(Qt::UserRole).toInt(), item->checkState() == Qt::Checked});
    }
    return list;
}

bool Tsetup::autoSwitch() const {
    return autoschalt->isChecked();
}

bool Tsetup::showUserList() const {
    return benutzerliste->isChecked();
}

bool Tsetup::htmlHelp() const {
    return htmlhelp->isChecked();
}

QString Tsetup::recipient() const {
    return Edit3->text();
}

QString Tsetup::subject() const {
    return Edit4->text();
}

QString Tsetup::ownAddress() const {
    return Edit2->text();
}

void Tsetup::setOwnAddress(const QString& address) {
    Edit2->setText(address);
    rememberStored(QStringLiteral("mail"), QStringLiteral("return Path"), Edit2->text());
}

void Tsetup::setArrangementChoice(bool sideBySide) {
    teilung->setCurrentIndex(sideBySide ? 1 : 0);
    rememberStored(QStringLiteral("anzeige"), QStringLiteral("hsplit"),
                   QString::number(teilung->currentIndex()));
}

// A failed write ends the saving there, but the dialog still closes as confirmed.
void Tsetup::BitBtn3Click() {
    guarded([this] { save(); });
    accept();
}

QList<Tsetup::Setting> Tsetup::values() const {
    const auto flag = [](const QCheckBox* box) {
        return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    };
    return {
        {"Allgemein", "Vollbild", flag(vollbild)},
        {"Allgemein", "autoschalt", flag(autoschalt)},
        {"Benutzer", "Benutzerliste", flag(benutzerliste)},
        {"Anzeige", "sachklartext", flag(sachklar)},
        {"Benutzer", "Anmeldung", flag(anmeldung)},
        {"Anzeige", "htmlhelp", flag(htmlhelp)},
        {"mail", "email", Edit3->text()},
        {"mail", "betreff", Edit4->text()},
        {"mail", "return Path", Edit2->text()},
        {"mail", "SMTP Host", Edit1->text()},
        {mailkeys::section, mailkeys::security, ComboBox1->currentData().toString()},
        {mailkeys::section, mailkeys::user, Edit5->text()},
        {"mail", "anzeigen", flag(CheckBox4)},
        {"anzeige", "hsplit", QString::number(teilung->currentIndex())},
        {"anzeige", "medart", QString::number(medart->currentIndex())},
    };
}

void Tsetup::rememberStored(const QString& section, const QString& key, const QString& value) {
    m_stored.insert(settingId(section, key), value);
}

void Tsetup::rememberAllStored() {
    m_storedList = displayList();
    for (const Setting& setting : values())
        rememberStored(setting.section, setting.key, setting.value);
}

// Only what the user changed in the dialog is written: another copy of the program may have
// saved other settings meanwhile, which must stay.
void Tsetup::save() {
    SettingsFile& file = m_main.settings();
    const DisplayList list = displayList();
    if (list != m_storedList) {
        writeDisplayList(file, list);
        m_storedList = list;
    }
    for (const Setting& setting : values()) {
        if (m_stored.value(settingId(setting.section, setting.key)) != setting.value) {
            file.writeString(setting.section, setting.key, setting.value);
            rememberStored(setting.section, setting.key, setting.value);
        }
    }
    m_main.setHtmlHelpMode(htmlhelp->isChecked() ? 1 : 0);

    const Qt::WindowStates state = m_main.windowState();
    m_main.setWindowState(vollbild->isChecked() ? state | Qt::WindowMaximized
                                                : state & ~Qt::WindowMaximized);
    m_main.ApplyArrangement(teilung->currentIndex() == 1);
    m_main.ComboBox1->setCurrentIndex(medart->currentIndex());
}

void Tsetup::SpeedButton1Click() {
    const int position = RxCheckListBox1->currentRow();
    if (position <= 0)
        return;
    QListWidgetItem* item = RxCheckListBox1->takeItem(position);
    RxCheckListBox1->insertItem(position - 1, item);
    RxCheckListBox1->setCurrentRow(position - 1);
}

// The entry below moves up, so the selected entry goes down one place and stays selected.
void Tsetup::SpeedButton2Click() {
    const int position = RxCheckListBox1->currentRow();
    if (position < 0 || position >= RxCheckListBox1->count() - 1)
        return;
    QListWidgetItem* item = RxCheckListBox1->takeItem(position + 1);
    RxCheckListBox1->insertItem(position, item);
    RxCheckListBox1->setCurrentRow(position + 1);
}

} // namespace orba
