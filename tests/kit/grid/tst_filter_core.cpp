// The filter tree without widgets: evaluation over a small table, distinct column values, the
// description text and filter files.
#include "bench/generator/directory_generator.h"
#include "kit/dataset/file_io.h"
#include "kit/dataset/mem_table.h"
#include "kit/grid/filter_criteria.h"
#include "kit/grid/filter_description.h"
#include "kit/grid/filter_eval.h"
#include "kit/grid/filter_file.h"
#include "kit/text/codec.h"
#include "store/UDM1.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace kit;
using Op = FilterOperator;
using GOp = FilterGroupOperator;

Q_DECLARE_METATYPE(kit::FilterNode)

namespace {

enum Col { Nome, Citta, Data, Id, Unbound };

// Row:          nome        citta               data (today is Wednesday 11/03/2026)
const char *const kRows[][3] = {
    {"Rossi", "MILANO", "10/03/2026"},       // 0 yesterday
    {"rossi", "Milano", "11/03/26"},         // 1 today
    {"Bianchi", "", "2026-03-12"},           // 2 tomorrow
    {"\xC0lfa", "ROMA", "05/03/2026"},       // 3 last week ("Àlfa")
    {"R\xD2SSI", "Torino", "16.03.2026"},    // 4 next week ("RÒSSI")
    {"Verdi_1", "Como", "15/02/2026"},       // 5 last month
    {"50%off", "Bari", "2025-12-31"},        // 6 last year
    {"", "Milano Marittima", "31/02/2026"},  // 7 no such day
};
const QDate kToday(2026, 3, 11);

std::unique_ptr<MemTable> makeTable()
{
    auto table = std::make_unique<MemTable>(
        std::vector<FieldDef>{{"nome", 50}, {"citta", 50}, {"data", 10}}, "", "RecId");
    table->open();
    for (const auto &row : kRows) {
        const std::string_view values[] = {row[0], row[1], row[2]};
        table->appendStored(values);
    }
    return table;
}

std::vector<FilterColumn> columns()
{
    return {{"nome", "Nome", 1, false},
            {"citta", "Citt\u00E0", 2, false},
            {"data", "Data", 3, false},
            {"id", "Id", 0, false},
            {"unbound", "Unbound", -1, false}};
}

FilterNode cond(int column, Op op, QStringList values = {})
{
    return FilterNode::condition(column, op, std::move(values));
}

FilterNode grp(GOp op, std::vector<FilterNode> children)
{
    return FilterNode::group(op, std::move(children));
}

QString matchingRows(const MemTable &table, const FilterNode &filter)
{
    const FilterEvaluator evaluator(table, filter, columns(), kToday);
    QStringList rows;
    for (std::size_t row = 0; row < table.recordCount(); ++row)
        if (evaluator.matches(row))
            rows << QString::number(row);
    return rows.join(QLatin1Char(','));
}

QString rowsOf(const ColumnValues &values)
{
    QStringList rows;
    for (const std::size_t row : values.rows)
        rows << QString::number(row);
    return rows.join(QLatin1Char(','));
}

}  // namespace

class TestFilterCore : public QObject {
    Q_OBJECT
private slots:
    void evaluate_data();
    void evaluate();
    void predicateIsEmptyWhenNothingIsFiltered();
    void distinctValuesOfFixture();
    void distinctValuesAgreeWithFilterEquality_data();
    void distinctValuesAgreeWithFilterEquality();
    void columnFilterEditsKeepOtherColumns();
    void describe_data();
    void describe();
    void fileRoundTrip();
    void badFile_data();
    void badFile();
    void missingFileIsAFileError();
};

