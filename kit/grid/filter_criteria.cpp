#include "kit/grid/filter_criteria.h"

#include <QCoreApplication>

#include <algorithm>

namespace kit {

namespace {

struct OperatorInfo {
    FilterOperator op;
    const char *name;
    int arity;
};

// The English names are the keys of the texts module's table: keep them exactly.
constexpr OperatorInfo kOperators[] = {
    {FilterOperator::Equal, "equals", 1},
    {FilterOperator::NotEqual, "does not equal", 1},
    {FilterOperator::Less, "is less than", 1},
    {FilterOperator::LessEqual, "is less than or equal to", 1},
    {FilterOperator::Greater, "is greater than", 1},
    {FilterOperator::GreaterEqual, "is greater than or equal to", 1},
    {FilterOperator::Between, "between", 2},
    {FilterOperator::NotBetween, "not between", 2},
    {FilterOperator::In, "in", -1},
    {FilterOperator::NotIn, "not in", -1},
    {FilterOperator::Like, "like", 1},
    {FilterOperator::NotLike, "not like", 1},
    {FilterOperator::BeginsWith, "begins with", 1},
    {FilterOperator::NotBeginsWith, "does not begin with", 1},
    {FilterOperator::EndsWith, "ends with", 1},
    {FilterOperator::NotEndsWith, "does not end with", 1},
    {FilterOperator::Contains, "contains", 1},
    {FilterOperator::NotContains, "does not contain", 1},
    {FilterOperator::Blank, "is blank", 0},
    {FilterOperator::NotBlank, "is not blank", 0},
    {FilterOperator::Yesterday, "is yesterday", 0},
    {FilterOperator::Today, "is today", 0},
    {FilterOperator::Tomorrow, "is tomorrow", 0},
    {FilterOperator::LastWeek, "is last week", 0},
    {FilterOperator::LastMonth, "is last month", 0},
    {FilterOperator::LastYear, "is last year", 0},
    {FilterOperator::ThisWeek, "is this week", 0},
    {FilterOperator::ThisMonth, "is this month", 0},
    {FilterOperator::ThisYear, "is this year", 0},
    {FilterOperator::NextWeek, "is next week", 0},
    {FilterOperator::NextMonth, "is next month", 0},
    {FilterOperator::NextYear, "is next year", 0},
};

const OperatorInfo &info(FilterOperator op) noexcept
{
    return kOperators[static_cast<int>(op)];
}

// True when a root-level item speaks of `column` alone.
bool isAbout(const FilterNode &item, int column)
{
    const std::vector<int> used = item.columns();
    return used.size() == 1 && used.front() == column;
}

}  // namespace

const std::vector<FilterOperator> &allFilterOperators()
{
    static const std::vector<FilterOperator> all = [] {
        std::vector<FilterOperator> ops;
        for (const OperatorInfo &i : kOperators)
            ops.push_back(i.op);
        return ops;
    }();
    return all;
}

int filterOperatorArity(FilterOperator op) noexcept
{
    return info(op).arity;
}

bool isDateOperator(FilterOperator op) noexcept
{
    return op >= FilterOperator::Yesterday;
}

const char *filterOperatorName(FilterOperator op) noexcept
{
    return info(op).name;
}

QString filterOperatorText(FilterOperator op)
{
    return gridText(filterOperatorName(op));
}

const char *filterGroupOperatorName(FilterGroupOperator op) noexcept
{
    switch (op) {
    case FilterGroupOperator::And:
        return "AND";
    case FilterGroupOperator::Or:
        return "OR";
    case FilterGroupOperator::NotAnd:
        return "NOT AND";
    case FilterGroupOperator::NotOr:
        return "NOT OR";
    }
    return "AND";
}

QString filterGroupOperatorText(FilterGroupOperator op)
{
    return gridText(filterGroupOperatorName(op));
}

QString gridText(const char *english)
{
    return QCoreApplication::translate("kit::Grid", english);
}

FilterNode FilterNode::group(FilterGroupOperator op, std::vector<FilterNode> children)
{
    FilterNode node;
    node.kind = Kind::Group;
    node.groupOperator = op;
    node.children = std::move(children);
    return node;
}

FilterNode FilterNode::condition(int column, FilterOperator op, QStringList values)
{
    FilterNode node;
    node.kind = Kind::Condition;
    node.column = column;
    node.op = op;
    node.values = std::move(values);
    return node;
}

bool FilterNode::isEmpty() const noexcept
{
    if (!isGroup())
        return false;
    return std::all_of(children.begin(), children.end(),
                       [](const FilterNode &child) { return child.isEmpty(); });
}

std::vector<int> FilterNode::columns() const
{
    std::vector<int> used;
    auto collect = [&used](const FilterNode &node, const auto &self) -> void {
        if (!node.isGroup()) {
            if (std::find(used.begin(), used.end(), node.column) == used.end())
                used.push_back(node.column);
            return;
        }
        for (const FilterNode &child : node.children)
            self(child, self);
    };
    collect(*this, collect);
    return used;
}

void FilterCriteria::setRoot(FilterNode root)
{
    if (!root.isGroup())
        root = FilterNode::group(FilterGroupOperator::And, {std::move(root)});
    root_ = std::move(root);
}

void FilterCriteria::clear()
{
    root_ = FilterNode::group(FilterGroupOperator::And);
    active_ = true;
}

void FilterCriteria::removeColumnFilter(int column)
{
    if (isAbout(root_, column)) {
        clear();
        return;
    }
    // Whatever the root's operator, what is left says nothing more about the column.
    auto &items = root_.children;
    items.erase(std::remove_if(items.begin(), items.end(),
                               [column](const FilterNode &item) {
                                   return item.isEmpty() || isAbout(item, column);
                               }),
                items.end());
}

void FilterCriteria::setColumnFilter(int column, FilterNode filter)
{
    removeColumnFilter(column);
    if (filter.isEmpty())
        return;
    if (root_.groupOperator != FilterGroupOperator::And && !root_.isEmpty())
        root_ = FilterNode::group(FilterGroupOperator::And, {root_});
    root_.groupOperator = FilterGroupOperator::And;
    // A single-condition AND group is just that condition.
    if (filter.isGroup() && filter.children.size() == 1 &&
        filter.groupOperator == FilterGroupOperator::And)
        filter = filter.children.front();
    root_.children.push_back(std::move(filter));
    active_ = true;
}

FilterNode FilterCriteria::columnFilter(int column) const
{
    if (root_.groupOperator != FilterGroupOperator::And)
        return isAbout(root_, column) ? root_ : FilterNode::group(FilterGroupOperator::And);
    for (const FilterNode &item : root_.children)
        if (isAbout(item, column))
            return item;
    return FilterNode::group(FilterGroupOperator::And);
}

}  // namespace kit
