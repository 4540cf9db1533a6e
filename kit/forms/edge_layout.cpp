#include "kit/forms/edge_layout.h"

#include <QWidget>

namespace kit {

EdgeLayout::EdgeLayout(QWidget *parent)
    : QLayout(parent)
{
    setContentsMargins(0, 0, 0, 0);
    setSpacing(0);
}

EdgeLayout::~EdgeLayout()
{
    for (Entry &entry : entries_)
        delete entry.item;
}

void EdgeLayout::addWidget(QWidget *widget, Edge edge, int extent)
{
    addChildWidget(widget);
    entries_.push_back({new QWidgetItem(widget), edge, extent});
    invalidate();
}

Edge EdgeLayout::edgeOf(const QWidget *widget) const
{
    for (const Entry &entry : entries_)
        if (entry.item->widget() == widget)
            return entry.edge;
    return Edge::Fill;
}

void EdgeLayout::addItem(QLayoutItem *item)
{
    entries_.push_back({item, Edge::Fill, 0});
    invalidate();
}

int EdgeLayout::count() const
{
    return static_cast<int>(entries_.size());
}

QLayoutItem *EdgeLayout::itemAt(int index) const
{
    if (index < 0 || index >= count())
        return nullptr;
    return entries_[static_cast<std::size_t>(index)].item;
}

QLayoutItem *EdgeLayout::takeAt(int index)
{
    if (index < 0 || index >= count())
        return nullptr;
    QLayoutItem *item = entries_[static_cast<std::size_t>(index)].item;
    entries_.erase(entries_.begin() + index);
    invalidate();
    return item;
}

QSize EdgeLayout::sizeHint() const
{
    return minimumSize();
}

// The docked extents add up; the filling widgets may shrink to nothing.
QSize EdgeLayout::minimumSize() const
{
    int width = 0, height = 0;
    for (const Entry &entry : entries_) {
        if (entry.edge == Edge::Top || entry.edge == Edge::Bottom)
            height += entry.extent;
        else if (entry.edge == Edge::Left || entry.edge == Edge::Right)
            width += entry.extent;
    }
    const QMargins m = contentsMargins();
    return {width + m.left() + m.right(), height + m.top() + m.bottom()};
}

void EdgeLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    QRect rest = rect.marginsRemoved(contentsMargins());
    for (Edge edge : {Edge::Top, Edge::Bottom, Edge::Left, Edge::Right, Edge::Fill}) {
        for (const Entry &entry : entries_) {
            if (entry.edge != edge || entry.item->isEmpty())
                continue;
            QRect r = rest;
            switch (edge) {
            case Edge::Top:
                r.setHeight(entry.extent);
                rest.setTop(rest.top() + entry.extent);
                break;
            case Edge::Bottom:
                r.setTop(rest.bottom() + 1 - entry.extent);
                rest.setBottom(rest.bottom() - entry.extent);
                break;
            case Edge::Left:
                r.setWidth(entry.extent);
                rest.setLeft(rest.left() + entry.extent);
                break;
            case Edge::Right:
                r.setLeft(rest.right() + 1 - entry.extent);
                rest.setRight(rest.right() - entry.extent);
                break;
            case Edge::Fill:
                break;
            }
            entry.item->widget() ? entry.item->widget()->setGeometry(r)
                                 : entry.item->setGeometry(r);
        }
    }
}

}  // namespace kit
