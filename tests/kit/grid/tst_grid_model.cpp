// The grid's rows: grouping, sorting, filtering and collation, checked as whole trees, with
// the model tester watching every change.
#include "grid_fixture.h"

#include "kit/grid/collation.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace gridtest;
using Key = kit::GroupModel::Key;
using Keys = std::vector<Key>;
using Filter = std::function<bool(std::size_t)>;

Q_DECLARE_METATYPE(Keys)
Q_DECLARE_METATYPE(Filter)

namespace {

// Rows in table order; the names say where each should land.
const std::initializer_list<Record> kStaff = {
    {"BETA", "SALES", "VERDI", nullptr},   {"ACME", "SALES", "ROSSI", nullptr},
    {"ACME", "ADMIN", "BIANCHI", nullptr}, {"acme", "SALES", "NERI", nullptr},
    {"ACME", "SALES", "ALBERTI", nullptr}, {"", "X", "VUOTO", nullptr},
    {"BETA", "SALES", "GIALLI", nullptr},
};

void groupByCompanyAndDepartment(kit::GroupModel &model, Fixture &fixture)
{
    model.setColumns(Fixture::columns());
    model.setDataSource(&fixture.source);
    model.setGrouping({{CompanyColumn, false}, {DeptColumn, false}});
}

}  // namespace

class TestGridModel : public QObject {
    Q_OBJECT
private slots:
    void tree_data();
    void tree();
    void collation_data();
    void collation();
    void resortKeepsGroupsAndExpansion();
    void deletion_data();
    void deletion();
    void followsAppendAndUpdate();
    void filterOnAndOffAroundDeletions_data();
    void filterOnAndOffAroundDeletions();
    void expandToOpensTheGroupsOfARecord();
};

void TestGridModel::tree_data()
{
    QTest::addColumn<Keys>("grouping");
    QTest::addColumn<Keys>("sorting");
    QTest::addColumn<Filter>("filter");
    QTest::addColumn<QString>("expected");

    const Keys twoLevels{{CompanyColumn, false}, {DeptColumn, false}};
    QTest::newRow("flat table order")
        << Keys{} << Keys{} << Filter{} << "[VERDI ROSSI BIANCHI NERI ALBERTI VUOTO GIALLI]";
    QTest::newRow("two levels, table order within groups")
        << twoLevels << Keys{} << Filter{}
        << "[''[X[VUOTO]] ACME[ADMIN[BIANCHI] SALES[ROSSI ALBERTI]] acme[SALES[NERI]] "
           "BETA[SALES[VERDI GIALLI]]]";
    QTest::newRow("company descending")
        << Keys{{CompanyColumn, true}} << Keys{} << Filter{}
        << "[BETA[VERDI GIALLI] acme[NERI] ACME[ROSSI BIANCHI ALBERTI] ''[VUOTO]]";
    QTest::newRow("department then company")
        << Keys{{DeptColumn, false}, {CompanyColumn, false}} << Keys{} << Filter{}
        << "[ADMIN[ACME[BIANCHI]] SALES[ACME[ROSSI ALBERTI] acme[NERI] BETA[VERDI GIALLI]] "
           "X[''[VUOTO]]]";
    QTest::newRow("sorted by name within groups")
        << Keys{{CompanyColumn, false}} << Keys{{NameColumn, false}} << Filter{}
        << "[''[VUOTO] ACME[ALBERTI BIANCHI ROSSI] acme[NERI] BETA[GIALLI VERDI]]";
    QTest::newRow("flat, name descending") << Keys{} << Keys{{NameColumn, true}} << Filter{}
                                           << "[VUOTO VERDI ROSSI NERI GIALLI BIANCHI ALBERTI]";
    QTest::newRow("sort ties keep table order")
        << Keys{} << Keys{{DeptColumn, false}} << Filter{}
        << "[BIANCHI VERDI ROSSI NERI ALBERTI GIALLI VUOTO]";
    QTest::newRow("descending ties keep table order too")
        << Keys{} << Keys{{DeptColumn, true}} << Filter{}
        << "[VUOTO VERDI ROSSI NERI ALBERTI GIALLI BIANCHI]";
    QTest::newRow("two sort keys") << Keys{} << Keys{{DeptColumn, true}, {NameColumn, false}}
                                   << Filter{} << "[VUOTO ALBERTI GIALLI NERI ROSSI VERDI BIANCHI]";
    QTest::newRow("sort by the record number") << Keys{} << Keys{{RecIdColumn, true}} << Filter{}
                                               << "[GIALLI VUOTO ALBERTI NERI BIANCHI ROSSI VERDI]";
    QTest::newRow("filter before grouping")
        << twoLevels << Keys{} << Filter([](std::size_t row) { return row % 2 == 0; })
        << "[ACME[ADMIN[BIANCHI] SALES[ALBERTI]] BETA[SALES[VERDI GIALLI]]]";
    QTest::newRow("filter that lets nothing through")
        << twoLevels << Keys{} << Filter([](std::size_t) { return false; }) << "[]";
}

