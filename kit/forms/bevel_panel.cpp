#include "kit/forms/bevel_panel.h"

#include <QPainter>

namespace kit {

namespace {

// Draws `width` lines of a 3-D edge just inside `rect` and returns what is left inside it.
QRect drawBevel(QPainter &painter, QRect rect, Bevel bevel, int width, const QPalette &palette)
{
    if (bevel == Bevel::None)
        return rect;
    if (bevel != Bevel::Space) {
        const QColor light = palette.color(QPalette::Light);
        const QColor dark = palette.color(QPalette::Dark);
        const QColor &topLeft = bevel == Bevel::Raised ? light : dark;
        const QColor &bottomRight = bevel == Bevel::Raised ? dark : light;
        for (int i = 0; i < width; ++i) {
            const QRect r = rect.adjusted(i, i, -i, -i);
            painter.setPen(topLeft);
            painter.drawLine(r.topLeft(), r.topRight());
            painter.drawLine(r.topLeft(), r.bottomLeft());
            painter.setPen(bottomRight);
            painter.drawLine(r.bottomLeft(), r.bottomRight());
            painter.drawLine(r.topRight(), r.bottomRight());
        }
    }
    return rect.adjusted(width, width, -width, -width);
}

}  // namespace

BevelPanel::BevelPanel(QWidget *parent, const BevelStyle &style)
    : QWidget(parent)
    , style_(style)
{
    setAutoFillBackground(true);
}

void BevelPanel::setBevelStyle(const BevelStyle &style)
{
    style_ = style;
    if (edges_) {
        const int m = inset();
        edges_->setContentsMargins(m, m, m, m);
    }
    update();
}

int BevelPanel::inset() const noexcept
{
    int inset = style_.borderWidth + (style_.singleBorder ? 1 : 0);
    if (style_.outer != Bevel::None)
        inset += style_.bevelWidth;
    if (style_.inner != Bevel::None)
        inset += style_.bevelWidth;
    return inset;
}

void BevelPanel::setCaption(const QString &caption)
{
    caption_ = caption;
    update();
}

void BevelPanel::setColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
}

EdgeLayout *BevelPanel::edges()
{
    if (!edges_) {
        edges_ = new EdgeLayout(this);
        const int m = inset();
        edges_->setContentsMargins(m, m, m, m);
    }
    return edges_;
}

void BevelPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QRect r = rect();
    if (style_.singleBorder) {
        painter.setPen(palette().color(QPalette::Shadow));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    r = drawBevel(painter, r, style_.outer, style_.bevelWidth, palette());
    r.adjust(style_.borderWidth, style_.borderWidth, -style_.borderWidth, -style_.borderWidth);
    r = drawBevel(painter, r, style_.inner, style_.bevelWidth, palette());
    if (!caption_.isEmpty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.setFont(font());
        painter.drawText(r, Qt::AlignCenter, caption_);
    }
}

}  // namespace kit
