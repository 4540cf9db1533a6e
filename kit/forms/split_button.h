// A push button with a drop-down arrow part along its right edge. Only the arrow part opens the
// menu (a left press on it, or Alt or Shift with Up or Down while the button has the focus); a
// click on the rest of the button, Enter and Space run the button's own command, if it has one.
// The menu opens below the button, centred on it, or above it when the screen has no room below.
// A press on the button while its menu is open closes the menu.
#pragma once

#include <QPushButton>
#include <QRect>

class QMenu;

namespace kit {

class SplitButton : public QPushButton {
    Q_OBJECT
public:
    static constexpr int kArrowWidth = 15;

    explicit SplitButton(const QString &text, QWidget *parent = nullptr);

    // The menu the arrow part opens (not owned unless it is a child of the button).
    void setDropDownMenu(QMenu *menu);
    QMenu *dropDownMenu() const noexcept { return menu_; }
    bool isMenuOpen() const;
    void openMenu();
    QRect arrowRect() const;

    // Top-left corner of a menu of `menuSize` for a button at `button` on a screen whose usable
    // area is `screen`, all in global coordinates.
    static QPoint menuPosition(const QRect &button, const QSize &menuSize, const QRect &screen);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QMenu *menu_ = nullptr;
};

}  // namespace kit