void TestGridModel::tree()
{
    QFETCH(Keys, grouping);
    QFETCH(Keys, sorting);
    QFETCH(Filter, filter);
    QFETCH(QString, expected);

    Fixture fixture(kStaff);
    kit::GroupModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setColumns(Fixture::columns());
    model.setDataSource(&fixture.source);
    model.rebuild();
    model.setGrouping(grouping);
    model.setSorting(sorting);
    model.setRowFilter(filter);
    QCOMPARE(treeString(model, NameColumn), expected);
}

void TestGridModel::collation_data()
{
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<QByteArray>("b");
    QTest::addColumn<int>("sign");
    QTest::newRow("case folded first, bytes break the tie")
        << QByteArray("Rossi") << QByteArray("ROSSI") << 1;
    QTest::newRow("case does not beat the letters") << QByteArray("abc") << QByteArray("ABD") << -1;
    QTest::newRow("accent folded: e-grave between d and f")
        << QByteArray("\xE8tna") << QByteArray("fanta") << -1;
    QTest::newRow("accent folded: after plain e at the tie")
        << QByteArray("citt\xE0") << QByteArray("citta") << 1;
    QTest::newRow("digits before letters") << QByteArray("9") << QByteArray("A") << -1;
    QTest::newRow("blank before digits") << QByteArray(" 1") << QByteArray("0") << -1;
    QTest::newRow("prefix first") << QByteArray("ROSS") << QByteArray("ROSSI") << -1;
    QTest::newRow("empty first") << QByteArray("") << QByteArray(" ") << -1;
    QTest::newRow("equal bytes") << QByteArray("\xC0nna") << QByteArray("\xC0nna") << 0;
    QTest::newRow("long common prefix") << QByteArray("SOCIETA COOPERATIVA AGRICOLA B")
                                        << QByteArray("societa cooperativa agricola a") << 1;
}

void TestGridModel::collation()
{
    QFETCH(QByteArray, a);
    QFETCH(QByteArray, b);
    QFETCH(int, sign);
    const auto sv = [](const QByteArray &x) { return std::string_view(x.constData(), x.size()); };
    const int c = kit::collation::compare(sv(a), sv(b));
    QCOMPARE((c > 0) - (c < 0), sign);
    const int r = kit::collation::compare(sv(b), sv(a));
    QCOMPARE((r > 0) - (r < 0), -sign);

    // The same order through the grid: a sort of the two values.
    Fixture fixture({{a.constData(), "", "", nullptr}, {b.constData(), "", "", nullptr}});
    kit::GroupModel model;
    model.setColumns(Fixture::columns());
    model.setDataSource(&fixture.source);
    model.setSorting({{CompanyColumn, false}});
    const std::size_t first = model.tableRowAt(0);
    QCOMPARE(first, sign > 0 ? std::size_t(1) : std::size_t(0));
}

