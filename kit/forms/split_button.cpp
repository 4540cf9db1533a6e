#include "kit/forms/split_button.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>

namespace kit {

SplitButton::SplitButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{}

void SplitButton::setDropDownMenu(QMenu *menu)
{
    if (menu_)
        menu_->removeEventFilter(this);
    menu_ = menu;
    if (menu_)
        menu_->installEventFilter(this);
}

bool SplitButton::isMenuOpen() const
{
    return menu_ && menu_->isVisible();
}

QRect SplitButton::arrowRect() const
{
    return {width() - kArrowWidth, 0, kArrowWidth, height()};
}

QPoint SplitButton::menuPosition(const QRect &button, const QSize &menuSize, const QRect &screen)
{
    const int x = button.center().x() + 1 - menuSize.width() / 2;
    int y = button.bottom() + 1;
    if (y + menuSize.height() > screen.bottom() + 1)
        y = button.top() - menuSize.height();
    return {x, y};
}

void SplitButton::openMenu()
{
    if (!menu_ || menu_->isVisible())
        return;
    const QRect button(mapToGlobal(QPoint(0, 0)), size());
    const QScreen *s = screen();
    const QRect area =
        s ? s->availableGeometry() : QRect(button.topLeft(), QSize(1 << 20, 1 << 20));
    menu_->popup(menuPosition(button, menu_->sizeHint(), area));
}

void SplitButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && arrowRect().contains(event->position().toPoint())) {
        openMenu();
        event->accept();
        return;
    }
    QPushButton::mousePressEvent(event);
}

void SplitButton::keyPressEvent(QKeyEvent *event)
{
    const bool upOrDown = event->key() == Qt::Key_Down || event->key() == Qt::Key_Up;
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (upOrDown && (mods == Qt::AltModifier || mods == Qt::ShiftModifier)) {
        openMenu();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

// A press on the button while the menu is open goes to the menu first, which would close and
// hand the press on to the button, opening the menu again; the press ends with the menu closed.
bool SplitButton::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == menu_ && event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        const QPoint global = press->globalPosition().toPoint();
        if (!menu_->rect().contains(menu_->mapFromGlobal(global)) &&
            rect().contains(mapFromGlobal(global))) {
            menu_->setAttribute(Qt::WA_NoMouseReplay);
            menu_->hide();
            return true;
        }
    }
    return QPushButton::eventFilter(watched, event);
}

void SplitButton::paintEvent(QPaintEvent *event)
{
    QPushButton::paintEvent(event);
    QPainter painter(this);
    const QRect arrow = arrowRect();
    painter.setPen(QColor(0x7f, 0x9d, 0xb9));
    painter.drawLine(arrow.left(), 4, arrow.left(), height() - 5);
    QStyleOption option;
    option.initFrom(this);
    option.rect = QRect(arrow.left() + 3, height() / 2 - 4, kArrowWidth - 6, 8);
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &painter, this);
}

}  // namespace kit
