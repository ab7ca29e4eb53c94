#include "display/Tview.h"

#include "display/TviewAccessible.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPixmap>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace orba {
namespace {

QScrollArea* enclosingScrollArea(QWidget* widget) {
    for (QWidget* w = widget->parentWidget(); w; w = w->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(w))
            return area;
    }
    return nullptr;
}

} // namespace

Tview::Tview(QWidget* parent) : QWidget(parent) {
    static const bool accessible = [] {
        QAccessible::installFactory(tviewAccessible);
        return true;
    }();
    Q_UNUSED(accessible);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    // paintEvent fills its whole area itself.
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    m_colour = palette().color(QPalette::WindowText);
}

void Tview::setTextProperty(const QString& text) {
    m_text = text;
    m_reading.reset();
    m_readingPosition = 0;
}

void Tview::SetText(const QString& text) {
    const QString before = QAccessible::isActive() ? reading().text() : QString();
    setTextProperty(text);
    // The scroll area needs the height even while the view is hidden and never painted.
    growTo(layOut(QPixmap(m_bitmapFile)).height);
    repaint();
    announce(before);
}

void Tview::Clear() {
    const QString before = QAccessible::isActive() ? reading().text() : QString();
    setTextProperty(QString());
    repaint();
    announce(before);
}

void Tview::SetTags(const QStringList& tags) {
    m_tags.clear();
    m_tags.append(tags);
    m_reading.reset();
}

const ViewReading& Tview::reading() const {
    if (!m_reading)
        m_reading.emplace(layOut(QPixmap(m_bitmapFile)).ops);
    return *m_reading;
}

void Tview::announce(const QString& before) {
    if (!QAccessible::isActive() || before == reading().text())
        return;
    QAccessibleTextUpdateEvent changed(this, 0, before, reading().text());
    QAccessible::updateAccessibility(&changed);
}

void Tview::setReadingPosition(int offset) {
    m_readingPosition = std::clamp(offset, 0, int(reading().text().size()));
    const qsizetype line = reading().lineAt(m_readingPosition);
    if (QScrollArea* area = enclosingScrollArea(this); area && line >= 0) {
        const DrawOp& op = reading().lines()[line].op;
        area->ensureVisible(op.x, op.y + op.height / 2, 0, op.height);
    }
    update();
    QAccessibleTextCursorEvent moved(this, m_readingPosition);
    QAccessible::updateAccessibility(&moved);
}

void Tview::moveReadingLine(qsizetype line) {
    const QList<ViewReading::Line>& lines = reading().lines();
    if (!lines.isEmpty())
        setReadingPosition(int(lines[std::clamp<qsizetype>(line, 0, lines.size() - 1)].start));
}

void Tview::keyPressEvent(QKeyEvent* event) {
    const qsizetype line = reading().lineAt(m_readingPosition);
    const QScrollArea* area = enclosingScrollArea(this);
    const int lineHeight = fontMetrics().height();
    const qsizetype page = area ? std::max(1, area->viewport()->height() / lineHeight - 1) : 10;
    switch (event->key()) {
    case Qt::Key_Up:
        moveReadingLine(line - 1);
        break;
    case Qt::Key_Down:
        moveReadingLine(line + 1);
        break;
    case Qt::Key_PageUp:
        moveReadingLine(line - page);
        break;
    case Qt::Key_PageDown:
        moveReadingLine(line + page);
        break;
    case Qt::Key_Home:
        moveReadingLine(0);
        break;
    case Qt::Key_End:
        moveReadingLine(reading().lines().size() - 1);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void Tview::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void Tview::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void Tview::resizeEvent(QResizeEvent* event) {
    if (event->oldSize().width() != width())
        m_reading.reset();
    QWidget::resizeEvent(event);
}

QRect Tview::characterRect(int offset) const {
    const qsizetype line = reading().lineAt(offset);
    if (line < 0)
        return {};
    const ViewReading::Line& at = reading().lines()[line];
    const QFontMetrics metrics(toQFont(at.op.font));
    const qsizetype column = std::clamp<qsizetype>(offset - at.start, 0, at.length);
    const int x = at.op.x + metrics.horizontalAdvance(at.op.text.left(column));
    return QRect(x, at.op.y, metrics.horizontalAdvance(at.op.text.mid(column, 1)), at.op.height);
}

int Tview::offsetAt(QPoint point) const {
    for (const ViewReading::Line& line : reading().lines()) {
        if (point.y() < line.op.y || point.y() >= line.op.y + line.op.height)
            continue;
        const QFontMetrics metrics(toQFont(line.op.font));
        for (qsizetype column = 0; column < line.length; ++column) {
            if (line.op.x + metrics.horizontalAdvance(line.op.text.left(column + 1)) > point.x())
                return int(line.start + column);
        }
        return int(line.start + line.length);
    }
    return -1;
}

void Tview::paintEvent(QPaintEvent* event) {
    const QColor background = palette().color(QPalette::Window);
    const QPixmap bitmap(m_bitmapFile);
    const taglayout::Result laidOut = layOut(bitmap);
    m_colour = laidOut.colour;

    QPainter painter(this);
    painter.fillRect(rect(), background);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(background);
    const QRect exposed = event->rect();
    for (const DrawOp& op : laidOut.ops) {
        if (op.y > exposed.bottom() || op.y + op.height <= exposed.top())
            continue;
        if (op.kind == DrawOp::Kind::Bitmap) {
            painter.drawPixmap(op.x, op.y, bitmap);
            continue;
        }
        painter.setFont(toQFont(op.font));
        painter.setPen(op.colour);
        painter.drawText(op.x, op.y + painter.fontMetrics().ascent(), op.text);
    }
    // The keyboard reader's line is framed while the view has the focus.
    if (hasFocus()) {
        const qsizetype line = reading().lineAt(m_readingPosition);
        QStyleOptionFocusRect frame;
        frame.initFrom(this);
        frame.rect = line < 0 ? rect().adjusted(1, 1, -1, -1)
                              : QRect(0, reading().lines()[line].op.y, width(),
                                      reading().lines()[line].op.height);
        frame.backgroundColor = background;
        painter.setBackgroundMode(Qt::TransparentMode);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
    }
    painter.end();
    growTo(laidOut.height);
}

taglayout::Result Tview::layOut(const QPixmap& bitmap) const {
    std::optional<QSize> bitmapSize;
    if (!bitmap.isNull())
        bitmapSize = bitmap.size();
    return taglayout::layout(
        {m_text, m_tags, m_lineFeed, m_block, width(), bitmapSize, m_colour, maximumHeight()},
        m_measurer);
}

void Tview::growTo(int height) {
    if (height > this->height())
        resize(width(), height);
}

} // namespace orba
