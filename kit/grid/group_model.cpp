#include "kit/grid/group_model.h"

#include "kit/dataset/large_pages.h"
#include "kit/dataset/mem_table.h"
#include "kit/grid/collation.h"
#include "kit/text/codec.h"

#include <QCoreApplication>

#include <algorithm>
#include <functional>
#include <unordered_set>

namespace kit {

namespace {

// Dense ranks of the values of one field over some rows: equal bytes, equal rank; otherwise
// the collation order. Distinct values are found with a hash table first, so only they are
// sorted (a company column of a million rows sorts a few thousand names).
class ValueRanker {
public:
    // `rank` is indexed by table row; only the given rows are written.
    static std::uint32_t rankRows(const MemTable &table, int field,
                                  const std::vector<std::uint32_t> &rows,
                                  std::vector<std::uint32_t> &rank)
    {
        AssignLarge(rank, table.recordCount(), std::uint32_t(0));
        if (field < 0) {
            return 1;  // unbound: every row ties
        }
        if (table.isComputedField(field)) {
            // The record number grows with table order, so the table position is its rank.
            for (std::uint32_t r : rows)
                rank[r] = r;
            return static_cast<std::uint32_t>(table.recordCount());
        }
        ValueRanker ranker;
        for (std::uint32_t r : rows)
            rank[r] = ranker.idOf(table.value(r, field));
        const std::vector<std::uint32_t> rankOfId = ranker.sortedRanks();
        for (std::uint32_t r : rows)
            rank[r] = rankOfId[rank[r]];
        return static_cast<std::uint32_t>(rankOfId.size());
    }

private:
    struct Slot {
        const char *data = nullptr;
        std::uint32_t size = 0;
        std::uint32_t id = kEmpty;
    };
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;

    ValueRanker()
        : slots_(1024)
    {}

    std::uint32_t idOf(std::string_view value)
    {
        if ((values_.size() + 1) * 2 > slots_.size())
            grow();
        std::size_t i = std::hash<std::string_view>{}(value) & (slots_.size() - 1);
        for (;;) {
            Slot &slot = slots_[i];
            if (slot.id == kEmpty) {
                slot = {value.data(), static_cast<std::uint32_t>(value.size()),
                        static_cast<std::uint32_t>(values_.size())};
                values_.push_back(value);
                return slot.id;
            }
            if (slot.size == value.size() && std::string_view(slot.data, slot.size) == value)
                return slot.id;
            i = (i + 1) & (slots_.size() - 1);
        }
    }

    void grow()
    {
        std::vector<Slot> old(slots_.size() * 2);
        old.swap(slots_);
        for (const Slot &slot : old) {
            if (slot.id == kEmpty)
                continue;
            std::size_t i = std::hash<std::string_view>{}(std::string_view(slot.data, slot.size)) &
                            (slots_.size() - 1);
            while (slots_[i].id != kEmpty)
                i = (i + 1) & (slots_.size() - 1);
            slots_[i] = slot;
        }
    }

    // Rank of each distinct value: sorted by a 16-weight integer prefix, then runs of equal
    // prefixes by the full comparison.
    std::vector<std::uint32_t> sortedRanks() const
    {
        struct Entry {
            std::uint64_t hi, lo;
            std::uint32_t id;
        };
        std::vector<Entry> entries(values_.size());
        for (std::size_t id = 0; id < values_.size(); ++id)
            entries[id] = {collation::primaryPrefix(values_[id], 0),
                           collation::primaryPrefix(values_[id], 8),
                           static_cast<std::uint32_t>(id)};
        std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
            return a.hi != b.hi ? a.hi < b.hi : a.lo < b.lo;
        });
        for (std::size_t i = 0; i < entries.size();) {
            std::size_t j = i + 1;
            while (j < entries.size() && entries[j].hi == entries[i].hi &&
                   entries[j].lo == entries[i].lo)
                ++j;
            if (j - i > 1)
                std::sort(entries.begin() + static_cast<std::ptrdiff_t>(i),
                          entries.begin() + static_cast<std::ptrdiff_t>(j),
                          [this](const Entry &a, const Entry &b) {
                              return collation::compare(values_[a.id], values_[b.id]) < 0;
                          });
            i = j;
        }
        std::vector<std::uint32_t> rankOfId(values_.size());
        for (std::size_t i = 0; i < entries.size(); ++i)
            rankOfId[entries[i].id] = static_cast<std::uint32_t>(i);
        return rankOfId;
    }

