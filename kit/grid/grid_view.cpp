#include "kit/grid/grid_view.h"

#include "kit/dataset/mem_table.h"
#include "kit/grid/grid_header.h"
#include "kit/grid/grid_view_p.h"
#include "kit/grid/group_by_box.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace kit {

namespace {

GridStyle systemStyle(QPalette::ColorRole background, QPalette::ColorRole text)
{
    GridStyle s;
    const QPalette palette = QApplication::palette();
    s.background = palette.color(background);
    s.textColor = palette.color(text);
    s.font = QApplication::font();
    s.fontFaceName = s.font.family();
    s.charset = 1;
    return s;
}

// Keeps a suspension of the table's notifications for as long as it lives.
class SuspendGuard {
public:
    explicit SuspendGuard(MemTable &table)
        : table_(table)
    {
        table_.suspendNotifications();
    }
    ~SuspendGuard() { table_.resumeNotifications(); }
    SuspendGuard(const SuspendGuard &) = delete;
    SuspendGuard &operator=(const SuspendGuard &) = delete;

private:
    MemTable &table_;
};

constexpr int kIndicatorWidth = 12;
constexpr int kExpandBox = 9;

}  // namespace

// ---------------------------------------------------------------- Private

void GridView::Private::pushKeys()
{
    std::vector<GroupModel::Key> grouping, sorting;
    for (int c : groupColumns)
        grouping.push_back({c, columns[c].sortOrder == SortOrder::Descending});
    for (int c : sortColumns)
        sorting.push_back({c, columns[c].sortOrder == SortOrder::Descending});
    rememberFocus();
    model->setGrouping(std::move(grouping));
    model->setSorting(std::move(sorting));
    for (std::size_t c = 0; c < columns.size(); ++c)
        syncColumnObject(static_cast<int>(c));
    relayout();
    emit q->layoutChanged();
}

void GridView::Private::syncColumnObject(int column)
{
    QObject *o = columnObjects[column];
    const GridColumn &c = columns[column];
    o->setProperty("caption", c.caption);
    o->setProperty("fieldName", c.fieldName);
    o->setProperty("width", c.width);
    o->setProperty("visible", c.visible);
    o->setProperty("groupIndex", c.groupIndex);
    o->setProperty("sortOrder", static_cast<int>(c.sortOrder));
}

void GridView::Private::relayout()
{
    int content = QFontMetrics(group.font).height();
    int headerText = QFontMetrics(headerDefault.font).height();
    for (std::size_t c = 0; c < columns.size(); ++c) {
        content = std::max(content, QFontMetrics(q->contentStyle(int(c)).font).height());
        headerText = std::max(headerText, QFontMetrics(q->headerStyle(int(c)).font).height());
    }
    rowHeight = content + 5;
    headerHeight = headerText + 8;
    boxHeight = boxVisible ? headerHeight + 14 : 0;
    const int panel = filterPanel ? filterPanel->sizeHint().height() : 0;
    q->setViewportMargins(0, boxHeight + headerHeight, 0, panel);
    const QRect vp = q->viewport()->geometry();
    box->setVisible(boxVisible);
    box->setGeometry(vp.left(), vp.top() - headerHeight - boxHeight, vp.width(), boxHeight);
    header->setGeometry(vp.left(), vp.top() - headerHeight, vp.width(), headerHeight);
    if (filterPanel)
        filterPanel->setGeometry(vp.left(), vp.bottom() + 1, vp.width(), panel);
    updateScrollBars();
    box->update();
    header->update();
    q->viewport()->update();
}

int GridView::Private::columnsWidth() const
{
    int w = 0;
    for (int c : q->visibleColumns())
        w += q->headerWidth(c);
    return w;
}

int GridView::Private::contentX() const
{
    return q->indicatorWidth() - q->horizontalScrollBar()->value();
}

std::size_t GridView::Private::pageRows() const
{
    return std::max<std::size_t>(1, std::size_t(q->viewport()->height() / rowHeight));
}

void GridView::Private::updateScrollBars()
{
    const std::size_t rows = model->displayRowCount();
    const std::size_t page = pageRows();
    QScrollBar *v = q->verticalScrollBar();
    v->setRange(0, rows > page ? int(rows - page) : 0);
    v->setPageStep(int(page));
    v->setSingleStep(1);
    QScrollBar *h = q->horizontalScrollBar();
    const int total = q->indicatorWidth() + columnsWidth();
    h->setRange(0, std::max(0, total - q->viewport()->width()));
    h->setPageStep(q->viewport()->width());
    h->setSingleStep(20);
}

