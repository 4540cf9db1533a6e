// Places widgets along the edges of a parent the way a form designer docks them: every widget
// docked to the top takes its height from the top of what is left, then the bottom ones, then the
// left and right ones, each group in the order the widgets were added; the widgets that fill take
// the rest. Docked widgets keep their extent across the docking edge and stretch along it.
#pragma once

#include <QLayout>

#include <vector>

namespace kit {

enum class Edge { Top, Bottom, Left, Right, Fill };

class EdgeLayout : public QLayout {
public:
    explicit EdgeLayout(QWidget *parent = nullptr);
    ~EdgeLayout() override;

    // `extent` is the height for Top and Bottom, the width for Left and Right; Fill ignores it.
    void addWidget(QWidget *widget, Edge edge, int extent = 0);
    Edge edgeOf(const QWidget *widget) const;

    void addItem(QLayoutItem *item) override;  // fills
    int count() const override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect &rect) override;

private:
    struct Entry {
        QLayoutItem *item;
        Edge edge;
        int extent;
    };
    std::vector<Entry> entries_;
};

}  // namespace kit
