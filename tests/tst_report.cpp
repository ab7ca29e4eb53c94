#include "app/Startup.h"
#include "app/TForm1.h"
#include "core/OrbaError.h"
#include "core/TextFile.h"
#include "lists/ListGrid.h"
#include "output/BandSnapshot.h"
#include "output/DetailLayout.h"
#include "output/PreviewSurface.h"
#include "output/ReportPaginator.h"
#include "output/ReportRun.h"
#include "output/ReportSource.h"
#include "output/ReportTextMetrics.h"
#include "output/ReportValues.h"
#include "output/TPrevForm.h"
#include "output/Tprogbar.h"
#include "output/TQRPrint.h"
#include "output/UpDown.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <new>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

using namespace orba;
using namespace Qt::StringLiterals;

namespace {

// Every character 7 pixels wide, lines 14 pixels apart; a line breaks after as many characters
// as fit the width.
class FixedMetrics : public ReportTextMetrics {
public:
    static constexpr int charWidth = 7;

    QStringList wrap(const QStringList& lines, int width, const ReportFont&) const override {
        const qsizetype perLine = std::max(1, width / charWidth);
        QStringList wrapped;
        for (const QString& line : lines) {
            if (line.isEmpty())
                wrapped.append(QString());
            for (qsizetype start = 0; start < line.size(); start += perLine)
                wrapped.append(line.mid(start, perLine));
        }
        return wrapped;
    }
    int lineHeight(const ReportFont&) const override { return 14; }
    qreal ascent(const ReportFont&) const override { return 11; }
    qreal advance(const QString& line, const ReportFont&) const override {
        return qreal(line.size() * charWidth);
    }
};

ReportElement& addText(ReportBand& band, QRect rect, const QString& text,
                       PlaceholderList* placeholders = nullptr) {
    auto element = std::make_unique<ReportElement>();
    element->left = rect.left();
    element->top = rect.top();
    element->width = rect.width();
    element->height = rect.height();
    element->recordTemplate();
    element->setText(text);
    if (placeholders)
        placeholders->add(text, element.get());
    return band.add(std::move(element));
}

// Records given as name/value pairs per record; the title data come from `title`.
class ListSource : public ReportSource {
public:
    QList<QList<std::pair<QString, QString>>> records;
    QList<std::pair<QString, QString>> title;
    std::function<void(int call)> onNext;
    int calls = 0;

    int recordCount() const override { return static_cast<int>(records.size()) + 1; }
    void titleData(ValueList& list) override {
        for (const auto& [name, value] : title)
            list.set(name, value);
    }
    bool nextRecord(ValueList& list) override {
        ++calls;
        if (onNext)
            onNext(calls);
        if (calls > records.size())
            return false;
        for (const auto& [name, value] : records[calls - 1])
            list.set(name, value);
        return true;
    }
};

// MediumRecord lines through the record data provider, with reservation dates when given.
class CatalogueSource : public ReportSource {
public:
    QList<QByteArray> lines;
    QStringList dates;
    std::pair<QString, QString> user;
    int calls = 0;

