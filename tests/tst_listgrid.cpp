#include "core/OrbaError.h"
#include "lists/ListGrid.h"
#include "TestMain.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <vector>

using orba::ListGrid;

namespace {

QString sourceText(qint32 catalogueIndex, int column) {
    return QStringLiteral("%1/%2").arg(catalogueIndex).arg(column);
}

// A grid of `dataRows` rows whose column 0 holds "r<row>", shown so that it takes mouse input.
struct ShownGrid {
    explicit ShownGrid(int dataRows) : grid(2) {
        grid.setRowCount(dataRows + 1);
        for (int row = 1; row <= dataRows; ++row)
            grid.setCell(0, row, QStringLiteral("r%1").arg(row));
        grid.resize(300, 200);
        grid.show();
    }
    QPoint centreOf(int row) const {
        return grid.visualRect(grid.model()->index(row - 1, 1)).center();
    }
    ListGrid grid;
};

} // namespace

class TestListGrid : public QObject {
    Q_OBJECT
private slots:
    void headerCellIsTheColumnTitle() {
        ListGrid grid(3);
        grid.setCell(1, 0, QStringLiteral("Titel"));
        QCOMPARE(grid.cell(1, 0), QStringLiteral("Titel"));
        QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Titel"));
        QCOMPARE(grid.cell(1, 1), QString());
        QCOMPARE(grid.rowCount(), 2);
    }

    void setRowCountKeepsOneDataRow_data() {
        QTest::addColumn<int>("requested");
        QTest::addColumn<int>("expected");
        QTest::newRow("more") << 5 << 5;
        QTest::newRow("header only") << 1 << 2;
        QTest::newRow("negative") << -4 << 2;
    }
    void setRowCountKeepsOneDataRow() {
        QFETCH(int, requested);
        QFETCH(int, expected);
        ListGrid grid(2);
        grid.setRowCount(3);
        grid.setCell(0, 1, QStringLiteral("A"));
        grid.setRowIndex(1, 11);
        grid.setRowCount(requested);
        QCOMPARE(grid.rowCount(), expected);
        QCOMPARE(grid.model()->rowCount(), expected - 1);
        QCOMPARE(grid.cell(0, 1), QStringLiteral("A"));
        QCOMPARE(grid.rowIndex(1), 11);
        QCOMPARE(grid.cell(0, expected - 1), expected == 2 ? QStringLiteral("A") : QString());
    }

    void clearRowsLeavesOneEmptyRow() {
        ListGrid grid(3);
        grid.setCellSource(sourceText);
        const std::vector<qint32> indices{4, 5, 6};
        grid.appendIndexRows(indices.data(), qsizetype(indices.size()));
        grid.setCell(2, 1, QStringLiteral("Notiz"));
        grid.clearRows();
        QCOMPARE(grid.rowCount(), 2);
        QCOMPARE(grid.model()->rowCount(), 1);
        for (int column = 0; column < 3; ++column)
            QCOMPARE(grid.cell(column, 1), QString());
        QCOMPARE(grid.rowIndex(1), 0);
        QVERIFY(!grid.hasEntries());
    }

    void addRowNumbersFromTwo() {
        ListGrid grid(2);
        grid.setCellSource(sourceText);
        QCOMPARE(grid.addRow(), 2);
        QCOMPARE(grid.addRow(), 3);
        QCOMPARE(grid.rowCount(), 4);
        QCOMPARE(grid.model()->rowCount(), 3);
        // Added rows own their (empty) texts: the source is not asked for them.
        QCOMPARE(grid.cell(0, 3), QString());
        QCOMPARE(grid.rowIndex(3), 0);
    }

    void writesOutsideTheGridAreDropped() {
        ListGrid grid(2);
        grid.setCell(0, 2, QStringLiteral("X"));
        grid.setCell(2, 1, QStringLiteral("X"));
        grid.setRowIndex(2, 9);
        QCOMPARE(grid.rowCount(), 2);
        QCOMPARE(grid.rowIndex(0), 0);
        QCOMPARE(grid.rowIndex(2), 0);
        QCOMPARE(grid.cell(0, 2), QString());
        QCOMPARE(grid.cell(2, 1), QString());
        QCOMPARE(grid.cell(0, 1), QString());
    }