    std::vector<Slot> slots_;
    std::vector<std::string_view> values_;
};

// Stable counting sort of `rows` by their rank.
void countingSort(std::vector<std::uint32_t> &rows, const std::vector<std::uint32_t> &rank,
                  std::uint32_t distinct, bool descending)
{
    std::vector<std::uint32_t> start(std::size_t(distinct) + 1, 0);
    const auto key = [&](std::uint32_t r) { return descending ? distinct - 1 - rank[r] : rank[r]; };
    for (std::uint32_t r : rows)
        ++start[key(r) + 1];
    for (std::size_t k = 1; k < start.size(); ++k)
        start[k] += start[k - 1];
    std::vector<std::uint32_t> sorted;
    AssignLarge(sorted, rows.size(), std::uint32_t(0));
    for (std::uint32_t r : rows)
        sorted[start[key(r)]++] = r;
    rows.swap(sorted);
}

}  // namespace

GroupModel::GroupModel(QObject *parent)
    : QAbstractItemModel(parent)
{}

GroupModel::~GroupModel() = default;

void GroupModel::setColumns(std::vector<Column> columns)
{
    columns_ = std::move(columns);
    grouping_.clear();
    sorting_.clear();
    rebuildRows(false);
}

int GroupModel::fieldIndex(int column) const
{
    return column >= 0 && column < static_cast<int>(fields_.size()) ? fields_[column] : -1;
}

void GroupModel::setKeyField(const QString &fieldName)
{
    keyField_ = fieldName;
    resolveFields();
}

void GroupModel::setGrouping(std::vector<Key> levels)
{
    if (levels == grouping_)
        return;
    const bool sameColumns =
        levels.size() == grouping_.size() &&
        std::equal(levels.begin(), levels.end(), grouping_.begin(),
                   [](const Key &a, const Key &b) { return a.column == b.column; });
    grouping_ = std::move(levels);
    rebuildRows(sameColumns);
}

