#include "kit/report/report_preview.h"

#include "kit/report/page_renderer.h"
#include "kit/report/report.h"
#include "kit/report/report_generator.h"
#include "kit/report/report_printing.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

namespace kit {

namespace {

// Grey border around the page, in pixels.
constexpr int kGap = 12;
const QString kFileFilter = QStringLiteral("Saved reports (*.krp);;All files (*)");

}  // namespace

// Paints the current page at the window's zoom.
class PreviewPageView : public QWidget {
public:
    explicit PreviewPageView(QWidget *parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("pageView"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void setPage(const PageRenderer *renderer, const PageSetup &setup, int page, qreal scale)
    {
        renderer_ = renderer;
        page_ = page;
        scale_ = scale;
        paper_ = QSizeF(setup.paperWidth / 100.0, setup.paperHeight / 100.0) * scale;
        setFixedSize(paper_.toSize() + QSize(2 * kGap, 2 * kGap));
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Dark));
        const QRectF paper(QPointF(kGap, kGap), paper_);
        painter.fillRect(paper.translated(3, 3), Qt::black);
        painter.fillRect(paper, Qt::white);
        if (!renderer_ || page_ < 1)
            return;
        painter.setClipRect(paper);
        painter.translate(paper.topLeft());
        painter.scale(scale_ / 1000.0, scale_ / 1000.0);
        renderer_->paint(painter, static_cast<std::size_t>(page_ - 1));
    }

private:
    const PageRenderer *renderer_ = nullptr;
    int page_ = 0;
    qreal scale_ = 1;
    QSizeF paper_;
};

ReportPreview::ReportPreview(Report &report, QWidget *parent)
    : QMainWindow(parent)
    , report_(report)
    , sliceTimer_(new QTimer(this))
    , scrollArea_(new QScrollArea(this))
    , pageView_(new PreviewPageView(scrollArea_))
    , progressLabel_(new QLabel(this))
    , pageLabel_(new QLabel(this))
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(report.title());
    setAttribute(Qt::WA_DeleteOnClose, false);

    scrollArea_->setObjectName(QStringLiteral("pageArea"));
    scrollArea_->setWidget(pageView_);
    scrollArea_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scrollArea_->setBackgroundRole(QPalette::Dark);
    setCentralWidget(scrollArea_);

    progressLabel_->setObjectName(QStringLiteral("progressLabel"));
    pageLabel_->setObjectName(QStringLiteral("pageLabel"));
    statusBar()->addWidget(progressLabel_);
    statusBar()->addWidget(pageLabel_, 1);

    buildToolBar();
    buildShortcuts();

