// The preview window of a report: shows the pages as they are generated, zooms, pages through
// them, sets up the printer, prints, saves the generated report to a file and loads one back.
// Its texts are English and not translated.
#pragma once

#include "kit/report/report_document.h"

#include <QElapsedTimer>
#include <QMainWindow>

#include <memory>

class QAction;
class QLabel;
class QPrinter;
class QScrollArea;
class QTimer;

namespace kit {

class PageRenderer;
class Report;
class ReportGenerator;
class PreviewPageView;

class ReportPreview : public QMainWindow {
    Q_OBJECT
public:
    enum class Zoom { WholePage, Actual, PageWidth };

    // The report must outlive the window.
    explicit ReportPreview(Report &report, QWidget *parent = nullptr);
    ~ReportPreview() override;

    // Generates the first page at once and the rest in slices from the event loop. Throws what
    // the generator throws (a field name that matches no field).
    void start();
    bool isGenerating() const noexcept { return generator_ != nullptr; }
    // How long one slice of generation may hold the event loop (15 ms unless set); at least
    // one page or 256 records are generated per slice whatever the time.
    void setSliceMilliseconds(int milliseconds) noexcept { sliceMilliseconds_ = milliseconds; }
    int progress() const noexcept { return progress_; }

    const ReportDocument &document() const noexcept;
    int pageCount() const noexcept;
    int currentPage() const noexcept { return page_; }  // 1-based; 0 while there is none
    void showPage(int page);
    void firstPage() { showPage(1); }
    void previousPage() { showPage(page_ - 1); }
    void nextPage() { showPage(page_ + 1); }
    void lastPage() { showPage(pageCount()); }

    void setZoom(Zoom zoom);
    Zoom zoom() const noexcept { return zoom_; }
    qreal pixelsPerMillimetre() const noexcept { return scale_; }

    // Created on first use with the report's paper, one copy and all pages.
    QPrinter &printer();
    // The desktop's print dialog on printer(), its page range limited to the generated pages.
    bool printerSetup();
    // Prints with printer()'s settings, generating the report again from the table as it is now
    // (a loaded report prints its own pages). False when cancelled; throws ReportPrintError.
    bool print();
    void saveReport(const QString &path) const;
    // Shows a saved report instead of the generated one. Throws ReportFileError or FileError and
    // leaves the window as it was when the file is not a saved report.
    void loadReport(const QString &path);

signals:
    void closed();
    void generationFinished();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildToolBar();
    void buildShortcuts();
    void generateSlice();
    void finishGeneration();
    void setDocument(std::unique_ptr<ReportDocument> doc);
    void updateView();
    void updateStatus();
    void applyZoom();
    void reportError(const QString &action, const std::exception &error);
    void onPrinterSetup();
    void onPrint();
    void onSave();
    void onLoad();

    Report &report_;
    std::unique_ptr<ReportGenerator> generator_;
    std::unique_ptr<ReportDocument> doc_;  // once generation has finished or a file was loaded
    std::unique_ptr<PageRenderer> renderer_;
    std::unique_ptr<QPrinter> printer_;
    bool loaded_ = false;
    int page_ = 0;
    int progress_ = 0;
    int sliceMilliseconds_ = 15;
    Zoom zoom_ = Zoom::PageWidth;
    qreal scale_ = 1;

    QTimer *sliceTimer_;
    QScrollArea *scrollArea_;
    PreviewPageView *pageView_;
    QLabel *progressLabel_;
    QLabel *pageLabel_;
    QAction *first_, *previous_, *next_, *last_;
    QAction *setup_, *print_, *save_, *load_;
};

// Shows the report's preview window maximised and waits, dispatching events, until the window
// has been closed or the application is quitting.
void PreviewReport(Report &report);

}  // namespace kit