void TestFilterCore::evaluate_data()
{
    QTest::addColumn<FilterNode>("filter");
    QTest::addColumn<QString>("rows");
    const QStringList mil{"mil"};

    QTest::newRow("equals ignores case") << cond(Nome, Op::Equal, {"ROSSI"}) << "0,1";
    QTest::newRow("equals keeps accents") << cond(Nome, Op::Equal, {"r\u00F2ssi"}) << "4";
    QTest::newRow("equals empty value") << cond(Nome, Op::Equal, {""}) << "7";
    QTest::newRow("does not equal") << cond(Nome, Op::NotEqual, {"rossi"}) << "2,3,4,5,6,7";
    QTest::newRow("less, blank first") << cond(Citta, Op::Less, {"milano"}) << "2,5,6";
    QTest::newRow("less or equal") << cond(Citta, Op::LessEqual, {"MILANO"}) << "0,1,2,5,6";
    QTest::newRow("greater, longer is greater") << cond(Citta, Op::Greater, {"milano"}) << "3,4,7";
    QTest::newRow("greater or equal") << cond(Citta, Op::GreaterEqual, {"milano"}) << "0,1,3,4,7";
    QTest::newRow("accent folded in order") << cond(Nome, Op::Less, {"b"}) << "3,6,7";
    QTest::newRow("between inclusive") << cond(Citta, Op::Between, {"como", "n"}) << "0,1,5,7";
    QTest::newRow("between given high to low")
        << cond(Citta, Op::Between, {"n", "como"}) << "0,1,5,7";
    QTest::newRow("not between") << cond(Citta, Op::NotBetween, {"como", "n"}) << "2,3,4,6";
    QTest::newRow("in") << cond(Citta, Op::In, {"roma", "BARI"}) << "3,6";
    QTest::newRow("not in") << cond(Citta, Op::NotIn, {"roma", "BARI"}) << "0,1,2,4,5,7";
    QTest::newRow("like: _ is one character") << cond(Nome, Op::Like, {"r_ssi"}) << "0,1,4";
    QTest::newRow("like: _ is not zero characters") << cond(Nome, Op::Like, {"ross_i"}) << "";
    QTest::newRow("like: % in the middle") << cond(Citta, Op::Like, {"m%a"}) << "7";
    QTest::newRow("like: % around") << cond(Citta, Op::Like, {"%ar%"}) << "6,7";
    QTest::newRow("like: % alone matches blank")
        << cond(Citta, Op::Like, {"%"}) << "0,1,2,3,4,5,6,7";
    QTest::newRow("like: back-tracking") << cond(Citta, Op::Like, {"%a%a"}) << "7";
    QTest::newRow("not like") << cond(Citta, Op::NotLike, {"m%"}) << "2,3,4,5,6";
    QTest::newRow("begins with") << cond(Citta, Op::BeginsWith, mil) << "0,1,7";
    QTest::newRow("does not begin with") << cond(Citta, Op::NotBeginsWith, mil) << "2,3,4,5,6";
    QTest::newRow("ends with") << cond(Citta, Op::EndsWith, {"O"}) << "0,1,4,5";
    QTest::newRow("does not end with") << cond(Citta, Op::NotEndsWith, {"O"}) << "2,3,6,7";
    QTest::newRow("contains") << cond(Citta, Op::Contains, {"ilano m"}) << "7";
    QTest::newRow("does not contain") << cond(Citta, Op::NotContains, {"ilano"}) << "2,3,4,5,6";
    QTest::newRow("contains: _ is a wildcard")
        << cond(Nome, Op::Contains, {"_"}) << "0,1,2,3,4,5,6";
    QTest::newRow("begins with: % is a wildcard") << cond(Nome, Op::BeginsWith, {"5%f"}) << "6";
    QTest::newRow("is blank") << cond(Citta, Op::Blank) << "2";
    QTest::newRow("is not blank") << cond(Nome, Op::NotBlank) << "0,1,2,3,4,5,6";
    QTest::newRow("is yesterday") << cond(Data, Op::Yesterday) << "0";
    QTest::newRow("is today (two-digit year)") << cond(Data, Op::Today) << "1";
    QTest::newRow("is tomorrow (year first)") << cond(Data, Op::Tomorrow) << "2";
    QTest::newRow("is last week") << cond(Data, Op::LastWeek) << "3";
    QTest::newRow("is this week") << cond(Data, Op::ThisWeek) << "0,1,2";
    QTest::newRow("is next week (dots)") << cond(Data, Op::NextWeek) << "4";
    QTest::newRow("is last month") << cond(Data, Op::LastMonth) << "5";
    QTest::newRow("is this month") << cond(Data, Op::ThisMonth) << "0,1,2,3,4";
    QTest::newRow("is next month") << cond(Data, Op::NextMonth) << "";
    QTest::newRow("is last year") << cond(Data, Op::LastYear) << "6";
    QTest::newRow("is this year") << cond(Data, Op::ThisYear) << "0,1,2,3,4,5";
    QTest::newRow("is next year") << cond(Data, Op::NextYear) << "";
    QTest::newRow("date operator on text") << cond(Citta, Op::ThisYear) << "";
    QTest::newRow("record number equals") << cond(Id, Op::Equal, {"3"}) << "2";
    QTest::newRow("record number less, as numbers")
        << cond(Id, Op::Less, {"10"}) << "0,1,2,3,4,5,6,7";
    QTest::newRow("record number, not a number") << cond(Id, Op::Equal, {"x"}) << "";
    QTest::newRow("unbound column") << cond(Unbound, Op::Equal, {"x"}) << "";
    QTest::newRow("unbound column, negated") << cond(Unbound, Op::NotEqual, {"x"}) << "";
    QTest::newRow("value no row can hold") << cond(Nome, Op::Equal, {"\u4E00"}) << "";
    QTest::newRow("value no row can hold, negated")
        << cond(Nome, Op::NotEqual, {"\u4E00"}) << "0,1,2,3,4,5,6,7";

    const FilterNode milano = cond(Citta, Op::BeginsWith, mil);
    const FilterNode rossi = cond(Nome, Op::Equal, {"rossi"});
    const FilterNode roma = cond(Citta, Op::Equal, {"roma"});
    const FilterNode noName = cond(Nome, Op::Blank);
    QTest::newRow("AND") << grp(GOp::And, {milano, rossi}) << "0,1";
    QTest::newRow("OR") << grp(GOp::Or, {roma, noName}) << "3,7";
    QTest::newRow("NOT AND") << grp(GOp::NotAnd, {milano, rossi}) << "2,3,4,5,6,7";
    QTest::newRow("NOT OR") << grp(GOp::NotOr, {roma, noName}) << "0,1,2,4,5,6";
    QTest::newRow("nested OR in AND")
        << grp(GOp::And, {milano, grp(GOp::Or, {rossi, noName})}) << "0,1,7";
    QTest::newRow("nested NOT AND in OR")
        << grp(GOp::Or, {roma, grp(GOp::NotAnd, {milano})}) << "2,3,4,5,6";
    QTest::newRow("empty sub-group is left out") << grp(GOp::And, {grp(GOp::Or, {}), roma}) << "3";
    QTest::newRow("empty sub-group under NOT OR is left out")
        << grp(GOp::NotOr, {grp(GOp::And, {}), roma}) << "0,1,2,4,5,6,7";
    QTest::newRow("negated root of empty groups filters nothing")
        << grp(GOp::NotAnd, {grp(GOp::Or, {})}) << "0,1,2,3,4,5,6,7";
}

