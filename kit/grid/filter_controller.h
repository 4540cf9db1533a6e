// Gives a GridView its filtering: the column drop-downs, the custom filter dialog, the filter
// panel with its recent filters and the filter builder dialog, all editing one FilterCriteria
// that is handed to the grid as its row filter. The table is never touched: the grid only shows
// fewer rows.
#pragma once

#include "kit/grid/filter_criteria.h"
#include "kit/grid/filter_drop_down.h"

#include <QObject>
#include <QPointer>
#include <QRect>

#include <functional>
#include <vector>

class QDialog;

namespace kit {

class FilterPanel;
class GridView;

class GridFilterController : public QObject {
    Q_OBJECT
public:
    enum class PanelMode { WhileFiltered, Always };
    static constexpr int kRecentCount = 10;

    // Attaches to `grid` (which becomes the parent): its filter buttons open the drop-down, and
    // the filter panel sits at its bottom.
    explicit GridFilterController(GridView *grid);
    ~GridFilterController() override;

    GridView *grid() const noexcept { return grid_; }
    const FilterCriteria &criteria() const noexcept { return criteria_; }
    // The grid's columns as the filter sees them.
    std::vector<FilterColumn> filterColumns() const;

    // Sets the whole filter (switched on) and remembers it among the recent ones.
    void setFilter(const FilterNode &root);
    void clearFilter();
    void setFilterActive(bool on);
    // What the filter says about one column; an empty node removes the column's filter.
    void setColumnFilter(int column, const FilterNode &filter);
    const std::vector<FilterNode> &recentFilters() const noexcept { return recent_; }

    FilterPanel *panel() const noexcept { return panel_; }
    void setPanelMode(PanelMode mode);
    FilterDropDown *dropDown() const noexcept { return dropDown_; }

    // The four ways in: the header's drop-down, the custom dialog, the panel, the builder.
    void openColumnDropDown(int column, const QRect &globalAnchor);
    void choose(int column, FilterDropDown::Entry entry, const QString &value);
    void openCustomDialog(int column);
    void openFilterBuilder();

    // Runs a modal dialog; exec() unless a test answers the dialog itself.
    void setDialogRunner(std::function<int(QDialog &)> runner);

signals:
    void filterChanged();

private:
    void apply();
    void remember(const FilterNode &root);
    void updatePanel();

    GridView *grid_;
    FilterCriteria criteria_;
    std::vector<FilterNode> recent_;
    FilterPanel *panel_;
    FilterDropDown *dropDown_;
    int dropDownColumn_ = -1;
    PanelMode panelMode_ = PanelMode::WhileFiltered;
    std::function<int(QDialog &)> runDialog_;
};

}  // namespace kit
