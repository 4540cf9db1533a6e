#include "kit/grid/filter_eval.h"

#include "kit/dataset/cp1252.h"
#include "kit/dataset/large_pages.h"
#include "kit/dataset/mem_table.h"
#include "kit/grid/collation.h"
#include "kit/text/codec.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <memory>
#include <optional>

namespace kit {

namespace {

const std::array<unsigned char, 256> &foldTable() noexcept
{
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (int c = 0; c < 256; ++c)
            t[c] = cp1252::toLower(static_cast<unsigned char>(c));
        return t;
    }();
    return table;
}

std::string foldText(std::string_view text)
{
    const auto &fold = foldTable();
    std::string out(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        out[i] = static_cast<char>(fold[static_cast<unsigned char>(text[i])]);
    return out;
}

bool equalsFolded(std::string_view text, std::string_view folded) noexcept
{
    if (text.size() != folded.size())
        return false;
    const auto &fold = foldTable();
    for (std::size_t i = 0; i < text.size(); ++i)
        if (fold[static_cast<unsigned char>(text[i])] != static_cast<unsigned char>(folded[i]))
            return false;
    return true;
}

// Collation's first level, then the lower-cased bytes: equal exactly when equalsFolded says so.
int compareText(std::string_view a, std::string_view b) noexcept
{
    if (const int primary = collation::comparePrimary(a, b))
        return primary;
    const auto &fold = foldTable();
    for (std::size_t i = 0; i < a.size(); ++i) {
        const int d = int(fold[static_cast<unsigned char>(a[i])]) -
                      int(fold[static_cast<unsigned char>(b[i])]);
        if (d != 0)
            return d;
    }
    return 0;
}

std::optional<long long> parseInteger(std::string_view text) noexcept
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// Reads up to `maxDigits` digits; false when there are none.
bool readNumber(std::string_view text, std::size_t &at, int maxDigits, int &out) noexcept
{
    int digits = 0;
    out = 0;
    while (at < text.size() && digits < maxDigits && text[at] >= '0' && text[at] <= '9') {
        out = out * 10 + (text[at] - '0');
        ++at;
        ++digits;
    }
    return digits > 0;
}

struct DateRange {
    QDate from, to;  // inclusive
};

DateRange dateRange(FilterOperator op, QDate today)
{
    const QDate weekStart = today.addDays(1 - today.dayOfWeek());
    const QDate monthStart(today.year(), today.month(), 1);
    const QDate yearStart(today.year(), 1, 1);
    auto month = [](QDate first) { return DateRange{first, first.addMonths(1).addDays(-1)}; };
    auto year = [](QDate first) { return DateRange{first, first.addYears(1).addDays(-1)}; };
    switch (op) {
    case FilterOperator::Yesterday:
        return {today.addDays(-1), today.addDays(-1)};
    case FilterOperator::Today:
        return {today, today};
    case FilterOperator::Tomorrow:
        return {today.addDays(1), today.addDays(1)};
    case FilterOperator::LastWeek:
        return {weekStart.addDays(-7), weekStart.addDays(-1)};
    case FilterOperator::ThisWeek:
        return {weekStart, weekStart.addDays(6)};
    case FilterOperator::NextWeek:
        return {weekStart.addDays(7), weekStart.addDays(13)};
    case FilterOperator::LastMonth:
        return month(monthStart.addMonths(-1));
    case FilterOperator::ThisMonth:
        return month(monthStart);
    case FilterOperator::NextMonth:
        return month(monthStart.addMonths(1));
    case FilterOperator::LastYear:
        return year(yearStart.addYears(-1));
    case FilterOperator::ThisYear:
        return year(yearStart);
    case FilterOperator::NextYear:
        return year(yearStart.addYears(1));
    default:
        return {};
    }
}

// The like pattern that a pattern operator stands for.
std::string patternOf(FilterOperator op, const std::string &value)
{
    switch (op) {
    case FilterOperator::BeginsWith:
    case FilterOperator::NotBeginsWith:
        return value + '%';
    case FilterOperator::EndsWith:
    case FilterOperator::NotEndsWith:
        return '%' + value;
    case FilterOperator::Contains:
    case FilterOperator::NotContains:
        return '%' + value + '%';
    default:
        return value;
    }
}

bool isNegatedPattern(FilterOperator op) noexcept
{
    return op == FilterOperator::NotLike || op == FilterOperator::NotBeginsWith ||
           op == FilterOperator::NotEndsWith || op == FilterOperator::NotContains;
}

bool isPattern(FilterOperator op) noexcept
{
    return op >= FilterOperator::Like && op <= FilterOperator::NotContains;
}

}  // namespace

unsigned char filterFold(unsigned char byte) noexcept
{
    return foldTable()[byte];
}

bool filterValueIsValid(const FilterColumn &column, FilterOperator op, const QString &value)
{
    if (!fitsCp1252(value))
        return false;
    if (!column.numeric || value.isEmpty() || isPattern(op))
        return true;
    return parseInteger(toCp1252(value)).has_value();
}

bool filterLikeMatch(std::string_view text, std::string_view pattern) noexcept
{
    // Greedy match with one back-tracking point: the last "%" seen. Linear in practice.
    const auto &fold = foldTable();
    std::size_t t = 0, p = 0;
    std::size_t starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '%') {
            starP = p++;
            starT = t;
        } else if (p < pattern.size() &&
                   (pattern[p] == '_' || fold[static_cast<unsigned char>(pattern[p])] ==
                                             fold[static_cast<unsigned char>(text[t])])) {
            ++p;
            ++t;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '%')
        ++p;
    return p == pattern.size();
}

