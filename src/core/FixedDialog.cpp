#include "core/FixedDialog.h"

#include "core/ScreenFit.h"
#include "core/TextFile.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>

namespace orba {
namespace {

// Moves the dialog's controls into a scroll area once the dialog is shown on a screen whose free
// area is smaller than the dialog's design size; on a larger screen the design size returns.
class FitOnScreen : public QObject {
public:
    FitOnScreen(QDialog* dialog, QSize design)
        : QObject(dialog), m_dialog(dialog), m_design(design) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show && m_dialog->screen() && !m_dialog->layout()) {
            // A window may have grown by what it shows (the send log by its cause).
            if (!m_area)
                m_design = m_dialog->size();
            fit(roomForContent(m_dialog).size());
        }
        return false;
    }

private:
    void fit(QSize room) {
        const QSize fitted = m_design.boundedTo(room);
        if (fitted != m_design && !m_area) {
            auto* content = new QWidget;
            content->setFixedSize(m_design);
            const QObjectList children = m_dialog->children();
            for (QObject* child : children) {
                auto* control = qobject_cast<QWidget*>(child);
                if (!control || control->isWindow())
                    continue;
                const bool hidden =
                    control->testAttribute(Qt::WA_WState_ExplicitShowHide) && control->isHidden();
                control->setParent(content);
                control->setHidden(hidden);
            }
            m_area = new QScrollArea(m_dialog);
            m_area->setFrameShape(QFrame::NoFrame);
            m_area->setWidget(content);
            m_area->show();
        }
        m_dialog->setFixedSize(fitted);
        if (m_area)
            m_area->setGeometry(m_dialog->rect());
    }

    QDialog* m_dialog;
    QSize m_design;
    QScrollArea* m_area = nullptr;
};

} // namespace

void setUpDialog(QDialog* dialog, const char* className, const QString& caption, int width,
                 int height) {
    dialog->setObjectName(QLatin1String(className));
    dialog->setWindowTitle(caption);
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog->setFixedSize(width, height);
    dialog->setModal(true);
    dialog->installEventFilter(new FitOnScreen(dialog, QSize(width, height)));
}

QPushButton* addDialogButton(QDialog* dialog, const char* name, const QString& text,
                             const QRect& geometry) {
    auto* button = new QPushButton(text, dialog);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    return button;
}

QLabel* addExplanation(QDialog* dialog, const QString& text, const QRect& geometry) {
    constexpr qreal smallestPoints = 6.0;
    auto* label = new QLabel(text, dialog);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(geometry);
    QFont font = dialog->font();
    font.setPointSizeF(font.pointSizeF() - 1);
    auto widest = [&text](const QFont& f) {
        int width = 0;
        for (const QString& line : text.split(QLatin1Char('\n')))
            width = qMax(width, QFontMetrics(f).horizontalAdvance(line));
        return width;
    };
    while (widest(font) > label->contentsRect().width() && font.pointSizeF() > smallestPoints)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    label->setFont(font);
    return label;
}

QLabel* addDialogPicture(QDialog* dialog, const QString& bitmapFile) {
    auto* picture = new QLabel(dialog);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setGeometry(8, 8, 32, 32);
    picture->setScaledContents(true);
    picture->setAccessibleName(QStringLiteral("Ordner"));
    picture->setAccessibleDescription(QStringLiteral("Sinnbild des Dialogs"));
    QPixmap pixmap;
    if (textfile::exists(bitmapFile) && pixmap.load(bitmapFile))
        picture->setPixmap(pixmap);
    return picture;
}

} // namespace orba
