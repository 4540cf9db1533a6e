// A data-bound grouping grid: shows the records of a kit::MemTable (through a DataSource) as
// group rows and data rows, with a group-by box, sortable, movable and resizable column headers,
// an indicator column and keyboard commands. It knows nothing of what the records mean.
//
// The grid keeps only row indexes and group nodes (see GroupModel); it never reorders the
// table. Focusing a row makes a record current in the table, and the grid follows the table's
// current record. Not supported: in-place editing, inserting from the grid, multi-row selection,
// footers. Every text of the grid goes through QCoreApplication::translate("kit::Grid", ...).
#pragma once

#include "kit/grid/grid_types.h"

#include <QAbstractScrollArea>
#include <QRect>

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

namespace kit {

class DataSource;
class MemTable;
class GroupModel;
class GridHeader;
class GroupByBox;

class GridView : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kGroupIndent = 16;  // pixels per grouping level
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    explicit GridView(QWidget *parent = nullptr);
    ~GridView() override;

    // --- binding
    void setDataSource(DataSource *source);
    DataSource *dataSource() const noexcept;
    MemTable *table() const noexcept;
    // The field that identifies a record: a focused row makes current the first record, in table
    // order, with the row's key value. Empty: the row's own record.
    void setKeyField(const QString &fieldName);
    QString keyField() const;

    // --- design objects, found by objectName (the columns are QObject children of the view)
    void setLevelName(const QString &name);
    void setTableViewName(const QString &name);

    // --- columns (indexes in the order they were added)
    int addColumn(const GridColumn &column);
    int columnCount() const noexcept;
    const GridColumn &column(int index) const;
    int columnByName(const QString &name) const;  // -1 when none
    // Field index of a column in the bound table, -1 when unbound or no such field.
    int columnFieldIndex(int column) const;

    // --- view styles and options
    void setContentStyle(const GridStyle &style);   // for columns without their own
    void setHeaderStyle(const GridStyle &style);    // for columns without their own
    void setGroupRowStyle(const GridStyle &style);  // group rows, indents, group-by box
    void setIndicatorStyle(const GridStyle &style);
    GridStyle contentStyle(int column) const;  // the column's own or the view's default
    GridStyle headerStyle(int column) const;
    GridStyle groupRowStyle() const;
    GridStyle indicatorStyle() const;
    void setIndicatorVisible(bool on);
    bool isIndicatorVisible() const noexcept;
    void setHideSelection(bool on);  // no highlight while the grid has no focus. Default true.
    bool hideSelection() const noexcept;
    void setDeletingEnabled(bool on);  // Delete key deletes. Default true.
    void setGroupByBoxVisible(bool on);

    // --- columns on screen
    std::vector<int> visibleColumns() const;  // shown in the header row, in on-screen order
    // On-screen header width; the first visible column's header spans the group indents.
    int headerWidth(int column) const;
    int indicatorWidth() const;
    void moveColumn(int column, int toVisualPosition);  // position among visibleColumns()
    void setColumnWidth(int column, int width);

    // --- grouping and sorting
    std::vector<int> groupingColumns() const;  // in grouping order
    // Groups by `column` at `level` (the other levels move down); -1 ungroups it. An ungrouped
    // column that is visible comes back among the headers.
    void setColumnGroupIndex(int column, int level);
    void toggleGroupOrder(int column);
    // Header-click semantics: alone (replace), added (Shift) or removed (Ctrl).
    void sortByColumn(int column, SortOrder order, bool addToSort = false);
    void removeColumnSort(int column);
    void clearSorting();
    std::vector<int> sortingColumns() const;  // in sort priority order
    SortOrder columnSortOrder(int column) const;

    // --- filtering hook: rebuilds the rows (filter -> sort -> group). Empty = no filter.
    void setRowFilter(std::function<bool(std::size_t tableRow)> filter);
    bool hasRowFilter() const noexcept;
    // A widget placed along the bottom of the grid (nullptr removes it; the grid does not own
    // a widget it is given unless it is its child).
    void setFilterPanel(QWidget *panel);
    QWidget *filterPanel() const noexcept;
    // Draws the column's filter button as active.
    void setColumnFilterActive(int column, bool active);
    bool isColumnFilterActive(int column) const;
    // The column's filter button in global coordinates; empty when the column is not shown.
    QRect filterButtonGlobalRect(int column) const;

    // --- rows in display order (collapsed groups hide their rows)
    std::size_t displayRowCount() const noexcept;
    GridDisplayRow displayRow(std::size_t row) const;
    QString groupRowText(std::size_t row) const;          // "caption : value"
    QString groupRowValue(std::size_t row) const;         // the value alone
    QString cellText(std::size_t row, int column) const;  // data rows; empty for group rows
    std::size_t dataRowCount() const noexcept;            // records that pass the filter
    void expandAll();                                     // every group, in one update
    void collapseAll();
    void setRowExpanded(std::size_t row, bool expanded, bool recursive = false);

    // --- focus
    std::size_t focusedRow() const noexcept;  // display row, npos when none
    // Table position of the focused data row, or of the first record of the focused group in
    // the grid's order; npos when nothing is focused.
    std::size_t focusedTableRow() const;
    // Focuses a display row and makes its record current (npos clears the focus).
    void setFocusedRow(std::size_t row);
    // Focuses the row of a table record, opening the groups that hold it. False when the record
    // is not shown (filtered out).
    bool focusTableRow(std::size_t tableRow);

    // --- commands
    void deleteFocused();      // the focused record, or every record of the focused group
    QString copyText() const;  // what Ctrl+C puts on the clipboard
    void copyToClipboard() const;

    // --- texts and geometry
    static QString emptyText();       // "<No data to display>" through the "kit::Grid" context
    static QString groupByBoxHint();  // "Drag a column header here to group by that column"
    int rowHeight() const noexcept;
    int visibleColumnsWidth() const;       // the header row's width without the indicator
    QRect rowRect(std::size_t row) const;  // in viewport coordinates
    std::size_t rowAt(int viewportY) const;
    GridHeader *header() const noexcept;
    GroupByBox *groupByBox() const noexcept;
    GroupModel *model() const noexcept;

signals:
    void filterButtonClicked(int column, QRect globalRect);
    void rowsRebuilt();  // after the rows were rebuilt (data, filter, grouping or sort change)
    void focusedRowChanged(std::size_t row);
    void rowDoubleClicked(std::size_t row);
    void layoutChanged();  // columns moved, resized, grouped or ungrouped

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent *event) override;

private:
    struct Private;
    friend class GridHeader;
    friend class GroupByBox;
    std::unique_ptr<Private> d;
};

}  // namespace kit
