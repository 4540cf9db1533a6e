// The filter drop-down of a column header: "(All)", "(Custom...)", then "(Blanks)" and
// "(NonBlanks)" when the column holds a blank value, then the column's distinct values in order.
// The values are read from the table only when they are painted, so a column of a million values
// opens as fast as one of ten.
#pragma once

#include "kit/grid/filter_eval.h"

#include <QAbstractListModel>
#include <QFrame>

class QListView;

namespace kit {

class MemTable;

// The distinct values of a column as a list model, optionally under the drop-down's fixed entries.
class FilterValueModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum class Entry { All, Custom, Blanks, NonBlanks, Value };

    FilterValueModel(const MemTable *table, int fieldIndex, ColumnValues values, bool fixedEntries,
                     QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Entry entry(int row) const noexcept;
    QString valueText(int row) const;  // the value of a Value entry, as text

private:
    const MemTable *table_;
    int field_;
    ColumnValues values_;
    std::vector<Entry> fixed_;
};

class FilterDropDown : public QFrame {
    Q_OBJECT
public:
    using Entry = FilterValueModel::Entry;

    explicit FilterDropDown(QWidget *parent = nullptr);

    // Lists the values of `fieldIndex` (see distinctColumnValues) under the fixed entries.
    void setValues(const MemTable *table, int fieldIndex, ColumnValues values);
    FilterValueModel *model() const noexcept { return model_; }
    QListView *list() const noexcept { return list_; }
    // Shows the list as a pop-up under `anchor` (the filter button, global coordinates), ending
    // where it ends.
    void popup(const QRect &anchor);
    // What a click on entry `row` does: reports the choice and closes.
    void choose(int row);

signals:
    void chosen(kit::FilterValueModel::Entry entry, const QString &value);

private:
    QListView *list_;
    FilterValueModel *model_ = nullptr;
};

}  // namespace kit