    int recordCount() const override { return static_cast<int>(lines.size()) + 1; }
    void titleData(ValueList& list) override {
        titleValues(list, !dates.isEmpty(), true, [this] { return user; });
    }
    bool nextRecord(ValueList& list) override {
        ++calls;
        if (calls > lines.size())
            return false;
        recordValues(list, lines[calls - 1], dates.isEmpty() ? nullptr : &dates[calls - 1]);
        return true;
    }
};

QList<QByteArray> demoCatalogue(qsizetype count) {
    const QByteArray bytes = textfile::readBytes(ORBA_SOURCE_DIR "/demo/orb32.dat");
    QList<QByteArray> lines;
    textfile::forEachLine(bytes.constData(), bytes.size(), [&](const char* begin, qsizetype size) {
        if (lines.size() < count && size > 0)
            lines.append(QByteArray(begin, size));
    });
    return lines;
}

void copyDemo(const test::WorkingDir& dir, const QStringList& names) {
    for (const QString& name : names)
        QVERIFY(QFile::copy(ORBA_SOURCE_DIR "/demo/" + name, dir.file(name)));
}

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString("%1 failed").arg(program);
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPages(const QString& pdf) {
    const QString info = run("pdfinfo", {pdf});
    static const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    const QRegularExpressionMatch match = pages.match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString pdfText(const QString& pdf, int page) {
    const QString number = QString::number(page);
    return run("pdftotext", {"-f", number, "-l", number, pdf, "-"});
}

BandSnapshot labelled(const QString& label, int height) {
    PlacedElement element;
    element.lines.append(PlacedLine{QPointF(), label});
    return BandSnapshot{height, {element}};
}

// "T0 H30 D50 | H0 D20": each band's label and top, pages separated by bars.
QString describe(const QList<ReportPage>& pages) {
    QStringList described;
    for (const ReportPage& page : pages) {
        QStringList bands;
        for (const PlacedBand& band : page.bands)
            bands.append(band.band.elements.first().lines.first().text + QString::number(band.top));
        described.append(bands.join(u' '));
    }
    return described.join(u" | "_s);
}

QStringList lineTexts(const PlacedElement& element) {
    QStringList texts;
    for (const PlacedLine& line : element.lines)
        texts.append(line.text);
    return texts;
}

// The detail band of the layout tests: a placeholder at top 10 (17 high, 10 characters wide),
// a fixed text at the same top, one above it and one below it; designed 60 high.
struct DetailFixture {
    ReportBand band{u'2'};
    PlaceholderList placeholders;
    ReportElement& placeholder = addText(band, QRect(0, 10, 70, 17), "^Text", &placeholders);
    ReportElement& sameTop = addText(band, QRect(100, 10, 70, 17), "fest");
    ReportElement& above = addText(band, QRect(200, 5, 70, 3), "oben");
    ReportElement& below = addText(band, QRect(0, 40, 70, 17), "unten");

    DetailFixture() {
        band.setHeight(60);
        band.recordTemplateHeight();
    }
};

void typeInto(QLineEdit* field, const QString& text) {
    field->clear();
    QTest::keyClicks(field, text);
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT

private slots:
    void detailLayout_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("belowTop");
        QTest::addColumn<int>("bandHeight");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("three lines of 14 pixels") << "abcdefghijklmnopqrstuvwxy" << 48 << 71 << 97
                                                  << QStringList{"abcdefghijklmnopqrstuvwxy"};
        QTest::newRow("one line shrinks nothing, grows by 3")
            << "kurz" << 20 << 43 << 69 << QStringList{"kurz"};
        QTest::newRow("empty value: height kept, elements below move up")
            << "" << 17 << 23 << 49 << QStringList{};
        QTest::newRow("value trimmed of blanks and line ends")
            << " \tkurz \r\n"
            << 20 << 43 << 69 << QStringList{"kurz"};
        QTest::newRow("line breaks count as lines")
            << "a\r\nb" << 34 << 57 << 83 << QStringList{"a", "b"};
    }
    void detailLayout() {
        QFETCH(QString, value);
        QFETCH(int, height);
        QFETCH(int, belowTop);
        QFETCH(int, bandHeight);
        QFETCH(QStringList, lines);
        DetailFixture f;
        ValueList values = f.placeholders.copy();
        values.set("^text", value);
        layOutDetailBand(f.band, f.placeholders, values, FixedMetrics());
        QCOMPARE(f.placeholder.height, height);
        QCOMPARE(f.placeholder.lines, lines);
        QCOMPARE(f.below.top, belowTop);
        QCOMPARE(f.sameTop.top, 10);
        QCOMPARE(f.above.top, 5);
        QCOMPARE(f.band.height(), bandHeight);
    }

    void everyRecordStartsFromTheTemplate() {
        DetailFixture f;
        ValueList values = f.placeholders.copy();
        values.set("^Text", "abcdefghijklmnopqrstuvwxy");
        layOutDetailBand(f.band, f.placeholders, values, FixedMetrics());
        values.set("^Text", "kurz");
        layOutDetailBand(f.band, f.placeholders, values, FixedMetrics());
        QCOMPARE(f.placeholder.height, 20);
        QCOMPARE(f.below.top, 43);
        QCOMPARE(f.band.height(), 69);
    }

    void placeholdersAtTheSameTopDoNotMoveEachOther() {
        ReportBand band(u'2');
        PlaceholderList placeholders;
        ReportElement& left = addText(band, QRect(0, 10, 70, 17), "^Titel", &placeholders);
        ReportElement& right = addText(band, QRect(100, 10, 70, 17), "^Autor", &placeholders);
        ReportElement& below = addText(band, QRect(0, 40, 70, 17), "unten");
        band.recordTemplateHeight();
        ValueList values = placeholders.copy();
        values.set("^Titel", "abcdefghijklmnopqrstuvwxy");
        values.set("^Autor", "abcdefghijklmnopqrstuvwxy");
        layOutDetailBand(band, placeholders, values, FixedMetrics());
        QCOMPARE(left.top, 10);
        QCOMPARE(right.top, 10);
        QCOMPARE(below.top, 40 + 31 + 31);
    }

    // However long a value and however tall its font, heights stay positive and the band keeps
    // every element below the one that grew.
    void hugeValuesNeverOverflowTheLayout() {
        class TallMetrics : public FixedMetrics {
            int lineHeight(const ReportFont&) const override { return 1 << 20; }
        };
        ReportBand band(u'2');
        PlaceholderList placeholders;
        ReportElement& grown = addText(band, QRect(0, 30000, 7, 30000), "^Text", &placeholders);
        ReportElement& below = addText(band, QRect(0, 60000, 70, 65535), "unten");
        band.setHeight(65535);
        band.recordTemplateHeight();
        ValueList values = placeholders.copy();
        values.set("^Text", QString(3000, u'x'));
        layOutDetailBand(band, placeholders, values, TallMetrics());
        QVERIFY(grown.height > 30000);
        QVERIFY(below.top > grown.top);
        QVERIFY(band.height() >= below.bottom());
        QVERIFY(below.bottom() > below.top);
    }

    void bandWithoutPlaceholdersGrowsByItsMarginAndSix() {
        Tprint report;
        addText(report.QRBand3, QRect(0, 18, 100, 17), "fest");
        report.QRBand3.setHeight(41);
        ListSource source;
        source.records = {{}, {}};
        const auto pages = ReportRun(report, FixedMetrics()).layOut(source, 1000);
        QVERIFY(pages);
        const QList<PlacedBand>& bands = pages->first().bands;
        QCOMPARE(bands.size(), 4);
        QCOMPARE(bands[2].band.height, 47);
        QCOMPARE(bands[3].band.height, 47);
        QCOMPARE(bands[3].top - bands[2].top, 47);
        QCOMPARE(report.QRBand3.height(), 41);
    }

    void noRecordsGiveTitleAndHeaderOnly() {
        Tprint report;
        addText(report.QRBand1, QRect(0, 0, 300, 20), "Titel");
        addText(report.QRBand2, QRect(0, 0, 300, 20), "Kopf");
        addText(report.QRBand3, QRect(0, 0, 300, 20), "Zeile");
        ListSource source;
        const auto pages = ReportRun(report, FixedMetrics()).layOut(source, 1000);
        QVERIFY(pages);
        QCOMPARE(source.calls, 1);
        QCOMPARE(pages->size(), 1);
        const QList<PlacedBand>& bands = pages->first().bands;
        QCOMPARE(bands.size(), 2);
        QCOMPARE(lineTexts(bands[0].band.elements[0]), QStringList{"Titel"});
        QCOMPARE(lineTexts(bands[1].band.elements[0]), QStringList{"Kopf"});
    }

    void titleDataFillTheTitleBandOnce() {
        Tprint report;
        addText(report.QRBand1, QRect(0, 0, 300, 20), "^Name", &report.placeholders);
        addText(report.QRBand1, QRect(0, 20, 300, 20), "^Schulname", &report.placeholders);
        addText(report.QRBand2, QRect(0, 0, 300, 20), "^Titel");
        addText(report.QRBand3, QRect(0, 0, 300, 20), "^Titel", &report.placeholders);
        ListSource source;
        source.title = {
            {"^Name", " \tMaria Muster "}, {"^Schulname", ""}, {"^Neu", "ohne Element"}};
        source.records = {{{"^Titel", "Hamlet"}}, {{"^titel", "Faust"}}};
        const auto pages = ReportRun(report, FixedMetrics()).layOut(source, 1000);
        QVERIFY(pages);
        QCOMPARE(pages->size(), 1);
        const QList<PlacedBand>& bands = pages->first().bands;
        QCOMPARE(bands.size(), 4);
        // The school was set empty: its element prints nothing, not its name.
        QCOMPARE(bands[0].band.elements.size(), 1);
        QCOMPARE(lineTexts(bands[0].band.elements[0]), QStringList{"Maria Muster"});
        QCOMPARE(lineTexts(bands[1].band.elements[0]), QStringList{"^Titel"});
        QCOMPARE(lineTexts(bands[2].band.elements[0]), QStringList{"Hamlet"});
        QCOMPARE(lineTexts(bands[3].band.elements[0]), QStringList{"Faust"});
    }

    void pagination_data() {
        QTest::addColumn<QList<int>>("details");
        QTest::addColumn<QString>("pages");
        QTest::newRow("no records: title and header") << QList<int>{} << "T0 H30";
        QTest::newRow("ending right above the footer fits")
            << QList<int>{50, 59} << "T0 H30 D50 D100";
        QTest::newRow("one pixel into the footer starts a new page")
            << QList<int>{50, 60} << "T0 H30 D50 | H0 D20";
        QTest::newRow("header on every page, title once")
            << QList<int>{60, 60, 60, 60, 60} << "T0 H30 D50 | H0 D20 D80 | H0 D20 D80";
        QTest::newRow("taller than a page: on a page of its own")
            << QList<int>{300, 10} << "T0 H30 | H0 D20 | H0 D20";
    }
    void pagination() {
        QFETCH(QList<int>, details);
        QFETCH(QString, pages);
        ReportPaginator paginator(200, 41, labelled("H", 20));
        paginator.start(labelled("T", 30));
        for (int height : details)
            paginator.addDetail(labelled("D", height));
        QCOMPARE(describe(paginator.takePages()), pages);
    }

    void linesThatDoNotFitAreLeftOut_data() {
        QTest::addColumn<int>("height");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("room for three") << 42 << QStringList{"aaaaaaaaaa", "bbbbbbbbbb", "cc"};
        QTest::newRow("one pixel short of the third")
            << 41 << QStringList{"aaaaaaaaaa", "bbbbbbbbbb"};
        QTest::newRow("room for one") << 27 << QStringList{"aaaaaaaaaa"};
        QTest::newRow("no room: the element prints nothing") << 13 << QStringList{};
    }
    void linesThatDoNotFitAreLeftOut() {
        QFETCH(int, height);
        QFETCH(QStringList, lines);
        ReportBand band(u'2');
        addText(band, QRect(30, 5, 70, height), "aaaaaaaaaabbbbbbbbbbcc");
        const BandSnapshot snapshot = snapshotBand(band, FixedMetrics());
        if (lines.isEmpty()) {
            QVERIFY(snapshot.elements.isEmpty());
            return;
        }
        QCOMPARE(lineTexts(snapshot.elements.first()), lines);
        const QList<PlacedLine>& placed = snapshot.elements.first().lines;
        for (qsizetype i = 0; i < placed.size(); ++i)
            QCOMPARE(placed[i].baseline, QPointF(30, 5 + 14 * i + 11));
    }

    void alignment_data() {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QList<qreal>>("lefts");
        QTest::newRow("left") << 0 << QList<qreal>{30, 30};
        QTest::newRow("right") << 1 << QList<qreal>{30, 100 - 21};
        QTest::newRow("centred") << 2 << QList<qreal>{30, 30 + 24.5};
    }
    void alignment() {
        QFETCH(int, alignment);
        QFETCH(QList<qreal>, lefts);
        ReportBand band(u'2');
        addText(band, QRect(30, 0, 70, 40), "aaaaaaaaaa\r\nabc").alignment = alignment;
        const BandSnapshot snapshot = snapshotBand(band, FixedMetrics());
        const QList<PlacedLine>& placed = snapshot.elements.first().lines;
        QCOMPARE(placed.size(), 2);
        QCOMPARE(placed[0].baseline.x(), lefts[0]);
        QCOMPARE(placed[1].baseline.x(), lefts[1]);
    }

    void recordCountAndProgress() {
        const test::WorkingDir dir;
        copyDemo(dir, {"medien.r01", "medien.bmp", "linie.bmp"});
        TQRPrint print(nullptr);
        QVERIFY(print.LoadPrintMask("medien.r01"));
        ListSource source;
        source.records = {{{"^Sig", "A1"}}, {{"^Sig", "A2"}}, {{"^Sig", "A3"}}};
        QList<int> positions;
        int maximum = 0;
        bool visible = false;
        source.onNext = [&](int) {
            const Tprogbar* progress = print.progressDialog();
            QVERIFY(progress);
            positions.append(progress->ProgressBar1->value());
            maximum = progress->ProgressBar1->maximum();
            visible = progress->isVisible() && progress->isModal();
        };
        QVERIFY(print.printToPdf(source, dir.file("liste.pdf")));
        QCOMPARE(source.recordCount(), 4);
        QCOMPARE(source.calls, 4);
        QCOMPARE(positions, (QList<int>{1, 2, 3, 4}));
        QCOMPARE(maximum, 4);
        QVERIFY(visible);
        QVERIFY(!print.progressDialog());
        QCOMPARE(print.lastPageCount(), 1);
    }

    void cancelAbandonsTheRun() {
        const test::WorkingDir dir;
        copyDemo(dir, {"medien.r01", "medien.bmp", "linie.bmp"});
        TQRPrint print(nullptr);
        QVERIFY(print.LoadPrintMask("medien.r01"));
        ListSource source;
        source.records = QList<QList<std::pair<QString, QString>>>(50, {{"^Sig", "A1"}});
        bool requested = false;
        bool buttonEnabled = true;
        source.onNext = [&](int call) {
            if (call != 2)
                return;
            Tprogbar* progress = print.progressDialog();
            QVERIFY(progress);
            QTest::mouseClick(progress->Button1, Qt::LeftButton);
            requested = progress->CancelRequested();
            buttonEnabled = progress->Button1->isEnabled();
        };
        QVERIFY(!print.printToPdf(source, dir.file("liste.pdf")));
        QVERIFY(requested);
        QVERIFY(!buttonEnabled);
        QCOMPARE(source.calls, 2);
        QVERIFY(!QFile::exists(dir.file("liste.pdf")));
        QCOMPARE(print.lastPageCount(), 0);
    }

    // While the report is laid out only "Abbruch" takes input: a search started from the main
    // window does not run. And the report holds the list as it was at the command, even when the
    // grid changes meanwhile.
    void theReportHoldsTheListAsCommanded() {
        const test::WorkingDir dir;
        copyDemo(dir, {"orb32.dat", "medien.r01", "medien.bmp", "linie.bmp"});
        std::unique_ptr<Session> session;
        {
            const test::MessageWatch startUpMessages;
            session = startUp();
        }
        TForm1& m = session->mainWindow();
        m.print().setPrintDialog(false);
        m.print().printer().setOutputFileName(dir.file("liste.pdf"));
        QTest::mouseClick(m.SpeedButton1, Qt::LeftButton);
        const int hits = m.StringGrid1->rowCount() - 1;
        m.BitBtn3->click();
        const int pages = m.print().lastPageCount();
        QVERIFY(pages > 2);

        m.Edit1->setEditText("nichtda");
        bool progressIsModal = false;
        int hitsAfterClick = 0;
        QTimer::singleShot(0, [&] {
            progressIsModal = qobject_cast<Tprogbar*>(QApplication::activeModalWidget());
            const QPoint start = m.SpeedButton1->mapTo(&m, m.SpeedButton1->rect().center());
            QTest::mouseClick(m.windowHandle(), Qt::LeftButton, {}, start);
            hitsAfterClick = m.StringGrid1->rowCount() - 1;
            m.StringGrid1->clearRows();
        });
        m.BitBtn3->click();
        QVERIFY(progressIsModal);
        QCOMPARE(hitsAfterClick, hits);
        QCOMPARE(m.print().lastPageCount(), pages);
    }

    void runningOutOfMemoryIsNamedSo() {
        const test::WorkingDir dir;
        copyDemo(dir, {"medien.r01", "medien.bmp", "linie.bmp"});
        TQRPrint print(nullptr);
        print.setShowProgress(false);
        QVERIFY(print.LoadPrintMask("medien.r01"));
        ListSource source;
        source.records = {{{"^Sig", "A1"}}};
        source.onNext = [](int) { throw std::bad_alloc(); };
        QString message;
        try {
            print.printToPdf(source, dir.file("liste.pdf"));
        } catch (const OrbaError& e) {
            message = e.message();
        }
        QCOMPARE(message, u"Der Bericht kann nicht erstellt werden: Der Arbeitsspeicher reicht "
                          "für diese Druckmaske und Liste nicht aus."_s);
    }

    void maskLoadedOnFirstUse() {
        const test::WorkingDir dir;
        copyDemo(dir, {"medien.r01", "medien.bmp", "linie.bmp"});
        TQRPrint print(nullptr);
        print.setShowProgress(false);
        QCOMPARE(print.PrintMask(), u"medien.r01"_s);
        ListSource source;
        QVERIFY(print.printToPdf(source, dir.file("liste.pdf")));
        QVERIFY(print.loaded());
        QVERIFY(pdfText(dir.file("liste.pdf"), 1).contains("Medienliste"));
    }

    void previewOpensOnPageOne() {
        QPrinter printer(QPrinter::HighResolution);
        TPrevForm form(nullptr, &printer);
        form.setPages(QList<ReportPage>(5));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.pageCount(), 5);
        QCOMPARE(form.currentPage(), 1);
        QCOMPARE(form.prUpDown1->maximum(), 5);
        QCOMPARE(form.prUpDown1->position(), 1);
    }

