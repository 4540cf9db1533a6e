#include "kit/grid/filter_description.h"

#include <QStringList>

namespace kit {

namespace {

QString quoted(const QString &value)
{
    if (value.isEmpty())
        return gridText("blank");
    return QLatin1Char('"') + value + QLatin1Char('"');
}

bool hasWildcards(QStringView text)
{
    return text.contains(QLatin1Char('%')) || text.contains(QLatin1Char('_'));
}

// A like pattern of the shape "X%", "%X" or "%X%" (X free of wildcards) reads as the pattern
// operator it stands for; anything else stays a like.
void describePattern(FilterOperator &op, QString &value)
{
    if (op != FilterOperator::Like && op != FilterOperator::NotLike)
        return;
    const bool negated = op == FilterOperator::NotLike;
    const bool lead = value.startsWith(QLatin1Char('%'));
    const bool trail = value.endsWith(QLatin1Char('%'));
    const QString inner = value.mid(lead ? 1 : 0, value.size() - (lead ? 1 : 0) - (trail ? 1 : 0));
    if ((!lead && !trail) || inner.isEmpty() || hasWildcards(inner))
        return;
    if (lead && trail)
        op = negated ? FilterOperator::NotContains : FilterOperator::Contains;
    else if (trail)
        op = negated ? FilterOperator::NotBeginsWith : FilterOperator::BeginsWith;
    else
        op = negated ? FilterOperator::NotEndsWith : FilterOperator::EndsWith;
    value = inner;
}

QString describeCondition(const FilterNode &node, const std::vector<FilterColumn> &columns)
{
    const QString caption = node.column >= 0 && node.column < static_cast<int>(columns.size())
                                ? columns[node.column].caption
                                : QString();
    FilterOperator op = node.op;
    QStringList values = node.values;
    if (!values.isEmpty())
        describePattern(op, values.front());
    QString text = caption + QLatin1Char(' ') + filterOperatorText(op);
    const int arity = filterOperatorArity(op);
    if (arity == 1 && !values.isEmpty()) {
        text += QLatin1Char(' ') + quoted(values.front());
    } else if (arity == 2 && values.size() >= 2) {
        text += QLatin1Char(' ') + quoted(values[0]) + QLatin1Char(' ') + gridText("and") +
                QLatin1Char(' ') + quoted(values[1]);
    } else if (arity < 0) {
        QStringList items;
        for (const QString &v : values)
            items << quoted(v);
        text += QStringLiteral(" (") + items.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    return text;
}

QString describeNode(const FilterNode &node, const std::vector<FilterColumn> &columns, bool root)
{
    if (!node.isGroup())
        return describeCondition(node, columns);
    const bool any = node.groupOperator == FilterGroupOperator::Or ||
                     node.groupOperator == FilterGroupOperator::NotOr;
    const bool negated = node.groupOperator == FilterGroupOperator::NotAnd ||
                         node.groupOperator == FilterGroupOperator::NotOr;
    std::vector<const FilterNode *> items;
    for (const FilterNode &child : node.children)
        if (!child.isEmpty())
            items.push_back(&child);
    // A plain group of one item says what that item says, in the same place.
    if (items.size() == 1 && !negated)
        return describeNode(*items.front(), columns, root);
    QStringList parts;
    for (const FilterNode *item : items)
        parts << describeNode(*item, columns, false);
    const QString joint = QLatin1Char(' ') + gridText(any ? "or" : "and") + QLatin1Char(' ');
    const QString inner = parts.join(joint);
    if (negated)
        return gridText("not") + QStringLiteral(" (") + inner + QLatin1Char(')');
    if (root)
        return inner;
    return QLatin1Char('(') + inner + QLatin1Char(')');
}

}  // namespace

QString describeFilter(const FilterNode &root, const std::vector<FilterColumn> &columns)
{
    if (root.isEmpty())
        return {};
    return describeNode(root, columns, true);
}

}  // namespace kit
