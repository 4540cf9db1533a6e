#include "kit/grid/grid_header.h"

#include "kit/grid/grid_view.h"
#include "kit/grid/grid_view_p.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace kit {

namespace {
constexpr int kFilterButton = 14;
constexpr int kResizeMargin = 3;
constexpr int kSortMarker = 10;
}  // namespace

void paintHeaderCell(QPainter &p, const QRect &rect, const GridStyle &style, const QString &caption,
                     Qt::Alignment alignment, SortOrder order, int reserveRight)
{
    const QPalette &pal = QApplication::palette();
    p.fillRect(rect, style.background);
    p.setPen(pal.color(QPalette::Light));
    p.drawLine(rect.topLeft(), rect.topRight());
    p.drawLine(rect.topLeft(), rect.bottomLeft());
    p.setPen(pal.color(QPalette::Dark));
    p.drawLine(rect.bottomLeft(), rect.bottomRight());
    p.drawLine(rect.topRight(), rect.bottomRight());
    QRect text = rect.adjusted(4, 0, -4 - reserveRight, 0);
    if (order != SortOrder::None) {
        const QRect marker(text.right() - kSortMarker + 2, rect.center().y() - 3, 7, 6);
        text.setRight(marker.left() - 2);
        p.setPen(Qt::NoPen);
        p.setBrush(pal.color(QPalette::Dark));
        const QPolygon triangle = order == SortOrder::Ascending
                                      ? QPolygon({marker.bottomLeft(), marker.bottomRight(),
                                                  QPoint(marker.center().x(), marker.top())})
                                      : QPolygon({marker.topLeft(), marker.topRight(),
                                                  QPoint(marker.center().x(), marker.bottom())});
        p.drawPolygon(triangle);
        p.setBrush(Qt::NoBrush);
    }
    p.setFont(style.font);
    p.setPen(style.textColor);
    p.drawText(text, int(alignment),
               QFontMetrics(style.font).elidedText(caption, Qt::ElideRight, text.width()));
}

GridHeader::GridHeader(GridView *view)
    : QWidget(view)
    , view_(view)
{
    setObjectName(QStringLiteral("gridHeader"));
    setMouseTracking(true);
}

QRect GridHeader::sectionRect(int column) const
{
    int x = view_->d->contentX();
    for (int c : view_->visibleColumns()) {
        const int w = view_->headerWidth(c);
        if (c == column)
            return QRect(x, 0, w, height());
        x += w;
    }
    return {};
}

QRect GridHeader::filterButtonRect(int column) const
{
    const QRect s = sectionRect(column);
    if (s.isEmpty())
        return {};
    return QRect(s.right() - kFilterButton, s.top() + 2, kFilterButton - 1, s.height() - 4);
}

int GridHeader::columnAt(int x) const
{
    if (x < view_->indicatorWidth())
        return -1;
    int left = view_->d->contentX();
    for (int c : view_->visibleColumns()) {
        const int w = view_->headerWidth(c);
        if (x >= left && x < left + w)
            return c;
        left += w;
    }
    return -1;
}

int GridHeader::edgeAt(int x) const
{
    int right = view_->d->contentX();
    for (int c : view_->visibleColumns()) {
        right += view_->headerWidth(c);
        if (std::abs(x - right) <= kResizeMargin)
            return c;
    }
    return -1;
}

int GridHeader::insertionIndexAt(int x) const
{
    int left = view_->d->contentX();
    int gap = 0;
    for (int c : view_->visibleColumns()) {
        const int w = view_->headerWidth(c);
        if (x < left + w / 2)
            return gap;
        left += w;
        ++gap;
    }
    return gap;
}

void GridHeader::setDropMarker(int gap)
{
    if (gap != dropGap_) {
        dropGap_ = gap;
        update();
    }
}