void GridView::Private::rememberFocus()
{
    if (focused == npos || focused >= model->displayRowCount()) {
        focusRecord = npos;
        return;
    }
    const GridDisplayRow row = model->displayRow(focused);
    focusIsGroup = row.kind == GridRowKind::Group;
    focusRecord = row.tableRow;
    focusLevel = row.level;
}

// After the rows changed: the focus goes back to what it was on. A focused group whose first
// record changed (a new sort) makes that record current when `syncGroup` is set.
void GridView::Private::restoreFocus(bool syncGroup)
{
    std::size_t row = npos;
    const std::size_t pos = focusRecord == npos ? npos : model->positionOf(focusRecord);
    if (pos != npos) {
        if (focusIsGroup) {
            const std::uint32_t g = model->groupAt(pos, focusLevel);
            if (g != GroupModel::kNone)
                row = model->displayRowOfGroup(g);
        } else {
            row = model->displayRowOfPosition(pos);
        }
        // A record hidden by a collapsed group leaves the focus on the innermost open group.
        for (int level = model->levelCount() - 1; row == npos && level >= 0; --level)
            row = model->displayRowOfGroup(model->groupAt(pos, level));
    }
    const bool moveTable =
        syncGroup && focusIsGroup && row != npos && model->displayRow(row).tableRow != focusRecord;
    focused = npos;
    setFocused(row, moveTable);
}

void GridView::Private::makeCurrent(std::size_t tableRow)
{
    MemTable *t = model->table();
    // While a record is being inserted or edited, moving the cursor would post it half-typed.
    if (!t || t->state() != DataSetState::Browse || tableRow == npos ||
        tableRow >= t->recordCount())
        return;
    std::size_t target = tableRow;
    if (const int key = model->keyFieldIndex(); key >= 0) {
        const std::size_t first = t->findKey(t->value(tableRow, key));
        if (first != MemTable::npos)
            target = first;
    }
    syncing = true;
    struct Reset {
        bool &flag;
        ~Reset() { flag = false; }
    } reset{syncing};
    if (t->currentRow() != target)
        t->moveTo(target);
}

void GridView::Private::setFocused(std::size_t row, bool moveTable)
{
    if (row != npos && row >= model->displayRowCount())
        row = npos;
    const bool changed = row != focused;
    focused = row;
    rememberFocus();
    if (row != npos) {
        if (moveTable)
            makeCurrent(model->displayRow(row).tableRow);
        ensureVisible(row);
    }
    q->viewport()->update();
    if (changed)
        emit q->focusedRowChanged(row);
}

// Scrolls as little as needed; when it scrolls, it shows the row's outermost group row as well
// if both fit, so that a record comes into view with its company and department.
void GridView::Private::ensureVisible(std::size_t row, bool withGroups)
{
    QScrollBar *v = q->verticalScrollBar();
    const std::size_t top = std::size_t(v->value());
    const std::size_t page = pageRows();
    std::size_t anchor = row;
    if (model->levelCount() > 0) {
        const std::size_t pos = model->isGroupRow(row)
                                    ? model->groups()[model->displayTarget(row)].begin
                                    : model->displayTarget(row);
        anchor = std::min(row, model->displayRowOfGroup(model->groupAt(pos, 0)));
    }
    const bool fits = row - anchor < page;
    if (row < top || row >= top + page)
        v->setValue(int(fits ? anchor : (row < top ? row : row - page + 1)));
    else if (withGroups && anchor < top && fits)
        v->setValue(int(anchor));
}

void GridView::Private::followTable()
{
    MemTable *t = model->table();
    if (syncing || !t)
        return;
    if (t->hasCurrent())
        q->focusTableRow(t->currentRow());
}

