#include "app/Tstart.h"

#include "core/TextFile.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace orba {
namespace {

// The picture the window carries when there is no "start.bmp".
QPixmap builtInPicture() {
    QPixmap picture(321, 209);
    picture.fill(QColor(0, 64, 128));
    QPainter painter(&picture);
    painter.setPen(Qt::white);
    painter.setFont(QFont(QStringLiteral("Arial"), 40, QFont::Bold));
    painter.drawText(picture.rect().adjusted(0, 0, 0, -40), Qt::AlignCenter,
                     QStringLiteral("ORBA 4.0"));
    painter.setFont(QFont(QStringLiteral("Arial"), 11));
    painter.drawText(picture.rect().adjusted(0, 100, 0, 0), Qt::AlignCenter,
                     QStringLiteral("Katalog und Bestellung"));
    return picture;
}

} // namespace

Tstart::Tstart() {
    setObjectName(QStringLiteral("Tstart"));
    setWindowTitle(QStringLiteral("ORBA 4.0"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(318, 252);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 321, 209);
    Image1->setScaledContents(true);
    QPixmap picture;
    if (!textfile::exists(QStringLiteral("start.bmp")) ||
        !picture.load(QStringLiteral("start.bmp")))
        picture = builtInPicture();
    Image1->setPixmap(picture);
    Image1->setAccessibleName(QStringLiteral("ORBA 4.0"));
    Image1->setAccessibleDescription(QStringLiteral("Startbild: Katalog und Bestellung"));

    BitBtn1 = new QPushButton(QStringLiteral("&OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(118, 218, 82, 26);
    BitBtn1->hide();
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);

    Lizenz = new QLabel(QStringLiteral("Lizenz: EUPL-1.2"), this);
    Lizenz->setObjectName(QStringLiteral("Lizenz"));
    Lizenz->setToolTip(QStringLiteral("European Union Public Licence 1.2"));
    Lizenz->setGeometry(8, 218, 106, 26);
    Lizenz->hide();
}

void Tstart::showAsAboutBox() {
    BitBtn1->show();
    Lizenz->show();
    exec();
}

} // namespace orba