void GroupModel::setSorting(std::vector<Key> keys)
{
    if (keys == sorting_)
        return;
    sorting_ = std::move(keys);
    // Sort keys rank below every grouping level, so the groups stay as they are and only the
    // records within the innermost groups move.
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList persistent = persistentIndexList();
    std::vector<std::pair<bool, std::uint32_t>> before;  // group row? group : table row
    before.reserve(persistent.size());
    for (const QModelIndex &index : persistent) {
        const Node node = nodeOf(index);
        before.emplace_back(node.isGroup, node.isGroup ? node.id : order_[node.id]);
    }
    const std::vector<Group> oldGroups = groups_;
    buildRows();
    const bool sameGroups = oldGroups.size() == groups_.size();
    if (sameGroups)
        for (std::size_t g = 0; g < groups_.size(); ++g)
            groups_[g].expanded = oldGroups[g].expanded;
    buildDisplay();
    for (qsizetype i = 0; i < persistent.size(); ++i) {
        const QModelIndex &old = persistent[i];
        if (!sameGroups) {
            changePersistentIndex(old, {});
            continue;
        }
        if (before[i].first) {
            changePersistentIndex(old, old);
            continue;
        }
        const Node node{false, posOf_[before[i].second]};
        const QModelIndex now = indexOfNode(node);
        changePersistentIndex(old, index(now.row(), old.column(), now.parent()));
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    emit rowsRebuilt();
    emit displayChanged();
}

void GroupModel::setRowFilter(std::function<bool(std::size_t)> filter)
{
    filter_ = std::move(filter);
    rebuildRows(true, Resort::OnlyFilterChanged);
}

void GroupModel::rebuild()
{
    rebuildRows(true);
}

void GroupModel::resolveFields()
{
    MemTable *t = table();
    fields_.assign(columns_.size(), -1);
    keyIndex_ = -1;
    if (!t)
        return;
    for (std::size_t c = 0; c < columns_.size(); ++c)
        fields_[c] = t->findField(columns_[c].fieldName.toStdString());
    if (!keyField_.isEmpty())
        keyIndex_ = t->findField(keyField_.toStdString());
}

std::string_view GroupModel::rawValue(std::size_t tableRow, int column) const
{
    const int field = fieldIndex(column);
    if (field < 0 || !table())
        return {};
    return table()->value(tableRow, field);
}

// The values that name a group, outermost first. A group is read from its first record other
// than `changedRow_`, whose values may already be new.
std::string GroupModel::groupPath(std::uint32_t group) const
{
    std::string path;
    for (std::uint32_t g = group; g != kNone; g = groups_[g].parent) {
        std::uint32_t at = groups_[g].begin;
        if (order_[at] == changedRow_ && at + 1 < groups_[g].end)
            ++at;
        const std::string_view value = rawValue(order_[at], grouping_[groups_[g].level].column);
        path.insert(0, value);
        path.insert(path.begin() + static_cast<std::ptrdiff_t>(value.size()), '\0');
    }
    path += static_cast<char>(groups_[group].level);
    return path;
}

// After a close, or a reload of fewer records, the rows of the old tree may no longer exist, and
// the open groups cannot be named from them.
bool GroupModel::rowsStillInTable() const
{
    const MemTable *t = table();
    if (!t || !t->isOpen())
        return false;
    const std::size_t n = t->recordCount();
    return std::all_of(order_.begin(), order_.end(), [n](std::uint32_t r) { return r < n; });
}

// `keepExpanded`: the grouping columns did not change, so groups that were open stay open.
void GroupModel::rebuildRows(bool keepExpanded, Resort resort)
{
    std::unordered_set<std::string> open;
    if (keepExpanded && rowsStillInTable()) {
        for (std::uint32_t g = 0; g < groups_.size(); ++g)
            if (groups_[g].expanded)
                open.insert(groupPath(g));
    }
    beginResetModel();
    buildRows(resort);
    if (!open.empty()) {
        for (std::uint32_t g = 0; g < groups_.size(); ++g)
            groups_[g].expanded = open.count(groupPath(g)) != 0;
    }
    buildDisplay();
    endResetModel();
    emit rowsRebuilt();
    emit displayChanged();
}

void GroupModel::buildRows(Resort resort)
{
    resolveFields();
    Breaks breaks;
    buildOrder(resort, breaks);
    buildGroups(breaks);
}

void GroupModel::buildOrder(Resort resort, Breaks &breaks)
{
    const MemTable *t = table();
    const std::size_t n = t && t->isOpen() ? t->recordCount() : 0;
    AssignLarge(posOf_, n, kNone);
    if (resort == Resort::OnlyFilterChanged && unfilteredValid_ && unfiltered_.size() == n) {
        filterUnfiltered(breaks);
    } else {
        unfilteredValid_ = false;
        unfiltered_.clear();
        unfilteredBreaks_.clear();
        order_.clear();
        ReserveLarge(order_, n);
        for (std::size_t r = 0; r < n; ++r)
            if (!filter_ || filter_(r))
                order_.push_back(static_cast<std::uint32_t>(r));
        sortOrder(breaks);
        if (!filter_) {
            ReserveLarge(unfiltered_, order_.size());
            unfiltered_.assign(order_.begin(), order_.end());
            ReserveLarge(unfilteredBreaks_, breaks.size());
            unfilteredBreaks_.assign(breaks.begin(), breaks.end());
            unfilteredValid_ = true;
        }
    }
    for (std::size_t p = 0; p < order_.size(); ++p)
        posOf_[order_[p]] = static_cast<std::uint32_t>(p);
}

// The filter runs over the records in table order, marking them in posOf_; the walk in sorted
// order then reads only those marks. A kept record starts the outermost group that any record
// since the one kept before it started.
void GroupModel::filterUnfiltered(Breaks &breaks)
{
    if (!filter_) {
        order_ = unfiltered_;
        breaks = unfilteredBreaks_;
        return;
    }
    for (std::size_t r = 0; r < posOf_.size(); ++r)
        if (filter_(r))
            posOf_[r] = 0;
    order_.clear();
    breaks.clear();
    const bool grouped = levelCount() > 0;
    const auto none = static_cast<std::uint16_t>(levelCount());
    std::uint16_t pending = 0;
    for (std::size_t p = 0; p < unfiltered_.size(); ++p) {
        if (grouped)
            pending = std::min(pending, unfilteredBreaks_[p]);
        const std::uint32_t r = unfiltered_[p];
        if (posOf_[r] == kNone)
            continue;
        order_.push_back(r);
        if (grouped)
            breaks.push_back(pending);
        pending = none;
    }
}

void GroupModel::sortOrder(Breaks &breaks)
{
    breaks.clear();
    if (order_.empty())
        return;
    // Least significant first: the sort keys from last to first, then the grouping levels from
    // the innermost out. Each pass is stable, so ties keep the order of the pass before and, in
    // the end, the table's order.
    std::vector<Key> keys = grouping_;
    for (const Key &k : sorting_)
        if (std::none_of(grouping_.begin(), grouping_.end(),
                         [&](const Key &g) { return g.column == k.column; }))
            keys.push_back(k);
    std::vector<std::vector<std::uint32_t>> groupRanks(grouping_.size());
    std::vector<std::uint32_t> rank;
    for (std::size_t k = keys.size(); k-- > 0;) {
        const std::uint32_t distinct =
            ValueRanker::rankRows(*table(), fieldIndex(keys[k].column), order_, rank);
        countingSort(order_, rank, distinct, keys[k].descending);
        if (k < grouping_.size())
            groupRanks[k].swap(rank);
    }
    const int levels = levelCount();
    if (levels == 0)
        return;
    AssignLarge(breaks, order_.size(), static_cast<std::uint16_t>(levels));
    breaks[0] = 0;
    for (std::size_t p = 1; p < order_.size(); ++p)
        for (int l = 0; l < levels; ++l)
            if (groupRanks[l][order_[p - 1]] != groupRanks[l][order_[p]]) {
                breaks[p] = static_cast<std::uint16_t>(l);
                break;
            }
}

void GroupModel::buildGroups(const Breaks &breaks)
{
    const int levels = levelCount();
    groups_.clear();
    levelStart_.assign(std::size_t(levels) + 1, 0);
    if (levels == 0 || order_.empty())
        return;
    std::vector<std::vector<Group>> perLevel(levels);
    const auto openGroup = [&](int level, std::uint32_t begin) {
        Group g;
        g.begin = begin;
        g.level = static_cast<std::uint16_t>(level);
        g.parent = level == 0 ? kNone : static_cast<std::uint32_t>(perLevel[level - 1].size() - 1);
        perLevel[level].push_back(g);
    };
    for (int l = 0; l < levels; ++l)
        openGroup(l, 0);
    for (std::uint32_t p = 1; p < order_.size(); ++p)
        for (int l = breaks[p]; l < levels; ++l) {
            perLevel[l].back().end = p;
            openGroup(l, p);
        }
    for (int l = 0; l < levels; ++l)
        perLevel[l].back().end = static_cast<std::uint32_t>(order_.size());

    std::size_t total = 0;
    for (int l = 0; l < levels; ++l) {
        levelStart_[l] = static_cast<std::uint32_t>(total);
        total += perLevel[l].size();
    }
    levelStart_[levels] = static_cast<std::uint32_t>(total);
    groups_.reserve(total);
    for (int l = 0; l < levels; ++l)
        for (Group g : perLevel[l]) {
            if (g.parent != kNone)
                g.parent += levelStart_[l - 1];
            groups_.push_back(g);
        }
    for (std::uint32_t i = levelStart_[1 < levels ? 1 : levels]; i < groups_.size(); ++i) {
        Group &parent = groups_[groups_[i].parent];
        if (parent.childCount++ == 0)
            parent.firstChild = i;
    }
}

void GroupModel::buildDisplay()
{
    display_.clear();
    if (levelCount() == 0 || groups_.empty()) {
        if (levelCount() == 0) {
            display_.resize(order_.size());
            for (std::uint32_t p = 0; p < order_.size(); ++p)
                display_[p] = p;
        }
        return;
    }
    for (std::uint32_t g = levelBegin(0); g < levelEnd(0); ++g)
        appendDisplay(g);
}

void GroupModel::appendDisplay(std::uint32_t group)
{
    const Group &g = groups_[group];
    display_.push_back(kGroupBit | group);
    if (!g.expanded)
        return;
    if (g.level + 1 == levelCount()) {
        for (std::uint32_t p = g.begin; p < g.end; ++p)
            display_.push_back(p);
    } else {
        for (std::uint32_t c = g.firstChild; c < g.firstChild + g.childCount; ++c)
            appendDisplay(c);
    }
}

std::size_t GroupModel::positionOf(std::size_t tableRow) const noexcept
{
    if (tableRow >= posOf_.size() || posOf_[tableRow] == kNone)
        return npos;
    return posOf_[tableRow];
}

std::uint32_t GroupModel::groupAt(std::size_t position, int level) const noexcept
{
    if (level < 0 || level >= levelCount() || position >= order_.size())
        return kNone;
    const auto first = groups_.begin() + levelBegin(level);
    const auto last = groups_.begin() + levelEnd(level);
    auto it = std::upper_bound(first, last, position,
                               [](std::size_t p, const Group &g) { return p < g.begin; });
    if (it == first)
        return kNone;
    return static_cast<std::uint32_t>((it - 1) - groups_.begin());
}

GridDisplayRow GroupModel::displayRow(std::size_t row) const
{
    GridDisplayRow info;
    const std::uint32_t e = display_.at(row);
    if (e & kGroupBit) {
        const Group &g = groups_[e & ~kGroupBit];
        info.kind = GridRowKind::Group;
        info.level = g.level;
        info.expanded = g.expanded;
        info.tableRow = order_[g.begin];
        info.groupColumn = grouping_[g.level].column;
    } else {
        info.kind = GridRowKind::Data;
        info.level = levelCount();
        info.tableRow = order_[e];
    }
    return info;
}

namespace {
// Display rows are ordered by (first position, level), a data row being one level deeper than
// the innermost group.
struct DisplayKey {
    std::uint32_t position;
    int level;
    bool operator<(const DisplayKey &o) const
    {
        return position != o.position ? position < o.position : level < o.level;
    }
};
}  // namespace

std::size_t GroupModel::displayRowOfPosition(std::size_t position) const noexcept
{
    if (position >= order_.size())
        return npos;
    const DisplayKey target{static_cast<std::uint32_t>(position), levelCount()};
    const auto keyOf = [this](std::uint32_t e) {
        if (e & kGroupBit) {
            const Group &g = groups_[e & ~kGroupBit];
            return DisplayKey{g.begin, g.level};
        }
        return DisplayKey{e, levelCount()};
    };
    const auto it =
        std::lower_bound(display_.begin(), display_.end(), target,
                         [&](std::uint32_t e, const DisplayKey &t) { return keyOf(e) < t; });
    if (it == display_.end() || (*it & kGroupBit) || *it != position)
        return npos;
    return static_cast<std::size_t>(it - display_.begin());
}

std::size_t GroupModel::displayRowOfGroup(std::uint32_t group) const noexcept
{
    if (group >= groups_.size())
        return npos;
    const Group &g = groups_[group];
    const DisplayKey target{g.begin, g.level};
    const auto keyOf = [this](std::uint32_t e) {
        if (e & kGroupBit) {
            const Group &x = groups_[e & ~kGroupBit];
            return DisplayKey{x.begin, x.level};
        }
        return DisplayKey{e, levelCount()};
    };
    const auto it =
        std::lower_bound(display_.begin(), display_.end(), target,
                         [&](std::uint32_t e, const DisplayKey &t) { return keyOf(e) < t; });
    if (it == display_.end() || *it != (kGroupBit | group))
        return npos;
    return static_cast<std::size_t>(it - display_.begin());
}

QString GroupModel::groupValue(std::uint32_t group) const
{
    const Group &g = groups_.at(group);
    return cellText(order_[g.begin], grouping_[g.level].column);
}

QString GroupModel::groupText(std::uint32_t group) const
{
    const Group &g = groups_.at(group);
    return QStringLiteral("%1 : %2").arg(columns_.at(grouping_[g.level].column).caption,
                                         groupValue(group));
}

QString GroupModel::cellText(std::size_t tableRow, int column) const
{
    const int field = fieldIndex(column);
    const MemTable *t = table();
    if (field < 0 || !t || tableRow >= t->recordCount())
        return {};
    if (t->isComputedField(field))
        return QString::number(t->recId(tableRow));
    return fromCp1252(t->value(tableRow, field));
}

void GroupModel::setGroupExpanded(std::uint32_t group, bool expanded, bool recursive)
{
    if (group >= groups_.size())
        return;
    std::function<void(std::uint32_t)> apply = [&](std::uint32_t g) {
        groups_[g].expanded = expanded;
        if (recursive && groups_[g].firstChild != kNone)
            for (std::uint32_t c = 0; c < groups_[g].childCount; ++c)
                apply(groups_[g].firstChild + c);
    };
    apply(group);
    buildDisplay();
    emit displayChanged();
}

void GroupModel::setAllExpanded(bool expanded)
{
    for (Group &g : groups_)
        g.expanded = expanded;
    buildDisplay();
    emit displayChanged();
}

bool GroupModel::expandTo(std::size_t position)
{
    bool changed = false;
    for (int level = 0; level < levelCount(); ++level) {
        const std::uint32_t g = groupAt(position, level);
        if (g != kNone && !groups_[g].expanded) {
            groups_[g].expanded = true;
            changed = true;
        }
    }
    if (changed) {
        buildDisplay();
        emit displayChanged();
    }
    return changed;
}

void GroupModel::dataEvent(const DataEvent &event)
{
    struct Following {
        bool &flag;
        bool before;
        ~Following() { flag = before; }
    } following{followingTable_, followingTable_};
    followingTable_ = true;
    switch (event.kind) {
    case DataEventKind::DataSetChanged:
    case DataEventKind::RecordAppended:
        rebuildRows(true);
        emit tableChanged();
        break;
    case DataEventKind::RecordUpdated:
        changedRow_ = event.row;
        rebuildRows(true);
        changedRow_ = npos;
        emit tableChanged();
        break;
    case DataEventKind::RecordDeleted:
        removeTableRow(event.row);
        emit tableChanged();
        break;
    case DataEventKind::CursorMoved:
        emit tableCursorMoved(event.row);
        break;
    case DataEventKind::StateChanged:
    case DataEventKind::FieldChanged:
    case DataEventKind::UpdateRecord:
        break;
    }
}

// The record's place in the sorted order goes; the record after it starts every group that
// either of the two started.
void GroupModel::removeUnfiltered(std::uint32_t tableRow)
{
    const auto at = std::find(unfiltered_.begin(), unfiltered_.end(), tableRow);
    if (at == unfiltered_.end()) {
        unfilteredValid_ = false;
        return;
    }
    const auto p = static_cast<std::size_t>(at - unfiltered_.begin());
    if (!unfilteredBreaks_.empty()) {
        if (p + 1 < unfilteredBreaks_.size())
            unfilteredBreaks_[p + 1] = std::min(unfilteredBreaks_[p], unfilteredBreaks_[p + 1]);
        unfilteredBreaks_.erase(unfilteredBreaks_.begin() + static_cast<std::ptrdiff_t>(p));
    }
    unfiltered_.erase(at);
    for (std::uint32_t &r : unfiltered_)
        if (r > tableRow)
            --r;
}

// One record left the table: the rows after it in the table move up by one. Its groups shrink
// by one; only when one of them empties is the tree rebuilt from the sorted array.
void GroupModel::removeTableRow(std::size_t tableRow)
{
    if (tableRow >= posOf_.size()) {
        rebuildRows(true);
        return;
    }
    // The table has already dropped the record: read the rows after it at their new positions
    // from here on (the removed entry itself is dropped below).
    const std::uint32_t pos = posOf_[tableRow];
    for (std::uint32_t &r : order_)
        if (r > tableRow)
            --r;
    if (unfilteredValid_)
        removeUnfiltered(static_cast<std::uint32_t>(tableRow));
    posOf_.erase(posOf_.begin() + static_cast<std::ptrdiff_t>(tableRow));
    if (pos == kNone) {  // filtered out: nothing on screen changes
        emit displayChanged();
        return;
    }
    const int levels = levelCount();
    std::uint32_t leaf = levels ? groupAt(pos, levels - 1) : kNone;
    bool empties = false;
    for (int l = 0; l < levels; ++l) {
        const Group &g = groups_[groupAt(pos, l)];
        empties = empties || g.end - g.begin == 1;
    }
    if (empties) {
        beginResetModel();
    } else {
        const QModelIndex parentIndex = levels ? indexOfNode({true, leaf}) : QModelIndex();
        const int row = static_cast<int>(levels ? pos - groups_[leaf].begin : pos);
        beginRemoveRows(parentIndex, row, row);
    }
    order_.erase(order_.begin() + pos);
    for (Group &g : groups_) {
        if (g.begin > pos)
            --g.begin;
        if (g.end > pos)
            --g.end;
    }
    for (std::uint32_t p = pos; p < order_.size(); ++p)
        posOf_[order_[p]] = p;
    if (empties) {
        // Drop the empty groups and renumber the rest; the levels keep their layout.
        std::vector<std::uint32_t> renumber(groups_.size(), kNone);
        std::vector<Group> kept;
        kept.reserve(groups_.size());
        std::vector<std::uint32_t> starts(std::size_t(levels) + 1, 0);
        for (int l = 0; l < levels; ++l) {
            starts[l] = static_cast<std::uint32_t>(kept.size());
            for (std::uint32_t g = levelBegin(l); g < levelEnd(l); ++g)
                if (groups_[g].end > groups_[g].begin) {
                    renumber[g] = static_cast<std::uint32_t>(kept.size());
                    kept.push_back(groups_[g]);
                }
        }
        starts[levels] = static_cast<std::uint32_t>(kept.size());
        for (Group &g : kept) {
            if (g.parent != kNone)
                g.parent = renumber[g.parent];
            g.firstChild = kNone;
            g.childCount = 0;
        }
        for (std::uint32_t i = levels > 1 ? starts[1] : starts[levels]; i < kept.size(); ++i) {
            Group &parent = kept[kept[i].parent];
            if (parent.childCount++ == 0)
                parent.firstChild = i;
        }
        groups_.swap(kept);
        levelStart_.swap(starts);
    }
    buildDisplay();
    if (empties)
        endResetModel();
    else
        endRemoveRows();
    emit displayChanged();
}

// --- QAbstractItemModel

GroupModel::Node GroupModel::nodeOf(const QModelIndex &index) const
{
    const auto parentId = static_cast<std::uint32_t>(index.internalId());
    const auto row = static_cast<std::uint32_t>(index.row());
    if (parentId == 0) {
        if (levelCount() == 0)
            return {false, row};
        return {true, levelBegin(0) + row};
    }
    const Group &parent = groups_[parentId - 1];
    if (parent.level + 1 == levelCount())
        return {false, parent.begin + row};
    return {true, parent.firstChild + row};
}

QModelIndex GroupModel::indexOfNode(const Node &node) const
{
    if (!node.isGroup) {
        if (levelCount() == 0)
            return createIndex(static_cast<int>(node.id), 0, quintptr(0));
        const std::uint32_t leaf = groupAt(node.id, levelCount() - 1);
        return createIndex(static_cast<int>(node.id - groups_[leaf].begin), 0, quintptr(leaf + 1));
    }
    const Group &g = groups_[node.id];
    if (g.parent == kNone)
        return createIndex(static_cast<int>(node.id - levelBegin(0)), 0, quintptr(0));
    return createIndex(static_cast<int>(node.id - groups_[g.parent].firstChild), 0,
                       quintptr(g.parent + 1));
}

QModelIndex GroupModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!hasIndex(row, column, parent))
        return {};
    if (!parent.isValid())
        return createIndex(row, column, quintptr(0));
    const Node p = nodeOf(parent);
    return createIndex(row, column, quintptr(p.id + 1));
}