void TestFilterCore::evaluate()
{
    QFETCH(FilterNode, filter);
    QFETCH(QString, rows);
    const auto table = makeTable();
    QCOMPARE(matchingRows(*table, filter), rows);
}

void TestFilterCore::predicateIsEmptyWhenNothingIsFiltered()
{
    const auto table = makeTable();
    const FilterEvaluator none(*table, grp(GOp::NotOr, {grp(GOp::And, {})}), columns(), kToday);
    QVERIFY(none.filtersNothing());
    QVERIFY(!none.predicate());
    const FilterEvaluator some(*table, cond(Citta, Op::Blank), columns(), kToday);
    const auto predicate = some.predicate();
    QVERIFY(predicate);
    QVERIFY(predicate(2));
    QVERIFY(!predicate(0));
}

void TestFilterCore::distinctValuesOfFixture()
{
    const auto table = makeTable();
    // One entry per value as the filter compares them ("Rossi" and "rossi" are one, "RÒSSI" is
    // another); digits before letters, accents folded in the order.
    const ColumnValues names = distinctColumnValues(*table, columns()[Nome]);
    QVERIFY(names.hasBlank);
    QCOMPARE(rowsOf(names), QString("6,3,2,0,4,5"));
    const ColumnValues towns = distinctColumnValues(*table, columns()[Citta]);
    QVERIFY(towns.hasBlank);
    QCOMPARE(rowsOf(towns), QString("6,5,0,7,3,4"));
    const ColumnValues dates = distinctColumnValues(*table, columns()[Data]);
    QVERIFY(!dates.hasBlank);
    QCOMPARE(distinctColumnValues(*table, columns()[Id]).rows.size(), std::size_t(8));
    QVERIFY(distinctColumnValues(*table, columns()[Unbound]).rows.empty());
}