void GridView::Private::dropColumn(int column, QPoint globalPos, DragSource source)
{
    const QPoint inBox = box->mapFromGlobal(globalPos);
    const QPoint inHeader = header->mapFromGlobal(globalPos);
    if (boxVisible && box->rect().contains(inBox)) {
        int level = box->insertionLevelAt(inBox.x());
        if (source == DragSource::GroupByBox) {
            const int current = columns[column].groupIndex;
            if (current >= 0 && current < level)
                --level;
        }
        q->setColumnGroupIndex(column, level);
        return;
    }
    if (header->rect().contains(inHeader)) {
        const std::vector<int> shown = q->visibleColumns();
        int gap = header->insertionIndexAt(inHeader.x());
        if (source == DragSource::GroupByBox) {
            q->setColumnGroupIndex(column, -1);
        } else {
            const auto at = std::find(shown.begin(), shown.end(), column);
            if (at != shown.end() && int(at - shown.begin()) < gap)
                --gap;
        }
        q->moveColumn(column, gap);
        return;
    }
    // Dropped elsewhere: a header taken from the box ungroups; one taken from the header row
    // stays where it was (dragging it away does not hide it).
    if (source == DragSource::GroupByBox)
        q->setColumnGroupIndex(column, -1);
}

void GridView::Private::showDragLabel(int column, QPoint globalPos)
{
    if (!dragLabel) {
        dragLabel = new QLabel(q, Qt::ToolTip | Qt::FramelessWindowHint);
        dragLabel->setObjectName(QStringLiteral("gridDragLabel"));
        dragLabel->setMargin(3);
        dragLabel->setFrameShape(QFrame::Box);
    }
    const GridStyle style = q->headerStyle(column);
    dragLabel->setFont(style.font);
    QPalette palette = dragLabel->palette();
    palette.setColor(QPalette::Window, style.background);
    palette.setColor(QPalette::WindowText, style.textColor);
    dragLabel->setPalette(palette);
    dragLabel->setAutoFillBackground(true);
    dragLabel->setText(columns[column].caption);
    dragLabel->adjustSize();
    dragLabel->move(globalPos + QPoint(8, 8));
    dragLabel->show();
}

void GridView::Private::hideDragLabel()
{
    if (dragLabel)
        dragLabel->hide();
    header->setDropMarker(-1);
    box->setDropMarker(-1);
}

void GridView::Private::updateDropMarkers(QPoint globalPos, DragSource)
{
    const QPoint inBox = box->mapFromGlobal(globalPos);
    const QPoint inHeader = header->mapFromGlobal(globalPos);
    box->setDropMarker(boxVisible && box->rect().contains(inBox) ? box->insertionLevelAt(inBox.x())
                                                                 : -1);
    header->setDropMarker(header->rect().contains(inHeader) ? header->insertionIndexAt(inHeader.x())
                                                            : -1);
}

// ---------------------------------------------------------------- GridView

GridView::GridView(QWidget *parent)
    : QAbstractScrollArea(parent)
    , d(std::make_unique<Private>(this))
{
    d->model = new GroupModel(this);
    d->model->setObjectName(QStringLiteral("gridModel"));
    d->levelObject = new QObject(this);
    d->viewObject = new QObject(d->levelObject);
    d->content = systemStyle(QPalette::Base, QPalette::Text);
    d->headerDefault = systemStyle(QPalette::Button, QPalette::ButtonText);
    d->group = systemStyle(QPalette::Button, QPalette::ButtonText);
    d->indicator = systemStyle(QPalette::Button, QPalette::ButtonText);
    d->header = new GridHeader(this);
    d->box = new GroupByBox(this);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);

    connect(d->model, &GroupModel::rowsRebuilt, this, [this] {
        d->restoreFocus(!d->model->isFollowingTable());
        emit rowsRebuilt();
    });
    connect(d->model, &GroupModel::displayChanged, this, [this] {
        d->updateScrollBars();
        d->restoreFocus(false);
        viewport()->update();
    });
    connect(d->model, &GroupModel::tableChanged, this, [this] { d->followTable(); });
    connect(d->model, &GroupModel::tableCursorMoved, this, [this](std::size_t row) {
        if (row != MemTable::npos)
            d->followTable();
    });
    d->relayout();
}

GridView::~GridView()
{
    d->model->disconnect(this);
    d->model->setDataSource(nullptr);
}

void GridView::setDataSource(DataSource *source)
{
    d->model->setDataSource(source);
    d->model->rebuild();
    d->followTable();
}

DataSource *GridView::dataSource() const noexcept
{
    return d->model->dataSource();
}

MemTable *GridView::table() const noexcept
{
    return d->model->table();
}

void GridView::setKeyField(const QString &fieldName)
{
    d->model->setKeyField(fieldName);
}

QString GridView::keyField() const
{
    return d->model->keyField();
}

void GridView::setLevelName(const QString &name)
{
    d->levelObject->setObjectName(name);
}

