#include "kit/grid/filter_custom_dialog.h"

#include "kit/grid/filter_eval.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>

namespace kit {

namespace {

QString hintLine(QChar wildcard, const char *rest)
{
    return gridText("Use") + QLatin1Char(' ') + wildcard + QLatin1Char(' ') + gridText(rest);
}

bool takesValue(FilterOperator op)
{
    return filterOperatorArity(op) == 1;
}

}  // namespace

const std::vector<FilterOperator> &FilterCustomDialog::operators()
{
    using Op = FilterOperator;
    static const std::vector<Op> ops = {
        Op::Equal,      Op::NotEqual,      Op::Less,     Op::LessEqual,
        Op::Greater,    Op::GreaterEqual,  Op::Like,     Op::NotLike,
        Op::BeginsWith, Op::NotBeginsWith, Op::EndsWith, Op::NotEndsWith,
        Op::Contains,   Op::NotContains,   Op::Blank,    Op::NotBlank};
    return ops;
}

FilterCustomDialog::FilterCustomDialog(std::vector<FilterColumn> columns, int column,
                                       QAbstractItemModel *values, QWidget *parent)
    : QDialog(parent)
    , columns_(std::move(columns))
    , column_(column)
    , and_(new QRadioButton(gridText("AND"), this))
    , or_(new QRadioButton(gridText("OR"), this))
    , heading_(new QLabel(gridText("Show rows where:"), this))
    , hint1_(new QLabel(hintLine(QLatin1Char('_'), "to represent any single character"), this))
    , hint2_(new QLabel(hintLine(QLatin1Char('%'), "to represent any series of characters"), this))
    , error_(new QLabel(this))
    , ok_(new QPushButton(gridText("OK"), this))
    , cancel_(new QPushButton(gridText("Cancel"), this))
{
    setObjectName(QStringLiteral("filterCustomDialog"));
    setWindowTitle(gridText("Custom Filter"));
    heading_->setObjectName(QStringLiteral("headingLabel"));
    hint1_->setObjectName(QStringLiteral("hintLine1"));
    hint2_->setObjectName(QStringLiteral("hintLine2"));
    error_->setObjectName(QStringLiteral("errorLabel"));
    error_->setStyleSheet(QStringLiteral("color: #c00000"));
    error_->hide();
    and_->setObjectName(QStringLiteral("andButton"));
    or_->setObjectName(QStringLiteral("orButton"));
    and_->setChecked(true);
    auto *joint = new QButtonGroup(this);
    joint->addButton(and_);
    joint->addButton(or_);
    ok_->setObjectName(QStringLiteral("okButton"));
    cancel_->setObjectName(QStringLiteral("cancelButton"));
    ok_->setDefault(true);

    const bool known = column_ >= 0 && column_ < static_cast<int>(columns_.size());
    auto *caption = new QLabel(known ? columns_[column_].caption : QString(), this);
    caption->setObjectName(QStringLiteral("columnLabel"));
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);

    auto *grid = new QGridLayout;
    for (int r = 0; r < 2; ++r) {
        Row row;
        row.op = new QComboBox(this);
        row.op->setObjectName(QStringLiteral("operator%1").arg(r + 1));
        row.op->addItem(QString(), -1);
        for (const FilterOperator op : operators())
            row.op->addItem(filterOperatorText(op), static_cast<int>(op));
        row.value = new QComboBox(this);
        row.value->setObjectName(QStringLiteral("value%1").arg(r + 1));
        row.value->setEditable(true);
        row.value->setInsertPolicy(QComboBox::NoInsert);
        // A completer would scan every value on each keystroke.
        row.value->setCompleter(nullptr);
        // Sizing to the contents would measure every value.
        row.value->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        row.value->setMinimumContentsLength(24);
        if (auto *list = qobject_cast<QListView *>(row.value->view()))
            list->setUniformItemSizes(true);
        if (values)
            row.value->setModel(values);
        row.value->setCurrentIndex(-1);
        row.value->setEditText(QString());
        row.value->setMinimumWidth(200);
        QComboBox *valueBox = row.value;
        connect(row.op, &QComboBox::currentIndexChanged, this, [valueBox, box = row.op] {
            const int op = box->currentData().toInt();
            valueBox->setEnabled(op >= 0 && takesValue(static_cast<FilterOperator>(op)));
        });
        row.value->setEnabled(false);
        grid->addWidget(row.op, r * 2, 0);
        grid->addWidget(row.value, r * 2, 1);
        rows_.push_back(row);
    }
    auto *joints = new QHBoxLayout;
    joints->addSpacing(20);
    joints->addWidget(and_);
    joints->addWidget(or_);
    joints->addStretch();
    grid->addLayout(joints, 1, 0, 1, 2);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(caption);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addWidget(hint1_);
    layout->addWidget(hint2_);
    layout->addWidget(error_);
    layout->addLayout(buttons);

