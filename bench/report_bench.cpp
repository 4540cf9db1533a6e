// The directory report on generated directories, against baselines measured in the same run:
// B_scan reads the printed fields of every record into one buffer (the copying that generation
// cannot avoid); B_blank_pdf writes the same number of pages to a PDF with one line of text each.
// document_MB counts what the pages hold; process_peak_MB is the whole process with its table.
// Run without a display: QT_QPA_PLATFORM defaults to offscreen.
#include "bench/generator/directory_generator.h"
#include "kit/report/page_renderer.h"
#include "kit/report/report.h"
#include "kit/report/report_generator.h"
#include "kit/report/report_printing.h"
#include "report/UFQRSTSCAD.h"
#include "store/UDM1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdlib>
#include <memory>

namespace {

// One generated directory per size, kept for the whole run.
kit::MemTable &directory(std::size_t entries)
{
    static std::map<std::size_t, std::unique_ptr<kit::MemTable>> tables;
    auto &table = tables[entries];
    if (!table) {
        table = std::make_unique<kit::MemTable>(ContactFieldDefs(), "NumScad", "RecId");
        table->open();
        table->suspendNotifications();
        dirgen::FillTable(*table, entries, 1);
        table->resumeNotifications();
    }
    return *table;
}

TFFQRSTSCAD &form()
{
    static TFFQRSTSCAD instance;
    return instance;
}

long peakResidentKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

std::size_t documentBytes(const kit::ReportDocument &doc)
{
    std::size_t bytes = doc.pages.capacity() * sizeof(kit::ReportPage);
    for (const kit::ReportPage &page : doc.pages) {
        bytes += page.placements().capacity() * sizeof(kit::BandPlacement);
        std::size_t text = 0;
        for (std::size_t i = 0; i < page.textCount(); ++i)
            text += page.text(i).size();
        bytes += text + page.textCount() * sizeof(std::uint32_t);
    }
    return bytes;
}

void B_generate(benchmark::State &state)
{
    kit::MemTable &table = directory(static_cast<std::size_t>(state.range(0)));
    form().QRSTScad->setTable(&table);
    std::size_t pages = 0, bytes = 0;
    for (auto _ : state) {
        kit::ReportGenerator generator(*form().QRSTScad);
        generator.run();
        pages = generator.document().pages.size();
        bytes = documentBytes(generator.document());
        benchmark::DoNotOptimize(generator.document());
    }
    state.counters["pages"] = static_cast<double>(pages);
    state.counters["document_MB"] = bytes / 1e6;
    state.counters["process_peak_MB"] = peakResidentKilobytes() / 1e3;
}

void B_scan(benchmark::State &state)
{
    kit::MemTable &table = directory(static_cast<std::size_t>(state.range(0)));
    std::vector<int> fields;
    for (const char *name : {"nome", "telefono1", "fax1", "cellulare1", "telefono2", "fax2",
                             "cellulare2", "e_mail", "ditta", "reparto"})
        fields.push_back(table.fieldByName(name).index());
    for (auto _ : state) {
        std::string buffer;
        for (std::size_t row = 0; row < table.recordCount(); ++row)
            for (int field : fields)
                buffer.append(table.value(row, field));
        benchmark::DoNotOptimize(buffer.data());
    }
}

// From the command to the first paint of the first page, through ShowReportPreview on DM1.
class FirstPaint : public QObject {
public:
    QElapsedTimer clock;
    qint64 nanoseconds = -1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && nanoseconds < 0 &&
            watched->objectName() == QLatin1String("pageView")) {
            nanoseconds = clock.nsecsElapsed();
            QWidget *window = static_cast<QWidget *>(watched)->window();
            QTimer::singleShot(0, window, [window] { window->close(); });
        }
        return false;
    }
};

void B_first_page_shown(benchmark::State &state)
{
    QTemporaryDir dir;
    TDM1 dm(dir.filePath(QStringLiteral("Velistra")).toStdString(), [](const std::string &) {});
    DM1 = &dm;
    dm.ScadData.suspendNotifications();
    dirgen::FillTable(dm.ScadData, static_cast<std::size_t>(state.range(0)), 1);
    dm.ScadData.resumeNotifications();
    FirstPaint probe;
    qApp->installEventFilter(&probe);
    for (auto _ : state) {
        probe.nanoseconds = -1;
        probe.clock.start();
        form().ShowReportPreview();
        state.SetIterationTime(probe.nanoseconds / 1e9);
    }
    qApp->removeEventFilter(&probe);
    DM1 = nullptr;
}

void printTo(QPrinter &printer, const QString &path)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
}

void B_print_pdf(benchmark::State &state)
{
    kit::MemTable &table = directory(static_cast<std::size_t>(state.range(0)));
    form().QRSTScad->setTable(&table);
    QTemporaryDir dir;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printTo(printer, dir.filePath(QStringLiteral("rubrica.pdf")));
        benchmark::DoNotOptimize(kit::printReport(printer, *form().QRSTScad));
    }
}

void B_blank_pdf(benchmark::State &state)
{
    QTemporaryDir dir;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printTo(printer, dir.filePath(QStringLiteral("blank.pdf")));
        QPainter painter(&printer);
        painter.setFont(QFont(QStringLiteral("Courier New"), 9));
        for (int page = 0; page < state.range(0); ++page) {
            if (page > 0)
                printer.newPage();
            painter.drawText(100, 100, QStringLiteral("Page %1").arg(page + 1));
        }
    }
}

// One page painted at the preview's page-width zoom of a 1280-pixel-wide window.
void B_paint_page(benchmark::State &state)
{
    kit::MemTable &table = directory(1000);
    form().QRSTScad->setTable(&table);
    kit::ReportGenerator generator(*form().QRSTScad);
    generator.run();
    const kit::PageRenderer renderer(generator.document());
    QImage image(1240, 1754, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.scale(1240 / 210.0 / 1000, 1240 / 210.0 / 1000);
        renderer.paint(painter, 1);
    }
}

}  // namespace

BENCHMARK(B_generate)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(B_scan)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(B_first_page_shown)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(B_blank_pdf)->Arg(56)->Unit(benchmark::kMillisecond);
BENCHMARK(B_print_pdf)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(B_paint_page)->Unit(benchmark::kMillisecond);

QtMessageHandler standardHandler = nullptr;

// The offscreen platform warns on every maximised window; that says nothing about the report.
void quietOffscreenWarnings(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (!text.contains(QLatin1String("propagateSizeHints")))
        standardHandler(type, context, text);
}

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    standardHandler = qInstallMessageHandler(quietOffscreenWarnings);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