void GridView::setTableViewName(const QString &name)
{
    d->viewObject->setObjectName(name);
}

int GridView::addColumn(const GridColumn &column)
{
    const int index = int(d->columns.size());
    d->columns.push_back(column);
    d->visualOrder.push_back(index);
    d->filterActive.push_back(false);
    auto *object = new QObject(d->viewObject);
    object->setObjectName(column.name);
    d->columnObjects.push_back(object);

    std::vector<GroupModel::Column> modelColumns;
    for (const GridColumn &c : d->columns)
        modelColumns.push_back({c.caption, c.fieldName});
    d->model->setColumns(std::move(modelColumns));

    // Grouping levels in the order of their designed indexes.
    d->groupColumns.clear();
    d->sortColumns.clear();
    std::vector<std::pair<int, int>> grouped;
    for (std::size_t c = 0; c < d->columns.size(); ++c) {
        GridColumn &col = d->columns[c];
        if (col.groupIndex >= 0) {
            grouped.emplace_back(col.groupIndex, int(c));
            if (col.sortOrder == SortOrder::None)
                col.sortOrder = SortOrder::Ascending;
        } else if (col.sortOrder != SortOrder::None) {
            d->sortColumns.push_back(int(c));
        }
    }
    std::stable_sort(grouped.begin(), grouped.end());
    for (std::size_t level = 0; level < grouped.size(); ++level) {
        d->groupColumns.push_back(grouped[level].second);
        d->columns[grouped[level].second].groupIndex = int(level);
    }
    d->pushKeys();
    return index;
}

int GridView::columnCount() const noexcept
{
    return int(d->columns.size());
}

const GridColumn &GridView::column(int index) const
{
    return d->columns.at(index);
}

int GridView::columnByName(const QString &name) const
{
    for (std::size_t c = 0; c < d->columns.size(); ++c)
        if (d->columns[c].name == name)
            return int(c);
    return -1;
}

int GridView::columnFieldIndex(int column) const
{
    return d->model->fieldIndex(column);
}

void GridView::setContentStyle(const GridStyle &style)
{
    d->content = style;
    d->relayout();
}

void GridView::setHeaderStyle(const GridStyle &style)
{
    d->headerDefault = style;
    d->relayout();
}

void GridView::setGroupRowStyle(const GridStyle &style)
{
    d->group = style;
    setFont(style.font);
    d->relayout();
}

void GridView::setIndicatorStyle(const GridStyle &style)
{
    d->indicator = style;
    d->relayout();
}

GridStyle GridView::contentStyle(int column) const
{
    const GridColumn &c = d->columns.at(column);
    return c.contentStyle ? *c.contentStyle : d->content;
}

GridStyle GridView::headerStyle(int column) const
{
    const GridColumn &c = d->columns.at(column);
    return c.headerStyle ? *c.headerStyle : d->headerDefault;
}

GridStyle GridView::groupRowStyle() const
{
    return d->group;
}

GridStyle GridView::indicatorStyle() const
{
    return d->indicator;
}

void GridView::setIndicatorVisible(bool on)
{
    d->indicatorVisible = on;
    d->relayout();
}

bool GridView::isIndicatorVisible() const noexcept
{
    return d->indicatorVisible;
}

void GridView::setHideSelection(bool on)
{
    d->hideSelection = on;
    viewport()->update();
}

bool GridView::hideSelection() const noexcept
{
    return d->hideSelection;
}

void GridView::setDeletingEnabled(bool on)
{
    d->deleting = on;
}

void GridView::setGroupByBoxVisible(bool on)
{
    d->boxVisible = on;
    d->relayout();
}

std::vector<int> GridView::visibleColumns() const
{
    std::vector<int> shown;
    for (int c : d->visualOrder)
        if (d->columns[c].visible && d->columns[c].groupIndex < 0)
            shown.push_back(c);
    return shown;
}

int GridView::headerWidth(int column) const
{
    const std::vector<int> shown = visibleColumns();
    const int width = d->columns.at(column).width;
    return !shown.empty() && shown.front() == column ? width + d->firstColumnIndent() : width;
}

int GridView::indicatorWidth() const
{
    return d->indicatorVisible ? kIndicatorWidth : 0;
}

