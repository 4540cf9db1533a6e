// The grid's rows: the records of a table that pass the row filter, sorted and grouped, as a tree
// of group nodes over one array of table positions, plus the flat list of the rows on screen.
//
// A rebuild runs filter -> collation ranks (one per distinct value) -> stable counting sorts
// (least significant key first, so ties keep table order) -> group nodes by runs. Each group is
// a contiguous range of the sorted array; groups are stored level by level, so the children of a
// group are contiguous too. The table is never reordered. Expansion is per group node and lives
// only here; `displayRows` lists what the view shows (collapsed groups hide their rows).
//
// As a QAbstractItemModel the tree is: root -> level-0 groups -> ... -> data rows (one column
// per grid column). An index's internal id names its parent node (0: the root, k + 1: group k).
// A re-sort within unchanged groups is one layoutChanged, the deletion of a record that leaves
// its groups non-empty is one rowsRemoved; everything else is a reset.
#pragma once

#include "kit/dataset/data_source.h"
#include "kit/grid/grid_types.h"

#include <QAbstractItemModel>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kit {

class GroupModel : public QAbstractItemModel, public DataLink {
    Q_OBJECT
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    // data(): a group's value alone, or a data row's cell text (as DisplayRole).
    static constexpr int ValueRole = Qt::UserRole;

    struct Column {
        QString caption;
        QString fieldName;
    };
    struct Key {
        int column = -1;
        bool descending = false;
        bool operator==(const Key &) const = default;
    };
    struct Group {
        std::uint32_t begin = 0, end = 0;  // range of sorted positions
        std::uint32_t parent = kNone;      // group index
        std::uint32_t firstChild = kNone;  // first child group (levels above the last)
        std::uint32_t childCount = 0;
        std::uint16_t level = 0;
        bool expanded = false;
    };

    explicit GroupModel(QObject *parent = nullptr);
    ~GroupModel() override;

    // --- configuration; each setter rebuilds the rows
    void setColumns(std::vector<Column> columns);
    int columnTotal() const noexcept { return static_cast<int>(columns_.size()); }
    const Column &columnInfo(int column) const { return columns_.at(column); }
    int fieldIndex(int column) const;  // -1 when unbound
    void setKeyField(const QString &fieldName);
    QString keyField() const { return keyField_; }
    int keyFieldIndex() const noexcept { return keyIndex_; }
    void setGrouping(std::vector<Key> levels);
    const std::vector<Key> &grouping() const noexcept { return grouping_; }
    void setSorting(std::vector<Key> keys);
    const std::vector<Key> &sorting() const noexcept { return sorting_; }
    void setRowFilter(std::function<bool(std::size_t)> filter);
    bool hasRowFilter() const noexcept { return static_cast<bool>(filter_); }
    // Filter, sort and group again from the table, keeping open the groups that were open.
    void rebuild();

    // --- the rows
    std::size_t recordCount() const noexcept { return order_.size(); }
    std::size_t tableRowAt(std::size_t position) const { return order_.at(position); }
    std::size_t positionOf(std::size_t tableRow) const noexcept;  // npos when filtered out
    int levelCount() const noexcept { return static_cast<int>(grouping_.size()); }
    const std::vector<Group> &groups() const noexcept { return groups_; }
    // The group of `level` holding a sorted position.
    std::uint32_t groupAt(std::size_t position, int level) const noexcept;

    std::size_t displayRowCount() const noexcept { return display_.size(); }
    bool isGroupRow(std::size_t row) const { return display_.at(row) & kGroupBit; }
    // The group index of a group row, or the sorted position of a data row.
    std::uint32_t displayTarget(std::size_t row) const { return display_.at(row) & ~kGroupBit; }
    GridDisplayRow displayRow(std::size_t row) const;
    std::size_t displayRowOfGroup(std::uint32_t group) const noexcept;      // npos: hidden
    std::size_t displayRowOfPosition(std::size_t position) const noexcept;  // npos: hidden
    QString groupValue(std::uint32_t group) const;
    QString groupText(std::uint32_t group) const;  // "caption : value"
    QString cellText(std::size_t tableRow, int column) const;

    // --- expansion
    void setGroupExpanded(std::uint32_t group, bool expanded, bool recursive = false);
    void setAllExpanded(bool expanded);
    // Opens the groups holding a sorted position; true when something opened.
    bool expandTo(std::size_t position);

    // --- QAbstractItemModel
    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // The model index of a display row (column 0).
    QModelIndex indexOfDisplayRow(std::size_t row) const;

    // True while the rows follow a change of the table (not a change of the grid's own settings).
    bool isFollowingTable() const noexcept { return followingTable_; }

    // Bytes of the grid's own structures (for the memory figure).
    std::size_t memoryUsage() const noexcept;

signals:
    void rowsRebuilt();     // the rows were built again
    void displayChanged();  // the rows on screen changed (expansion, deletion, rebuild)
    void tableChanged();    // the table's records changed (after the rows caught up)
    void tableCursorMoved(std::size_t tableRow);

protected:
    void dataEvent(const DataEvent &event) override;

private:
    static constexpr std::uint32_t kGroupBit = 0x80000000u;
    struct Node {
        bool isGroup = false;
        std::uint32_t id = 0;  // group index or sorted position
    };

    void resolveFields();
    enum class Resort { Yes, OnlyFilterChanged };
    void rebuildRows(bool keepExpanded, Resort resort = Resort::Yes);
    void buildRows(Resort resort = Resort::Yes);
    // Per sorted position: the outermost grouping level whose group begins there (the level
    // count when none does).
    using Breaks = std::vector<std::uint16_t>;
    void buildOrder(Resort resort, Breaks &breaks);
    void filterUnfiltered(Breaks &breaks);
    void sortOrder(Breaks &breaks);
    void buildGroups(const Breaks &breaks);
    void removeUnfiltered(std::uint32_t tableRow);
    void buildDisplay();
    void appendDisplay(std::uint32_t group);
    void removeTableRow(std::size_t tableRow);
    bool rowsStillInTable() const;
    std::string groupPath(std::uint32_t group) const;
    Node nodeOf(const QModelIndex &index) const;
    QModelIndex indexOfNode(const Node &node) const;
    std::uint32_t levelBegin(int level) const noexcept { return levelStart_[level]; }
    std::uint32_t levelEnd(int level) const noexcept { return levelStart_[level + 1]; }
    std::string_view rawValue(std::size_t tableRow, int column) const;

    std::vector<Column> columns_;
    std::vector<int> fields_;
    QString keyField_;
    int keyIndex_ = -1;
    std::vector<Key> grouping_, sorting_;
    std::function<bool(std::size_t)> filter_;

    std::vector<std::uint32_t> order_;  // sorted positions -> table rows
    // Every record in sorted order, kept while no filter hides any: a filter is then applied
    // or removed by one pass over it, with no new sort.
    std::vector<std::uint32_t> unfiltered_;
    Breaks unfilteredBreaks_;
    bool unfilteredValid_ = false;
    std::vector<std::uint32_t> posOf_;  // table rows -> sorted position, kNone when filtered
    std::vector<Group> groups_;
    std::vector<std::uint32_t> levelStart_{0};  // groups of level L: [levelStart_[L], [L + 1])
    std::vector<std::uint32_t> display_;        // kGroupBit | group, or a sorted position
    bool followingTable_ = false;
    std::size_t changedRow_ = npos;  // a record whose new values the groups do not show yet
};

}  // namespace kit