void GridHeader::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const GridView::Private &d = *view_->d;
    p.fillRect(rect(), palette().color(QPalette::Window));
    int x = d.contentX();
    int markerX = -1;
    int gap = 0;
    for (int c : view_->visibleColumns()) {
        if (gap++ == dropGap_)
            markerX = x;
        const int w = view_->headerWidth(c);
        const QRect section(x, 0, w, height());
        const bool button = c == hover_ || view_->isColumnFilterActive(c);
        paintHeaderCell(p, section, view_->headerStyle(c), d.columns[c].caption,
                        d.columns[c].headerAlignment, d.columns[c].sortOrder,
                        button ? kFilterButton : 0);
        if (button) {
            const QRect b = filterButtonRect(c);
            p.setPen(palette().color(QPalette::Dark));
            p.drawRect(b.adjusted(0, 0, -1, -1));
            p.setBrush(view_->isColumnFilterActive(c) ? QColor(Qt::blue)
                                                      : palette().color(QPalette::ButtonText));
            p.setPen(Qt::NoPen);
            const QPoint m = b.center();
            p.drawPolygon(QPolygon({QPoint(m.x() - 3, m.y() - 1), QPoint(m.x() + 3, m.y() - 1),
                                    QPoint(m.x(), m.y() + 2)}));
            p.setBrush(Qt::NoBrush);
        }
        x += w;
    }
    if (dropGap_ >= gap)
        markerX = x;
    if (view_->indicatorWidth() > 0)
        paintHeaderCell(p, QRect(0, 0, view_->indicatorWidth(), height()), d.indicator, {},
                        Qt::AlignLeft, SortOrder::None, 0);
    if (markerX >= 0) {
        p.fillRect(QRect(markerX - 1, 0, 3, height()), QColor(Qt::red));
    }
}

void GridHeader::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    pressPos_ = pos;
    dragging_ = false;
    if (const int edge = edgeAt(pos.x()); edge >= 0) {
        resizing_ = edge;
        resizeStartWidth_ = view_->column(edge).width;
        return;
    }
    const int c = columnAt(pos.x());
    if (c >= 0 && filterButtonRect(c).contains(pos)) {
        emit view_->filterButtonClicked(c, view_->filterButtonGlobalRect(c));
        return;
    }
    pressed_ = c;
}

void GridHeader::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (resizing_ >= 0) {
        view_->setColumnWidth(resizing_, resizeStartWidth_ + pos.x() - pressPos_.x());
        return;
    }
    if (pressed_ >= 0) {
        if (!dragging_ && (pos - pressPos_).manhattanLength() >= QApplication::startDragDistance())
            dragging_ = true;
        if (dragging_) {
            const QPoint global = event->globalPosition().toPoint();
            view_->d->showDragLabel(pressed_, global);
            view_->d->updateDropMarkers(global, GridView::Private::DragSource::Header);
        }
        return;
    }
    setCursor(edgeAt(pos.x()) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
    const int c = columnAt(pos.x());
    if (c != hover_) {
        hover_ = c;
        update();
    }
}

void GridHeader::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int column = pressed_;
    const bool wasDragging = dragging_;
    pressed_ = -1;
    resizing_ = -1;
    dragging_ = false;
    if (column < 0)
        return;
    if (wasDragging) {
        view_->d->hideDragLabel();
        view_->d->dropColumn(column, event->globalPosition().toPoint(),
                             GridView::Private::DragSource::Header);
        return;
    }
    click(column, event->modifiers());
}

void GridHeader::leaveEvent(QEvent *)
{
    hover_ = -1;
    update();
}

// Alone: sort by this column only, toggling when it already sorts. Shift: add to the sort (or
// toggle within it). Ctrl: remove its sort.
void GridHeader::click(int column, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::ControlModifier) {
        view_->removeColumnSort(column);
        return;
    }
    const SortOrder now = view_->columnSortOrder(column);
    const SortOrder next =
        now == SortOrder::Ascending ? SortOrder::Descending : SortOrder::Ascending;
    if (modifiers & Qt::ShiftModifier) {
        view_->sortByColumn(column, next, true);
        return;
    }
    const std::vector<int> sorted = view_->sortingColumns();
    const bool alone = sorted.size() == 1 && sorted.front() == column;
    view_->sortByColumn(column, alone ? next : SortOrder::Ascending, false);
}

}  // namespace kit