    sliceTimer_->setInterval(0);
    connect(sliceTimer_, &QTimer::timeout, this, &ReportPreview::generateSlice);
    updateStatus();
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::buildToolBar()
{
    QToolBar *bar = addToolBar(QStringLiteral("Preview"));
    bar->setObjectName(QStringLiteral("previewToolBar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto add = [&](const char *name, const QString &text, const QString &hint, auto slot) {
        QAction *action = bar->addAction(text);
        action->setObjectName(QLatin1String(name));
        action->setToolTip(hint);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add("zoomFit", QStringLiteral("Whole page"), QStringLiteral("Zoom to fit"),
        [this] { setZoom(Zoom::WholePage); });
    add("zoom100", QStringLiteral("100 %"), QStringLiteral("100 %"),
        [this] { setZoom(Zoom::Actual); });
    add("zoomWidth", QStringLiteral("Page width"), QStringLiteral("Zoom to width"),
        [this] { setZoom(Zoom::PageWidth); });
    bar->addSeparator();
    first_ = add("firstPage", QStringLiteral("|<"), QStringLiteral("First page"),
                 [this] { firstPage(); });
    previous_ = add("previousPage", QStringLiteral("<"), QStringLiteral("Previous page"),
                    [this] { previousPage(); });
    next_ =
        add("nextPage", QStringLiteral(">"), QStringLiteral("Next page"), [this] { nextPage(); });
    last_ =
        add("lastPage", QStringLiteral(">|"), QStringLiteral("Last page"), [this] { lastPage(); });
    bar->addSeparator();
    setup_ = add("printerSetup", QStringLiteral("Setup..."), QStringLiteral("Printer setup"),
                 &ReportPreview::onPrinterSetup);
    print_ =
        add("print", QStringLiteral("Print"), QStringLiteral("Print"), &ReportPreview::onPrint);
    bar->addSeparator();
    save_ = add("saveReport", QStringLiteral("Save..."), QStringLiteral("Save Report"),
                &ReportPreview::onSave);
    load_ = add("loadReport", QStringLiteral("Load..."), QStringLiteral("Load Report"),
                &ReportPreview::onLoad);
    bar->addSeparator();
    auto *close = new QPushButton(QStringLiteral("&Close"), bar);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    bar->addWidget(close);
}

void ReportPreview::buildShortcuts()
{
    auto bind = [this](QKeyCombination key, auto slot) {
        auto *shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, this, slot);
    };
    bind(QKeyCombination(Qt::Key_PageUp), [this] { previousPage(); });
    bind(QKeyCombination(Qt::Key_PageDown), [this] { nextPage(); });
    bind(QKeyCombination(Qt::Key_Home), [this] { firstPage(); });
    bind(QKeyCombination(Qt::Key_End), [this] { lastPage(); });
    bind(QKeyCombination(Qt::ControlModifier, Qt::Key_PageUp), [this] { firstPage(); });
    bind(QKeyCombination(Qt::ControlModifier, Qt::Key_PageDown), [this] { lastPage(); });
    bind(QKeyCombination(Qt::Key_Escape), [this] { close(); });
}

const ReportDocument &ReportPreview::document() const noexcept
{
    static const ReportDocument empty;
    if (doc_)
        return *doc_;
    return generator_ ? generator_->document() : empty;
}

int ReportPreview::pageCount() const noexcept
{
    return static_cast<int>(document().pages.size());
}

void ReportPreview::start()
{
    sliceTimer_->stop();
    generator_ = std::make_unique<ReportGenerator>(report_);
    doc_.reset();
    loaded_ = false;
    renderer_ = std::make_unique<PageRenderer>(generator_->document());
    // The first page at once, so the window opens on it; a short report is done in this slice.
    QElapsedTimer clock;
    clock.start();
    while (!generator_->finished() && generator_->completedPages() == 0)
        generator_->step(1);
    while (!generator_->step(256) && clock.elapsed() < sliceMilliseconds_) {
    }
    progress_ = generator_->progress();
    page_ = 1;
    if (generator_->finished())
        finishGeneration();
    else
        sliceTimer_->start();
    updateView();
}

void ReportPreview::generateSlice()
{
    if (!generator_)
        return;
    QElapsedTimer clock;
    clock.start();
    const std::size_t pagesBefore = generator_->document().pages.size();
    while (!generator_->step(256) && clock.elapsed() < sliceMilliseconds_) {
    }
    progress_ = generator_->progress();
    if (generator_->finished()) {
        finishGeneration();
        updateView();
        return;
    }
    // The page being filled grows on screen; others change only in the status bar.
    if (page_ >= static_cast<int>(pagesBefore))
        pageView_->update();
    updateStatus();
}

void ReportPreview::finishGeneration()
{
    sliceTimer_->stop();
    setDocument(std::make_unique<ReportDocument>(generator_->takeDocument()));
    generator_.reset();
    progress_ = 100;
    emit generationFinished();
}

void ReportPreview::setDocument(std::unique_ptr<ReportDocument> doc)
{
    renderer_.reset();
    doc_ = std::move(doc);
    renderer_ = std::make_unique<PageRenderer>(*doc_);
    page_ = std::clamp(page_, doc_->pages.empty() ? 0 : 1, pageCount());
}

void ReportPreview::showPage(int page)
{
    const int clamped = std::clamp(page, pageCount() > 0 ? 1 : 0, pageCount());
    if (clamped == page_)
        return;
    page_ = clamped;
    updateView();
    scrollArea_->verticalScrollBar()->setValue(0);
}

void ReportPreview::setZoom(Zoom zoom)
{
    zoom_ = zoom;
    updateView();
}

void ReportPreview::applyZoom()
{
    const PageSetup &setup = document().setup;
    const qreal paperWidth = std::max(1, setup.paperWidth) / 100.0;
    const qreal paperHeight = std::max(1, setup.paperHeight) / 100.0;
    const QSize room = scrollArea_->maximumViewportSize() - QSize(2 * kGap, 2 * kGap);
    switch (zoom_) {
    case Zoom::WholePage:
        scale_ = std::min(room.width() / paperWidth, room.height() / paperHeight);
        break;
    case Zoom::Actual:
        scale_ = logicalDpiX() / 25.4;
        break;
    case Zoom::PageWidth:
        // Leave room for the vertical scroll bar that the taller page brings.
        scale_ = (room.width() - scrollArea_->verticalScrollBar()->sizeHint().width()) / paperWidth;
        break;
    }
    scale_ = std::max<qreal>(scale_, 0.1);
}

void ReportPreview::updateView()
{
    applyZoom();
    pageView_->setPage(renderer_.get(), document().setup, page_, scale_);
    updateStatus();
}

void ReportPreview::updateStatus()
{
    const int count = pageCount();
    progressLabel_->setText(QStringLiteral("%1%").arg(progress_));
    pageLabel_->setText(QStringLiteral("Page %1 of %2").arg(page_).arg(count));
    first_->setEnabled(page_ > 1);
    previous_->setEnabled(page_ > 1);
    next_->setEnabled(page_ < count);
    last_->setEnabled(page_ < count);
    const bool ready = !isGenerating();
    setup_->setEnabled(ready);
    print_->setEnabled(ready);
    save_->setEnabled(ready && doc_ != nullptr);
    load_->setEnabled(ready);
}

QPrinter &ReportPreview::printer()
{
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        setUpPrinter(*printer_, report_.title(), report_.pageSetup());
        printer_->setCopyCount(1);
        printer_->setDuplex(QPrinter::DuplexNone);
        printer_->setPaperSource(QPrinter::Auto);
        printer_->setPrintRange(QPrinter::AllPages);
    }
    return *printer_;
}

bool ReportPreview::printerSetup()
{
    QPrintDialog dialog(&printer(), this);
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintToFile |
                      QAbstractPrintDialog::PrintCollateCopies);
    dialog.setMinMax(1, std::max(1, pageCount()));
    // The dialog only sets the printer up; printing is the Print command's.
    if (auto *buttons = dialog.findChild<QDialogButtonBox *>())
        if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    return dialog.exec() == QDialog::Accepted;
}