void GridView::moveColumn(int column, int toVisualPosition)
{
    std::vector<int> shown = visibleColumns();
    std::erase(shown, column);
    auto &order = d->visualOrder;
    std::erase(order, column);
    if (toVisualPosition >= 0 && toVisualPosition < int(shown.size())) {
        const auto before = std::find(order.begin(), order.end(), shown[toVisualPosition]);
        order.insert(before, column);
    } else if (!shown.empty()) {
        const auto last = std::find(order.begin(), order.end(), shown.back());
        order.insert(last + 1, column);
    } else {
        order.push_back(column);
    }
    d->relayout();
    emit layoutChanged();
}

void GridView::setColumnWidth(int column, int width)
{
    d->columns.at(column).width = std::max(8, width);
    d->syncColumnObject(column);
    d->relayout();
    emit layoutChanged();
}

std::vector<int> GridView::groupingColumns() const
{
    return d->groupColumns;
}

void GridView::setColumnGroupIndex(int column, int level)
{
    GridColumn &col = d->columns.at(column);
    auto &groups = d->groupColumns;
    const bool wasGrouped = std::find(groups.begin(), groups.end(), column) != groups.end();
    std::erase(groups, column);
    if (level >= 0) {
        groups.insert(groups.begin() +
                          std::min<std::ptrdiff_t>(level, std::ptrdiff_t(groups.size())),
                      column);
        std::erase(d->sortColumns, column);
        if (!wasGrouped)
            col.sortOrder = SortOrder::Ascending;
        col.visible = true;
    } else if (wasGrouped) {
        // An ungrouped column returns to the headers unsorted: its rows keep their order.
        col.sortOrder = SortOrder::None;
    }
    for (std::size_t c = 0; c < d->columns.size(); ++c)
        d->columns[c].groupIndex = -1;
    for (std::size_t l = 0; l < groups.size(); ++l)
        d->columns[groups[l]].groupIndex = int(l);
    d->pushKeys();
}

void GridView::toggleGroupOrder(int column)
{
    GridColumn &col = d->columns.at(column);
    if (col.groupIndex < 0)
        return;
    col.sortOrder =
        col.sortOrder == SortOrder::Descending ? SortOrder::Ascending : SortOrder::Descending;
    d->pushKeys();
}

void GridView::sortByColumn(int column, SortOrder order, bool addToSort)
{
    if (order == SortOrder::None) {
        removeColumnSort(column);
        return;
    }
    GridColumn &col = d->columns.at(column);
    if (col.groupIndex >= 0) {
        col.sortOrder = order;
        d->pushKeys();
        return;
    }
    if (!addToSort) {
        for (int c : d->sortColumns)
            d->columns[c].sortOrder = SortOrder::None;
        d->sortColumns.clear();
    }
    if (std::find(d->sortColumns.begin(), d->sortColumns.end(), column) == d->sortColumns.end())
        d->sortColumns.push_back(column);
    col.sortOrder = order;
    d->pushKeys();
}

void GridView::removeColumnSort(int column)
{
    GridColumn &col = d->columns.at(column);
    if (col.groupIndex >= 0)
        return;  // a grouping level is always ordered
    std::erase(d->sortColumns, column);
    col.sortOrder = SortOrder::None;
    d->pushKeys();
}

void GridView::clearSorting()
{
    for (int c : d->sortColumns)
        d->columns[c].sortOrder = SortOrder::None;
    d->sortColumns.clear();
    d->pushKeys();
}

std::vector<int> GridView::sortingColumns() const
{
    return d->sortColumns;
}

SortOrder GridView::columnSortOrder(int column) const
{
    return d->columns.at(column).sortOrder;
}

void GridView::setRowFilter(std::function<bool(std::size_t tableRow)> filter)
{
    d->rememberFocus();
    d->model->setRowFilter(std::move(filter));
}

bool GridView::hasRowFilter() const noexcept
{
    return d->model->hasRowFilter();
}

void GridView::setFilterPanel(QWidget *panel)
{
    if (d->filterPanel && d->filterPanel != panel)
        d->filterPanel->hide();
    d->filterPanel = panel;
    if (panel) {
        if (panel->parentWidget() != this)
            panel->setParent(this);
        panel->show();
    }
    d->relayout();
}

QWidget *GridView::filterPanel() const noexcept
{
    return d->filterPanel;
}

void GridView::setColumnFilterActive(int column, bool active)
{
    d->filterActive.at(column) = active;
    d->header->update();
}

bool GridView::isColumnFilterActive(int column) const
{
    return d->filterActive.at(column);
}

