// The header row of a GridView: one section per shown column (the first spans the group
// indents), sort markers, filter buttons; click to sort, drag to move or to group, drag an edge
// to resize.
#pragma once

#include <QPoint>
#include <QWidget>

namespace kit {

class GridView;

class GridHeader : public QWidget {
    Q_OBJECT
public:
    explicit GridHeader(GridView *view);

    // In header coordinates; empty when the column is not shown.
    QRect sectionRect(int column) const;
    QRect filterButtonRect(int column) const;
    int columnAt(int x) const;  // -1 when none
    // Gap index among the shown columns nearest to x (0 = before the first).
    int insertionIndexAt(int x) const;
    void setDropMarker(int gap);  // -1 hides it

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    int edgeAt(int x) const;  // column whose right edge is under x, -1 when none
    void click(int column, Qt::KeyboardModifiers modifiers);

    GridView *view_;
    int pressed_ = -1;
    int resizing_ = -1;
    int resizeStartWidth_ = 0;
    QPoint pressPos_;
    bool dragging_ = false;
    int hover_ = -1;
    int dropGap_ = -1;
};

}  // namespace kit