QModelIndex GroupModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || child.internalId() == 0)
        return {};
    return indexOfNode({true, static_cast<std::uint32_t>(child.internalId() - 1)});
}

int GroupModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return static_cast<int>(levelCount() == 0 ? order_.size() : levelEnd(0) - levelBegin(0));
    if (parent.column() != 0)
        return 0;
    const Node node = nodeOf(parent);
    if (!node.isGroup)
        return 0;
    const Group &g = groups_[node.id];
    return static_cast<int>(g.level + 1 == levelCount() ? g.end - g.begin : g.childCount);
}

int GroupModel::columnCount(const QModelIndex &) const
{
    return columnTotal();
}

QVariant GroupModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != ValueRole))
        return {};
    const Node node = nodeOf(index);
    if (node.isGroup) {
        if (index.column() != 0)
            return {};
        return role == ValueRole ? groupValue(node.id) : groupText(node.id);
    }
    return cellText(order_[node.id], index.column());
}

QVariant GroupModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= columnTotal())
        return {};
    return columns_[section].caption;
}

QModelIndex GroupModel::indexOfDisplayRow(std::size_t row) const
{
    if (row >= display_.size())
        return {};
    const std::uint32_t e = display_[row];
    return indexOfNode({(e & kGroupBit) != 0, e & ~kGroupBit});
}

std::size_t GroupModel::memoryUsage() const noexcept
{
    return order_.capacity() * sizeof(std::uint32_t) + posOf_.capacity() * sizeof(std::uint32_t) +
           groups_.capacity() * sizeof(Group) + display_.capacity() * sizeof(std::uint32_t) +
           levelStart_.capacity() * sizeof(std::uint32_t) +
           unfiltered_.capacity() * sizeof(std::uint32_t) +
           unfilteredBreaks_.capacity() * sizeof(std::uint16_t);
}

}  // namespace kit