QRect GridView::filterButtonGlobalRect(int column) const
{
    const QRect r = d->header->filterButtonRect(column);
    if (r.isEmpty())
        return {};
    return QRect(d->header->mapToGlobal(r.topLeft()), r.size());
}

std::size_t GridView::displayRowCount() const noexcept
{
    return d->model->displayRowCount();
}

GridDisplayRow GridView::displayRow(std::size_t row) const
{
    return d->model->displayRow(row);
}

QString GridView::groupRowText(std::size_t row) const
{
    if (row >= displayRowCount() || !d->model->isGroupRow(row))
        return {};
    return d->model->groupText(d->model->displayTarget(row));
}

QString GridView::groupRowValue(std::size_t row) const
{
    if (row >= displayRowCount() || !d->model->isGroupRow(row))
        return {};
    return d->model->groupValue(d->model->displayTarget(row));
}

QString GridView::cellText(std::size_t row, int column) const
{
    if (row >= displayRowCount() || d->model->isGroupRow(row))
        return {};
    return d->model->cellText(d->model->tableRowAt(d->model->displayTarget(row)), column);
}

std::size_t GridView::dataRowCount() const noexcept
{
    return d->model->recordCount();
}

void GridView::expandAll()
{
    d->model->setAllExpanded(true);
}

void GridView::collapseAll()
{
    d->model->setAllExpanded(false);
}

void GridView::setRowExpanded(std::size_t row, bool expanded, bool recursive)
{
    if (row >= displayRowCount() || !d->model->isGroupRow(row))
        return;
    d->model->setGroupExpanded(d->model->displayTarget(row), expanded, recursive);
}

std::size_t GridView::focusedRow() const noexcept
{
    return d->focused;
}

std::size_t GridView::focusedTableRow() const
{
    return d->focused == npos ? npos : displayRow(d->focused).tableRow;
}

void GridView::setFocusedRow(std::size_t row)
{
    d->setFocused(row, true);
}

bool GridView::focusTableRow(std::size_t tableRow)
{
    const std::size_t pos = d->model->positionOf(tableRow);
    if (pos == GroupModel::npos) {
        d->setFocused(npos, false);
        return false;
    }
    d->model->expandTo(pos);
    d->setFocused(d->model->displayRowOfPosition(pos), false);
    return true;
}

void GridView::deleteFocused()
{
    MemTable *t = table();
    if (!t || d->focused == npos || t->state() != DataSetState::Browse)
        return;
    std::vector<std::size_t> rows;
    if (d->model->isGroupRow(d->focused)) {
        const GroupModel::Group &g = d->model->groups()[d->model->displayTarget(d->focused)];
        for (std::uint32_t p = g.begin; p < g.end; ++p)
            rows.push_back(d->model->tableRowAt(p));
    } else {
        rows.push_back(displayRow(d->focused).tableRow);
    }
    // Each record of the row or group goes by its own position, not by its key, so that records
    // sharing a key elsewhere in the table are left alone.
    std::sort(rows.begin(), rows.end(), std::greater<>());
    const auto deleteAt = [&](std::size_t row) {
        d->syncing = true;
        try {
            if (t->currentRow() != row)
                t->moveTo(row);
        } catch (...) {
            d->syncing = false;
            throw;
        }
        d->syncing = false;
        t->deleteCurrent();
    };
    if (rows.size() == 1) {
        deleteAt(rows.front());
        return;
    }
    SuspendGuard suspended(*t);  // one refresh at the end
    for (std::size_t row : rows)
        deleteAt(row);
}

QString GridView::copyText() const
{
    if (d->focused == npos)
        return {};
    const std::vector<int> shown = visibleColumns();
    QStringList captions, cells;
    for (int c : shown)
        captions << d->columns[c].caption;
    if (d->model->isGroupRow(d->focused)) {
        cells << groupRowValue(d->focused);
    } else {
        for (int c : shown)
            cells << cellText(d->focused, c);
    }
    return captions.join(QLatin1Char('\t')) + QStringLiteral("\r\n") +
           cells.join(QLatin1Char('\t')) + QStringLiteral("\r\n");
}