    // The whole page, or its whole width, is in view without a scroll bar for that direction.
    void previewFits_data() {
        QTest::addColumn<QSize>("window");
        QTest::newRow("design size") << QSize(637, 534);
        QTest::newRow("wide and low") << QSize(1000, 400);
        QTest::newRow("narrow and high") << QSize(420, 900);
    }
    void previewFits() {
        QFETCH(QSize, window);
        QPrinter printer(QPrinter::HighResolution);
        TPrevForm form(nullptr, &printer);
        form.setPages(QList<ReportPage>(3));
        form.resize(window);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const PreviewSurface* surface = form.QRPreview1;
        auto fills = [](int page, int room) { return page <= room && page > 0.9 * room; };
        QApplication::processEvents();
        const QSize room = surface->maximumViewportSize();
        const QSize page = surface->pageSize();
        QVERIFY(fills(page.width(), room.width()) || fills(page.height(), room.height()));
        QVERIFY(page.width() <= room.width() && page.height() <= room.height());
        QVERIFY(!surface->verticalScrollBar()->isVisible());
        QVERIFY(!surface->horizontalScrollBar()->isVisible());
        QCOMPARE(form.prUpDown2->position(), form.zoom());
        const int wholePage = form.zoom();

        QTest::mouseClick(form.prButton2, Qt::LeftButton);
        QApplication::processEvents();
        QVERIFY(fills(surface->pageSize().width(), surface->viewport()->width()));
        QVERIFY(!surface->horizontalScrollBar()->isVisible());
        QCOMPARE(form.prUpDown2->position(), form.zoom());

        QTest::mouseClick(form.prButton1, Qt::LeftButton);
        QCOMPARE(form.zoom(), wholePage);
        QApplication::processEvents();
        QVERIFY(!surface->verticalScrollBar()->isVisible());
    }

