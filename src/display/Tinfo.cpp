#include "display/Tinfo.h"

#include "core/Guard.h"
#include "core/ScreenFit.h"
#include "core/TextFile.h"
#include "display/RtfReader.h"
#include "settings/SettingsFile.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTextBrowser>
#include <QTextCursor>
#include <QVBoxLayout>
#include <QWindow>

namespace orba {
namespace {

constexpr int kDesignLeft = 224;
constexpr int kDesignTop = 147;
constexpr int kDesignWidth = 519;
constexpr int kDesignHeight = 343;

} // namespace

Tinfo::Tinfo(QWidget* parent, SettingsFile& settings)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_settings(settings) {
    setObjectName(QStringLiteral("Tinfo"));
    setWindowTitle(QStringLiteral("Aktuelle Informationen"));
    resize(kDesignWidth, kDesignHeight);
    move(kDesignLeft, kDesignTop);

    RxRichEdit1 = new QTextBrowser(this);
    RxRichEdit1->setObjectName(QStringLiteral("RxRichEdit1"));
    RxRichEdit1->setAccessibleName(QStringLiteral("Aktuelle Informationen"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(RxRichEdit1);
    // Esc closes the window, as it closes the program's dialogs.
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);

    FormCreate();
}

void Tinfo::reload() {
    RxRichEdit1->clear();
    FormCreate();
}

void Tinfo::FormCreate() {
    guarded([this] {
        readRtf(textfile::readBytes(QStringLiteral("info.rtf")), RxRichEdit1->document());
    });
    // The reader leaves the cursor at the end; the reader of the window starts at the top.
    RxRichEdit1->moveCursor(QTextCursor::Start);
}

void Tinfo::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormShow();
}

void Tinfo::FormShow() {
    const QString section = QStringLiteral("info");
    if (m_settings.readInteger(section, QStringLiteral("vollbild"), 0) != 0) {
        setWindowState(windowState() | Qt::WindowMaximized);
        return;
    }
    setWindowState(windowState() & ~Qt::WindowMaximized);
    const int width = m_settings.readInteger(section, QStringLiteral("breite"), kDesignWidth);
    const int height = m_settings.readInteger(section, QStringLiteral("hoehe"), kDesignHeight);
    const int left = m_settings.readInteger(section, QStringLiteral("x"), kDesignLeft);
    const int top = m_settings.readInteger(section, QStringLiteral("y"), kDesignTop);
    // A place off every screen (a screen since removed, a typo) would hide the window for good.
    const QScreen* target = QGuiApplication::screenAt(QPoint(left, top));
    if (!target)
        target = screen();
    // The title bar must stay within reach too. The window manager's frame is not known before
    // the window is shown; the style's title bar stands in for it.
    const QRect place = fitFramedOnScreen(
        left, top, width, height, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this),
        target->availableGeometry());
    resize(place.size());
    move(place.topLeft());
    // While the frame is unknown, move() places the content; the frame must go there.
    windowHandle()->setFramePosition(place.topLeft());
}

} // namespace orba
