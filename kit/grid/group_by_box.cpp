#include "kit/grid/group_by_box.h"

#include "kit/grid/grid_view.h"
#include "kit/grid/grid_view_p.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace kit {

namespace {
constexpr int kMargin = 6;
constexpr int kGap = 10;
constexpr int kStep = 6;  // each level sits a little lower, like a staircase
}  // namespace

GroupByBox::GroupByBox(GridView *view)
    : QWidget(view)
    , view_(view)
{
    setObjectName(QStringLiteral("groupByBox"));
}

QRect GroupByBox::itemRect(int level) const
{
    const std::vector<int> groups = view_->groupingColumns();
    const int h = view_->d->headerHeight;
    int x = kMargin;
    for (int l = 0; l < int(groups.size()); ++l) {
        const GridStyle style = view_->headerStyle(groups[l]);
        const int w =
            QFontMetrics(style.font).horizontalAdvance(view_->column(groups[l]).caption) + 28;
        const QRect r(x, std::min(kMargin / 2 + l * kStep, std::max(0, height() - h)), w, h);
        if (l == level)
            return r;
        x += w + kGap;
    }
    return {};
}

int GroupByBox::levelAt(QPoint pos) const
{
    for (int l = 0; l < int(view_->groupingColumns().size()); ++l)
        if (itemRect(l).contains(pos))
            return l;
    return -1;
}

int GroupByBox::insertionLevelAt(int x) const
{
    const int levels = int(view_->groupingColumns().size());
    for (int l = 0; l < levels; ++l)
        if (x < itemRect(l).center().x())
            return l;
    return levels;
}

void GroupByBox::setDropMarker(int level)
{
    if (level != dropLevel_) {
        dropLevel_ = level;
        update();
    }
}

void GroupByBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const GridView::Private &d = *view_->d;
    p.fillRect(rect(), palette().color(QPalette::Dark).lighter(140));
    const std::vector<int> groups = view_->groupingColumns();
    if (groups.empty()) {
        p.setFont(d.group.font);
        p.setPen(palette().color(QPalette::Light));
        p.drawText(rect().adjusted(kMargin, 0, -kMargin, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   GridView::groupByBoxHint());
    }
    for (int l = 0; l < int(groups.size()); ++l) {
        const QRect r = itemRect(l);
        if (l > 0) {
            const QRect prev = itemRect(l - 1);
            p.setPen(palette().color(QPalette::Shadow));
            p.drawLine(prev.right(), prev.center().y(), r.left(), prev.center().y());
        }
        const GridColumn &c = view_->column(groups[l]);
        paintHeaderCell(p, r, view_->headerStyle(groups[l]), c.caption, c.headerAlignment,
                        c.sortOrder, 0);
    }
    if (dropLevel_ >= 0) {
        const int x =
            dropLevel_ < int(groups.size())
                ? itemRect(dropLevel_).left() - kGap / 2
                : (groups.empty() ? kMargin : itemRect(int(groups.size()) - 1).right() + kGap / 2);
        p.fillRect(QRect(x - 1, 2, 3, height() - 4), QColor(Qt::red));
    }
}

void GroupByBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressPos_ = event->position().toPoint();
    dragging_ = false;
    const int level = levelAt(pressPos_);
    pressed_ = level >= 0 ? view_->groupingColumns()[level] : -1;
}

void GroupByBox::mouseMoveEvent(QMouseEvent *event)
{
    if (pressed_ < 0)
        return;
    const QPoint pos = event->position().toPoint();
    if (!dragging_ && (pos - pressPos_).manhattanLength() >= QApplication::startDragDistance())
        dragging_ = true;
    if (dragging_) {
        const QPoint global = event->globalPosition().toPoint();
        view_->d->showDragLabel(pressed_, global);
        view_->d->updateDropMarkers(global, GridView::Private::DragSource::GroupByBox);
    }
}

void GroupByBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int column = pressed_;
    const bool wasDragging = dragging_;
    pressed_ = -1;
    dragging_ = false;
    if (column < 0)
        return;
    if (wasDragging) {
        view_->d->hideDragLabel();
        view_->d->dropColumn(column, event->globalPosition().toPoint(),
                             GridView::Private::DragSource::GroupByBox);
        return;
    }
    view_->toggleGroupOrder(column);
}

}  // namespace kit
