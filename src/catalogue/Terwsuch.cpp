#include "catalogue/Terwsuch.h"

#include "catalogue/Record.h"
#include "catalogue/Tschlag.h"
#include "core/FixedDialog.h"
#include "core/Guard.h"
#include "core/MessageBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace orba {
namespace {

constexpr int LabelX = 8;
constexpr int InputX = 96;
constexpr int InputRight = 450;
constexpr int RowHeight = 22;

int rowY(int row) {
    return 58 + row * 28;
}

// The label names its field for screen readers.
QLabel* label(QWidget* parent, const char* name, const QString& text, int x, int row,
              QWidget* field) {
    auto* result = new QLabel(text, parent);
    result->setObjectName(QLatin1String(name));
    result->setGeometry(x, rowY(row), InputX - LabelX - 4, RowHeight);
    result->setBuddy(field);
    return result;
}

QLineEdit* textField(QWidget* parent, const char* name, int x, int row, int width) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(x, rowY(row), width, RowHeight);
    return edit;
}

QComboBox* list(QWidget* parent, const char* name, const QStringList& entries, int x, int row,
                int width) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->addItems(entries);
    combo->setGeometry(x, rowY(row), width, RowHeight);
    return combo;
}

QStringList suitabilities() {
    return {QString(),
            QStringLiteral("Kinder"),
            QStringLiteral("Jugendliche / Erwachsene ohne Erfahrung"),
            QStringLiteral("Jugendliche / Erwachsene mit Erfahrung"),
            QStringLiteral("Vereinsgruppen / Spielgemeinschaften"),
            QStringLiteral("gymnasiale Oberstufe / Studentenbühne"),
            QStringLiteral("Senioren")};
}

QStringList durations() {
    return {QString(),
            QStringLiteral("bis 5 min."),
            QStringLiteral("bis 15 min."),
            QStringLiteral("bis 30 min."),
            QStringLiteral("bis 45 min."),
            QStringLiteral("bis 60 min."),
            QStringLiteral("bis 90 min."),
            QStringLiteral("bis 2 Stunden")};
}

QStringList stages() {
    return {
        QString(), QStringLiteral("ohne Bühne"), QStringLiteral("anspruchsvolle Bühne mit Licht"),
        QStringLiteral("einfache Vorhangbühne"), QStringLiteral("Freilicht- und Straßentheater")};
}

