// The custom filter dialog of one column: up to two conditions joined by AND or OR, with the
// column's values to pick from and the two wildcard hints. It edits a copy; the caller takes
// filter() when the dialog is accepted.
#pragma once

#include "kit/grid/filter_criteria.h"

#include <QDialog>

#include <vector>

class QAbstractItemModel;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace kit {

class FilterCustomDialog : public QDialog {
    Q_OBJECT
public:
    // `values` (not owned, may be null) lists the column's values for the value boxes.
    FilterCustomDialog(std::vector<FilterColumn> columns, int column,
                       QAbstractItemModel *values = nullptr, QWidget *parent = nullptr);

    // The operators offered, after an empty first choice that means "no condition".
    static const std::vector<FilterOperator> &operators();

    // Shows what a filter says about the column, when two conditions can say it.
    void setFilter(const FilterNode &columnFilter);
    // A condition, an AND or OR group of two, or an empty group when no condition is chosen.
    FilterNode filter() const;

    QComboBox *operatorBox(int row) const { return rows_.at(row).op; }
    QComboBox *valueBox(int row) const { return rows_.at(row).value; }
    QRadioButton *andButton() const noexcept { return and_; }
    QRadioButton *orButton() const noexcept { return or_; }
    QLabel *headingLabel() const noexcept { return heading_; }
    QLabel *hintLabel(int line) const { return line == 0 ? hint1_ : hint2_; }
    QLabel *errorLabel() const noexcept { return error_; }
    QPushButton *okButton() const noexcept { return ok_; }
    QPushButton *cancelButton() const noexcept { return cancel_; }

    void accept() override;  // refuses a value that does not suit the column

private:
    struct Row {
        QComboBox *op = nullptr;
        QComboBox *value = nullptr;
    };
    void setRow(int row, const FilterNode &condition);
    bool validate();

    std::vector<FilterColumn> columns_;
    int column_;
    std::vector<Row> rows_;
    QRadioButton *and_;
    QRadioButton *or_;
    QLabel *heading_;
    QLabel *hint1_;
    QLabel *hint2_;
    QLabel *error_;
    QPushButton *ok_;
    QPushButton *cancel_;
};

}  // namespace kit
