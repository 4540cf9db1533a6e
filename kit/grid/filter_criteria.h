// The grid's filter as a tree: groups joined by AND, OR, NOT AND or NOT OR, holding conditions
// (column, operator, values) and sub-groups. It is a plain value: the controller, the dialogs and
// the filter files copy and compare it freely; evaluating it over a table is FilterEvaluator's.
//
// Columns are identified by their index in the list of FilterColumn the filter is used with (the
// grid's column indexes), and in files by their name.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace kit {

enum class FilterOperator {
    Equal,
    NotEqual,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    Between,
    NotBetween,
    In,
    NotIn,
    Like,
    NotLike,
    BeginsWith,
    NotBeginsWith,
    EndsWith,
    NotEndsWith,
    Contains,
    NotContains,
    Blank,
    NotBlank,
    Yesterday,
    Today,
    Tomorrow,
    LastWeek,
    LastMonth,
    LastYear,
    ThisWeek,
    ThisMonth,
    ThisYear,
    NextWeek,
    NextMonth,
    NextYear,
};

enum class FilterGroupOperator { And, Or, NotAnd, NotOr };

// Every operator, in the order the dialogs list them.
const std::vector<FilterOperator> &allFilterOperators();
// How many values an operator takes: 0, 1, 2 (a range) or -1 (a list of one or more).
int filterOperatorArity(FilterOperator op) noexcept;
bool isDateOperator(FilterOperator op) noexcept;
// The English display name ("equals", "is blank", ...), untranslated; filterOperatorText
// translates it in the grid's context.
const char *filterOperatorName(FilterOperator op) noexcept;
QString filterOperatorText(FilterOperator op);
const char *filterGroupOperatorName(FilterGroupOperator op) noexcept;  // "AND", "NOT OR", ...
QString filterGroupOperatorText(FilterGroupOperator op);

// Translates an English text of the grid and its filter facilities ("kit::Grid" context).
QString gridText(const char *english);

// What a filter needs to know of a grid column.
struct FilterColumn {
    QString name;          // identifies the column in filter files
    QString caption;       // shown in descriptions and dialogs
    int fieldIndex = -1;   // field of the bound table; -1 when unbound (matches nothing)
    bool numeric = false;  // values compare as integers (a record-number field)
};

struct FilterNode {
    enum class Kind { Group, Condition };

    static FilterNode group(FilterGroupOperator op, std::vector<FilterNode> children = {});
    static FilterNode condition(int column, FilterOperator op, QStringList values = {});

    bool isGroup() const noexcept { return kind == Kind::Group; }
    // True for a group that holds no condition at any depth (it filters nothing).
    bool isEmpty() const noexcept;
    // Columns referred to anywhere below (each once, in order of first use).
    std::vector<int> columns() const;
    bool operator==(const FilterNode &) const = default;

    Kind kind = Kind::Group;
    FilterGroupOperator groupOperator = FilterGroupOperator::And;  // groups
    std::vector<FilterNode> children;                              // groups
    int column = -1;                                               // conditions
    FilterOperator op = FilterOperator::Equal;                     // conditions
    QStringList values;                                            // conditions
};

// The grid's filter: a root group that can be switched off without being lost.
class FilterCriteria {
public:
    const FilterNode &root() const noexcept { return root_; }
    void setRoot(FilterNode root);  // a condition is wrapped into an AND group
    void clear();
    bool isEmpty() const noexcept { return root_.isEmpty(); }
    bool isActive() const noexcept { return active_; }
    void setActive(bool on) noexcept { active_ = on; }
    // Whether rows are being filtered: set and switched on.
    bool filters() const noexcept { return active_ && !isEmpty(); }

    // The column drop-down's edits. They replace what the root says about one column alone (its
    // conditions and the sub-groups that only speak of it) and keep everything else; a new
    // column filter is ANDed with the rest, so a root that is not an AND becomes a sub-group of
    // a new AND root.
    void setColumnFilter(int column, FilterNode filter);
    void removeColumnFilter(int column);
    // What the root says about one column alone: a condition, a group, or an empty group (the
    // first such item when there are several).
    FilterNode columnFilter(int column) const;

    bool operator==(const FilterCriteria &) const = default;

private:
    FilterNode root_ = FilterNode::group(FilterGroupOperator::And);
    bool active_ = true;
};

}  // namespace kit
