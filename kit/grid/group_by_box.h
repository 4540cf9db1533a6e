// The band above a GridView's headers that shows the grouping columns, in grouping order, or a
// hint when nothing is grouped. Click a header to reverse that level's order; drag it within the
// box to reorder the levels, out of it to ungroup.
#pragma once

#include <QPoint>
#include <QWidget>

namespace kit {

class GridView;

class GroupByBox : public QWidget {
    Q_OBJECT
public:
    explicit GroupByBox(GridView *view);

    QRect itemRect(int level) const;  // in box coordinates
    int levelAt(QPoint pos) const;    // -1 when none
    int insertionLevelAt(int x) const;
    void setDropMarker(int level);  // -1 hides it

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    GridView *view_;
    int pressed_ = -1;  // column
    QPoint pressPos_;
    bool dragging_ = false;
    int dropLevel_ = -1;
};

}  // namespace kit
