#pragma once

#include "output/ReportPage.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;

namespace orba {

class PreviewSurface;
class UpDown;

// The print preview: the laid-out pages on a zoomable surface, a page and a zoom field each with
// its spin buttons, the two fits and "Drucken".
class TPrevForm : public QDialog {
    Q_OBJECT
public:
    // The surface draws on `printer`'s page; the pages must be laid out for it.
    TPrevForm(QWidget* parent, QPrinter* printer);
    ~TPrevForm() override;

    // The pages to show; the surface is rebuilt from them.
    void setPages(QList<ReportPage> pages);
    const QList<ReportPage>& pages() const;
    int pageCount() const;
    int currentPage() const;
    // The surface's zoom in percent of the page's natural size on the screen.
    int zoom() const;

    QLabel* Label1;
    QLineEdit* qrEdit1;
    UpDown* prUpDown1;
    QLabel* Label3;
    QLabel* Label2;
    QLineEdit* qrEdit2;
    UpDown* prUpDown2;
    QPushButton* prButton1;
    QPushButton* prButton2;
    QPushButton* prButton3;
    PreviewSurface* QRPreview1;

signals:
    // "Drucken": print the pages shown.
    void printRequested();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void prButton1Click();
    void prButton2Click();
    void prUpDown1Click();
    void prUpDown2Click();
    void qrEdit1KeyUp();
    void qrEdit2KeyUp();

    void showPage(int page);
    void setZoom(int percent);
    // The fields show the page and zoom shown, whatever was typed into them.
    void showState();

    QPrinter* m_printer;
};

} // namespace orba
