#include "output/TPrevForm.h"

#include "core/EnterKey.h"
#include "core/Guard.h"
#include "core/LeadingInteger.h"
#include "core/ScreenFit.h"
#include "output/PreviewSurface.h"
#include "output/UpDown.h"

#include <QAccessible>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace orba {
namespace {

constexpr int initialZoom = 40;
// The fits leave a little room beside the page.
constexpr double fitPercent = 98.0;

QLineEdit* numberField(const QString& text, QWidget* parent) {
    auto* field = new QLineEdit(text, parent);
    field->setFixedWidth(40);
    return field;
}

QPushButton* toolButton(const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TPrevForm::TPrevForm(QWidget* parent, QPrinter* printer)
    : QDialog(parent), Label1(new QLabel(QStringLiteral("&Seite"), this)),
      qrEdit1(numberField(QStringLiteral("1"), this)), prUpDown1(new UpDown(this)),
      Label3(new QLabel(this)), Label2(new QLabel(QStringLiteral("&Zoom"), this)),
      qrEdit2(numberField(QString::number(initialZoom), this)), prUpDown2(new UpDown(this)),
      prButton1(toolButton(QStringLiteral("Seiten&höhe"), this)),
      prButton2(toolButton(QStringLiteral("Seiten&breite"), this)),
      prButton3(toolButton(QStringLiteral("&Drucken"), this)), QRPreview1(new PreviewSurface(this)),
      m_printer(printer) {
    setObjectName(QStringLiteral("TPrevForm"));
    setWindowTitle(QStringLiteral("Druckvorschau"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    resize(637, 534);

    prUpDown2->setRange(10, 300);
    prUpDown2->setIncrement(10);
    prUpDown2->setPosition(initialZoom);
    prUpDown1->setFixedHeight(qrEdit1->sizeHint().height());
    prUpDown2->setFixedHeight(qrEdit2->sizeHint().height());
    Label1->setBuddy(qrEdit1);
    Label2->setBuddy(qrEdit2);
    prUpDown1->upButton()->setAccessibleName(QStringLiteral("Nächste Seite"));
    prUpDown1->downButton()->setAccessibleName(QStringLiteral("Vorige Seite"));
    prUpDown2->upButton()->setAccessibleName(QStringLiteral("Größer"));
    prUpDown2->downButton()->setAccessibleName(QStringLiteral("Kleiner"));
    QRPreview1->setAccessibleName(QStringLiteral("Druckseite"));
    QRPreview1->setAccessibleDescription(QStringLiteral("Die Seite, wie sie gedruckt wird"));

    auto* strip = new QHBoxLayout;
    strip->setSpacing(4);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{Label1, qrEdit1, prUpDown1, Label3, Label2, qrEdit2,
                                         prUpDown2, prButton1, prButton2, prButton3})
        strip->addWidget(widget);
    strip->insertSpacing(4, 12);
    strip->insertSpacing(8, 12);
    Label3->setObjectName(QStringLiteral("Label3"));
    strip->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(strip);
    layout->addWidget(QRPreview1, 1);

    QRPreview1->setObjectName(QStringLiteral("QRPreview1"));
    QRPreview1->setZoom(initialZoom);
    on(prButton1, &QPushButton::clicked, this, [this] { prButton1Click(); });
    on(prButton2, &QPushButton::clicked, this, [this] { prButton2Click(); });
    on(prButton3, &QPushButton::clicked, this, [this] { emit printRequested(); });
    on(prUpDown1, &UpDown::clicked, this, [this] { prUpDown1Click(); });
    on(prUpDown2, &UpDown::clicked, this, [this] { prUpDown2Click(); });
    on(qrEdit1, &QLineEdit::editingFinished, this, [this] { showState(); });
    on(qrEdit2, &QLineEdit::editingFinished, this, [this] { showState(); });
    qrEdit1->installEventFilter(this);
    qrEdit2->installEventFilter(this);
    pressOnEnter({prButton1, prButton2, prButton3});
}

// A field that loses the focus as the window goes reports its editing as finished; by then there
// is no preview left to show it.
TPrevForm::~TPrevForm() {
    qrEdit1->disconnect(this);
    qrEdit2->disconnect(this);
}

void TPrevForm::setPages(QList<ReportPage> pages) {
    QRPreview1->setPageLayout(m_printer->pageLayout());
    QRPreview1->setPages(std::move(pages));
    // Before the window is shown, so that the fit allows for the room the total takes.
    showState();
}

const QList<ReportPage>& TPrevForm::pages() const {
    return QRPreview1->pages();
}

int TPrevForm::pageCount() const {
    return QRPreview1->pageCount();
}

int TPrevForm::currentPage() const {
    return QRPreview1->currentPage();
}

int TPrevForm::zoom() const {
    return QRPreview1->zoom();
}

// The window fits the screen's free area with its title bar, so that its close box stays
// within reach.
void TPrevForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (screen()) {
        const QRect room = roomForContent(this);
        resize(fitOnScreen(0, 0, width(), height(), room).size());
        move(room.center() - rect().center());
    }
    FormShow();
}

bool TPrevForm::eventFilter(QObject* watched, QEvent* event) {
    // The arrow keys in a field step it as its spin buttons do.
    if (event->type() == QEvent::KeyPress && (watched == qrEdit1 || watched == qrEdit2)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        UpDown* spin = watched == qrEdit1 ? prUpDown1 : prUpDown2;
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            (key == Qt::Key_Up ? spin->upButton() : spin->downButton())->click();
            return true;
        }
    }
    if (event->type() == QEvent::KeyRelease) {
        if (watched == qrEdit1)
            qrEdit1KeyUp();
        else if (watched == qrEdit2)
            qrEdit2KeyUp();
    }
    return QDialog::eventFilter(watched, event);
}

void TPrevForm::FormShow() {
    layout()->activate();
    prUpDown1->setRange(1, pageCount());
    prUpDown1->setPosition(1);
    showPage(1);
    QRPreview1->setZoom(initialZoom);
    prButton1Click();
}

void TPrevForm::prButton1Click() {
    setZoom(QRPreview1->wholePageZoom(fitPercent));
    showState();
}

void TPrevForm::prButton2Click() {
    setZoom(QRPreview1->pageWidthZoom(fitPercent));
    showState();
}

void TPrevForm::prUpDown1Click() {
    showPage(prUpDown1->position());
    showState();
}

void TPrevForm::prUpDown2Click() {
    QRPreview1->setZoom(prUpDown2->position());
    showState();
}

void TPrevForm::qrEdit1KeyUp() {
    const int page = leadingInteger(qrEdit1->text());
    if (page == 0)
        return;
    prUpDown1->setPosition(page);
    showPage(prUpDown1->position());
}

void TPrevForm::qrEdit2KeyUp() {
    const int percent = leadingInteger(qrEdit2->text());
    if (percent == 0)
        return;
    prUpDown2->setPosition(percent);
    QRPreview1->setZoom(prUpDown2->position());
}

void TPrevForm::showPage(int page) {
    QRPreview1->setCurrentPage(page);
    // Screen readers name the page shown and the count.
    const QString shown = QStringLiteral("Seite %1 von %2").arg(currentPage()).arg(pageCount());
    qrEdit1->setAccessibleDescription(shown);
    QRPreview1->setAccessibleName(shown);
    QAccessibleEvent renamed(QRPreview1, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
}

void TPrevForm::setZoom(int percent) {
    QRPreview1->setZoom(percent);
    prUpDown2->setPosition(percent);
}

void TPrevForm::showState() {
    qrEdit1->setText(QString::number(currentPage()));
    Label3->setText(QStringLiteral("von %1").arg(pageCount()));
    qrEdit2->setText(QString::number(zoom()));
}

} // namespace orba