QDate filterParseDate(std::string_view text) noexcept
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.size() < 6 || text.size() > 10 || text[0] < '0' || text[0] > '9')
        return {};
    std::size_t at = 0;
    int a = 0, b = 0, c = 0;
    if (!readNumber(text, at, 4, a) || at >= text.size())
        return {};
    const char sep = text[at];
    if (sep != '/' && sep != '-' && sep != '.')
        return {};
    const bool yearFirst = at == 4;
    ++at;
    if (!readNumber(text, at, 2, b) || at >= text.size() || text[at] != sep)
        return {};
    ++at;
    const std::size_t yearAt = at;
    if (!readNumber(text, at, yearFirst ? 2 : 4, c) || at != text.size())
        return {};
    if (yearFirst)
        return sep == '-' ? QDate(a, b, c) : QDate();
    if (at - yearAt == 2)
        c += c < 50 ? 2000 : 1900;
    else if (at - yearAt != 4 || a > 31)
        return {};
    return QDate(c, b, a);
}

// A compiled node: groups list their children's indexes; conditions carry folded values.
struct FilterEvaluator::Compiled {
    struct Node {
        bool group = false;
        FilterGroupOperator groupOp = FilterGroupOperator::And;
        std::vector<int> children;
        FilterOperator op = FilterOperator::Equal;
        int field = -1;
        bool recordNumber = false;  // the table's computed record-number field
        bool numeric = false;
        bool impossible = false;          // unbound column or a value the column cannot hold
        std::vector<std::string> values;  // folded
        std::vector<long long> numbers;
        DateRange dates;
    };

    const MemTable *table = nullptr;
    std::vector<Node> nodes;  // nodes[0] is the root when not empty

    bool test(int index, std::size_t row) const;
    bool testCondition(const Node &node, std::size_t row) const;
};

