#include "kit/report/report_generator.h"

#include "kit/dataset/mem_table.h"
#include "kit/report/report.h"

#include <algorithm>

namespace kit {

ReportGenerator::ReportGenerator(const Report &report)
    : table_(report.table() && report.table()->isOpen() ? report.table() : nullptr)
{
    doc_.title = report.title();
    doc_.setup = report.pageSetup();
    for (const ReportBand *band : report.bands()) {
        const int index = static_cast<int>(doc_.bands.size());
        doc_.bands.push_back(band->layout());
        if (band->kind() == BandKind::Title && titleBand_ < 0)
            titleBand_ = index;
        if (band->kind() == BandKind::Detail && detailBand_ < 0)
            detailBand_ = index;
        std::vector<int> &fields = fieldIndexes_.emplace_back();
        for (const ElementLayout &e : doc_.bands.back().elements) {
            if (e.kind != ElementKind::Field)
                continue;
            // Without a table every field prints empty; with one, an unknown name is an error.
            fields.push_back(table_ ? table_->fieldByName(e.text.toStdString()).index() : -1);
        }
    }
}

std::size_t ReportGenerator::completedPages() const noexcept
{
    if (finished_)
        return doc_.pages.size();
    return doc_.pages.empty() ? 0 : doc_.pages.size() - 1;
}

void ReportGenerator::startPage()
{
    doc_.pages.emplace_back();
    y_ = doc_.setup.topMargin;
}

void ReportGenerator::begin()
{
    started_ = true;
    pageBottom_ = doc_.setup.paperHeight - doc_.setup.bottomMargin;
    // Moving the cursor would post a record that an editor has pending, so the walk reads rows
    // by position and moves the cursor only in browse state.
    if (table_ && table_->state() == DataSetState::Browse)
        table_->first();
    startPage();
    if (titleBand_ >= 0)
        printBand(titleBand_, MemTable::npos);
}

void ReportGenerator::printBand(int band, std::size_t row)
{
    const Length advance = bandAdvance(doc_.bands[band].height);
    // A band taller than a whole page still gets printed once, on a page of its own.
    const bool atPageTop = y_ == doc_.setup.topMargin;
    if (pageBottom_ - y_ < advance && !atPageTop)
        startPage();
    ReportPage &page = doc_.pages.back();
    page.addPlacement(static_cast<std::uint16_t>(band), y_);
    for (int field : fieldIndexes_[band])
        page.addText(row == MemTable::npos || field < 0 ? std::string_view{}
                                                        : table_->value(row, field));
    y_ += advance;
}

bool ReportGenerator::step(std::size_t records)
{
    if (finished_)
        return true;
    if (!started_) {
        begin();
        // An empty table still prints one detail band, with empty values.
        if (!table_ || table_->recordCount() == 0) {
            if (detailBand_ >= 0)
                printBand(detailBand_, MemTable::npos);
            finish();
            return true;
        }
    }
    for (std::size_t done = 0; done < records; ++done) {
        const std::size_t count = table_->isOpen() ? table_->recordCount() : 0;
        if (row_ >= count) {
            finish();
            return true;
        }
        if (detailBand_ >= 0)
            printBand(detailBand_, row_);
        ++row_;
        progress_ = static_cast<int>(std::min<std::size_t>(row_ * 100 / count, 100));
    }
    if (table_->isOpen() && row_ >= table_->recordCount())
        finish();
    return finished_;
}

void ReportGenerator::run()
{
    while (!step(4096)) {
    }
}

void ReportGenerator::finish()
{
    finished_ = true;
    progress_ = 100;
    // The walk ends on the last record.
    if (table_ && table_->isOpen() && table_->state() == DataSetState::Browse &&
        table_->recordCount() > 0)
        table_->moveTo(table_->recordCount() - 1);
}

}  // namespace kit