    void previewPageField_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("page");
        QTest::newRow("leading number") << "3x" << 3;
        QTest::newRow("blanks and sign before the number") << " +4 Seiten" << 4;
        QTest::newRow("no number: nothing") << "abc" << 2;
        QTest::newRow("zero: nothing") << "0" << 2;
    }
    void previewPageField() {
        QFETCH(QString, typed);
        QFETCH(int, page);
        QPrinter printer(QPrinter::HighResolution);
        TPrevForm form(nullptr, &printer);
        form.setPages(QList<ReportPage>(5));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mouseClick(form.prUpDown1->upButton(), Qt::LeftButton);
        QCOMPARE(form.currentPage(), 2);
        QCOMPARE(form.qrEdit1->text(), u"2"_s);
        typeInto(form.qrEdit1, typed);
        QCOMPARE(form.currentPage(), page);
        QCOMPARE(form.prUpDown1->position(), page);
    }

    void previewZoom() {
        QPrinter printer(QPrinter::HighResolution);
        TPrevForm form(nullptr, &printer);
        form.setPages(QList<ReportPage>(1));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        typeInto(form.qrEdit2, "150%");
        QCOMPARE(form.zoom(), 150);
        QCOMPARE(form.prUpDown2->position(), 150);
        typeInto(form.qrEdit2, "abc");
        QCOMPARE(form.zoom(), 150);
        QTest::mouseClick(form.prUpDown2->upButton(), Qt::LeftButton);
        QCOMPARE(form.zoom(), 160);
        QCOMPARE(form.qrEdit2->text(), u"160"_s);
        QTest::mouseClick(form.prUpDown2->downButton(), Qt::LeftButton);
        QTest::mouseClick(form.prUpDown2->downButton(), Qt::LeftButton);
        QCOMPARE(form.zoom(), 140);
        QCOMPARE(form.qrEdit2->text(), u"140"_s);
    }

    // A new preview, a fit and a typed page leave the fields showing what is shown.
    void previewFieldsShowWhatIsShown() {
        QPrinter printer(QPrinter::HighResolution);
        TPrevForm form(nullptr, &printer);
        for (const int pages : {8, 3}) {
            form.setPages(QList<ReportPage>(pages));
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            QCOMPARE((QStringList{form.qrEdit1->text(), form.Label3->text(), form.qrEdit2->text()}),
                     (QStringList{u"1"_s, u"von %1"_s.arg(pages), QString::number(form.zoom())}));
            typeInto(form.qrEdit1, "9");
            QTest::keyClick(form.qrEdit1, Qt::Key_Return);
            QCOMPARE(form.qrEdit1->text(), QString::number(pages));
            QTest::mouseClick(form.prButton2, Qt::LeftButton);
            QCOMPARE(form.qrEdit2->text(), QString::number(form.zoom()));
            form.close();
        }
    }

    void previewPrintsThePagesShown() {
        const test::WorkingDir dir;
        copyDemo(dir, {"medien.r01", "medien.bmp", "linie.bmp"});
        TQRPrint print(nullptr);
        QVERIFY(print.LoadPrintMask("medien.r01"));
        print.setPrintDialog(false);
        print.printer().setOutputFileName(dir.file("vorschau.pdf"));
        CatalogueSource source;
        source.lines = demoCatalogue(40);
        int shownPages = 0;
        int shownPage = 0;
        test::answerNextModal([&](QWidget* modal) {
            auto* form = qobject_cast<TPrevForm*>(modal);
            if (!form) {
                modal->close();
                return;
            }
            shownPages = form->pageCount();
            shownPage = form->currentPage();
            QTest::mouseClick(form->prButton3, Qt::LeftButton);
            form->close();
        });
        print.PreviewReport(source);
        QVERIFY(shownPages > 1);
        QCOMPARE(shownPages, print.lastPageCount());
        QCOMPARE(shownPage, 1);
        QCOMPARE(source.calls, 41);
        QCOMPARE(pdfPages(dir.file("vorschau.pdf")), shownPages);
    }

    void mediaListPagesInThePdf() {
        const test::WorkingDir dir;
        copyDemo(dir, {"medien.r01", "medien.bmp", "linie.bmp"});
        TQRPrint print(nullptr);
        print.setShowProgress(false);
        QVERIFY(print.LoadPrintMask("medien.r01"));
        CatalogueSource source;
        source.lines = demoCatalogue(60);
        QVERIFY(print.printToPdf(source, dir.file("liste.pdf")));
        const int pages = pdfPages(dir.file("liste.pdf"));
        QVERIFY(pages > 2);
        QCOMPARE(pages, print.lastPageCount());
        QString all;
        for (int page = 1; page <= pages; ++page) {
            const QString text = pdfText(dir.file("liste.pdf"), page);
            QVERIFY(text.contains("Medienart"));
            QCOMPARE(text.contains("Medienliste"), page == 1);
            all += text;
        }
        for (const QByteArray& line : source.lines)
            QVERIFY2(all.contains(QString::fromLatin1(line.left(line.indexOf('|')))),
                     line.constData());
    }

    void orderEndToEnd() {
        const test::WorkingDir dir;
        copyDemo(dir, {"bestell.r02", "bestell.bmp", "linie.bmp"});
        TQRPrint print(nullptr);
        QVERIFY(print.LoadPrintMask("bestell.r02"));
        CatalogueSource source;
        source.lines = {"TH101|Der Drache|90 min", "WB202|Spiele im Kreis||||||||||Werkbuch",
                        "AV303|Schattentheater"};
        source.dates = {" 03.03.2025", "10.03.2025 ", "17.03.2025"};
        source.user = {"Maria Muster", "Realschule Lindenberg"};
        QVERIFY(print.printToPdf(source, dir.file("bestellung.pdf")));
        QCOMPARE(pdfPages(dir.file("bestellung.pdf")), 1);
        const QString text = pdfText(dir.file("bestellung.pdf"), 1);
        for (const QString& expected :
             {u"Bestellung"_s, u"Maria Muster"_s, u"Realschule Lindenberg"_s, u"Res.-Datum"_s,
              u"TH101"_s, u"Der Drache"_s, u"03.03.2025"_s, u"WB202"_s, u"Spiele im Kreis"_s,
              u"10.03.2025"_s, u"AV303"_s, u"Schattentheater"_s, u"17.03.2025"_s})
            QVERIFY2(text.contains(expected), qPrintable(expected));
    }
};

ORBA_TEST_MAIN(TestReport)
#include "tst_report.moc"