void GridView::copyToClipboard() const
{
    const QString text = copyText();
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

QString GridView::emptyText()
{
    return QCoreApplication::translate("kit::Grid", "<No data to display>");
}

QString GridView::groupByBoxHint()
{
    return QCoreApplication::translate("kit::Grid",
                                       "Drag a column header here to group by that column");
}

int GridView::rowHeight() const noexcept
{
    return d->rowHeight;
}

int GridView::visibleColumnsWidth() const
{
    return d->columnsWidth();
}

QRect GridView::rowRect(std::size_t row) const
{
    const long top = long(row) - long(verticalScrollBar()->value());
    return QRect(0, int(top) * d->rowHeight, viewport()->width(), d->rowHeight);
}

std::size_t GridView::rowAt(int viewportY) const
{
    if (viewportY < 0)
        return npos;
    const std::size_t row =
        std::size_t(verticalScrollBar()->value()) + std::size_t(viewportY / d->rowHeight);
    return row < displayRowCount() ? row : npos;
}

GridHeader *GridView::header() const noexcept
{
    return d->header;
}

GroupByBox *GridView::groupByBox() const noexcept
{
    return d->box;
}

GroupModel *GridView::model() const noexcept
{
    return d->model;
}

// ---------------------------------------------------------------- painting and input

void GridView::paintEvent(QPaintEvent *)
{
    QPainter p(viewport());
    const QRect area = viewport()->rect();
    const QPalette &pal = palette();
    p.fillRect(area, pal.color(QPalette::Base));
    const QColor lines = pal.color(QPalette::Mid);
    const std::size_t count = displayRowCount();
    const int rh = d->rowHeight;
    const int x0 = d->contentX();
    const int total = d->columnsWidth();
    const int levels = int(d->groupColumns.size());
    const std::vector<int> shown = visibleColumns();
    const bool showFocus = hasFocus() || !d->hideSelection;

    if (count == 0) {
        p.setPen(pal.color(QPalette::Disabled, QPalette::Text));
        p.setFont(d->group.font);
        p.drawText(QRect(x0, 0, std::max(total, area.width() - x0), rh * 2), Qt::AlignCenter,
                   emptyText());
    }
    const std::size_t first = std::size_t(verticalScrollBar()->value());
    const std::size_t last = std::min(count, first + d->pageRows() + 1);
    for (std::size_t row = first; row < last; ++row) {
        const int y = int(row - first) * rh;
        const bool highlight = showFocus && row == d->focused;
        const GridDisplayRow info = displayRow(row);
        const int indents = info.kind == GridRowKind::Group ? info.level : levels;
        for (int l = 0; l < indents; ++l) {
            const QRect cell(x0 + l * kGroupIndent, y, kGroupIndent, rh);
            p.fillRect(cell, d->group.background);
            p.setPen(lines);
            p.drawLine(cell.topRight(), cell.bottomRight());
        }
        if (info.kind == GridRowKind::Group) {
            const int bx = x0 + info.level * kGroupIndent;
            const QRect rest(bx, y, std::max(0, total - info.level * kGroupIndent), rh);
            p.fillRect(rest, highlight ? pal.color(QPalette::Highlight) : d->group.background);
            const QRect sign(bx + (kGroupIndent - kExpandBox) / 2, y + (rh - kExpandBox) / 2,
                             kExpandBox - 1, kExpandBox - 1);
            p.fillRect(sign, pal.color(QPalette::Base));
            p.setPen(d->group.textColor);
            p.drawRect(sign);
            const QPoint c = sign.center();
            p.drawLine(c.x() - 2, c.y(), c.x() + 2, c.y());
            if (!info.expanded)
                p.drawLine(c.x(), c.y() - 2, c.x(), c.y() + 2);
            p.setFont(d->group.font);
            p.setPen(highlight ? pal.color(QPalette::HighlightedText) : d->group.textColor);
            const QRect text = rest.adjusted(kGroupIndent + 2, 0, -2, 0);
            p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, groupRowText(row));
            p.setPen(lines);
            p.drawLine(rest.bottomLeft(), rest.bottomRight());
        } else {
            int x = x0;
            for (std::size_t i = 0; i < shown.size(); ++i) {
                const int c = shown[i];
                const int w = headerWidth(c) - (i == 0 ? levels * kGroupIndent : 0);
                if (i == 0)
                    x += levels * kGroupIndent;
                const QRect cell(x, y, w, rh);
                x += w;
                if (cell.right() < 0 || cell.left() > area.right())
                    continue;
                const GridStyle style = contentStyle(c);
                p.fillRect(cell, highlight ? pal.color(QPalette::Highlight) : style.background);
                p.setFont(style.font);
                p.setPen(highlight ? pal.color(QPalette::HighlightedText) : style.textColor);
                const QRect text = cell.adjusted(2, 0, -2, 0);
                const QString value = cellText(row, c);
                p.drawText(
                    text, int(d->columns[c].textAlignment),
                    QFontMetrics(style.font).elidedText(value, Qt::ElideRight, text.width()));
                p.setPen(lines);
                p.drawLine(cell.topRight(), cell.bottomRight());
                p.drawLine(cell.bottomLeft(), cell.bottomRight());
            }
        }
        if (d->indicatorVisible) {
            const QRect ind(0, y, kIndicatorWidth, rh);
            p.fillRect(ind, d->indicator.background);
            p.setPen(pal.color(QPalette::Dark));
            p.drawRect(ind.adjusted(0, 0, -1, -1));
            if (row == d->focused) {
                p.setBrush(d->indicator.textColor);
                p.setPen(Qt::NoPen);
                const QPoint c = ind.center();
                const QPoint tri[3] = {
                    {c.x() - 2, c.y() - 4}, {c.x() + 2, c.y()}, {c.x() - 2, c.y() + 4}};
                p.drawPolygon(tri, 3);
                p.setBrush(Qt::NoBrush);
            }
        }
    }
    if (d->indicatorVisible && last < first + d->pageRows() + 1) {
        const int y = int(last - first) * rh;
        p.fillRect(QRect(0, y, kIndicatorWidth, area.height() - y), d->indicator.background);
    }
}