    void appendIndexRows_data() {
        QTest::addColumn<int>("dataRows");
        QTest::addColumn<QStringList>("firstRow");
        QTest::addColumn<QList<qint32>>("appended");
        QTest::addColumn<QList<qint32>>("expectedIndices");
        QTest::addColumn<QString>("expectedFirstSignature");
        const QList<qint32> hits{7, 8, 9};
        QTest::newRow("empty list takes the first hit in row 1")
            << 1 << QStringList{} << hits << QList<qint32>{7, 8, 9} << sourceText(7, 0);
        QTest::newRow("row 1 without signature counts as empty")
            << 1 << QStringList{QString(), QStringLiteral("Titel")} << hits
            << QList<qint32>{7, 8, 9} << sourceText(7, 0);
        QTest::newRow("an entry stays in row 1")
            << 1 << QStringList{QStringLiteral("AB 1"), QStringLiteral("Titel")} << hits
            << QList<qint32>{5, 7, 8, 9} << QStringLiteral("AB 1");
        QTest::newRow("two empty rows are not the empty list")
            << 2 << QStringList{} << hits << QList<qint32>{5, 0, 7, 8, 9} << QString();
        QTest::newRow("nothing appended")
            << 1 << QStringList{} << QList<qint32>{} << QList<qint32>{5} << QString();
    }
    void appendIndexRows() {
        QFETCH(int, dataRows);
        QFETCH(QStringList, firstRow);
        QFETCH(QList<qint32>, appended);
        QFETCH(QList<qint32>, expectedIndices);
        QFETCH(QString, expectedFirstSignature);
        ListGrid grid(2);
        grid.setCellSource(sourceText);
        grid.setRowCount(dataRows + 1);
        for (int column = 0; column < firstRow.size(); ++column)
            grid.setCell(column, 1, firstRow[column]);
        grid.setRowIndex(1, 5);
        QSignalSpy inserted(grid.model(), &QAbstractItemModel::rowsInserted);

        grid.appendIndexRows(appended.constData(), appended.size());

        QCOMPARE(grid.rowCount(), expectedIndices.size() + 1);
        QCOMPARE(grid.model()->rowCount(), expectedIndices.size());
        for (int row = 1; row < grid.rowCount(); ++row)
            QCOMPARE(grid.rowIndex(row), expectedIndices[row - 1]);
        QCOMPARE(grid.cell(0, 1), expectedFirstSignature);
        const bool grew = grid.rowCount() > dataRows + 1;
        QCOMPARE(inserted.count(), grew ? 1 : 0);
        const qint32 last = expectedIndices.last();
        if (grew)
            QCOMPARE(grid.cell(1, grid.rowCount() - 1), sourceText(last, 1));
    }

    void indexRowsWithoutSourceAreEmpty() {
        ListGrid grid(2);
        const qint32 index = 3;
        grid.appendIndexRows(&index, 1);
        QCOMPARE(grid.rowIndex(1), 3);
        QCOMPARE(grid.cell(0, 1), QString());
        QVERIFY(!grid.hasEntries());
        grid.setCellSource(sourceText);
        QVERIFY(grid.hasEntries());
    }

    void setCellGivesOnlyThatRowTextsOfItsOwn() {
        ListGrid grid(2);
        grid.setCellSource(sourceText);
        const std::vector<qint32> indices{10, 20, 30};
        grid.appendIndexRows(indices.data(), qsizetype(indices.size()));
        QCOMPARE(grid.cell(1, 2), sourceText(20, 1));

        grid.setCell(1, 2, QStringLiteral("neu"));
        QCOMPARE(grid.cell(1, 2), QStringLiteral("neu"));
        QCOMPARE(grid.cell(0, 2), sourceText(20, 0));
        QCOMPARE(grid.model()->index(1, 1).data().toString(), QStringLiteral("neu"));

        // Only row 2 has texts of its own now; the other rows still follow the source.
        grid.setCellSource([](qint32 index, int column) {
            return QStringLiteral("other %1").arg(sourceText(index, column));
        });
        QCOMPARE(grid.cell(0, 2), sourceText(20, 0));
        QCOMPARE(grid.cell(0, 1), QStringLiteral("other ") + sourceText(10, 0));
        QCOMPARE(grid.cell(1, 3), QStringLiteral("other ") + sourceText(30, 1));
    }

    void newIndexKeepsTheShownTexts() {
        ListGrid grid(2);
        grid.setCellSource(sourceText);
        const std::vector<qint32> indices{10, 20};
        grid.appendIndexRows(indices.data(), qsizetype(indices.size()));
        grid.setRowIndex(1, 20);
        QCOMPARE(grid.rowIndex(1), 20);
        QCOMPARE(grid.cell(0, 1), sourceText(10, 0));
        QCOMPARE(grid.cell(1, 1), sourceText(10, 1));
    }

    void hasEntriesNeedsASignatureInRowOne() {
        ListGrid grid(2);
        QVERIFY(!grid.hasEntries());
        grid.setCell(1, 1, QStringLiteral("Titel"));
        QVERIFY(!grid.hasEntries());
        grid.setCell(0, 1, QStringLiteral("AB 1"));
        QVERIFY(grid.hasEntries());
    }