bool isEnter(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

Terwsuch::Terwsuch(QWidget* parent, int stdoIndex) : QDialog(parent) {
    setUpDialog(this, "Terwsuch", QStringLiteral("Erweiterte Suche"), 458, 407);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    Image1->setGeometry(LabelX, 8, 32, 32);
    Image1->setAccessibleName(QStringLiteral("Hinweis"));
    Image1->setAccessibleDescription(QStringLiteral("Sinnbild für die Erklärung daneben"));
    Label1 = addExplanation(this,
                            QStringLiteral("In der erweiterten Suche können Sie Medien gezielter "
                                           "nach verschiedenen\nKriterien suchen. Geben Sie dazu "
                                           "in den verschiedenen Feldern entsprechende\n"
                                           "Suchbegriffe ein."),
                            {46, 4, 410, 48});

    buildInputs(stdoIndex);
    buildButtons();
    connectChanges();
    Edit1Change();
}

void Terwsuch::buildInputs(int stdoIndex) {
    const int fullWidth = InputRight - InputX;
    Edit1 = textField(this, "Edit1", InputX, 0, 49);
    label(this, "Label2", QStringLiteral("Nr."), LabelX, 0, Edit1);
    ComboBox1 = list(this, "ComboBox1", record::mediaTypes(), 300, 0, InputRight - 300);
    label(this, "Label13", QStringLiteral("Medienart"), 230, 0, ComboBox1);
    ComboBox1->setCurrentIndex(stdoIndex >= 0 && stdoIndex < ComboBox1->count() ? stdoIndex : -1);

    Edit2 = textField(this, "Edit2", InputX, 1, fullWidth);
    label(this, "Label4", QStringLiteral("Titel"), LabelX, 1, Edit2);
    Edit3 = list(this, "Edit3", suitabilities(), InputX, 2, fullWidth);
    Label3 = label(this, "Label3", QStringLiteral("Eignung"), LabelX, 2, Edit3);
    Edit4 = textField(this, "Edit4", InputX, 3, fullWidth - RowHeight - 4);
    label(this, "Label5", QStringLiteral("Schlagwörter"), LabelX, 3, Edit4);
    SpeedButton3 = new QToolButton(this);
    SpeedButton3->setObjectName(QStringLiteral("SpeedButton3"));
    SpeedButton3->setText(QStringLiteral("..."));
    SpeedButton3->setToolTip(QStringLiteral("Schlagwortliste (Alt+W)"));
    SpeedButton3->setAccessibleName(QStringLiteral("Schlagwortliste"));
    SpeedButton3->setShortcut(QKeySequence(Qt::ALT | Qt::Key_W));
    SpeedButton3->setGeometry(InputRight - RowHeight, rowY(3), RowHeight, RowHeight);

    Edit5 = list(this, "Edit5", durations(), InputX, 4, 120);
    label(this, "Label6", QStringLiteral("Spieldauer"), LabelX, 4, Edit5);
    Edit9 =
        list(this, "Edit9", QStringList{QString()} + record::ageGroups(), 300, 4, InputRight - 300);
    label(this, "Label9", QStringLiteral("Alter"), 230, 4, Edit9);
    Edit6 = textField(this, "Edit6", InputX, 5, fullWidth);
    label(this, "Label7", QStringLiteral("Beschreibung"), LabelX, 5, Edit6);
    Edit7 = textField(this, "Edit7", InputX, 6, fullWidth);
    label(this, "Label8", QStringLiteral("Freitext"), LabelX, 6, Edit7);
    Edit10 = list(this, "Edit10", stages(), InputX, 7, fullWidth);
    label(this, "Label10", QStringLiteral("Bühne"), LabelX, 7, Edit10);
    Edit11 = textField(this, "Edit11", InputX, 8, fullWidth);
    label(this, "Label11", QStringLiteral("Autor"), LabelX, 8, Edit11);

    // Plays are chosen by the size of their cast: female and male players together.
    Edit12 = textField(this, "Edit12", InputX, 9, 40);
    label(this, "Label14", QStringLiteral("Spieler von"), LabelX, 9, Edit12);
    Edit13 = textField(this, "Edit13", InputX + 74, 9, 40);
    label(this, "Label15", QStringLiteral("bis"), InputX + 48, 9, Edit13)->setFixedWidth(24);
    label(this, "Label16", QStringLiteral("weiblich und männlich zusammen"), InputX + 124, 9,
          nullptr)
        ->setFixedWidth(InputRight - InputX - 124);
    for (QLineEdit* count : {Edit12, Edit13})
        count->setValidator(new QIntValidator(0, 999, count));
    Edit12->setAccessibleName(QStringLiteral("Spieler von"));
    Edit13->setAccessibleName(QStringLiteral("Spieler bis"));

    CheckBox1 = new QCheckBox(QStringLiteral("&mehr als 15 Spieler"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(InputX, rowY(10), 160, RowHeight);
    CheckBox2 = new QCheckBox(QStringLiteral("&Neuanschaffung"), this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->setGeometry(300, rowY(10), 150, RowHeight);
}

void Terwsuch::buildButtons() {
    BitBtn5 = addDialogButton(this, "BitBtn5", QStringLiteral("&Suchen"), {8, 371, 82, 28});
    BitBtn5->setDefault(true);
    BitBtn4 = addDialogButton(this, "BitBtn4", QStringLiteral("Eintrag al&t"), {98, 371, 82, 28});
    BitBtn4->setEnabled(false);
    BitBtn3 = addDialogButton(this, "BitBtn3", QStringLiteral("&Löschen"), {188, 371, 82, 28});
    BitBtn2 = addDialogButton(this, "BitBtn2", QStringLiteral("&Abbrechen"), {278, 371, 82, 28});
    BitBtn1 = addDialogButton(this, "BitBtn1", QStringLiteral("&Hilfe"), {368, 371, 82, 28});

    connect(BitBtn5, &QPushButton::clicked, this, &QDialog::accept);
    on(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    on(SpeedButton3, &QToolButton::clicked, this, [this] { SpeedButton3Click(); });
}

void Terwsuch::connectChanges() {
    for (QLineEdit* edit : textFields())
        on(edit, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    for (QComboBox* combo : lists())
        on(combo, &QComboBox::currentIndexChanged, this, [this] { Edit1Change(); });
    on(CheckBox1, &QCheckBox::toggled, this, [this] { Edit1Change(); });
    // The dialog sees every key first, the buttons' included.
    for (QWidget* control : findChildren<QWidget*>())
        control->installEventFilter(this);
}

QList<QLineEdit*> Terwsuch::textFields() const {
    return {Edit1, Edit2, Edit4, Edit6, Edit7, Edit11, Edit12, Edit13};
}

QList<QComboBox*> Terwsuch::lists() const {
    return {Edit3, Edit5, Edit9, Edit10, ComboBox1};
}

void Terwsuch::setKeywordList(Tschlag* keywords) {
    m_keywords = keywords;
}

void Terwsuch::setSuitabilityCaption(const QString& caption) {
    if (!caption.isEmpty())
        Label3->setText(caption);
}

AdvancedSearchInput Terwsuch::input() const {
    AdvancedSearchInput in;
    in.signature = Edit1->text();
    in.title = Edit2->text();
    in.suitability = Edit3->currentText();
    in.keywords = Edit4->text();
    in.duration = Edit5->currentText();
    in.description = Edit6->text();
    in.freeText = Edit7->text();
    in.ageGroup = qMax(0, Edit9->currentIndex());
    in.stage = Edit10->currentText();
    in.author = Edit11->text();
    in.moreThan15 = CheckBox1->isChecked();
    in.playersFrom = Edit12->text().isEmpty() ? -1 : Edit12->text().toInt();
    in.playersTo = Edit13->text().isEmpty() ? -1 : Edit13->text().toInt();
    in.newAcquisition = CheckBox2->isChecked();
    in.mediaType = qMax(0, ComboBox1->currentIndex());
    return in;
}

void Terwsuch::Edit1Change() {
    bool filled = CheckBox1->isChecked();
    for (const QLineEdit* edit : textFields())
        filled = filled || !edit->text().isEmpty();
    // No selection counts like the empty first entry.
    for (const QComboBox* combo : lists())
        filled = filled || combo->currentIndex() > 0;
    BitBtn3->setEnabled(filled);
}

void Terwsuch::BitBtn3Click() {
    for (QLineEdit* edit : textFields())
        edit->clear();
    for (QComboBox* combo : {Edit3, Edit5, Edit9, Edit10})
        combo->setCurrentIndex(-1);
    ComboBox1->setCurrentIndex(0);
    CheckBox1->setChecked(false);
    BitBtn3->setEnabled(false);
}

void Terwsuch::SpeedButton3Click() {
    if (m_keywords && m_keywords->exec() == QDialog::Accepted)
        Edit4->setText(m_keywords->chosenKeyword());
}

void Terwsuch::accept() {
    const AdvancedSearchInput in = input();
    if (in.playersFrom >= 0 && in.playersTo >= 0 && in.playersFrom > in.playersTo) {
        msg::error(this, QStringLiteral("Bei „Spieler von … bis …“ darf die erste Zahl nicht "
                                        "größer sein als die zweite."));
        Edit12->setFocus();
        return;
    }
    QDialog::accept();
}

// Enter anywhere in the dialog starts the search, whatever the focused control would make of it.
bool Terwsuch::eventFilter(QObject* watched, QEvent* event) {
    if (isEnter(event)) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Terwsuch::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Edit2->setFocus();
}

} // namespace orba
