// A small table for the grid's tests and the helpers that show a grid's rows as one string.
#pragma once

#include "kit/dataset/data_source.h"
#include "kit/dataset/mem_table.h"
#include "kit/grid/group_model.h"

#include <QString>
#include <QStringList>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace gridtest {

// Fields of the fixture table, with the record number first.
enum Field { RecIdField, CompanyField, DeptField, NameField, KeyField };
// Columns of a grid over it, in this order.
enum Column { CompanyColumn, DeptColumn, NameColumn, KeyColumn, RecIdColumn };

struct Record {
    const char *company, *dept, *name, *key;
};

// "company|dept|name|key" per record; the key defaults to the record's number.
class Fixture {
public:
    explicit Fixture(std::initializer_list<Record> records)
        : table({{"co", 50}, {"dept", 50}, {"name", 50}, {"key", 20}}, "key", "RecId")
        , source(&table)
    {
        table.open();
        load(records);
    }

    void load(std::initializer_list<Record> records)
    {
        table.suspendNotifications();
        int n = int(table.recordCount());
        for (const Record &r : records) {
            const std::string key = r.key ? r.key : std::to_string(++n);
            const std::string_view values[] = {r.company, r.dept, r.name, key};
            table.appendStored(values);
        }
        table.resumeNotifications();
    }

    static std::vector<kit::GroupModel::Column> columns()
    {
        return {{QStringLiteral("Ditta"), QStringLiteral("co")},
                {QStringLiteral("Reparto"), QStringLiteral("dept")},
                {QStringLiteral("Nome"), QStringLiteral("name")},
                {QStringLiteral("Key"), QStringLiteral("key")},
                {QString(), QStringLiteral("recid")}};
    }

    kit::MemTable table;
    kit::DataSource source;
};

// The whole tree of a model: "[ACME[SALES[ROSSI VERDI]] BETA[...]]", each data row shown by
// `labelColumn`, read through the model's own index API.
inline QString treeString(const QAbstractItemModel &model, int labelColumn,
                          const QModelIndex &parent = {})
{
    QStringList items;
    for (int r = 0; r < model.rowCount(parent); ++r) {
        const QModelIndex index = model.index(r, 0, parent);
        const bool group = model.hasChildren(index);
        QString label = group ? model.data(index, kit::GroupModel::ValueRole).toString()
                              : model.index(r, labelColumn, parent).data().toString();
        if (label.isEmpty())
            label = QStringLiteral("''");
        if (group)
            label += treeString(model, labelColumn, index);
        items << label;
    }
    return QLatin1Char('[') + items.join(QLatin1Char(' ')) + QLatin1Char(']');
}

// The rows on screen: group rows as value plus "+" (collapsed) or "-" (open), data rows by the
// label column.
inline QString displayString(const kit::GroupModel &model, int labelColumn)
{
    QStringList rows;
    for (std::size_t i = 0; i < model.displayRowCount(); ++i) {
        const kit::GridDisplayRow row = model.displayRow(i);
        if (row.kind == kit::GridRowKind::Group)
            rows << model.groupValue(model.displayTarget(i)) +
                        (row.expanded ? QStringLiteral("-") : QStringLiteral("+"));
        else
            rows << model.cellText(row.tableRow, labelColumn);
    }
    return rows.join(QLatin1Char(' '));
}

}  // namespace gridtest