    connect(ok_, &QPushButton::clicked, this, &FilterCustomDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &FilterCustomDialog::reject);
}

void FilterCustomDialog::setRow(int row, const FilterNode &condition)
{
    const Row &r = rows_.at(row);
    const int at = r.op->findData(static_cast<int>(condition.op));
    r.op->setCurrentIndex(at < 0 ? 0 : at);
    r.value->setEditText(condition.values.value(0));
}

void FilterCustomDialog::setFilter(const FilterNode &columnFilter)
{
    auto offered = [](const FilterNode &n) {
        const auto &ops = operators();
        return !n.isGroup() && std::find(ops.begin(), ops.end(), n.op) != ops.end();
    };
    for (int r = 0; r < 2; ++r)
        setRow(r, FilterNode::condition(column_, FilterOperator::Equal));
    rows_[0].op->setCurrentIndex(0);
    rows_[1].op->setCurrentIndex(0);
    if (offered(columnFilter)) {
        setRow(0, columnFilter);
        return;
    }
    const bool simpleGroup =
        columnFilter.isGroup() && columnFilter.children.size() <= 2 &&
        (columnFilter.groupOperator == FilterGroupOperator::And ||
         columnFilter.groupOperator == FilterGroupOperator::Or) &&
        std::all_of(columnFilter.children.begin(), columnFilter.children.end(), offered);
    if (!simpleGroup)
        return;
    (columnFilter.groupOperator == FilterGroupOperator::Or ? or_ : and_)->setChecked(true);
    for (std::size_t i = 0; i < columnFilter.children.size(); ++i)
        setRow(static_cast<int>(i), columnFilter.children[i]);
}

FilterNode FilterCustomDialog::filter() const
{
    std::vector<FilterNode> conditions;
    for (const Row &row : rows_) {
        const int op = row.op->currentData().toInt();
        if (op < 0)
            continue;
        const auto filterOp = static_cast<FilterOperator>(op);
        QStringList values;
        if (takesValue(filterOp))
            values << row.value->currentText();
        conditions.push_back(FilterNode::condition(column_, filterOp, values));
    }
    if (conditions.size() == 1)
        return conditions.front();
    return FilterNode::group(or_->isChecked() ? FilterGroupOperator::Or : FilterGroupOperator::And,
                             std::move(conditions));
}

bool FilterCustomDialog::validate()
{
    if (column_ < 0 || column_ >= static_cast<int>(columns_.size()))
        return true;
    for (const Row &row : rows_) {
        const int op = row.op->currentData().toInt();
        if (op < 0 || !takesValue(static_cast<FilterOperator>(op)))
            continue;
        if (!filterValueIsValid(columns_[column_], static_cast<FilterOperator>(op),
                                row.value->currentText())) {
            error_->setText(gridText("Invalid value"));
            error_->show();
            row.value->setFocus();
            return false;
        }
    }
    error_->hide();
    return true;
}

void FilterCustomDialog::accept()
{
    if (validate())
        QDialog::accept();
}

}  // namespace kit