// A new sort moves records only within their groups: one layout change, groups stay open, and
// a persistent index keeps pointing at its record.
void TestGridModel::resortKeepsGroupsAndExpansion()
{
    Fixture fixture(kStaff);
    kit::GroupModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setColumns(Fixture::columns());
    model.setDataSource(&fixture.source);
    model.setGrouping({{CompanyColumn, false}});
    model.setGroupExpanded(1, true);  // ACME
    QCOMPARE(displayString(model, NameColumn), "+ ACME- ROSSI BIANCHI ALBERTI acme+ BETA+");
    const QPersistentModelIndex rossi = model.index(0, NameColumn, model.index(1, 0));
    QCOMPARE(rossi.data().toString(), "ROSSI");

    QSignalSpy layout(&model, &QAbstractItemModel::layoutChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.setSorting({{NameColumn, false}});
    QCOMPARE(layout.count(), 1);
    QCOMPARE(reset.count(), 0);
    QCOMPARE(displayString(model, NameColumn), "+ ACME- ALBERTI BIANCHI ROSSI acme+ BETA+");
    QCOMPARE(rossi.data().toString(), "ROSSI");
    QCOMPARE(rossi.row(), 2);
}

void TestGridModel::deletion_data()
{
    QTest::addColumn<int>("tableRow");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("reset");
    QTest::newRow("one of several in its group")
        << 1
        << "[''[X[VUOTO]] ACME[ADMIN[BIANCHI] SALES[ALBERTI]] acme[SALES[NERI]] "
           "BETA[SALES[VERDI GIALLI]]]"
        << false;
    QTest::newRow("the last of a department")
        << 2
        << "[''[X[VUOTO]] ACME[SALES[ROSSI ALBERTI]] acme[SALES[NERI]] "
           "BETA[SALES[VERDI GIALLI]]]"
        << true;
    QTest::newRow("the last of a company")
        << 3
        << "[''[X[VUOTO]] ACME[ADMIN[BIANCHI] SALES[ROSSI ALBERTI]] "
           "BETA[SALES[VERDI GIALLI]]]"
        << true;
    QTest::newRow("the last record of the table")
        << 6
        << "[''[X[VUOTO]] ACME[ADMIN[BIANCHI] SALES[ROSSI ALBERTI]] acme[SALES[NERI]] "
           "BETA[SALES[VERDI]]]"
        << false;
}

// A deletion touches the record's groups and shifts the table positions after it; open groups
// stay open.
void TestGridModel::deletion()
{
    QFETCH(int, tableRow);
    QFETCH(QString, expected);
    QFETCH(bool, reset);

    Fixture fixture(kStaff);
    kit::GroupModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    groupByCompanyAndDepartment(model, fixture);
    model.setAllExpanded(true);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy rebuilt(&model, &kit::GroupModel::rowsRebuilt);

    fixture.table.moveTo(std::size_t(tableRow));
    fixture.table.deleteCurrent();
    QCOMPARE(treeString(model, NameColumn), expected);
    QCOMPARE(resets.count(), reset ? 1 : 0);
    QCOMPARE(removed.count(), reset ? 0 : 1);
    QCOMPARE(rebuilt.count(), 0);  // no new sort
    for (std::size_t i = 0; i < model.displayRowCount(); ++i)
        QVERIFY(model.displayRow(i).expanded || model.displayRow(i).kind == kit::GridRowKind::Data);
    // Every shown record still names its own table row.
    for (std::size_t p = 0; p < model.recordCount(); ++p)
        QCOMPARE(model.positionOf(model.tableRowAt(p)), p);
}

void TestGridModel::filterOnAndOffAroundDeletions_data()
{
    QTest::addColumn<int>("tableRow");
    QTest::addColumn<QString>("expected");
    const QString all = QStringLiteral("[''[X[VUOTO]] ACME[ADMIN[BIANCHI] SALES[ROSSI ALBERTI]] "
                                       "acme[SALES[NERI]] BETA[SALES[VERDI GIALLI]]]");
    QTest::newRow("nothing deleted") << -1 << all;
    // ROSSI opens ACME's SALES: ALBERTI must open it once ROSSI is gone.
    QTest::newRow("first of a department, hidden by the filter")
        << 1
        << "[''[X[VUOTO]] ACME[ADMIN[BIANCHI] SALES[ALBERTI]] acme[SALES[NERI]] "
           "BETA[SALES[VERDI GIALLI]]]";
    QTest::newRow("first of a company, shown by the filter")
        << 0
        << "[''[X[VUOTO]] ACME[ADMIN[BIANCHI] SALES[ROSSI ALBERTI]] acme[SALES[NERI]] "
           "BETA[SALES[GIALLI]]]";
    QTest::newRow("first of all, hidden by the filter")
        << 5
        << "[ACME[ADMIN[BIANCHI] SALES[ROSSI ALBERTI]] acme[SALES[NERI]] "
           "BETA[SALES[VERDI GIALLI]]]";
    QTest::newRow("a whole company") << 3
                                     << "[''[X[VUOTO]] ACME[ADMIN[BIANCHI] SALES[ROSSI "
                                        "ALBERTI]] BETA[SALES[VERDI GIALLI]]]";
}

// A filter switched on and off again reuses the order of all records, which must follow the
// deletions made in the meantime.
void TestGridModel::filterOnAndOffAroundDeletions()
{
    QFETCH(int, tableRow);
    QFETCH(QString, expected);

    Fixture fixture(kStaff);
    kit::GroupModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    groupByCompanyAndDepartment(model, fixture);
    const auto evenRows = [](std::size_t row) { return row % 2 == 0; };
    model.setRowFilter(evenRows);
    QCOMPARE(treeString(model, NameColumn),
             "[ACME[ADMIN[BIANCHI] SALES[ALBERTI]] BETA[SALES[VERDI GIALLI]]]");
    if (tableRow >= 0) {
        fixture.table.moveTo(std::size_t(tableRow));
        fixture.table.deleteCurrent();
    }
    model.setRowFilter({});
    QCOMPARE(treeString(model, NameColumn), expected);

    // The same rows as a model built afresh over what is left.
    kit::GroupModel fresh;
    groupByCompanyAndDepartment(fresh, fixture);
    QCOMPARE(treeString(model, NameColumn), treeString(fresh, NameColumn));
    model.setRowFilter(evenRows);
    fresh.setRowFilter(evenRows);
    QCOMPARE(treeString(model, NameColumn), treeString(fresh, NameColumn));
}

void TestGridModel::followsAppendAndUpdate()
{
    Fixture fixture(kStaff);
    kit::GroupModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setColumns(Fixture::columns());
    model.setDataSource(&fixture.source);
    model.setGrouping({{CompanyColumn, false}});
    model.setGroupExpanded(2, true);  // acme

    fixture.table.append();
    fixture.table.setCurrentValue(CompanyField, "ACME");
    fixture.table.setCurrentValue(NameField, "ULTIMO");
    fixture.table.post();
    QCOMPARE(treeString(model, NameColumn),
             "[''[VUOTO] ACME[ROSSI BIANCHI ALBERTI ULTIMO] acme[NERI] BETA[VERDI GIALLI]]");

    fixture.table.moveTo(0);
    fixture.table.edit();
    fixture.table.setCurrentValue(CompanyField, "acme");
    fixture.table.post();
    QCOMPARE(treeString(model, NameColumn),
             "[''[VUOTO] ACME[ROSSI BIANCHI ALBERTI ULTIMO] acme[VERDI NERI] BETA[GIALLI]]");
    QCOMPARE(displayString(model, NameColumn), "+ ACME+ acme- VERDI NERI BETA+");
}

void TestGridModel::expandToOpensTheGroupsOfARecord()
{
    Fixture fixture(kStaff);
    kit::GroupModel model;
    groupByCompanyAndDepartment(model, fixture);
    QCOMPARE(displayString(model, NameColumn), "+ ACME+ acme+ BETA+");
    const std::size_t alberti = model.positionOf(4);
    QVERIFY(model.expandTo(alberti));
    QCOMPARE(displayString(model, NameColumn), "+ ACME- ADMIN+ SALES- ROSSI ALBERTI acme+ BETA+");
    QCOMPARE(model.displayRowOfPosition(alberti), std::size_t(5));
    QCOMPARE(model.displayRowOfPosition(model.positionOf(0)), kit::GroupModel::npos);  // hidden
    QVERIFY(!model.expandTo(alberti));
}

QTEST_MAIN(TestGridModel)
#include "tst_grid_model.moc"
