// The HTML export of a generated directory (100,000 entries by default, or
// VELISTRA_BENCH_ENTRIES) shown in a grid with the contact columns, grouped by company and
// department, every group open. Against the baselines of the same page size on the same
// machine: B_write (one write(2) of a buffer of that size into a fresh file) and B_write_fsync
// (the same, flushed to disk, which the safe write of the export also does).
#include "bench/generator/directory_generator.h"
#include "kit/dataset/data_source.h"
#include "kit/dataset/mem_table.h"
#include "kit/grid/grid_view.h"
#include "kit/grid/html_export.h"
#include "store/UDM1.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>

#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

std::size_t entries()
{
    const char *env = std::getenv("VELISTRA_BENCH_ENTRIES");
    return env ? std::strtoull(env, nullptr, 10) : 100000;
}

struct ContactGrid {
    kit::MemTable table{ContactFieldDefs(), "NumScad", "RecId"};
    kit::DataSource source{&table};
    kit::GridView grid;

    ContactGrid()
    {
        table.open();
        dirgen::FillTable(table, entries());
        grid.resize(1200, 800);
        grid.setDataSource(&source);
        grid.setKeyField("NumScad");
        struct Design {
            const char *field, *caption;
            int width, group;
        };
        const Design designs[] = {
            {"ditta", "Ditta", 223, 0},          {"reparto", "Reparto", 228, 1},
            {"nome", "NOMINATIVO", 197, -1},     {"cellulare1", "Cell. 1", 100, -1},
            {"telefono1", "Tel. 1", 100, -1},    {"fax1", "Fax 1", 100, -1},
            {"e_mail", "e-mail", 268, -1},       {"provincia", "PR", 41, -1},
            {"localita", "Localita", 233, -1},   {"cellulare2", "Cell. 2", 100, -1},
            {"telefono2", "Tel. 2", 100, -1},    {"fax2", "Fax 2", 100, -1},
            {"am_daore", "Da Ore (AM)", 70, -1}, {"am_aore", "A Ore (AM)", 70, -1},
            {"pm_daore", "Da Ore (PM)", 70, -1}, {"pm_aore", "A Ore (PM)", 70, -1},
        };
        for (const Design &d : designs) {
            kit::GridColumn column;
            column.name = QString("cxGrid1DBTableView1") + d.field;
            column.caption = d.caption;
            column.fieldName = d.field;
            column.width = d.width;
            column.groupIndex = d.group;
            grid.addColumn(column);
        }
        grid.expandAll();
    }
};

ContactGrid &contactGrid()
{
    static ContactGrid *grid = new ContactGrid;  // lives until the process ends
    return *grid;
}

const std::string kPage = "bench-Te02Lst.html";

std::size_t pageSize()
{
    static const std::size_t size = kit::RenderGridHtml(contactGrid().grid, "x").size();
    return size;
}

void BM_RenderPage(benchmark::State &state)
{
    ContactGrid &g = contactGrid();
    const QString title = QDir::currentPath() + "/" + QString::fromStdString(kPage);
    for (auto _ : state) {
        std::string page = kit::RenderGridHtml(g.grid, title);
        benchmark::DoNotOptimize(page.data());
    }
    state.counters["page_MB"] = static_cast<double>(pageSize()) / 1e6;
    state.counters["display_rows"] = static_cast<double>(g.grid.displayRowCount());
}

// The whole command: expand (nothing left to open), build, temporary file, fsync, rename.
void BM_ExportToFile(benchmark::State &state)
{
    ContactGrid &g = contactGrid();
    for (auto _ : state)
        kit::ExportGridToHtml(g.grid, kPage, "html");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * pageSize()));
}

void writeBaseline(benchmark::State &state, bool flush)
{
    const std::string buffer(pageSize(), 'x');
    for (auto _ : state) {
        const int fd = ::open("bench-baseline.html", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 ||
            ::write(fd, buffer.data(), buffer.size()) != static_cast<ssize_t>(buffer.size()))
            state.SkipWithError("write failed");
        if (flush)
            ::fsync(fd);
        ::close(fd);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * buffer.size()));
    ::unlink("bench-baseline.html");
}

void B_write(benchmark::State &state)
{
    writeBaseline(state, false);
}

void B_write_fsync(benchmark::State &state)
{
    writeBaseline(state, true);
}

BENCHMARK(BM_RenderPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportToFile)->Unit(benchmark::kMillisecond);
BENCHMARK(B_write)->Unit(benchmark::kMillisecond);
BENCHMARK(B_write_fsync)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
