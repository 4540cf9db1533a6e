#include "kit/grid/filter_builder.h"

#include "kit/grid/filter_eval.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

namespace kit {

namespace {

constexpr int kIndent = 20;
constexpr const char *kListSeparator = ";";

QStringList splitList(const QString &text)
{
    QStringList values = text.split(QLatin1String(kListSeparator));
    for (QString &v : values)
        if (v.startsWith(QLatin1Char(' ')))
            v.remove(0, 1);  // the blank that joinList puts after each separator
    return values;
}

QString joinList(const QStringList &values)
{
    return values.join(QLatin1String(kListSeparator) + QLatin1Char(' '));
}

QToolButton *makeRowButton(QWidget *row, QMenu *menu)
{
    auto *button = new QToolButton(row);
    button->setObjectName(QStringLiteral("rowButton"));
    button->setText(QStringLiteral("..."));
    button->setAutoRaise(true);
    if (menu) {
        button->setMenu(menu);
        button->setPopupMode(QToolButton::InstantPopup);
    }
    return button;
}

QHBoxLayout *rowLayout(QWidget *row, int level)
{
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(level * kIndent, 0, 0, 0);
    layout->setSpacing(4);
    return layout;
}

}  // namespace

FilterBuilder::FilterBuilder(std::vector<FilterColumn> columns, QWidget *parent)
    : QScrollArea(parent)
    , columns_(std::move(columns))
    , root_(FilterNode::group(FilterGroupOperator::And))
{
    setObjectName(QStringLiteral("filterBuilder"));
    setWidgetResizable(true);
    setBackgroundRole(QPalette::Base);
    rebuild();
}

void FilterBuilder::setFilter(const FilterNode &root)
{
    root_ = root.isGroup() ? root : FilterNode::group(FilterGroupOperator::And, {root});
    rebuild();
    emit changed();
}

bool FilterBuilder::hasInvalidValue() const
{
    auto invalid = [this](const FilterNode &node, const auto &self) -> bool {
        if (node.isGroup())
            return std::any_of(node.children.begin(), node.children.end(),
                               [&](const FilterNode &child) { return self(child, self); });
        if (node.column < 0 || node.column >= static_cast<int>(columns_.size()))
            return false;
        return std::any_of(node.values.begin(), node.values.end(), [&](const QString &v) {
            return !filterValueIsValid(columns_[node.column], node.op, v);
        });
    };
    return invalid(root_, invalid);
}

FilterNode &FilterBuilder::nodeAt(const Path &path)
{
    FilterNode *node = &root_;
    for (const int i : path)
        node = &node->children.at(i);
    return *node;
}

FilterBuilder::Path FilterBuilder::groupPathOf(const Path &at)
{
    if (nodeAt(at).isGroup())
        return at;
    return Path(at.begin(), at.end() - 1);
}

void FilterBuilder::addCondition(const Path &at)
{
    FilterNode &group = nodeAt(groupPathOf(at));
    // A new condition starts on the column of the one before it, which is what one adds most.
    int column = columns_.empty() ? -1 : 0;
    if (!group.children.empty() && !group.children.back().isGroup())
        column = group.children.back().column;
    group.children.push_back(FilterNode::condition(column, FilterOperator::Equal, {QString()}));
    rebuild();
    emit changed();
}

void FilterBuilder::addGroup(const Path &at)
{
    FilterNode &group = nodeAt(groupPathOf(at));
    group.children.push_back(FilterNode::group(
        FilterGroupOperator::And,
        {FilterNode::condition(columns_.empty() ? -1 : 0, FilterOperator::Equal, {QString()})}));
    rebuild();
    emit changed();
}

void FilterBuilder::removeRow(const Path &at)
{
    if (at.empty()) {
        clearAll();
        return;
    }
    FilterNode &parent = nodeAt(Path(at.begin(), at.end() - 1));
    parent.children.erase(parent.children.begin() + at.back());
    rebuild();
    emit changed();
}

void FilterBuilder::clearAll()
{
    root_.children.clear();
    rebuild();
    emit changed();
}

void FilterBuilder::rebuild()
{
    // The old rows may be the senders of the signal that got us here: delete them later.
    if (QWidget *old = takeWidget())
        old->deleteLater();
    rows_.clear();
    auto *container = new QWidget;
    container->setObjectName(QStringLiteral("filterBuilderRows"));
    auto *layout = new QVBoxLayout(container);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    addRows(container, root_, {}, 0);
    Row add;
    add.kind = RowKind::AddLine;
    add.widget = makeAddLine(container);
    add.button = add.widget->findChild<QToolButton *>(QStringLiteral("addConditionButton"));
    rows_.push_back(add);
    for (const Row &row : rows_)
        layout->addWidget(row.widget);
    layout->addStretch();
    setWidget(container);
}

void FilterBuilder::addRows(QWidget *container, const FilterNode &node, const Path &path, int level)
{
    Row row;
    row.path = path;
    if (node.isGroup()) {
        row.kind = path.empty() ? RowKind::Root : RowKind::Group;
        row.widget = makeGroupRow(container, node, path, level);
    } else {
        row.kind = RowKind::Condition;
        row.widget = makeConditionRow(container, node, path, level);
    }
    row.button = row.widget->findChild<QToolButton *>(QStringLiteral("rowButton"));
    row.menu = row.button ? row.button->menu() : nullptr;
    rows_.push_back(row);
    if (!node.isGroup())
        return;
    for (std::size_t i = 0; i < node.children.size(); ++i) {
        Path child = path;
        child.push_back(static_cast<int>(i));
        addRows(container, node.children[i], child, level + 1);
    }
}

QWidget *FilterBuilder::makeGroupRow(QWidget *container, const FilterNode &node, const Path &path,
                                     int level)
{
    const bool root = path.empty();
    auto *row = new QWidget(container);
    row->setObjectName(root ? QStringLiteral("rootRow") : QStringLiteral("groupRow"));
    auto *layout = rowLayout(row, level);

    auto *menu = new QMenu(row);
    menu->addAction(gridText("Add &Condition"), this, [this, path] { addCondition(path); });
    menu->addAction(gridText("Add &Group"), this, [this, path] { addGroup(path); });
    if (!root || !node.children.empty())
        menu->addSeparator();
    if (root) {
        if (!node.children.empty())
            menu->addAction(gridText("Clear &All"), this, [this] { clearAll(); });
    } else {
        menu->addAction(gridText("&Remove Row"), this, [this, path] { removeRow(path); });
    }
    layout->addWidget(makeRowButton(row, menu));

    if (root) {
        auto *caption = new QLabel(gridText("Filter"), row);
        caption->setObjectName(QStringLiteral("rootCaption"));
        layout->addWidget(caption);
    }
    auto *op = new QToolButton(row);
    op->setObjectName(QStringLiteral("groupOperator"));
    op->setText(filterGroupOperatorText(node.groupOperator));
    op->setAutoRaise(true);
    op->setPopupMode(QToolButton::InstantPopup);
    op->setStyleSheet(QStringLiteral("QToolButton { color: #c00000; font-weight: bold; }"));
    auto *ops = new QMenu(op);
    for (const auto groupOp : {FilterGroupOperator::And, FilterGroupOperator::Or,
                               FilterGroupOperator::NotAnd, FilterGroupOperator::NotOr}) {
        ops->addAction(filterGroupOperatorText(groupOp), this, [this, path, op, groupOp] {
            nodeAt(path).groupOperator = groupOp;
            op->setText(filterGroupOperatorText(groupOp));
            emit changed();
        });
    }
    op->setMenu(ops);
    layout->addWidget(op);

    auto *caption = new QLabel(
        root ? gridText("<root>") : gridText("applies to the following conditions"), row);
    caption->setObjectName(QStringLiteral("groupCaption"));
    layout->addWidget(caption);
    layout->addStretch();
    return row;
}

QWidget *FilterBuilder::makeConditionRow(QWidget *container, const FilterNode &node,
                                         const Path &path, int level)
{
    auto *row = new QWidget(container);
    row->setObjectName(QStringLiteral("conditionRow"));
    auto *layout = rowLayout(row, level);

    auto *menu = new QMenu(row);
    menu->addAction(gridText("Add &Condition"), this, [this, path] { addCondition(path); });
    menu->addAction(gridText("Add &Group"), this, [this, path] { addGroup(path); });
    menu->addSeparator();
    menu->addAction(gridText("&Remove Row"), this, [this, path] { removeRow(path); });
    layout->addWidget(makeRowButton(row, menu));

    auto *column = new QComboBox(row);
    column->setObjectName(QStringLiteral("columnBox"));
    for (const FilterColumn &c : columns_)
        column->addItem(c.caption);
    column->setCurrentIndex(node.column);
    connect(column, &QComboBox::currentIndexChanged, this, [this, path, row](int index) {
        nodeAt(path).column = index;
        // The same values may not suit the new column.
        for (QLineEdit *edit : row->findChildren<QLineEdit *>())
            markValidity(edit, path);
        emit changed();
    });
    layout->addWidget(column);

    auto *op = new QComboBox(row);
    op->setObjectName(QStringLiteral("operatorBox"));
    for (const FilterOperator o : allFilterOperators())
        op->addItem(filterOperatorText(o), static_cast<int>(o));
    op->setCurrentIndex(op->findData(static_cast<int>(node.op)));
    connect(op, &QComboBox::currentIndexChanged, this, [this, path, op] {
        FilterNode &n = nodeAt(path);
        n.op = static_cast<FilterOperator>(op->currentData().toInt());
        const int arity = filterOperatorArity(n.op);
        const qsizetype wanted = arity < 0 ? std::max<qsizetype>(1, n.values.size()) : arity;
        while (n.values.size() < wanted)
            n.values << QString();
        n.values = n.values.mid(0, wanted);
        rebuild();  // the value boxes change with the operator
        emit changed();
    });
    layout->addWidget(op);

    const int arity = filterOperatorArity(node.op);
    if (arity == 1 || arity < 0) {
        layout->addWidget(makeValueEdit(row, path, arity < 0 ? -1 : 0));
    } else if (arity == 2) {
        layout->addWidget(makeValueEdit(row, path, 0));
        auto *joint = new QLabel(gridText("and"), row);
        joint->setObjectName(QStringLiteral("rangeJoint"));
        layout->addWidget(joint);
        layout->addWidget(makeValueEdit(row, path, 1));
    }
    layout->addStretch();
    return row;
}

QLineEdit *FilterBuilder::makeValueEdit(QWidget *row, const Path &path, int valueIndex)
{
    const FilterNode &node = nodeAt(path);
    auto *edit = new QLineEdit(row);
    edit->setObjectName(valueIndex < 0 ? QStringLiteral("valueList")
                                       : QStringLiteral("valueEdit%1").arg(valueIndex + 1));
    edit->setPlaceholderText(gridText("<empty>"));
    edit->setText(valueIndex < 0 ? joinList(node.values) : node.values.value(valueIndex));
    edit->setProperty("valueIndex", valueIndex);
    edit->setMinimumWidth(140);
    connect(edit, &QLineEdit::textChanged, this, [this, path, valueIndex, edit](const QString &t) {
        editValue(path, valueIndex, t);
        markValidity(edit, path);
    });
    markValidity(edit, path);
    return edit;
}

void FilterBuilder::editValue(const Path &path, int valueIndex, const QString &text)
{
    FilterNode &node = nodeAt(path);
    if (valueIndex < 0) {
        node.values = splitList(text);
    } else {
        while (node.values.size() <= valueIndex)
            node.values << QString();
        node.values[valueIndex] = text;
    }
    emit changed();
}

void FilterBuilder::markValidity(QLineEdit *edit, const Path &path)
{
    const FilterNode *node = &nodeAt(path);
    const int valueIndex = edit->property("valueIndex").toInt();
    bool valid = true;
    if (node->column >= 0 && node->column < static_cast<int>(columns_.size())) {
        const QStringList values =
            valueIndex < 0 ? node->values : QStringList{node->values.value(valueIndex)};
        for (const QString &v : values)
            valid = valid && filterValueIsValid(columns_[node->column], node->op, v);
    }
    edit->setProperty("invalid", !valid);
    edit->setToolTip(valid ? QString() : gridText("Invalid value"));
    edit->setStyleSheet(valid ? QString() : QStringLiteral("QLineEdit { background: #ffd0d0; }"));
}

QWidget *FilterBuilder::makeAddLine(QWidget *container)
{
    auto *row = new QWidget(container);
    row->setObjectName(QStringLiteral("addLine"));
    auto *layout = rowLayout(row, 0);
    auto *button = new QToolButton(row);
    button->setObjectName(QStringLiteral("addConditionButton"));
    button->setText(QStringLiteral("..."));
    button->setAutoRaise(true);
    connect(button, &QToolButton::clicked, this, [this] { addCondition({}); });
    layout->addWidget(button);
    auto *label = new QLabel(gridText("press the button to add a new condition"), row);
    label->setObjectName(QStringLiteral("addConditionLabel"));
    label->setEnabled(false);  // drawn as a hint
    layout->addWidget(label);
    layout->addStretch();
    return row;
}

}  // namespace kit
