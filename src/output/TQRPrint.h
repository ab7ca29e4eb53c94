#pragma once

#include "output/FontTextMetrics.h"
#include "output/ReportRun.h"
#include "output/TPrevForm.h"
#include "output/Tprint.h"

#include <memory>
#include <QObject>
#include <QPointer>

class QPrinter;
class QWidget;

namespace orba {

class ReportSource;
class Tprogbar;

// The print component: loads print masks into the report, lays the report out from a data
// source and shows it in the preview, prints it or writes it to a PDF file.
class TQRPrint : public QObject {
    Q_OBJECT
public:
    // `owner` parents the preview, the progress dialog and the message boxes.
    explicit TQRPrint(QWidget* owner);
    ~TQRPrint() override;

    // Loads the mask into the report's bands (see printmask::load); true when it was loaded.
    // Throws OrbaError on a broken mask; the loaded mark is then left as it was.
    bool LoadPrintMask(const QString& fileName);
    // Lays the report out and shows the preview modally; returns when the preview closes.
    void PreviewReport(ReportSource& source);
    // Prints the report: the preview's pages while the preview is open, else laid out anew. With
    // PrintDialog on, the system print dialog comes first; cancelling it prints nothing.
    void PrintReport(ReportSource& source);
    // Lays the report out for A4 and writes it to `pdfFile` without any dialog but the progress.
    // False when the run was abandoned (no file is written); throws when the file cannot be made.
    bool printToPdf(ReportSource& source, const QString& pdfFile);

    // The mask a print or preview loads when no mask was ever loaded.
    const QString& PrintMask() const { return m_printMask; }
    void setPrintMask(const QString& fileName) { m_printMask = fileName; }
    bool ShowProgress() const { return m_showProgress; }
    void setShowProgress(bool show) { m_showProgress = show; }
    bool PrintDialog() const { return m_printDialog; }
    void setPrintDialog(bool show) { m_printDialog = show; }
    bool loaded() const { return m_loaded; }

    // The bands and placeholders, for rendering a band as text.
    Tprint& report() { return m_report; }
    // Pages of the last report laid out (0 before the first, and after an abandoned run).
    int lastPageCount() const { return m_lastPageCount; }
    TPrevForm* preview() const { return m_preview; }
    // The printer that previews and prints use: its page decides the layout.
    QPrinter& printer() const { return *m_printer; }
    // The progress dialog while a report is laid out, null otherwise.
    Tprogbar* progressDialog() const { return m_progress.get(); }

private:
    void loadIfNothingLoaded();
    std::optional<QList<ReportPage>> layOut(ReportSource& source, const QPrinter& printer);
    bool askPrinter();
    void print(const QList<ReportPage>& pages, bool chosenRange);

    QWidget* m_owner;
    QString m_printMask = QStringLiteral("medien.r01");
    bool m_showProgress = true;
    bool m_printDialog = true;
    bool m_loaded = false;
    bool m_running = false;
    int m_lastPageCount = 0;

    Tprint m_report;
    FontTextMetrics m_metrics;
    std::unique_ptr<QPrinter> m_printer;
    QPointer<TPrevForm> m_preview;
    ReportSource* m_previewSource = nullptr;
    std::unique_ptr<Tprogbar> m_progress;
};

} // namespace orba