namespace {

int compileNode(FilterEvaluator::Compiled &out, const FilterNode &node,
                const std::vector<FilterColumn> &columns, const MemTable &table, QDate today)
{
    using Node = FilterEvaluator::Compiled::Node;
    if (node.isEmpty())
        return -1;
    const int index = static_cast<int>(out.nodes.size());
    out.nodes.emplace_back();
    if (node.isGroup()) {
        std::vector<int> children;
        for (const FilterNode &child : node.children)
            if (const int c = compileNode(out, child, columns, table, today); c >= 0)
                children.push_back(c);
        out.nodes[index].group = true;
        out.nodes[index].groupOp = node.groupOperator;
        out.nodes[index].children = std::move(children);
        return index;
    }
    Node n;
    n.op = node.op;
    const bool known = node.column >= 0 && node.column < static_cast<int>(columns.size());
    n.field = known ? columns[node.column].fieldIndex : -1;
    if (n.field < 0 || n.field >= table.fieldCount()) {
        n.impossible = true;
    } else {
        n.recordNumber = table.isComputedField(n.field);
        n.numeric = n.recordNumber || columns[node.column].numeric;
    }
    const int arity = filterOperatorArity(node.op);
    const qsizetype wanted = arity < 0 ? std::max<qsizetype>(1, node.values.size()) : arity;
    if (node.values.size() < wanted)
        n.impossible = true;
    for (qsizetype i = 0; i < std::min(wanted, node.values.size()); ++i) {
        const QString &value = node.values[i];
        if (!fitsCp1252(value))
            n.impossible = true;  // no stored text can hold it
        std::string bytes = toCp1252(value);
        if (n.numeric && !isPattern(n.op) && n.op != FilterOperator::Blank &&
            n.op != FilterOperator::NotBlank) {
            const auto number = parseInteger(bytes);
            if (!number)
                n.impossible = true;
            n.numbers.push_back(number.value_or(0));
        }
        n.values.push_back(isPattern(n.op) ? foldText(patternOf(n.op, bytes)) : foldText(bytes));
    }
    if (n.op == FilterOperator::Between || n.op == FilterOperator::NotBetween) {
        // A range given high to low means the same range.
        if (!n.impossible &&
            (n.numeric ? n.numbers[0] > n.numbers[1] : compareText(n.values[0], n.values[1]) > 0)) {
            std::swap(n.values[0], n.values[1]);
            if (n.numeric)
                std::swap(n.numbers[0], n.numbers[1]);
        }
    }
    if (isDateOperator(n.op))
        n.dates = dateRange(n.op, today);
    out.nodes[index] = std::move(n);
    return index;
}

// What an operator says of a value that cannot be compared: the positive forms fail, the
// negations hold.
bool impossibleResult(FilterOperator op) noexcept
{
    switch (op) {
    case FilterOperator::NotEqual:
    case FilterOperator::NotBetween:
    case FilterOperator::NotIn:
    case FilterOperator::NotLike:
    case FilterOperator::NotBeginsWith:
    case FilterOperator::NotEndsWith:
    case FilterOperator::NotContains:
        return true;
    default:
        return false;
    }
}

}  // namespace

bool FilterEvaluator::Compiled::test(int index, std::size_t row) const
{
    const Node &node = nodes[index];
    if (!node.group)
        return testCondition(node, row);
    const bool any =
        node.groupOp == FilterGroupOperator::Or || node.groupOp == FilterGroupOperator::NotOr;
    const bool negate =
        node.groupOp == FilterGroupOperator::NotAnd || node.groupOp == FilterGroupOperator::NotOr;
    bool result = !any;
    for (const int child : node.children) {
        if (test(child, row) == any) {
            result = any;
            break;
        }
    }
    return result != negate;
}

bool FilterEvaluator::Compiled::testCondition(const Node &node, std::size_t row) const
{
    if (node.field < 0)
        return false;  // an unbound column holds no value at all
    std::string recordNumber;
    std::string_view text;
    if (node.recordNumber) {
        recordNumber = std::to_string(table->recId(row));
        text = recordNumber;
    } else {
        text = table->value(row, node.field);
    }
    switch (node.op) {
    case FilterOperator::Blank:
        return text.empty();
    case FilterOperator::NotBlank:
        return !text.empty();
    default:
        break;
    }
    if (isDateOperator(node.op)) {
        const QDate date = filterParseDate(text);
        return date.isValid() && date >= node.dates.from && date <= node.dates.to;
    }
    if (node.impossible)
        return impossibleResult(node.op);
    if (isPattern(node.op))
        return filterLikeMatch(text, node.values[0]) != isNegatedPattern(node.op);

    // Comparisons: numbers for numeric columns (a text that is no number fails them all but
    // the negations), folded texts otherwise.
    std::optional<long long> number;
    if (node.numeric) {
        number = parseInteger(text);
        if (!number)
            return impossibleResult(node.op);
    }
    auto cmp = [&](std::size_t i) {
        if (node.numeric)
            return *number < node.numbers[i] ? -1 : *number > node.numbers[i] ? 1 : 0;
        return compareText(text, node.values[i]);
    };
    auto equals = [&](std::size_t i) {
        return node.numeric ? *number == node.numbers[i] : equalsFolded(text, node.values[i]);
    };
    switch (node.op) {
    case FilterOperator::Equal:
        return equals(0);
    case FilterOperator::NotEqual:
        return !equals(0);
    case FilterOperator::Less:
        return cmp(0) < 0;
    case FilterOperator::LessEqual:
        return cmp(0) <= 0;
    case FilterOperator::Greater:
        return cmp(0) > 0;
    case FilterOperator::GreaterEqual:
        return cmp(0) >= 0;
    case FilterOperator::Between:
        return cmp(0) >= 0 && cmp(1) <= 0;
    case FilterOperator::NotBetween:
        return cmp(0) < 0 || cmp(1) > 0;
    case FilterOperator::In:
    case FilterOperator::NotIn: {
        bool found = false;
        for (std::size_t i = 0; i < node.values.size() && !found; ++i)
            found = equals(i);
        return found == (node.op == FilterOperator::In);
    }
    default:
        return false;
    }
}

