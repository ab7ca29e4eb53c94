#include "output/TQRPrint.h"

#include "core/Guard.h"
#include "core/OrbaError.h"
#include "output/PageRenderer.h"
#include "output/PrintMask.h"
#include "output/ReportSource.h"
#include "output/Tprogbar.h"

#include <new>
#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QScopeGuard>

namespace orba {
namespace {

constexpr int designDpi = 96;
// The print dialog offers page numbers up to this.
constexpr int lastSelectablePage = 9999;

int designPageHeight(const QPrinter& printer) {
    return printer.pageRect(QPrinter::DevicePixel).height() * designDpi / printer.resolution();
}

} // namespace

TQRPrint::TQRPrint(QWidget* owner)
    : QObject(owner), m_owner(owner),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      m_preview(new TPrevForm(owner, m_printer.get())) {
    on(m_preview.data(), &TPrevForm::printRequested, this, [this] {
        if (m_previewSource)
            PrintReport(*m_previewSource);
    });
}

TQRPrint::~TQRPrint() {
    delete m_preview;
}

bool TQRPrint::LoadPrintMask(const QString& fileName) {
    if (!printmask::load(m_report, fileName, m_owner))
        return false;
    m_loaded = true;
    return true;
}

void TQRPrint::PreviewReport(ReportSource& source) {
    if (m_running)
        return;
    loadIfNothingLoaded();
    std::optional<QList<ReportPage>> pages = layOut(source, *m_printer);
    if (!pages)
        return;
    m_preview->setPages(std::move(*pages));
    m_previewSource = &source;
    const auto closed = qScopeGuard([this] {
        m_previewSource = nullptr;
        // The pages are only needed while they are shown.
        if (m_preview)
            m_preview->setPages({});
    });
    m_preview->exec();
}

void TQRPrint::PrintReport(ReportSource& source) {
    if (m_previewSource) {
        if (!m_printDialog || askPrinter())
            print(m_preview->pages(), m_printDialog);
        return;
    }
    if (m_running)
        return;
    loadIfNothingLoaded();
    if (m_printDialog && !askPrinter())
        return;
    if (const auto pages = layOut(source, *m_printer))
        print(*pages, m_printDialog);
}

bool TQRPrint::printToPdf(ReportSource& source, const QString& pdfFile) {
    if (m_running)
        return false;
    loadIfNothingLoaded();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(pdfFile);
    const auto pages = layOut(source, printer);
    if (!pages)
        return false;
    if (!printPages(printer, *pages, 0, pages->size() - 1))
        throw OrbaError::cannotCreate(pdfFile);
    return true;
}

void TQRPrint::loadIfNothingLoaded() {
    if (!m_loaded && !m_printMask.isEmpty())
        LoadPrintMask(m_printMask);
}

std::optional<QList<ReportPage>> TQRPrint::layOut(ReportSource& source, const QPrinter& printer) {
    m_running = true;
    m_lastPageCount = 0;
    const auto finished = qScopeGuard([this] {
        m_progress.reset();
        m_running = false;
    });
    if (m_showProgress) {
        m_progress = std::make_unique<Tprogbar>(m_owner);
        m_progress->setMaximum(source.recordCount());
        m_progress->show();
    }
    ReportRun::Progress progress;
    if (m_progress) {
        progress = [this](int counter) {
            m_progress->setPosition(counter);
            // The dialog is not modal: it repaints and takes "Abbruch" between records.
            QApplication::processEvents();
            return !m_progress->CancelRequested();
        };
    }
    std::optional<QList<ReportPage>> pages;
    try {
        pages = ReportRun(m_report, m_metrics).layOut(source, designPageHeight(printer), progress);
    } catch (const std::bad_alloc&) {
        throw OrbaError(QStringLiteral("Der Bericht kann nicht erstellt werden: Der "
                                       "Arbeitsspeicher reicht für diese Druckmaske und Liste "
                                       "nicht aus."));
    }
    if (pages)
        m_lastPageCount = static_cast<int>(pages->size());
    return pages;
}

bool TQRPrint::askPrinter() {
    QWidget* parent = m_previewSource ? static_cast<QWidget*>(m_preview.data()) : m_owner;
    QPrintDialog dialog(m_printer.get(), parent);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintSelection |
                      QAbstractPrintDialog::PrintPageRange);
    dialog.setMinMax(1, lastSelectablePage);
    return dialog.exec() == QDialog::Accepted;
}

void TQRPrint::print(const QList<ReportPage>& pages, bool chosenRange) {
    qsizetype first = 0;
    qsizetype last = pages.size() - 1;
    if (chosenRange && m_printer->printRange() == QPrinter::PageRange &&
        m_printer->fromPage() > 0) {
        first = m_printer->fromPage() - 1;
        last = std::min<qsizetype>(last, m_printer->toPage() - 1);
    }
    const QString file = m_printer->outputFileName();
    if (!file.isEmpty())
        m_printer->setOutputFormat(QPrinter::PdfFormat);
    if (first <= last && !printPages(*m_printer, pages, first, last) && !file.isEmpty())
        throw OrbaError::cannotCreate(file);
}

} // namespace orba
