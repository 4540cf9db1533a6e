// Figures of the grouping grid over generated directories, grouped by company and department.
// Each timing also reports `x_Bsort`: its ratio to B_sort(N), a std::sort of N random 64-bit
// integers measured in the same run, so the figures compare across machines.
//
// Run: QT_QPA_PLATFORM=offscreen build/bench/grid_bench
#include "bench/generator/directory_generator.h"
#include "kit/dataset/data_source.h"
#include "kit/grid/grid_view.h"
#include "kit/grid/group_model.h"
#include "store/UDM1.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <random>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from)
{
    return std::chrono::duration<double>(Clock::now() - from).count();
}

// B_sort(N), the best of three runs.
double sortBaseline(std::size_t n)
{
    static std::map<std::size_t, double> cache;
    if (auto it = cache.find(n); it != cache.end())
        return it->second;
    std::mt19937_64 random(42);
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        std::vector<std::uint64_t> values(n);
        for (auto &v : values)
            v = random();
        const auto start = Clock::now();
        std::sort(values.begin(), values.end());
        best = std::min(best, seconds(start));
        benchmark::DoNotOptimize(values.data());
    }
    return cache[n] = best;
}

// One generated directory per size, kept for the whole run.
struct Directory {
    explicit Directory(std::size_t n)
        : table(ContactFieldDefs(), "NumScad", "RecId")
        , source(&table)
    {
        table.open();
        table.suspendNotifications();
        dirgen::FillTable(table, n);
        table.resumeNotifications();
        table.first();
    }
    kit::MemTable table;
    kit::DataSource source;
};

Directory &directory(std::size_t n)
{
    static std::map<std::size_t, std::unique_ptr<Directory>> cache;
    auto &d = cache[n];
    if (!d)
        d = std::make_unique<Directory>(n);
    return *d;
}

enum Columns { Ditta, Reparto, Nome, Localita };

std::unique_ptr<kit::GroupModel> groupedModel(Directory &dir)
{
    auto model = std::make_unique<kit::GroupModel>();
    model->setColumns({{QStringLiteral("Ditta"), QStringLiteral("ditta")},
                       {QStringLiteral("Reparto"), QStringLiteral("reparto")},
                       {QStringLiteral("NOMINATIVO"), QStringLiteral("nome")},
                       {QStringLiteral("Localita"), QStringLiteral("localita")}});
    model->setKeyField(QStringLiteral("NumScad"));
    model->setDataSource(&dir.source);
    model->setGrouping({{Ditta, false}, {Reparto, false}});
    return model;
}

void reportRatio(benchmark::State &state, double total, std::size_t n)
{
    const double each = total / double(state.iterations());
    state.counters["ms"] = each * 1e3;
    state.counters["x_Bsort"] = each / sortBaseline(n);
    state.counters["Bsort_ms"] = sortBaseline(n) * 1e3;
}

void BM_Bsort(benchmark::State &state)
{
    const auto n = std::size_t(state.range(0));
    std::mt19937_64 random(7);
    std::vector<std::uint64_t> values(n);
    for (auto _ : state) {
        state.PauseTiming();
        for (auto &v : values)
            v = random();
        state.ResumeTiming();
        std::sort(values.begin(), values.end());
        benchmark::DoNotOptimize(values.data());
    }
}

// Filter (none) -> ranks -> stable sorts -> group nodes -> display rows, from the table.
void BM_BuildRows(benchmark::State &state)
{
    const auto n = std::size_t(state.range(0));
    Directory &dir = directory(n);
    auto model = groupedModel(dir);
    double total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        model->rebuild();
        total += seconds(start);
    }
    reportRatio(state, total, n);
    state.counters["groups"] = double(model->groups().size());
}

// A new sort by the name column (ascending, then descending), within the groups.
void BM_Resort(benchmark::State &state)
{
    const auto n = std::size_t(state.range(0));
    Directory &dir = directory(n);
    auto model = groupedModel(dir);
    bool descending = false;
    double total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        model->setSorting({{Nome, descending}});
        total += seconds(start);
        descending = !descending;
    }
    reportRatio(state, total, n);
}

// Deleting one entry from the table with every group open: the table's own removal plus the
// grid catching up (its groups shrink; no new sort).
void BM_DeleteOne(benchmark::State &state)
{
    const auto n = std::size_t(state.range(0));
    Directory dir(n);
    auto model = groupedModel(dir);
    model->setAllExpanded(true);
    std::mt19937 random(3);
    double total = 0;
    for (auto _ : state) {
        dir.table.moveTo(random() % dir.table.recordCount());
        const auto start = Clock::now();
        dir.table.deleteCurrent();
        total += seconds(start);
    }
    reportRatio(state, total, n);
}

void BM_ExpandAll(benchmark::State &state)
{
    const auto n = std::size_t(state.range(0));
    Directory &dir = directory(n);
    auto model = groupedModel(dir);
    double total = 0;
    for (auto _ : state) {
        model->setAllExpanded(false);
        const auto start = Clock::now();
        model->setAllExpanded(true);
        total += seconds(start);
    }
    reportRatio(state, total, n);
    state.counters["display_rows"] = double(model->displayRowCount());
}

// Focusing a row of the widget makes its record current (key look-up in the table).
void BM_FocusRow(benchmark::State &state)
{
    const auto n = std::size_t(state.range(0));
    Directory &dir = directory(n);
    kit::GridView view;
    const char *fields[] = {"ditta", "reparto", "nome", "NumScad"};
    for (int i = 0; i < 4; ++i) {
        kit::GridColumn c;
        c.fieldName = QLatin1String(fields[i]);
        c.caption = c.fieldName;
        c.groupIndex = i < 2 ? i : -1;
        c.visible = i < 3;
        view.addColumn(c);
    }
    view.setKeyField(QStringLiteral("NumScad"));
    view.setDataSource(&dir.source);
    view.expandAll();
    std::mt19937 random(5);
    const std::size_t rows = view.displayRowCount();
    for (auto _ : state)
        view.setFocusedRow(random() % rows);
    benchmark::DoNotOptimize(dir.table.currentRow());
}

// Bytes of the grid's own structures per row, every group open.
void BM_MemoryPerRow(benchmark::State &state)
{
    const auto n = std::size_t(state.range(0));
    Directory &dir = directory(n);
    auto model = groupedModel(dir);
    model->setAllExpanded(true);
    for (auto _ : state)
        benchmark::DoNotOptimize(model->memoryUsage());
    state.counters["bytes_per_row"] = double(model->memoryUsage()) / double(n);
}

}  // namespace

BENCHMARK(BM_Bsort)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildRows)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Resort)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteOne)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_ExpandAll)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FocusRow)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemoryPerRow)->Arg(100000)->Arg(1000000)->Iterations(1);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
