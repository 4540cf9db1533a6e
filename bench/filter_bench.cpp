// Figures of the grid's filtering over a generated directory of 1,000,000 entries, grouped by
// company and department as the contact grid is. Each timing also reports `x_Bscan`: its ratio
// to B_scan, a memchr line count over the bytes of the generated data file held in memory,
// measured in the same run, so the figures compare across machines.
//
// Run: QT_QPA_PLATFORM=offscreen build/bench/filter_bench
#include "bench/generator/directory_generator.h"
#include "kit/dataset/data_source.h"
#include "kit/grid/filter_builder.h"
#include "kit/grid/filter_builder_dialog.h"
#include "kit/grid/filter_controller.h"
#include "kit/grid/filter_eval.h"
#include "kit/grid/grid_view.h"
#include "store/UDM1.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kEntries = 1000000;

double seconds(Clock::time_point from)
{
    return std::chrono::duration<double>(Clock::now() - from).count();
}

std::size_t countLines(const std::string &bytes)
{
    std::size_t lines = 0;
    const char *at = bytes.data();
    const char *end = at + bytes.size();
    while ((at = static_cast<const char *>(std::memchr(at, '\n', end - at)))) {
        ++lines;
        ++at;
    }
    return lines;
}

const std::string &dataFile()
{
    static const std::string bytes = dirgen::GenerateDataFile(kEntries);
    return bytes;
}

// B_scan, the best of five runs.
double scanBaseline()
{
    static const double best = [] {
        double b = 1e9;
        for (int run = 0; run < 5; ++run) {
            const auto start = Clock::now();
            benchmark::DoNotOptimize(countLines(dataFile()));
            b = std::min(b, seconds(start));
        }
        return b;
    }();
    return best;
}

// The directory on a grid configured as the contact grid, with its filter controller.
struct Directory {
    Directory()
        : table(ContactFieldDefs(), "NumScad", "RecId")
        , source(&table)
    {
        table.open();
        table.suspendNotifications();
        dirgen::FillTable(table, kEntries);
        table.resumeNotifications();
        const char *fields[] = {"ditta", "reparto", "nome",      "cellulare1", "telefono1",
                                "fax1",  "e_mail",  "provincia", "localita"};
        for (const char *field : fields) {
            kit::GridColumn c;
            c.name = QString::fromLatin1(field);
            c.caption = QString::fromLatin1(field);
            c.fieldName = QString::fromLatin1(field);
            c.groupIndex = std::strcmp(field, "ditta") == 0     ? 0
                           : std::strcmp(field, "reparto") == 0 ? 1
                                                                : -1;
            grid.addColumn(c);
        }
        grid.resize(1000, 700);
        grid.setKeyField(QStringLiteral("NumScad"));
        grid.setDataSource(&source);
        controller = new kit::GridFilterController(&grid);
        grid.show();
        QApplication::processEvents();
    }

    int column(const char *name) const { return grid.columnByName(QString::fromLatin1(name)); }

    kit::MemTable table;
    kit::DataSource source;
    kit::GridView grid;
    kit::GridFilterController *controller = nullptr;
};

// Made on first use and destroyed before the application object.
std::unique_ptr<Directory> theDirectory;

Directory &directory()
{
    if (!theDirectory)
        theDirectory = std::make_unique<Directory>();
    return *theDirectory;
}

void report(benchmark::State &state, double total, std::size_t runs)
{
    const double each = total / static_cast<double>(runs);
    state.counters["ms"] = each * 1e3;
    state.counters["x_Bscan"] = each / scanBaseline();
}

void BM_Scan(benchmark::State &state)
{
    const std::string &bytes = dataFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(countLines(bytes));
    state.counters["B_scan_ms"] = scanBaseline() * 1e3;
}

// Choosing a value in a column's drop-down, rows rebuilt and the view painted; and "(All)".
void columnFilter(benchmark::State &state, bool timeApply)
{
    Directory &d = directory();
    const int column = d.column("provincia");
    double total = 0;
    std::size_t runs = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        d.controller->choose(column, kit::FilterDropDown::Entry::Value, QStringLiteral("MI"));
        d.grid.viewport()->repaint();
        const double apply = seconds(start);
        start = Clock::now();
        d.controller->choose(column, kit::FilterDropDown::Entry::All, QString());
        d.grid.viewport()->repaint();
        const double remove = seconds(start);
        const double timed = timeApply ? apply : remove;
        state.SetIterationTime(timed);
        total += timed;
        ++runs;
    }
    report(state, total, runs);
}

