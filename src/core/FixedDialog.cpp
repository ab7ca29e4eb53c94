#include "core/FixedDialog.h"

#include "core/TextFile.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace orba {

void setUpDialog(QDialog* dialog, const char* className, const QString& caption, int width,
                 int height) {
    dialog->setObjectName(QLatin1String(className));
    dialog->setWindowTitle(caption);
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog->setFixedSize(width, height);
    dialog->setModal(true);
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
    QPixmap pixmap;
    if (textfile::exists(bitmapFile) && pixmap.load(bitmapFile))
        picture->setPixmap(pixmap);
    return picture;
}

} // namespace orba
