#include "settings/Tstat.h"

#include "core/FixedDialog.h"
#include "core/Guard.h"
#include "core/TextFile.h"
#include "settings/Statistics.h"

#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>

namespace orba {
namespace {

constexpr int kMediaTypeWidth = 300;
constexpr int kCountWidth = 100;

// A small bar chart as the window's picture.
QPixmap chartPicture() {
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(Qt::black);
    painter.drawLine(2, 29, 29, 29);
    painter.drawLine(2, 2, 2, 29);
    const QColor colours[] = {QColor(0, 0, 160), QColor(200, 0, 0), QColor(0, 128, 0)};
    const int heights[] = {14, 24, 9};
    for (int bar = 0; bar < 3; ++bar)
        painter.fillRect(6 + bar * 8, 29 - heights[bar], 6, heights[bar], colours[bar]);
    return picture;
}

} // namespace

Tstat::Tstat(QWidget* parent) : QDialog(parent) {
    setUpDialog(this, "Tstat", QStringLiteral("Statistik"), 417, 279);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(8, 8, 32, 32);
    Image1->setPixmap(chartPicture());
    Image1->setAccessibleName(QStringLiteral("Balkendiagramm"));
    Image1->setAccessibleDescription(QStringLiteral("Sinnbild der Statistik"));

    Label1 = new QLabel(QStringLiteral("Anzahl Medien, Stand:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(48, 14, 130, 20);

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(180, 14, 229, 20);
    Label2->setTextFormat(Qt::PlainText);

    ListBox1 = new QTreeWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(8, 46, 401, 188);
    ListBox1->setColumnCount(2);
    ListBox1->setHeaderLabels({QStringLiteral("Medienart"), QStringLiteral("Anzahl Medien")});
    ListBox1->setColumnWidth(0, kMediaTypeWidth);
    ListBox1->setColumnWidth(1, kCountWidth);
    ListBox1->header()->setSectionsMovable(false);
    ListBox1->setRootIsDecorated(false);
    ListBox1->setUniformRowHeights(true);
    ListBox1->setSortingEnabled(false);
    ListBox1->setAccessibleName(QStringLiteral("Anzahl Medien je Medienart"));

    BitBtn1 = new QPushButton(QStringLiteral("&Abbrechen"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(167, 245, 82, 26);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);

    FormCreate();
}

void Tstat::reload() {
    Label2->clear();
    ListBox1->clear();
    FormCreate();
}

void Tstat::FormCreate() {
    guarded([this] {
        const Statistics statistics =
            parseStatistics(textfile::readLines(QStringLiteral("stat.dat")));
        Label2->setText(statistics.date);
        QList<QTreeWidgetItem*> rows;
        rows.reserve(statistics.rows.size());
        for (const QStringList& row : statistics.rows)
            rows.append(new QTreeWidgetItem(row));
        ListBox1->addTopLevelItems(rows);
        ListBox1->clearSelection();
    });
}

} // namespace orba
