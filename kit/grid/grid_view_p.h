// Internal state of GridView, shared with its header and group-by box widgets.
#pragma once

#include "kit/grid/grid_view.h"
#include "kit/grid/group_model.h"

#include <QPointer>

class QLabel;

namespace kit {

struct GridView::Private {
    explicit Private(GridView *view)
        : q(view)
    {}

    // Where a dragged header was taken from.
    enum class DragSource { Header, GroupByBox };

    GridView *q;
    GroupModel *model = nullptr;
    GridHeader *header = nullptr;
    GroupByBox *box = nullptr;
    QPointer<QWidget> filterPanel;
    QObject *levelObject = nullptr;
    QObject *viewObject = nullptr;
    QLabel *dragLabel = nullptr;

    std::vector<GridColumn> columns;
    std::vector<QObject *> columnObjects;
    std::vector<int> visualOrder;   // every column, on-screen order
    std::vector<int> groupColumns;  // grouping order
    std::vector<int> sortColumns;   // sort priority
    std::vector<bool> filterActive;

    GridStyle content, headerDefault, group, indicator;
    bool indicatorVisible = true;
    bool hideSelection = true;
    bool deleting = true;
    bool boxVisible = true;

    std::size_t focused = npos;
    // What the focus is on, so that it survives a rebuild: a record, or the group of `level`
    // holding that record.
    bool focusIsGroup = false;
    std::size_t focusRecord = npos;
    int focusLevel = 0;
    bool syncing = false;  // the grid itself is moving the table's cursor

    int rowHeight = 18;
    int headerHeight = 20;
    int boxHeight = 34;

    // --- helpers
    void pushKeys();
    void relayout();
    void updateScrollBars();
    int firstColumnIndent() const { return GridView::kGroupIndent * int(groupColumns.size()); }
    int columnsWidth() const;
    int contentX() const;  // viewport x of the first column's left edge
    std::size_t pageRows() const;
    void setFocused(std::size_t row, bool moveTable);
    void rememberFocus();
    void restoreFocus(bool syncGroup);
    void makeCurrent(std::size_t tableRow);
    void ensureVisible(std::size_t row, bool withGroups = false);
    void followTable();
    void dropColumn(int column, QPoint globalPos, DragSource source);
    void showDragLabel(int column, QPoint globalPos);
    void hideDragLabel();
    void updateDropMarkers(QPoint globalPos, DragSource source);
    void syncColumnObject(int column);
};

}  // namespace kit

class QPainter;

namespace kit {

// Draws a header button (used by the header row and the group-by box); returns the rectangle
// left for the caption.
void paintHeaderCell(QPainter &painter, const QRect &rect, const GridStyle &style,
                     const QString &caption, Qt::Alignment alignment, SortOrder order,
                     int reserveRight);

}  // namespace kit
