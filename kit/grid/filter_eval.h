// Evaluation of a filter tree over the records of a table, and the distinct values of a column
// for its filter drop-down.
//
// Texts compare as the grid orders them, without regard to letter case: equal means the same
// bytes once both are lower-cased (accents count: "e" is not "è"); less and greater follow the
// grid's collation (case and accents folded), and texts that differ only in accents are then
// ordered by their lower-cased bytes, so that equal, less and greater always agree. Numeric
// columns compare as integers. The wildcards of like patterns are "_" (one character) and "%"
// (any series, the empty one included); begins with, ends with and contains are like patterns
// too, so their values may hold wildcards. Blank means empty. The date operators read a text
// as a date when it is one (d/m/yyyy, d/m/yy, d-m-yyyy, d.m.yyyy or yyyy-m-d) and match nothing
// otherwise; weeks start on Monday.
//
// An empty group, or a group that holds only empty groups, filters nothing and is left out of
// its parent. A condition on a column with no field matches no row.
#pragma once

#include "kit/grid/filter_criteria.h"

#include <QDate>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kit {

class MemTable;

class FilterEvaluator {
public:
    // Compiles `root` for `table` (kept by reference: values are read when rows are tested).
    FilterEvaluator(const MemTable &table, const FilterNode &root,
                    const std::vector<FilterColumn> &columns, QDate today = QDate::currentDate());
    ~FilterEvaluator();
    FilterEvaluator(FilterEvaluator &&) noexcept;
    FilterEvaluator &operator=(FilterEvaluator &&) noexcept;

    bool filtersNothing() const noexcept;
    bool matches(std::size_t row) const;
    // A predicate sharing this compiled filter, for GridView::setRowFilter; empty when the
    // filter filters nothing.
    std::function<bool(std::size_t)> predicate() const;

    struct Compiled;

private:
    std::shared_ptr<const Compiled> compiled_;
};

// Whether `value` suits a condition of `op` on `column`: it must be Windows-1252 text, and a
// whole number where the column compares numbers (patterns excepted). An empty value is blank.
bool filterValueIsValid(const FilterColumn &column, FilterOperator op, const QString &value);

// Lower-cases one Windows-1252 byte (the table the comparisons use).
unsigned char filterFold(unsigned char byte) noexcept;
// The like match on its own: `pattern` holds "_" and "%"; case is ignored.
bool filterLikeMatch(std::string_view text, std::string_view pattern) noexcept;
// Reads a text as a date in one of the forms above; invalid QDate when it is none.
QDate filterParseDate(std::string_view text) noexcept;

// The values a column's filter drop-down lists: one row of the table per distinct non-blank
// value (the first that holds it, values equal as the filter compares them), in ascending
// order, and whether the column holds a blank value.
struct ColumnValues {
    bool hasBlank = false;
    std::vector<std::size_t> rows;
};
ColumnValues distinctColumnValues(const MemTable &table, const FilterColumn &column);

}  // namespace kit
