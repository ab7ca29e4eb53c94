#include "core/FixedDialog.h"

#include "core/TextFile.h"

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
