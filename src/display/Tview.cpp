#include "display/Tview.h"

#include <QPainter>
#include <QPaintEvent>
#include <QPixmap>

namespace orba {

Tview::Tview(QWidget* parent) : QWidget(parent) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    // paintEvent fills its whole area itself.
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_colour = palette().color(QPalette::WindowText);
}

void Tview::SetText(const QString& text) {
    m_text = text;
    // The scroll area needs the height even while the view is hidden and never painted.
    growTo(layOut(QPixmap(m_bitmapFile)).height);
    repaint();
}

void Tview::Clear() {
    m_text.clear();
    repaint();
}

void Tview::SetTags(const QStringList& tags) {
    m_tags.clear();
    m_tags.append(tags);
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