    void selectRowAnnouncesTheRowEvenWhenSelected() {
        const int row = 5;
        ListGrid grid(2);
        grid.setRowCount(6);
        QCOMPARE(grid.selectedRow(), 1);
        QSignalSpy selected(&grid, &ListGrid::rowSelected);

        grid.selectRow(row);
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected.takeFirst().at(0).toInt(), row);
        QCOMPARE(grid.selectedRow(), row);
        const QModelIndexList rows = grid.selectionModel()->selectedRows();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().row(), row - 1);

        grid.selectRow(row);
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected.takeFirst().at(0).toInt(), row);
    }

    void selectRowOutsideTheDataRowsFails_data() {
        QTest::addColumn<int>("row");
        QTest::newRow("header") << 0;
        QTest::newRow("below") << 3;
    }
    void selectRowOutsideTheDataRowsFails() {
        QFETCH(int, row);
        ListGrid grid(2);
        grid.setRowCount(3);
        grid.selectRow(2);
        QSignalSpy selected(&grid, &ListGrid::rowSelected);
        QVERIFY_THROWS_EXCEPTION(orba::OrbaError, grid.selectRow(row));
        QCOMPARE(selected.count(), 0);
        QCOMPARE(grid.selectedRow(), 2);
    }

    void rowChangesDoNotAnnounceASelection() {
        ListGrid grid(2);
        grid.setRowCount(5);
        grid.selectRow(4);
        QSignalSpy selected(&grid, &ListGrid::rowSelected);
        grid.setRowCount(3);
        grid.addRow();
        grid.clearRows();
        QCOMPARE(selected.count(), 0);
        QCOMPARE(grid.selectedRow(), 1);
    }

    void keyboardMovesTheSelection_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        QTest::newRow("down") << 2 << int(Qt::Key_Down) << 3;
        QTest::newRow("end goes to the last row") << 1 << int(Qt::Key_End) << 4;
    }
    void keyboardMovesTheSelection() {
        QFETCH(int, start);
        QFETCH(int, key);
        QFETCH(int, expected);
        ShownGrid shown(4);
        QVERIFY(QTest::qWaitForWindowExposed(&shown.grid));
        shown.grid.selectRow(start);
        QSignalSpy selected(&shown.grid, &ListGrid::rowSelected);

        QTest::keyClick(&shown.grid, Qt::Key(key));
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected.first().at(0).toInt(), expected);
        QCOMPARE(shown.grid.selectedRow(), expected);
    }

    void mousePressSelectsThenReports_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<int>("row");
        QTest::newRow("left") << Qt::LeftButton << 3;
        QTest::newRow("right") << Qt::RightButton << 2;
        QTest::newRow("middle") << Qt::MiddleButton << 4;
        QTest::newRow("right on the selected row") << Qt::RightButton << 1;
    }
    void mousePressSelectsThenReports() {
        QFETCH(Qt::MouseButton, button);
        QFETCH(int, row);
        ShownGrid shown(4);
        QVERIFY(QTest::qWaitForWindowExposed(&shown.grid));
        shown.grid.selectRow(1);
        QStringList events;
        connect(&shown.grid, &ListGrid::rowSelected, this, [&](int selected) {
            events << QStringLiteral("selected %1 (now %2)")
                          .arg(selected)
                          .arg(shown.grid.selectedRow());
        });
        QSignalSpy pressed(&shown.grid, &ListGrid::rowPressed);
        connect(&shown.grid, &ListGrid::rowPressed, this,
                [&](int pressedRow) { events << QStringLiteral("pressed %1").arg(pressedRow); });

        const QPoint pos = shown.centreOf(row);
        QTest::mouseClick(shown.grid.viewport(), button, {}, pos);

        const QStringList expected{QStringLiteral("selected %1 (now %1)").arg(row),
                                   QStringLiteral("pressed %1").arg(row)};
        QCOMPARE(events, expected);
        QCOMPARE(pressed.count(), 1);
        QCOMPARE(pressed.first().at(1).value<Qt::MouseButton>(), button);
        QCOMPARE(pressed.first().at(2).toPoint(), pos);
        QCOMPARE(shown.grid.selectedRow(), row);
        QCOMPARE(shown.grid.selectionModel()->selectedRows().size(), 1);
    }

    // The keys press the right button on the selected row's cell, brought into view first.
    void contextMenuKeysPressTheSelectedRow_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<bool>("presses");
        QTest::newRow("menu key") << int(Qt::Key_Menu) << Qt::KeyboardModifiers() << true;
        QTest::newRow("shift+F10")
            << int(Qt::Key_F10) << Qt::KeyboardModifiers(Qt::ShiftModifier) << true;
        QTest::newRow("F10 alone") << int(Qt::Key_F10) << Qt::KeyboardModifiers() << false;
        QTest::newRow("ctrl+shift+F10")
            << int(Qt::Key_F10) << Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::ControlModifier)
            << false;
    }
    void contextMenuKeysPressTheSelectedRow() {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(bool, presses);
        ShownGrid shown(40);
        QVERIFY(QTest::qWaitForWindowExposed(&shown.grid));
        shown.grid.selectRow(30);
        shown.grid.scrollToTop();
        QSignalSpy pressed(&shown.grid, &ListGrid::rowPressed);
        QTest::keyClick(&shown.grid, Qt::Key(key), modifiers);
        QCOMPARE(pressed.count(), presses ? 1 : 0);
        QCOMPARE(shown.grid.selectedRow(), 30);
        if (!presses)
            return;
        QCOMPARE(pressed.first().at(0).toInt(), 30);
        QCOMPARE(pressed.first().at(1).value<Qt::MouseButton>(), Qt::RightButton);
        const QPoint pos = pressed.first().at(2).toPoint();
        QVERIFY(shown.grid.viewport()->rect().contains(pos));
        QCOMPARE(shown.grid.indexAt(pos).row(), 29);
    }

    void mousePressBelowTheRowsDoesNothing() {
        ShownGrid shown(2);
        QVERIFY(QTest::qWaitForWindowExposed(&shown.grid));
        shown.grid.selectRow(2);
        QSignalSpy selected(&shown.grid, &ListGrid::rowSelected);
        QSignalSpy pressed(&shown.grid, &ListGrid::rowPressed);
        const QPoint below = shown.centreOf(2) + QPoint(0, 60);
        QVERIFY(!shown.grid.indexAt(below).isValid());
        QTest::mouseClick(shown.grid.viewport(), Qt::LeftButton, {}, below);
        QCOMPARE(selected.count(), 0);
        QCOMPARE(pressed.count(), 0);
        QCOMPARE(shown.grid.selectedRow(), 2);
    }

    void doubleClickReportsTheRow() {
        ShownGrid shown(4);
        QVERIFY(QTest::qWaitForWindowExposed(&shown.grid));
        QSignalSpy doubleClicked(&shown.grid, &ListGrid::rowDoubleClicked);
        QTest::mouseDClick(shown.grid.viewport(), Qt::LeftButton, {}, shown.centreOf(3));
        QCOMPARE(doubleClicked.count(), 1);
        QCOMPARE(doubleClicked.first().at(0).toInt(), 3);
        QCOMPARE(shown.grid.selectedRow(), 3);
    }

    void editingThroughTheModel_data() {
        QTest::addColumn<bool>("editable");
        QTest::newRow("editable") << true;
        QTest::newRow("read-only") << false;
    }
    void editingThroughTheModel() {
        QFETCH(bool, editable);
        ListGrid grid(1);
        grid.setCellSource(sourceText);
        const qint32 index = 4;
        grid.appendIndexRows(&index, 1);
        grid.setEditable(editable);
        const QModelIndex cell = grid.model()->index(0, 0);
        QCOMPARE(grid.model()->flags(cell).testFlag(Qt::ItemIsEditable), editable);
        QCOMPARE(grid.model()->setData(cell, QStringLiteral("12.03.2024")), editable);
        QCOMPARE(grid.cell(0, 1), editable ? QStringLiteral("12.03.2024") : sourceText(4, 0));
        QCOMPARE(grid.rowIndex(1), 4);
    }

    void typingEditsTheCurrentCell() {
        ShownGrid shown(2);
        QVERIFY(QTest::qWaitForWindowExposed(&shown.grid));
        shown.grid.setEditable(true);
        shown.grid.selectRow(2);
        QTest::keyClick(&shown.grid, Qt::Key_1);
        auto* editor = shown.grid.findChild<QLineEdit*>();
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_5);
        QTest::keyClick(editor, Qt::Key_Return);
        // The delegate commits after the key press has been handled.
        QTRY_COMPARE(shown.grid.cell(0, 2), QStringLiteral("15"));
        QCOMPARE(shown.grid.cell(0, 1), QStringLiteral("r1"));
    }

    void millionIndexRows() {
        ListGrid grid(2);
        grid.setCellSource(sourceText);
        std::vector<qint32> indices(1'000'000);
        for (size_t i = 0; i < indices.size(); ++i)
            indices[i] = qint32(2 * i + 1);
        grid.appendIndexRows(indices.data(), qsizetype(indices.size()));
        QCOMPARE(grid.rowCount(), 1'000'001);
        QCOMPARE(grid.model()->rowCount(), 1'000'000);
        QCOMPARE(grid.rowIndex(1'000'000), 1'999'999);
        QCOMPARE(grid.cell(1, 1'000'000), sourceText(1'999'999, 1));
        grid.selectRow(1'000'000);
        QCOMPARE(grid.selectedRow(), 1'000'000);
        grid.clearRows();
        QCOMPARE(grid.rowCount(), 2);
    }
};

ORBA_TEST_MAIN(TestListGrid)
#include "tst_listgrid.moc"
