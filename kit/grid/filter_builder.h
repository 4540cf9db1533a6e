// The filter builder: the filter tree as indented rows that the user edits in place. The root
// row reads "Filter <operator> <root>", a sub-group row "<operator> applies to the following
// conditions", a condition row "<column> <operator> <value(s)>"; the last line adds a condition
// to the root. Every row has a button with its menu (add a condition, add a group, remove the
// row; clear everything on the root).
//
// The builder edits its own copy of the tree and never filters anything: typing in a value only
// changes that value (and checks that it suits the column). The values of "in" and "not in" are
// typed in one box, separated by ";".
#pragma once

#include "kit/grid/filter_criteria.h"

#include <QScrollArea>

#include <vector>

class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;

namespace kit {

class FilterBuilder : public QScrollArea {
    Q_OBJECT
public:
    using Path = std::vector<int>;  // child indexes from the root; empty for the root
    enum class RowKind { Root, Group, Condition, AddLine };

    explicit FilterBuilder(std::vector<FilterColumn> columns, QWidget *parent = nullptr);

    void setFilter(const FilterNode &root);  // a condition is wrapped into an AND group
    const FilterNode &filter() const noexcept { return root_; }
    // True when a value does not suit its column (see filterValueIsValid).
    bool hasInvalidValue() const;

    // The row actions; a condition's path adds to the group that holds it.
    void addCondition(const Path &at);
    void addGroup(const Path &at);
    void removeRow(const Path &at);
    void clearAll();

    // The rows as shown, the add line last.
    int rowCount() const noexcept { return static_cast<int>(rows_.size()); }
    RowKind rowKind(int row) const { return rows_.at(row).kind; }
    Path rowPath(int row) const { return rows_.at(row).path; }
    QWidget *rowWidget(int row) const { return rows_.at(row).widget; }
    QMenu *rowMenu(int row) const { return rows_.at(row).menu; }
    QToolButton *rowButton(int row) const { return rows_.at(row).button; }

signals:
    void changed();

private:
    struct Row {
        RowKind kind = RowKind::Condition;
        Path path;
        QWidget *widget = nullptr;
        QMenu *menu = nullptr;
        QToolButton *button = nullptr;
    };

    FilterNode &nodeAt(const Path &path);
    Path groupPathOf(const Path &at);
    void rebuild();
    void addRows(QWidget *container, const FilterNode &node, const Path &path, int level);
    QWidget *makeGroupRow(QWidget *container, const FilterNode &node, const Path &path, int level);
    QWidget *makeConditionRow(QWidget *container, const FilterNode &node, const Path &path,
                              int level);
    QWidget *makeAddLine(QWidget *container);
    QLineEdit *makeValueEdit(QWidget *row, const Path &path, int valueIndex);
    void markValidity(QLineEdit *edit, const Path &path);
    void editValue(const Path &path, int valueIndex, const QString &text);

    std::vector<FilterColumn> columns_;
    FilterNode root_;
    std::vector<Row> rows_;
};

}  // namespace kit
