#include "kit/grid/filter_drop_down.h"

#include "kit/dataset/mem_table.h"
#include "kit/text/codec.h"

#include <QGuiApplication>
#include <QListView>
#include <QScreen>
#include <QVBoxLayout>

namespace kit {

FilterValueModel::FilterValueModel(const MemTable *table, int fieldIndex, ColumnValues values,
                                   bool fixedEntries, QObject *parent)
    : QAbstractListModel(parent)
    , table_(table)
    , field_(fieldIndex)
    , values_(std::move(values))
{
    if (!fixedEntries)
        return;
    fixed_ = {Entry::All, Entry::Custom};
    if (values_.hasBlank)
        fixed_.insert(fixed_.end(), {Entry::Blanks, Entry::NonBlanks});
}

int FilterValueModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(fixed_.size() + values_.rows.size());
}

FilterValueModel::Entry FilterValueModel::entry(int row) const noexcept
{
    return row >= 0 && row < static_cast<int>(fixed_.size()) ? fixed_[row] : Entry::Value;
}

QString FilterValueModel::valueText(int row) const
{
    const std::size_t at = static_cast<std::size_t>(row) - fixed_.size();
    if (row < static_cast<int>(fixed_.size()) || at >= values_.rows.size() || !table_)
        return {};
    const std::size_t tableRow = values_.rows[at];
    if (tableRow >= table_->recordCount())
        return {};  // the table shrank since the list was made
    if (table_->isComputedField(field_))
        return QString::number(table_->recId(tableRow));
    return fromCp1252(table_->value(tableRow, field_));
}

QVariant FilterValueModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    switch (entry(index.row())) {
    case Entry::All:
        return gridText("(All)");
    case Entry::Custom:
        return gridText("(Custom...)");
    case Entry::Blanks:
        return gridText("(Blanks)");
    case Entry::NonBlanks:
        return gridText("(NonBlanks)");
    case Entry::Value:
        return valueText(index.row());
    }
    return {};
}

FilterDropDown::FilterDropDown(QWidget *parent)
    : QFrame(parent, Qt::Popup)
    , list_(new QListView(this))
{
    setObjectName(QStringLiteral("filterDropDown"));
    setFrameShape(QFrame::Box);
    list_->setObjectName(QStringLiteral("filterValueList"));
    list_->setUniformItemSizes(true);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setFrameShape(QFrame::NoFrame);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(list_);
    // A click may report both "clicked" and "activated"; the first one closes the list.
    auto chooseOnce = [this](const QModelIndex &i) {
        if (isVisible())
            choose(i.row());
    };
    connect(list_, &QListView::clicked, this, chooseOnce);
    connect(list_, &QListView::activated, this, chooseOnce);
}

void FilterDropDown::setValues(const MemTable *table, int fieldIndex, ColumnValues values)
{
    auto *old = model_;
    model_ = new FilterValueModel(table, fieldIndex, std::move(values), true, this);
    list_->setModel(model_);
    delete old;
}

void FilterDropDown::popup(const QRect &anchor)
{
    const int rows = model_ ? std::min(model_->rowCount(), 16) : 0;
    const int rowHeight =
        list_->sizeHintForRow(0) > 0 ? list_->sizeHintForRow(0) : fontMetrics().height() + 2;
    const int width = std::max(anchor.width(), 180);
    resize(width, rows * rowHeight + 4);
    // Under the button, its right edge lined up with the button's, so it covers its column.
    QPoint at(anchor.right() + 1 - width, anchor.bottom() + 1);
    if (const QScreen *screen = QGuiApplication::screenAt(at)) {
        const QRect area = screen->availableGeometry();
        if (at.y() + height() > area.bottom())
            at.setY(anchor.top() - height());
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - width)));
    }
    move(at);
    show();
    list_->setFocus();
    if (model_ && model_->rowCount() > 0)
        list_->setCurrentIndex(model_->index(0));
}

void FilterDropDown::choose(int row)
{
    if (!model_ || row < 0 || row >= model_->rowCount())
        return;
    const Entry entry = model_->entry(row);
    const QString value = model_->valueText(row);
    hide();
    emit chosen(entry, value);
}

}  // namespace kit
