#include "kit/grid/filter_controller.h"

#include "kit/dataset/mem_table.h"
#include "kit/grid/filter_builder_dialog.h"
#include "kit/grid/filter_custom_dialog.h"
#include "kit/grid/filter_description.h"
#include "kit/grid/filter_eval.h"
#include "kit/grid/filter_panel.h"
#include "kit/grid/grid_view.h"

#include <QDialog>

namespace kit {

GridFilterController::GridFilterController(GridView *grid)
    : QObject(grid)
    , grid_(grid)
    , panel_(new FilterPanel(grid))
    , dropDown_(new FilterDropDown(grid))
    , runDialog_([](QDialog &dialog) { return dialog.exec(); })
{
    setObjectName(QStringLiteral("gridFilterController"));
    panel_->hide();
    connect(grid_, &GridView::filterButtonClicked, this, &GridFilterController::openColumnDropDown);
    connect(dropDown_, &FilterDropDown::chosen, this,
            [this](FilterDropDown::Entry entry, const QString &value) {
                choose(dropDownColumn_, entry, value);
            });
    connect(panel_, &FilterPanel::removeClicked, this, &GridFilterController::clearFilter);
    connect(panel_, &FilterPanel::activeToggled, this, &GridFilterController::setFilterActive);
    connect(panel_, &FilterPanel::customizeClicked, this, &GridFilterController::openFilterBuilder);
    connect(panel_, &FilterPanel::recentChosen, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(recent_.size()))
            setFilter(FilterNode(recent_[index]));
    });
    updatePanel();
}

GridFilterController::~GridFilterController() = default;

std::vector<FilterColumn> GridFilterController::filterColumns() const
{
    std::vector<FilterColumn> columns;
    const MemTable *table = grid_->table();
    for (int i = 0; i < grid_->columnCount(); ++i) {
        const GridColumn &c = grid_->column(i);
        const int field = grid_->columnFieldIndex(i);
        const bool numeric = table && field >= 0 && table->isComputedField(field);
        columns.push_back({c.name, c.caption, field, numeric});
    }
    return columns;
}

void GridFilterController::setFilter(const FilterNode &root)
{
    criteria_.setRoot(root);
    criteria_.setActive(true);
    remember(criteria_.root());
    apply();
}

void GridFilterController::clearFilter()
{
    criteria_.clear();
    apply();
}

void GridFilterController::setFilterActive(bool on)
{
    criteria_.setActive(on);
    apply();
}

void GridFilterController::setColumnFilter(int column, const FilterNode &filter)
{
    if (filter.isEmpty())
        criteria_.removeColumnFilter(column);
    else
        criteria_.setColumnFilter(column, filter);
    remember(criteria_.root());
    apply();
}

void GridFilterController::setPanelMode(PanelMode mode)
{
    panelMode_ = mode;
    updatePanel();
}

void GridFilterController::openColumnDropDown(int column, const QRect &globalAnchor)
{
    const MemTable *table = grid_->table();
    if (column < 0 || column >= grid_->columnCount())
        return;
    const std::vector<FilterColumn> columns = filterColumns();
    dropDownColumn_ = column;
    ColumnValues values = table ? distinctColumnValues(*table, columns[column]) : ColumnValues{};
    dropDown_->setValues(table, columns[column].fieldIndex, std::move(values));
    dropDown_->popup(globalAnchor);
}

void GridFilterController::choose(int column, FilterDropDown::Entry entry, const QString &value)
{
    using Entry = FilterDropDown::Entry;
    switch (entry) {
    case Entry::All:
        setColumnFilter(column, FilterNode::group(FilterGroupOperator::And));
        break;
    case Entry::Custom:
        openCustomDialog(column);
        break;
    case Entry::Blanks:
        setColumnFilter(column, FilterNode::condition(column, FilterOperator::Blank));
        break;
    case Entry::NonBlanks:
        setColumnFilter(column, FilterNode::condition(column, FilterOperator::NotBlank));
        break;
    case Entry::Value:
        setColumnFilter(column, FilterNode::condition(column, FilterOperator::Equal, {value}));
        break;
    }
}

void GridFilterController::openCustomDialog(int column)
{
    const std::vector<FilterColumn> columns = filterColumns();
    if (column < 0 || column >= static_cast<int>(columns.size()))
        return;
    const MemTable *table = grid_->table();
    FilterValueModel values(table, columns[column].fieldIndex,
                            table ? distinctColumnValues(*table, columns[column]) : ColumnValues{},
                            false);
    FilterCustomDialog dialog(columns, column, &values, grid_->window());
    dialog.setFilter(criteria_.columnFilter(column));
    if (runDialog_(dialog) == QDialog::Accepted)
        setColumnFilter(column, dialog.filter());
}

void GridFilterController::openFilterBuilder()
{
    FilterBuilderDialog dialog(filterColumns(), grid_->window());
    dialog.setFilter(criteria_.root());
    connect(&dialog, &FilterBuilderDialog::applied, this,
            [this](const FilterNode &root) { setFilter(root); });
    runDialog_(dialog);
}

void GridFilterController::setDialogRunner(std::function<int(QDialog &)> runner)
{
    runDialog_ = std::move(runner);
}

void GridFilterController::apply()
{
    const MemTable *table = grid_->table();
    std::function<bool(std::size_t)> predicate;
    if (table && criteria_.filters())
        predicate = FilterEvaluator(*table, criteria_.root(), filterColumns()).predicate();
    grid_->setRowFilter(std::move(predicate));
    const std::vector<int> used =
        criteria_.filters() ? criteria_.root().columns() : std::vector<int>{};
    for (int i = 0; i < grid_->columnCount(); ++i)
        grid_->setColumnFilterActive(i, std::find(used.begin(), used.end(), i) != used.end());
    updatePanel();
    emit filterChanged();
}

void GridFilterController::remember(const FilterNode &root)
{
    if (root.isEmpty())
        return;
    recent_.erase(std::remove(recent_.begin(), recent_.end(), root), recent_.end());
    recent_.insert(recent_.begin(), root);
    if (recent_.size() > kRecentCount)
        recent_.resize(kRecentCount);
}

void GridFilterController::updatePanel()
{
    const std::vector<FilterColumn> columns = filterColumns();
    panel_->setFilterText(describeFilter(criteria_.root(), columns));
    panel_->setFilterActive(criteria_.isActive());
    QStringList recent;
    for (const FilterNode &root : recent_)
        recent << describeFilter(root, columns);
    panel_->setRecentFilters(recent);
    const bool show = panelMode_ == PanelMode::Always || !criteria_.isEmpty();
    if (show != (grid_->filterPanel() == panel_))
        grid_->setFilterPanel(show ? panel_ : nullptr);
}

}  // namespace kit