FilterEvaluator::FilterEvaluator(const MemTable &table, const FilterNode &root,
                                 const std::vector<FilterColumn> &columns, QDate today)
{
    auto compiled = std::make_shared<Compiled>();
    compiled->table = &table;
    compileNode(*compiled, root, columns, table, today);
    compiled_ = std::move(compiled);
}

FilterEvaluator::~FilterEvaluator() = default;
FilterEvaluator::FilterEvaluator(FilterEvaluator &&) noexcept = default;
FilterEvaluator &FilterEvaluator::operator=(FilterEvaluator &&) noexcept = default;

bool FilterEvaluator::filtersNothing() const noexcept
{
    return compiled_->nodes.empty();
}

bool FilterEvaluator::matches(std::size_t row) const
{
    return compiled_->nodes.empty() || compiled_->test(0, row);
}

std::function<bool(std::size_t)> FilterEvaluator::predicate() const
{
    if (filtersNothing())
        return {};
    return [compiled = compiled_](std::size_t row) { return compiled->test(0, row); };
}

// --- distinct values
//
// One pass over the column with an open-addressing set of the distinct values seen so far. The
// set keeps its own lower-cased copy of every value in one arena, so that a probe compares with
// bytes close together instead of with a record far back in the table (a cache miss per row);
// a row equal to the row before it (records of one company usually follow each other) costs one
// comparison of two neighbouring values. The distinct values are then sorted on two 8-byte
// prefixes of their collation weights, with the whole comparison only for longer ties.

namespace {

class DistinctSet {
public:
    struct Value {
        std::uint32_t offset, length;  // in the arena
        std::size_t row;               // first row holding the value
    };

    // `expected` distinct values are room enough for not growing.
    explicit DistinctSet(std::size_t expected)
    {
        std::size_t size = 1024;
        while (size < expected * 2)
            size *= 2;
        buckets_.assign(size, 0);
        values_.reserve(expected);
    }

    // True when `folded` was not in the set yet; it is then added with `row`.
    // `h` is hash(folded).
    bool insert(std::string_view folded, std::uint64_t h, std::size_t row)
    {
        const std::uint64_t tag = h & 0xFFFFFFFF00000000ull;
        const std::size_t mask = buckets_.size() - 1;
        std::size_t at = h & mask;
        for (;; at = (at + 1) & mask) {
            const std::uint64_t bucket = buckets_[at];
            if (bucket == 0)
                break;
            // The hash's high half sits in the bucket, so a probe rarely reads a value.
            if ((bucket & 0xFFFFFFFF00000000ull) == tag &&
                text(values_[(bucket & 0xFFFFFFFFu) - 1]) == folded)
                return false;
        }
        values_.push_back({static_cast<std::uint32_t>(arena_.size()),
                           static_cast<std::uint32_t>(folded.size()), row});
        buckets_[at] = tag | values_.size();
        arena_.append(folded);
        if (values_.size() * 2 > buckets_.size())
            grow();
        return true;
    }

    const std::vector<Value> &values() const noexcept { return values_; }
    std::string_view text(const Value &v) const noexcept
    {
        return std::string_view(arena_).substr(v.offset, v.length);
    }

    // Starts fetching the bucket of a hash, so that a batch of look-ups waits for memory once.
    void prefetch(std::uint64_t h) const noexcept
    {
        __builtin_prefetch(&buckets_[h & (buckets_.size() - 1)]);
    }