bool ReportPreview::print()
{
    QProgressDialog progress(QStringLiteral("Printing..."), QStringLiteral("Cancel"), 0, 0, this);
    progress.setObjectName(QStringLiteral("printProgress"));
    progress.setWindowTitle(report_.title());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    const PrintProgress step = [&progress](int printed, int total) {
        if (total > 0) {
            progress.setMaximum(total);
            progress.setValue(printed);
            progress.setLabelText(
                QStringLiteral("Printing page %1 of %2").arg(printed + 1).arg(total));
        }
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    };
    if (loaded_ && doc_)
        return printDocument(printer(), *doc_, step);
    return printReport(printer(), report_, step);
}

void ReportPreview::saveReport(const QString &path) const
{
    document().saveToFile(path);
}

void ReportPreview::loadReport(const QString &path)
{
    auto doc = std::make_unique<ReportDocument>(ReportDocument::loadFromFile(path));
    sliceTimer_->stop();
    generator_.reset();
    progress_ = 100;
    loaded_ = true;
    page_ = 1;
    setDocument(std::move(doc));
    setWindowTitle(doc_->title);
    updateView();
}

void ReportPreview::reportError(const QString &action, const std::exception &error)
{
    QMessageBox::warning(this, windowTitle(),
                         QStringLiteral("%1: %2").arg(action, QString::fromUtf8(error.what())));
}

void ReportPreview::onPrinterSetup()
{
    try {
        printerSetup();
    } catch (const std::exception &error) {
        reportError(QStringLiteral("Printer setup"), error);
    }
}

void ReportPreview::onPrint()
{
    try {
        print();
    } catch (const std::exception &error) {
        reportError(QStringLiteral("Print"), error);
    }
}

void ReportPreview::onSave()
{
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Save Report"), {}, kFileFilter);
    if (path.isEmpty())
        return;
    try {
        saveReport(path);
    } catch (const std::exception &error) {
        reportError(QStringLiteral("Save Report"), error);
    }
}

void ReportPreview::onLoad()
{
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Load Report"), {}, kFileFilter);
    if (path.isEmpty())
        return;
    try {
        loadReport(path);
    } catch (const std::exception &error) {
        reportError(QStringLiteral("Load Report"), error);
    }
}

void ReportPreview::closeEvent(QCloseEvent *event)
{
    sliceTimer_->stop();
    QMainWindow::closeEvent(event);
    emit closed();
}

void ReportPreview::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (zoom_ != Zoom::Actual)
        updateView();
}

void PreviewReport(Report &report)
{
    ReportPreview preview(report);
    QEventLoop loop;
    QObject::connect(&preview, &ReportPreview::closed, &loop, &QEventLoop::quit);
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &loop,
                     &QEventLoop::quit);
    preview.start();
    preview.showMaximized();
    // Returns at once when the application is already quitting.
    loop.exec();
}

}  // namespace kit
