// Loading and saving the data file of a generated directory (1,000,000 entries by default, or
// VELISTRA_BENCH_ENTRIES), against the baselines of the same file on the same machine:
// B_read (one read(2) into fresh memory), B_scan (a memchr line count), B_write (one write(2)).
#include "bench/generator/directory_generator.h"
#include "kit/dataset/file_io.h"
#include "store/UDM1.h"
#include "store/data_file.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>

namespace {

std::size_t entries()
{
    const char *env = std::getenv("VELISTRA_BENCH_ENTRIES");
    return env ? std::strtoull(env, nullptr, 10) : 1000000;
}

// The generated file, written once beside the benchmark.
const std::string &dataFile()
{
    static const std::string path = [] {
        const std::string p = "bench-Te02data.dat";
        const std::string text = dirgen::GenerateDataFile(entries());
        kit::WriteFileSafely(p, text);
        return p;
    }();
    return path;
}

std::size_t fileSize()
{
    static const std::size_t size = kit::ReadWholeFile(dataFile()).size;
    return size;
}

long residentBytes()
{
    long pages = 0, resident = 0;
    if (FILE *f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

void B_read(benchmark::State &state)
{
    for (auto _ : state) {
        const int fd = ::open(dataFile().c_str(), O_RDONLY);
        auto buffer = std::unique_ptr<char[]>(new char[fileSize()]);
        benchmark::DoNotOptimize(::read(fd, buffer.get(), fileSize()));
        ::close(fd);
        benchmark::ClobberMemory();
    }
    state.counters["MB"] = double(fileSize()) / 1e6;
}

void B_scan(benchmark::State &state)
{
    const kit::FileBuffer file = kit::ReadWholeFile(dataFile());
    for (auto _ : state) {
        std::size_t lines = 0;
        const char *p = file.data.get(), *end = p + file.size;
        while (const void *hit = std::memchr(p, '\n', static_cast<std::size_t>(end - p))) {
            ++lines;
            p = static_cast<const char *>(hit) + 1;
        }
        benchmark::DoNotOptimize(lines);
    }
}

void B_write(benchmark::State &state)
{
    const std::string bytes(fileSize(), 'x');
    for (auto _ : state) {
        const int fd = ::open("bench-write.tmp", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
        ::close(fd);
    }
    ::unlink("bench-write.tmp");
}

void Load(benchmark::State &state)
{
    long peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto table = std::make_unique<kit::MemTable>(ContactFieldDefs(), "NumScad", "RecId");
        table->open();
        const long before = residentBytes();
        state.ResumeTiming();
        LoadDataFile(*table, dataFile());
        state.PauseTiming();
        peak = std::max(peak, residentBytes() - before);
        table.reset();
        state.ResumeTiming();
    }
    state.counters["table_MB"] = double(peak) / 1e6;
    state.counters["table_per_file"] = double(peak) / double(fileSize());
}

struct Loaded {
    kit::MemTable table{ContactFieldDefs(), "NumScad", "RecId"};
    Loaded()
    {
        table.open();
        LoadDataFile(table, dataFile());
    }
};

Loaded &loaded()
{
    static Loaded instance;
    return instance;
}

// Building the text and writing it with one write, without the flush to disk.
void SaveWrite(benchmark::State &state)
{
    for (auto _ : state) {
        const std::string text = DataFileText(loaded().table);
        kit::SafeFileWriter writer("bench-save.dat");
        writer.open();
        writer.write(text);
    }
}

// The safe save's extra cost: flushing the temporary file to disk and renaming it.
void SaveSyncAndRename(benchmark::State &state)
{
    const std::string text = DataFileText(loaded().table);
    for (auto _ : state) {
        state.PauseTiming();
        kit::SafeFileWriter writer("bench-save.dat");
        writer.open();
        writer.write(text);
        state.ResumeTiming();
        writer.sync();
        writer.commit();
    }
    ::unlink("bench-save.dat");
}

void LookUpByKey(benchmark::State &state)
{
    kit::MemTable &table = loaded().table;
    std::mt19937 random(7);
    std::vector<std::string> keys;
    for (int i = 0; i < 1000; ++i)
        keys.emplace_back(table.value(random() % table.recordCount(), 17));
    table.findKey(keys[0]);  // builds the index once
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(table.findKey(keys[i++ % keys.size()]));
}

// The first look-up after a load, which builds the key index.
void FirstLookUpByKey(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto table = std::make_unique<kit::MemTable>(ContactFieldDefs(), "NumScad", "RecId");
        table->open();
        LoadDataFile(*table, dataFile());
        const std::string key(table->value(table->recordCount() / 2, 17));
        state.ResumeTiming();
        benchmark::DoNotOptimize(table->findKey(key));
        state.PauseTiming();
        table.reset();
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(B_read)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(B_scan)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(B_write)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(Load)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(SaveWrite)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(SaveSyncAndRename)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(LookUpByKey)->Unit(benchmark::kMicrosecond);
BENCHMARK(FirstLookUpByKey)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