    static std::uint64_t hash(std::string_view text) noexcept
    {
        std::uint64_t h = 1469598103934665603ull;
        for (const char c : text) {
            h ^= static_cast<unsigned char>(c);
            h *= 1099511628211ull;
        }
        return h ^ (h >> 29) ^ (h << 31);
    }

private:
    void grow()
    {
        std::vector<std::uint64_t> bigger(buckets_.size() * 4, 0);
        const std::size_t mask = bigger.size() - 1;
        for (const std::uint64_t bucket : buckets_) {
            if (bucket == 0)
                continue;
            std::size_t at = hash(text(values_[(bucket & 0xFFFFFFFFu) - 1])) & mask;
            while (bigger[at] != 0)
                at = (at + 1) & mask;
            bigger[at] = bucket;
        }
        buckets_.swap(bigger);
    }

    std::vector<std::uint64_t> buckets_;  // 0 free; else hash high half | value index + 1
    std::vector<Value> values_;
    std::string arena_;
};

// How many distinct values a column probably has, from its first rows.
std::size_t estimateDistinct(const MemTable &table, int field)
{
    const std::size_t count = table.recordCount();
    const std::size_t sample = std::min<std::size_t>(count, 4096);
    if (sample == 0)
        return 0;
    std::vector<std::string_view> seen;
    seen.reserve(sample);
    for (std::size_t row = 0; row < sample; ++row)
        seen.push_back(table.value(row, field));
    std::sort(seen.begin(), seen.end());
    const std::size_t distinct = std::unique(seen.begin(), seen.end()) - seen.begin();
    return distinct * (count / sample);
}

// Sorts by `p0` with four passes of 16-bit digits (stable), then the runs of equal `p0` by
// `less`.
template <typename Entry, typename Less> void sortEntries(std::vector<Entry> &entries, Less less)
{
    // Left uninitialised: every pass writes each entry before it is read.
    const auto buffer = std::make_unique_for_overwrite<Entry[]>(entries.size());
    PreferLargePages(buffer.get(), entries.size() * sizeof(Entry));
    Entry *from = entries.data();
    Entry *to = buffer.get();
    const std::size_t n = entries.size();
    std::vector<std::uint32_t> counts(65537);
    for (int pass = 0; pass < 4; ++pass) {
        const int shift = pass * 16;
        std::fill(counts.begin(), counts.end(), 0);
        for (std::size_t i = 0; i < n; ++i)
            ++counts[((from[i].p0 >> shift) & 0xFFFF) + 1];
        if (counts[1 + ((from[0].p0 >> shift) & 0xFFFF)] == n)
            continue;  // every entry has the same digit
        for (std::size_t i = 1; i < counts.size(); ++i)
            counts[i] += counts[i - 1];
        for (std::size_t i = 0; i < n; ++i)
            to[counts[(from[i].p0 >> shift) & 0xFFFF]++] = from[i];
        std::swap(from, to);
    }
    if (from != entries.data())
        std::copy(from, from + n, entries.data());
    for (std::size_t begin = 0; begin < entries.size();) {
        std::size_t end = begin + 1;
        while (end < entries.size() && entries[end].p0 == entries[begin].p0)
            ++end;
        if (end - begin > 1)
            std::sort(entries.begin() + begin, entries.begin() + end, less);
        begin = end;
    }
}

// 16 bytes, so that sorting a nearly unique column of many rows moves as little as it can.
struct SortEntry {
    std::uint64_t p0;  // collation weights 0 to 7
    std::uint32_t p1;  // weights 8 to 11
    std::uint32_t item;
};

// Sorts the texts of `entries` (textOf(item) gives each) as the filter orders them; equal texts
// keep the order of their items.
template <typename TextOf>
void sortTexts(std::vector<SortEntry> &entries, const TextOf &textOf, bool numeric)
{
    if (entries.empty())
        return;
    if (numeric) {
        std::stable_sort(entries.begin(), entries.end(),
                         [&](const SortEntry &a, const SortEntry &b) {
                             const auto x = parseInteger(textOf(a.item));
                             const auto y = parseInteger(textOf(b.item));
                             if (x && y)
                                 return *x < *y;
                             return x.has_value() && !y;  // numbers before texts that are none
                         });
        return;
    }
    sortEntries(entries, [&](const SortEntry &a, const SortEntry &b) {
        if (a.p1 != b.p1)
            return a.p1 < b.p1;
        const int c = compareText(textOf(a.item), textOf(b.item));
        return c != 0 ? c < 0 : a.item < b.item;
    });
}

SortEntry sortEntry(std::string_view text, std::uint32_t item) noexcept
{
    return {collation::primaryPrefix(text, 0),
            static_cast<std::uint32_t>(collation::primaryPrefix(text, 8) >> 32), item};
}

// Many distinct values: sorting every row and keeping the first of each run costs less than a
// set that misses the cache on every row.
ColumnValues distinctBySorting(const MemTable &table, int field, bool numeric)
{
    ColumnValues result;
    std::vector<SortEntry> entries;
    ReserveLarge(entries, table.recordCount());
    for (std::size_t row = 0; row < table.recordCount(); ++row) {
        const std::string_view text = table.value(row, field);
        if (text.empty())
            result.hasBlank = true;
        else
            entries.push_back(sortEntry(text, static_cast<std::uint32_t>(row)));
    }
    auto textOf = [&](std::uint32_t row) { return table.value(row, field); };
    sortTexts(entries, textOf, numeric);
    ReserveLarge(result.rows, entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0 && entries[i].p0 == entries[i - 1].p0 && entries[i].p1 == entries[i - 1].p1 &&
            compareText(textOf(entries[i].item), textOf(entries[i - 1].item)) == 0)
            continue;
        result.rows.push_back(entries[i].item);
    }
    return result;
}

}  // namespace

