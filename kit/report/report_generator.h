// Turns a report definition into a document by walking its table from the first record to the
// last: the title band once at the top of the first page, then one detail band per record, a new
// page whenever the space left is smaller than the detail band. Generation runs in steps so a
// window can show the first pages while the rest is still being built.
#pragma once

#include "kit/report/report_document.h"

#include <cstddef>
#include <vector>

namespace kit {

class MemTable;
class Report;

class ReportGenerator {
public:
    // Takes the bands' layout and binds their field elements to the table (letter case ignored);
    // throws DataSetError when a field name matches no field. A report without a table prints
    // as an empty one.
    explicit ReportGenerator(const Report &report);

    // Prints up to `records` more records; true once the report is complete. The table is read
    // as it is at each step, so records added or removed meanwhile are taken as they come.
    bool step(std::size_t records);
    void run();  // to the end
    bool finished() const noexcept { return finished_; }

    // Records done × 100 / record count; 100 once finished.
    int progress() const noexcept { return progress_; }
    // Pages that will not change any more: every page but the one being filled.
    std::size_t completedPages() const noexcept;

    const ReportDocument &document() const noexcept { return doc_; }
    ReportDocument takeDocument() noexcept { return std::move(doc_); }

private:
    void begin();
    void printBand(int band, std::size_t row);
    void startPage();
    void finish();

    MemTable *table_;
    ReportDocument doc_;
    int titleBand_ = -1, detailBand_ = -1;
    // Per band, the table field of each field slot.
    std::vector<std::vector<int>> fieldIndexes_;
    Length y_ = 0, pageBottom_ = 0;
    std::size_t row_ = 0;
    bool started_ = false, finished_ = false;
    int progress_ = 0;
};

}  // namespace kit