// On a generated directory, plus a record whose company differs from the first one's only in
// letter case: every value listed matches its own rows under "equals", its first row is the
// first that holds it, the list ascends, and together the values cover every non-blank row.
// The columns take the three roads: a few values in runs (company), many repeated values with
// blanks (second phone), nearly every value distinct (first phone).
void TestFilterCore::distinctValuesAgreeWithFilterEquality_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("runs of equal values") << "ditta";
    QTest::newRow("repeated values and blanks") << "telefono2";
    QTest::newRow("nearly all distinct") << "telefono1";
}

void TestFilterCore::distinctValuesAgreeWithFilterEquality()
{
    QFETCH(QString, field);
    MemTable table(ContactFieldDefs(), "NumScad", "RecId");
    table.open();
    dirgen::FillTable(table, 3000, 7);
    std::vector<std::string> copy;
    std::vector<std::string_view> values;
    for (int f = 1; f < table.fieldCount(); ++f)
        copy.emplace_back(table.value(0, f));
    for (char &c : copy[0])
        c = static_cast<char>(filterFold(static_cast<unsigned char>(c)));
    for (const std::string &v : copy)
        values.emplace_back(v);
    table.appendStored(values);

    const int index = table.findField(field.toStdString());
    const FilterColumn column{field, field, index, false};
    const ColumnValues listed = distinctColumnValues(table, column);
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t nonBlank = 0;
    for (std::size_t row = 0; row < table.recordCount(); ++row)
        nonBlank += !table.value(row, index).empty();
    QCOMPARE(listed.hasBlank, nonBlank < table.recordCount());
    QVERIFY(listed.rows.size() > 50);

    std::size_t covered = 0;
    for (std::size_t i = 0; i < listed.rows.size(); ++i) {
        const QString value = fromCp1252(table.value(listed.rows[i], index));
        const FilterEvaluator eq(table, FilterNode::condition(0, Op::Equal, {value}), {column});
        std::size_t first = kNone;
        for (std::size_t row = 0; row < table.recordCount(); ++row)
            if (eq.matches(row)) {
                ++covered;
                if (first == kNone)
                    first = row;
            }
        QCOMPARE(first, listed.rows[i]);
        if (i > 0) {
            const FilterEvaluator less(table, FilterNode::condition(0, Op::Less, {value}),
                                       {column});
            QVERIFY2(less.matches(listed.rows[i - 1]), qPrintable(value));
        }
    }
    QCOMPARE(covered, nonBlank);
}