ColumnValues distinctColumnValues(const MemTable &table, const FilterColumn &column)
{
    ColumnValues result;
    const int field = column.fieldIndex;
    if (field < 0 || field >= table.fieldCount())
        return result;
    const std::size_t count = table.recordCount();
    if (table.isComputedField(field)) {
        // Record numbers are distinct and ascend in table order.
        result.rows.resize(count);
        for (std::size_t row = 0; row < count; ++row)
            result.rows[row] = row;
        return result;
    }

    const std::size_t expected = estimateDistinct(table, field);
    if (expected * 2 > count && count <= 0xFFFFFFFFu)
        return distinctBySorting(table, field, column.numeric);
    DistinctSet set(expected);
    // Values wait in batches, their buckets fetched ahead, for one wait on memory per batch.
    struct Pending {
        std::size_t offset, length, row;
        std::uint64_t hash;
    };
    constexpr std::size_t kBatch = 32;
    std::vector<Pending> batch;
    batch.reserve(kBatch);
    std::string scratch;
    auto flush = [&] {
        for (const Pending &p : batch)
            set.insert(std::string_view(scratch).substr(p.offset, p.length), p.hash, p.row);
        batch.clear();
        scratch.clear();
    };
    const auto &fold = foldTable();
    std::string folded;
    std::string_view previous;
    bool havePrevious = false;
    for (std::size_t row = 0; row < count; ++row) {
        const std::string_view text = table.value(row, field);
        if (text.empty()) {
            result.hasBlank = true;
            continue;
        }
        if (havePrevious && text.size() == previous.size() && equalsFolded(text, folded))
            continue;  // the same value as the row before
        folded.resize(text.size());
        for (std::size_t i = 0; i < text.size(); ++i)
            folded[i] = static_cast<char>(fold[static_cast<unsigned char>(text[i])]);
        previous = text;
        havePrevious = true;
        const std::uint64_t h = DistinctSet::hash(folded);
        set.prefetch(h);
        batch.push_back({scratch.size(), folded.size(), row, h});
        scratch += folded;
        if (batch.size() == kBatch)
            flush();
    }
    flush();

    const auto &values = set.values();
    std::vector<SortEntry> entries;
    entries.reserve(values.size());
    for (std::uint32_t v = 0; v < values.size(); ++v)
        entries.push_back(sortEntry(set.text(values[v]), v));
    sortTexts(
        entries, [&](std::uint32_t v) { return set.text(values[v]); }, column.numeric);
    result.rows.reserve(entries.size());
    for (const SortEntry &e : entries)
        result.rows.push_back(values[e.item].row);
    return result;
}

}  // namespace kit
