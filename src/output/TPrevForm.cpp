#include "output/TPrevForm.h"

#include "core/Guard.h"
#include "output/PageRenderer.h"
#include "output/UpDown.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace orba {
namespace {

constexpr int initialZoom = 40;
// The fits leave a little room around the page.
constexpr double fitPercent = 98.0;

// The number at the start of the text as C's strtol reads it: leading white space, an optional
// sign, digits up to the first other character; 0 when there are none.
int leadingInteger(const QString& text) {
    qsizetype pos = 0;
    while (pos < text.size() && text[pos].isSpace())
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+'))
        negative = text[pos++] == u'-';
    qint64 value = 0;
    for (; pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9'; ++pos)
        value = std::min<qint64>(value * 10 + (text[pos].unicode() - u'0'),
                                 std::numeric_limits<int>::max());
    return static_cast<int>(negative ? -value : value);
}

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
    : QDialog(parent), Label1(new QLabel(QStringLiteral("Seite"), this)),
      qrEdit1(numberField(QStringLiteral("1"), this)), prUpDown1(new UpDown(this)),
      Label2(new QLabel(QStringLiteral("Zoom"), this)),
      qrEdit2(numberField(QString::number(initialZoom), this)), prUpDown2(new UpDown(this)),
      prButton1(toolButton(QStringLiteral("Seitenhöhe"), this)),
      prButton2(toolButton(QStringLiteral("Seitenbreite"), this)),
      prButton3(toolButton(QStringLiteral("Drucken"), this)),
      QRPreview1(new QPrintPreviewWidget(printer, this)), m_printer(printer) {
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

    auto* strip = new QHBoxLayout;
    strip->setSpacing(4);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{Label1, qrEdit1, prUpDown1, Label2, qrEdit2, prUpDown2,
                                         prButton1, prButton2, prButton3})
        strip->addWidget(widget);
    strip->insertSpacing(3, 12);
    strip->insertSpacing(7, 12);
    strip->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(strip);
    layout->addWidget(QRPreview1, 1);

    QRPreview1->setZoomMode(QPrintPreviewWidget::CustomZoom);
    QRPreview1->setZoomFactor(initialZoom / 100.0);
    connect(QRPreview1, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* target) {
        if (!m_pages.isEmpty())
            printPages(*target, m_pages, 0, m_pages.size() - 1);
    });
    on(prButton1, &QPushButton::clicked, this, [this] { prButton1Click(); });
    on(prButton2, &QPushButton::clicked, this, [this] { prButton2Click(); });
    on(prButton3, &QPushButton::clicked, this, [this] { emit printRequested(); });
    on(prUpDown1, &UpDown::clicked, this, [this] { prUpDown1Click(); });
    on(prUpDown2, &UpDown::clicked, this, [this] { prUpDown2Click(); });
    qrEdit1->installEventFilter(this);
    qrEdit2->installEventFilter(this);
}

void TPrevForm::setPages(QList<ReportPage> pages) {
    m_pages = std::move(pages);
    QRPreview1->updatePreview();
}

int TPrevForm::pageCount() const {
    return QRPreview1->pageCount();
}

int TPrevForm::currentPage() const {
    return QRPreview1->currentPage();
}

int TPrevForm::zoom() const {
    return static_cast<int>(std::lround(QRPreview1->zoomFactor() * 100));
}

void TPrevForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* display = screen())
        move(display->availableGeometry().center() - rect().center());
    FormShow();
}

bool TPrevForm::eventFilter(QObject* watched, QEvent* event) {
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
    setZoom(initialZoom);
    prButton1Click();
}

void TPrevForm::prButton1Click() {
    const QSizeF page = naturalPageSize();
    const double byWidth = QRPreview1->width() / page.width() * fitPercent;
    const double byHeight = QRPreview1->height() / page.height() * fitPercent;
    const int percent = static_cast<int>(std::lround(std::min(byWidth, byHeight)));
    setZoom(percent);
    prUpDown2->setPosition(percent);
}

void TPrevForm::prButton2Click() {
    const int percent =
        static_cast<int>(std::lround(QRPreview1->width() / naturalPageSize().width() * fitPercent));
    setZoom(percent);
    prUpDown2->setPosition(percent);
}

void TPrevForm::prUpDown1Click() {
    qrEdit1->setText(QString::number(prUpDown1->position()));
    showPage(prUpDown1->position());
}

void TPrevForm::prUpDown2Click() {
    qrEdit2->setText(QString::number(prUpDown2->position()));
    setZoom(prUpDown2->position());
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
    setZoom(prUpDown2->position());
}

void TPrevForm::showPage(int page) {
    QRPreview1->setCurrentPage(page);
}

void TPrevForm::setZoom(int percent) {
    // A surface not laid out yet fits to nothing; a zoom of 0 would collapse the view.
    QRPreview1->setZoomMode(QPrintPreviewWidget::CustomZoom);
    QRPreview1->setZoomFactor(std::max(percent, 1) / 100.0);
}

QSizeF TPrevForm::naturalPageSize() const {
    const QSizeF paper = m_printer->pageLayout().fullRectPixels(m_printer->resolution()).size();
    return paper * (double(QRPreview1->logicalDpiY()) / m_printer->logicalDpiY());
}

} // namespace orba