void TestFilterCore::columnFilterEditsKeepOtherColumns()
{
    FilterCriteria criteria;
    criteria.setColumnFilter(Nome, cond(Nome, Op::Equal, {"a"}));
    criteria.setColumnFilter(Citta,
                             grp(GOp::Or, {cond(Citta, Op::Blank), cond(Citta, Op::Equal, {"x"})}));
    criteria.setColumnFilter(Nome, cond(Nome, Op::Equal, {"b"}));  // replaces the first
    QCOMPARE(criteria.root(),
             grp(GOp::And, {grp(GOp::Or, {cond(Citta, Op::Blank), cond(Citta, Op::Equal, {"x"})}),
                            cond(Nome, Op::Equal, {"b"})}));
    QCOMPARE(criteria.columnFilter(Citta).children.size(), std::size_t(2));
    criteria.removeColumnFilter(Citta);
    QCOMPARE(criteria.root(), grp(GOp::And, {cond(Nome, Op::Equal, {"b"})}));

    // An OR root built elsewhere is kept whole, as a sub-group of the new AND root.
    const FilterNode either = grp(GOp::Or, {cond(Nome, Op::Blank), cond(Citta, Op::Blank)});
    criteria.setRoot(either);
    criteria.setColumnFilter(Data, cond(Data, Op::Today));
    QCOMPARE(criteria.root(), grp(GOp::And, {either, cond(Data, Op::Today)}));
    criteria.removeColumnFilter(Nome);  // Nome is not alone in any item: nothing to take out
    QCOMPARE(criteria.root(), grp(GOp::And, {either, cond(Data, Op::Today)}));

    // In an OR root built in the builder, "(All)" on a column takes its conditions out.
    criteria.setRoot(grp(GOp::NotOr, {cond(Nome, Op::Blank), cond(Citta, Op::Blank)}));
    criteria.removeColumnFilter(Nome);
    QCOMPARE(criteria.root(), grp(GOp::NotOr, {cond(Citta, Op::Blank)}));
    criteria.removeColumnFilter(Citta);
    QVERIFY(criteria.isEmpty());
}

void TestFilterCore::describe_data()
{
    QTest::addColumn<FilterNode>("filter");
    QTest::addColumn<QString>("text");
    const FilterNode a = cond(Nome, Op::Equal, {"ROSSI"});
    const FilterNode b = cond(Citta, Op::Blank);
    const FilterNode c = cond(Data, Op::Today);
    QTest::newRow("empty") << grp(GOp::And, {grp(GOp::Or, {})}) << "";
    QTest::newRow("one condition") << a << "Nome equals \"ROSSI\"";
    QTest::newRow("empty value") << cond(Nome, Op::NotEqual, {""}) << "Nome does not equal blank";
    QTest::newRow("like X%") << cond(Nome, Op::Like, {"ROS%"}) << "Nome begins with \"ROS\"";
    QTest::newRow("not like %X") << cond(Nome, Op::NotLike, {"%SI"})
                                 << "Nome does not end with \"SI\"";
    QTest::newRow("like %X%") << cond(Nome, Op::Like, {"%OS%"}) << "Nome contains \"OS\"";
    QTest::newRow("not like %X%") << cond(Nome, Op::NotLike, {"%OS%"})
                                  << "Nome does not contain \"OS\"";
    QTest::newRow("like other shape") << cond(Nome, Op::Like, {"R_S%"}) << "Nome like \"R_S%\"";
    QTest::newRow("like %") << cond(Nome, Op::Like, {"%"}) << "Nome like \"%\"";
    QTest::newRow("begins with") << cond(Nome, Op::BeginsWith, {"R"}) << "Nome begins with \"R\"";
    QTest::newRow("between") << cond(Nome, Op::Between, {"A", "C"})
                             << "Nome between \"A\" and \"C\"";
    QTest::newRow("in") << cond(Nome, Op::NotIn, {"A", "B"}) << "Nome not in (\"A\", \"B\")";
    QTest::newRow("AND") << grp(GOp::And, {a, b})
                         << "Nome equals \"ROSSI\" and Citt\u00E0 is blank";
    QTest::newRow("NOT OR") << grp(GOp::NotOr, {a, b})
                            << "not (Nome equals \"ROSSI\" or Citt\u00E0 is blank)";
    QTest::newRow("nested") << grp(GOp::And, {c, grp(GOp::Or, {a, b})})
                            << "Data is today and (Nome equals \"ROSSI\" or Citt\u00E0 is blank)";
    QTest::newRow("root of one sub-group")
        << grp(GOp::And, {grp(GOp::Or, {a, b})}) << "Nome equals \"ROSSI\" or Citt\u00E0 is blank";
    QTest::newRow("sub-group of one")
        << grp(GOp::Or, {grp(GOp::And, {a}), c}) << "Nome equals \"ROSSI\" or Data is today";
}