// The grid's own share of removing a filter: its rows rebuilt for every record, and painted,
// after a predicate that lets one record in 24 through (about what "MI" does).
void BM_GridRebuildUnfiltered(benchmark::State &state)
{
    Directory &d = directory();
    double total = 0;
    std::size_t runs = 0;
    for (auto _ : state) {
        d.grid.setRowFilter([](std::size_t row) { return row % 24 == 0; });
        d.grid.viewport()->repaint();
        const auto start = Clock::now();
        d.grid.setRowFilter({});
        d.grid.viewport()->repaint();
        const double t = seconds(start);
        state.SetIterationTime(t);
        total += t;
        ++runs;
    }
    report(state, total, runs);
}

void BM_ApplyColumnFilter(benchmark::State &state)
{
    columnFilter(state, true);
}

void BM_RemoveColumnFilter(benchmark::State &state)
{
    columnFilter(state, false);
}

// The filter's own share of applying it: the compiled predicate run over every row (the rest
// of the figures above is the grid's rebuild of its rows).
void BM_EvaluateFilter(benchmark::State &state)
{
    Directory &d = directory();
    const int column = d.column("provincia");
    const kit::FilterEvaluator evaluator(
        d.table, kit::FilterNode::condition(column, kit::FilterOperator::Equal, {"mi"}),
        d.controller->filterColumns());
    const auto predicate = evaluator.predicate();
    double total = 0;
    std::size_t runs = 0;
    std::size_t passed = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        passed = 0;
        for (std::size_t row = 0; row < d.table.recordCount(); ++row)
            passed += predicate(row);
        const double t = seconds(start);
        state.SetIterationTime(t);
        total += t;
        ++runs;
    }
    state.counters["passed"] = static_cast<double>(passed);
    report(state, total, runs);
}

// The distinct values for a column's drop-down.
void BM_DistinctValues(benchmark::State &state, const char *field)
{
    Directory &d = directory();
    const std::vector<kit::FilterColumn> columns = d.controller->filterColumns();
    const kit::FilterColumn &column = columns.at(d.column(field));
    double total = 0;
    std::size_t runs = 0;
    std::size_t count = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const kit::ColumnValues values = kit::distinctColumnValues(d.table, column);
        const double t = seconds(start);
        count = values.rows.size();
        state.SetIterationTime(t);
        total += t;
        ++runs;
    }
    state.counters["values"] = static_cast<double>(count);
    report(state, total, runs);
}

// Opening the drop-down as the header button does: values, list model, pop-up shown.
void BM_OpenDropDown(benchmark::State &state)
{
    Directory &d = directory();
    const int column = d.column("telefono1");
    double total = 0;
    std::size_t runs = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        d.controller->openColumnDropDown(column, QRect(100, 100, 80, 20));
        d.controller->dropDown()->repaint();
        const double t = seconds(start);
        d.controller->dropDown()->hide();
        state.SetIterationTime(t);
        total += t;
        ++runs;
    }
    report(state, total, runs);
}

// One keystroke in a value of the filter builder, over the 1,000,000-entry grid.
void BM_BuilderKeystroke(benchmark::State &state)
{
    Directory &d = directory();
    kit::FilterBuilderDialog dialog(d.controller->filterColumns(), &d.grid);
    dialog.setFilter(
        kit::FilterNode::condition(d.column("nome"), kit::FilterOperator::Contains, {QString()}));
    dialog.show();
    auto *edit = dialog.builder()->rowWidget(1)->findChild<QLineEdit *>();
    double total = 0;
    std::size_t runs = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        QTest::keyClick(edit, Qt::Key_A);
        QApplication::processEvents();
        const double t = seconds(start);
        if (edit->text().size() > 40)
            edit->clear();
        state.SetIterationTime(t);
        total += t;
        ++runs;
    }
    report(state, total, runs);
}

}  // namespace

BENCHMARK(BM_Scan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ApplyColumnFilter)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_RemoveColumnFilter)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_GridRebuildUnfiltered)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_EvaluateFilter)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(BM_DistinctValues, ditta, "ditta")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_DistinctValues, provincia, "provincia")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_DistinctValues, telefono1, "telefono1")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(BM_OpenDropDown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_BuilderKeystroke)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(200);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    scanBaseline();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    theDirectory.reset();
    return 0;
}