void GridView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    d->relayout();
    if (d->focused != npos)
        d->ensureVisible(d->focused, true);
}

void GridView::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const std::size_t count = displayRowCount();
    const std::size_t row = d->focused;
    const bool onGroup = row != npos && d->model->isGroupRow(row);
    const auto moveTo = [&](std::size_t target) {
        if (count == 0)
            return;
        setFocusedRow(std::min(target, count - 1));
    };
    switch (event->key()) {
    case Qt::Key_Delete:
        if ((mods == Qt::NoModifier || mods == Qt::ControlModifier) && d->deleting)
            deleteFocused();
        break;
    case Qt::Key_Insert:
        if (mods == Qt::ControlModifier)
            copyToClipboard();
        break;  // inserting from the grid is off
    case Qt::Key_C:
        if (mods == Qt::ControlModifier)
            copyToClipboard();
        else
            QAbstractScrollArea::keyPressEvent(event);
        break;
    case Qt::Key_Right:
        if (onGroup)
            setRowExpanded(row, true);
        break;
    case Qt::Key_Left:
        if (onGroup)
            setRowExpanded(row, false);
        break;
    case Qt::Key_Asterisk:
        if (onGroup && (event->modifiers() & Qt::KeypadModifier))
            setRowExpanded(row, true, true);
        break;
    case Qt::Key_Down:
        moveTo(row == npos ? 0 : row + 1);
        break;
    case Qt::Key_Up:
        moveTo(row == npos || row == 0 ? 0 : row - 1);
        break;
    case Qt::Key_PageDown:
        moveTo(row == npos ? 0 : row + d->pageRows());
        break;
    case Qt::Key_PageUp:
        moveTo(row == npos || row < d->pageRows() ? 0 : row - d->pageRows());
        break;
    case Qt::Key_Home:
        moveTo(0);
        break;
    case Qt::Key_End:
        moveTo(count ? count - 1 : 0);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void GridView::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    const std::size_t row = rowAt(pos.y());
    if (row == npos)
        return;
    setFocusedRow(row);
    if (d->model->isGroupRow(row)) {
        const int level = displayRow(row).level;
        const int bx = d->contentX() + level * kGroupIndent;
        if (pos.x() >= bx && pos.x() < bx + kGroupIndent)
            setRowExpanded(row, !displayRow(row).expanded);
    }
}

void GridView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const std::size_t row = rowAt(event->position().toPoint().y());
    if (row == npos)
        return;
    if (d->model->isGroupRow(row))
        setRowExpanded(row, !displayRow(row).expanded);
    else
        emit rowDoubleClicked(row);
}

void GridView::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();  // the focused row shows again; nothing else changes
}

void GridView::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void GridView::scrollContentsBy(int dx, int)
{
    if (dx != 0)
        d->header->update();
    viewport()->update();
}

bool GridView::viewportEvent(QEvent *event)
{
    return QAbstractScrollArea::viewportEvent(event);
}

}  // namespace kit