void TestFilterCore::describe()
{
    QFETCH(FilterNode, filter);
    QFETCH(QString, text);
    QCOMPARE(describeFilter(filter, columns()), text);
}

void TestFilterCore::fileRoundTrip()
{
    // Every operator once, nested groups of every kind, and values that need escaping.
    std::vector<FilterNode> conditions;
    for (const Op op : allFilterOperators()) {
        QStringList values;
        for (int i = 0; i < std::max(1, filterOperatorArity(op)); ++i)
            values << QString("v%1").arg(i);
        if (filterOperatorArity(op) == 0)
            values.clear();
        if (filterOperatorArity(op) < 0)
            values << "third";
        conditions.push_back(cond(Citta, op, values));
    }
    const FilterNode odd = cond(Nome, Op::Equal, {"  a\tb\\n\nc\r\u00E8\u4E00 "});
    const FilterNode root =
        grp(GOp::NotOr, {grp(GOp::And, conditions), grp(GOp::NotAnd, {odd, grp(GOp::Or, {})}),
                         cond(Id, Op::Greater, {"5"})});

    QTemporaryDir dir;
    const QString path = dir.filePath("f.flt");
    saveFilterFile(path, root, columns());
    QCOMPARE(loadFilterFile(path, columns()), root);

    // Columns are found by name, so a grid whose columns moved reads the file the same way.
    std::vector<FilterColumn> moved = columns();
    std::swap(moved[Nome], moved[Citta]);
    const FilterNode reread = readFilterText(writeFilterText(odd, columns()), moved);
    QCOMPARE(reread, grp(GOp::And, {cond(Citta, Op::Equal, odd.values)}));
}

void TestFilterCore::badFile_data()
{
    QTest::addColumn<QByteArray>("text");
    const QByteArray head = "velistra-filter 1\n";
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("other format") << QByteArray("<filter/>\n");
    QTest::newRow("newer version") << QByteArray("velistra-filter 2\ngroup and\nend\n");
    QTest::newRow("no root") << head;
    QTest::newRow("root is a condition") << head + "condition blank nome\n";
    QTest::newRow("unknown group operator") << head + "group xor\nend\n";
    QTest::newRow("unknown operator") << head + "group and\ncondition near nome\nvalue x\nend\n";
    QTest::newRow("unknown column") << head + "group and\ncondition blank cognome\nend\n";
    QTest::newRow("condition without column") << head + "group and\ncondition blank\nend\n";
    QTest::newRow("missing value") << head + "group and\ncondition equal nome\nend\n";
    QTest::newRow("one value too many") << head + "group and\ncondition blank nome\nvalue x\nend\n";
    QTest::newRow("range of one") << head + "group and\ncondition between nome\nvalue a\nend\n";
    QTest::newRow("value without condition") << head + "group and\nvalue x\nend\n";
    QTest::newRow("bad escape") << head + "group and\ncondition equal nome\nvalue a\\qb\nend\n";
    QTest::newRow("group never closed") << head + "group and\ngroup or\nend\n";
    QTest::newRow("text after root") << head + "group and\nend\ngroup or\nend\n";
    QTest::newRow("unknown line") << head + "group and\nfilter on\nend\n";
}

void TestFilterCore::badFile()
{
    QFETCH(QByteArray, text);
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.flt");
    WriteFileSafely(path.toStdString(), text.toStdString());
    try {
        loadFilterFile(path, columns());
        QFAIL("no error");
    } catch (const FilterFileError &error) {
        QCOMPARE(QString(error.what()), QString("Can't build filter from source"));
    }
}

void TestFilterCore::missingFileIsAFileError()
{
    QTemporaryDir dir;
    QVERIFY_THROWS_EXCEPTION(FileError, loadFilterFile(dir.filePath("none.flt"), columns()));
}

QTEST_GUILESS_MAIN(TestFilterCore)
#include "tst_filter_core.moc"
