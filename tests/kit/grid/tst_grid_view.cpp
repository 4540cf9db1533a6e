// The grid widget: focus and current record in both directions, keyboard commands, header
// clicks and drags, and the texts it shows.
#include "grid_fixture.h"

#include "kit/grid/grid_header.h"
#include "kit/grid/grid_view.h"
#include "kit/grid/group_by_box.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

using namespace gridtest;

namespace {

// Table order; "K1" is shared by two records of different companies.
const std::initializer_list<Record> kStaff = {
    {"BETA", "SALES", "VERDI", "K1"},   {"ACME", "SALES", "ROSSI", "K2"},
    {"ACME", "ADMIN", "BIANCHI", "K3"}, {"ACME", "SALES", "ALBERTI", "K1"},
    {"BETA", "SALES", "GIALLI", "K5"},  {"ZETA", "", "NERI", "K6"},
};

struct Grid {
    explicit Grid(std::initializer_list<Record> records = kStaff)
        : fixture(records)
    {
        view.resize(640, 400);
        const auto add = [this](const char *caption, const char *field, int width, int group,
                                bool visible) {
            kit::GridColumn c;
            c.name = QStringLiteral("col_") + QLatin1String(field);
            c.caption = QLatin1String(caption);
            c.fieldName = QLatin1String(field);
            c.width = width;
            c.groupIndex = group;
            c.visible = visible;
            view.addColumn(c);
        };
        add("Ditta", "co", 120, 0, true);
        add("Reparto", "dept", 110, 1, true);
        add("Nome", "name", 100, -1, true);
        add("Chiave", "key", 80, -1, true);
        add("", "recid", 40, -1, false);
        view.setKeyField(QStringLiteral("key"));
        view.setDataSource(&fixture.source);
        view.show();
    }

    // Display row of the data row of a table record (opening its groups), or of a group row.
    std::size_t rowOfRecord(std::size_t tableRow)
    {
        view.focusTableRow(tableRow);
        return view.focusedRow();
    }
    std::size_t rowOfGroup(const QString &value, int level)
    {
        for (std::size_t i = 0; i < view.displayRowCount(); ++i) {
            const kit::GridDisplayRow r = view.displayRow(i);
            if (r.kind == kit::GridRowKind::Group && r.level == level &&
                view.groupRowValue(i) == value)
                return i;
        }
        return kit::GridView::npos;
    }
    QString names() const  // table order
    {
        QStringList n;
        for (std::size_t r = 0; r < fixture.table.recordCount(); ++r)
            n << QString::fromLatin1(fixture.table.value(r, NameField));
        return n.join(QLatin1Char(' '));
    }
    QString currentName() const
    {
        const kit::MemTable &t = fixture.table;
        return t.hasCurrent() ? QString::fromLatin1(t.value(t.currentRow(), NameField)) : QString();
    }
    QString screen() const { return displayString(*view.model(), NameColumn); }

    Fixture fixture;
    kit::GridView view;
};

QPoint sectionCenter(kit::GridView &view, int column)
{
    return view.header()->sectionRect(column).center() - QPoint(10, 0);
}

}  // namespace

class TestGridView : public QObject {
    Q_OBJECT
private slots:
    void focusedDataRowMakesFirstRecordWithItsKeyCurrent();
    void focusedGroupRowMakesFirstEntryInGridOrderCurrent();
    void tableCursorMoveOpensGroupsAndFocuses();
    void focusIntoGridChangesNothing();
    void followsAppendedAndChangedRecords();
    void keyboardDeletion_data();
    void keyboardDeletion();
    void copy_data();
    void copy();
    void expandKeys();
    void headerClicks_data();
    void headerClicks();
    void groupByBoxClickReversesLevel();
    void dragHeaderOutOfAndIntoGroupByBox();
    void firstHeaderSpansGroupIndents();
    void filterHookLeavesTableAlone();
    void filterButtonSignal();
    void emptyGridText();
    void closingAndReopeningTheTable();
};

void TestGridView::focusedDataRowMakesFirstRecordWithItsKeyCurrent()
{
    Grid g;
    g.view.expandAll();
    const std::size_t alberti = g.rowOfRecord(3);  // key K1, as VERDI (table row 0)
    g.fixture.table.moveTo(2);
    g.view.setFocusedRow(alberti);
    QCOMPARE(g.fixture.table.currentRow(), std::size_t(0));
    QCOMPARE(g.view.focusedRow(), alberti);  // the focus stays where the user put it
}

void TestGridView::focusedGroupRowMakesFirstEntryInGridOrderCurrent()
{
    Grid g({{"BETA", "SALES", "VERDI", "K1"},
            {"ACME", "SALES", "ROSSI", "K2"},
            {"ACME", "ADMIN", "BIANCHI", "K3"},
            {"ACME", "SALES", "ALBERTI", "K4"}});
    g.view.collapseAll();
    g.view.setFocusedRow(g.rowOfGroup(QStringLiteral("ACME"), 0));
    QCOMPARE(g.currentName(), "BIANCHI");  // ADMIN sorts first; ROSSI is first in the table
    g.view.setRowExpanded(g.view.focusedRow(), true);
    g.view.sortByColumn(NameColumn, kit::SortOrder::Ascending);
    g.view.setFocusedRow(g.rowOfGroup(QStringLiteral("SALES"), 1));
    QCOMPARE(g.currentName(), "ALBERTI");
    // A new order while a group row has the focus makes the group's new first entry current.
    g.view.sortByColumn(NameColumn, kit::SortOrder::Descending);
    QCOMPARE(g.view.displayRow(g.view.focusedRow()).kind, kit::GridRowKind::Group);
    QCOMPARE(g.currentName(), "ROSSI");
}

void TestGridView::tableCursorMoveOpensGroupsAndFocuses()
{
    Grid g;
    g.view.collapseAll();
    g.fixture.table.moveTo(4);
    QCOMPARE(g.view.focusedTableRow(), std::size_t(4));
    QCOMPARE(g.screen(), "ACME+ BETA- SALES- VERDI GIALLI ZETA+");
    QCOMPARE(g.view.displayRow(g.view.focusedRow()).kind, kit::GridRowKind::Data);
}

void TestGridView::focusIntoGridChangesNothing()
{
    Grid g;
    g.fixture.table.moveTo(2);
    g.view.setFocusedRow(kit::GridView::npos);
    QApplication::setActiveWindow(&g.view);
    g.view.setFocus();
    QCOMPARE(g.fixture.table.currentRow(), std::size_t(2));
}

// The grid focuses the posted record and opens its groups; a group that was open stays open
// even when its first record is the one that moved away.
void TestGridView::followsAppendedAndChangedRecords()
{
    Grid g;
    g.view.collapseAll();
    kit::MemTable &t = g.fixture.table;
    t.append();
    t.setCurrentValue(CompanyField, "BETA");
    t.setCurrentValue(DeptField, "NUOVO");
    t.setCurrentValue(NameField, "ULTIMO");
    t.post();
    QCOMPARE(g.view.focusedTableRow(), std::size_t(6));
    QCOMPARE(g.screen(), "ACME+ BETA- NUOVO- ULTIMO SALES+ ZETA+");

    t.edit();
    t.setCurrentValue(CompanyField, "ACME");
    t.post();
    QCOMPARE(g.view.focusedTableRow(), std::size_t(6));
    QCOMPARE(g.screen(), "ACME- ADMIN+ NUOVO- ULTIMO SALES+ BETA- SALES+ ZETA+");
}

void TestGridView::keyboardDeletion_data()
{
    QTest::addColumn<QString>("focus");  // "record N" or "group VALUE LEVEL"
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("remaining");
    QTest::addColumn<QString>("current");

    const int none = Qt::NoModifier;
    QTest::newRow("Delete on a data row")
        << "record 1" << int(Qt::Key_Delete) << none << "VERDI BIANCHI ALBERTI GIALLI NERI"
        << "BIANCHI";
    QTest::newRow("Ctrl+Delete on a data row")
        << "record 4" << int(Qt::Key_Delete) << int(Qt::ControlModifier)
        << "VERDI ROSSI BIANCHI ALBERTI NERI"
        << "NERI";
    QTest::newRow("a shared key deletes the row's own record")
        << "record 3" << int(Qt::Key_Delete) << none << "VERDI ROSSI BIANCHI GIALLI NERI"
        << "GIALLI";
    QTest::newRow("Delete on a company row")
        << "group ACME 0" << int(Qt::Key_Delete) << none << "VERDI GIALLI NERI"
        << "GIALLI";
    QTest::newRow("Delete on a department row")
        << "group SALES 1" << int(Qt::Key_Delete) << none << "VERDI BIANCHI GIALLI NERI"
        << "BIANCHI";
    QTest::newRow("Delete on the last record")
        << "record 5" << int(Qt::Key_Delete) << none << "VERDI ROSSI BIANCHI ALBERTI GIALLI"
        << "GIALLI";
    QTest::newRow("Shift+Delete does nothing")
        << "record 1" << int(Qt::Key_Delete) << int(Qt::ShiftModifier)
        << "VERDI ROSSI BIANCHI ALBERTI GIALLI NERI"
        << "ROSSI";
    QTest::newRow("Alt+Delete does nothing")
        << "record 1" << int(Qt::Key_Delete) << int(Qt::AltModifier)
        << "VERDI ROSSI BIANCHI ALBERTI GIALLI NERI"
        << "ROSSI";
    QTest::newRow("Insert does nothing")
        << "record 1" << int(Qt::Key_Insert) << none << "VERDI ROSSI BIANCHI ALBERTI GIALLI NERI"
        << "ROSSI";
}

void TestGridView::keyboardDeletion()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, remaining);
    QFETCH(QString, current);

    Grid g;
    const QStringList parts = focus.split(QLatin1Char(' '));
    if (parts[0] == QLatin1String("record")) {
        g.view.setFocusedRow(g.rowOfRecord(parts[1].toUInt()));
    } else {
        if (parts[2] == QLatin1String("1"))
            g.view.setRowExpanded(g.rowOfGroup(QStringLiteral("ACME"), 0), true);
        g.view.setFocusedRow(g.rowOfGroup(parts[1], parts[2].toInt()));
    }
    QTest::keyClick(&g.view, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(g.names(), remaining);
    QCOMPARE(g.currentName(), current);
    // The grid shows what is left and focuses the current record.
    QCOMPARE(g.view.dataRowCount(), g.fixture.table.recordCount());
    QCOMPARE(g.view.focusedTableRow(), g.fixture.table.currentRow());
    QCOMPARE(g.view.displayRow(g.view.focusedRow()).kind, kit::GridRowKind::Data);
}

void TestGridView::copy_data()
{
    QTest::addColumn<bool>("groupRow");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Ctrl+C on a data row")
        << false << int(Qt::Key_C) << "Nome\tChiave\r\nROSSI\tK2\r\n";
    QTest::newRow("Ctrl+Insert on a data row")
        << false << int(Qt::Key_Insert) << "Nome\tChiave\r\nROSSI\tK2\r\n";
    QTest::newRow("a group row copies its value")
        << true << int(Qt::Key_C) << "Nome\tChiave\r\nACME\r\n";
}

void TestGridView::copy()
{
    QFETCH(bool, groupRow);
    QFETCH(int, key);
    QFETCH(QString, expected);
    Grid g;
    g.view.setFocusedRow(groupRow ? g.rowOfGroup(QStringLiteral("ACME"), 0) : g.rowOfRecord(1));
    QApplication::clipboard()->clear();
    QTest::keyClick(&g.view, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), expected);
    QCOMPARE(g.view.copyText(), expected);
}

void TestGridView::expandKeys()
{
    Grid g;
    g.view.collapseAll();
    g.view.setFocusedRow(g.rowOfGroup(QStringLiteral("ACME"), 0));
    QTest::keyClick(&g.view, Qt::Key_Right);
    QCOMPARE(g.screen(), "ACME- ADMIN+ SALES+ BETA+ ZETA+");
    QTest::keyClick(&g.view, Qt::Key_Left);
    QCOMPARE(g.screen(), "ACME+ BETA+ ZETA+");
    QTest::keyClick(&g.view, Qt::Key_Asterisk, Qt::KeypadModifier);
    QCOMPARE(g.screen(), "ACME- ADMIN- BIANCHI SALES- ROSSI ALBERTI BETA+ ZETA+");
    QTest::keyClick(&g.view, Qt::Key_Down);
    QCOMPARE(g.view.focusedRow(), std::size_t(1));
    QCOMPARE(g.currentName(), "BIANCHI");  // the department's first entry
}

void TestGridView::headerClicks_data()
{
    // Each click: "N" (Nome) or "C" (Chiave), prefixed by "+" for Shift or "-" for Ctrl.
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QString>("expected");  // sort columns with "<" ascending, ">" descending
    QTest::newRow("a click sorts ascending") << "N"
                                             << "N<";
    QTest::newRow("a second click reverses") << "N N"
                                             << "N>";
    QTest::newRow("a third click reverses again") << "N N N"
                                                  << "N<";
    QTest::newRow("another column replaces the sort") << "N C"
                                                      << "C<";
    QTest::newRow("Shift adds") << "N +C"
                                << "N< C<";
    QTest::newRow("Shift reverses within the sort") << "N +C +C"
                                                    << "N< C>";
    QTest::newRow("Ctrl removes") << "N +C -N"
                                  << "C<";
    QTest::newRow("Ctrl on an unsorted column") << "-N"
                                                << "";
}

void TestGridView::headerClicks()
{
    QFETCH(QString, clicks);
    QFETCH(QString, expected);
    Grid g;
    for (const QString &click : clicks.split(QLatin1Char(' '))) {
        Qt::KeyboardModifiers mods;
        if (click.startsWith(QLatin1Char('+')))
            mods = Qt::ShiftModifier;
        if (click.startsWith(QLatin1Char('-')))
            mods = Qt::ControlModifier;
        const int column = click.endsWith(QLatin1Char('N')) ? NameColumn : KeyColumn;
        QTest::mouseClick(g.view.header(), Qt::LeftButton, mods, sectionCenter(g.view, column));
    }
    QStringList got;
    for (int c : g.view.sortingColumns())
        got << (c == NameColumn ? QStringLiteral("N") : QStringLiteral("C")) +
                   (g.view.columnSortOrder(c) == kit::SortOrder::Ascending ? QStringLiteral("<")
                                                                           : QStringLiteral(">"));
    QCOMPARE(got.join(QLatin1Char(' ')), expected);
    QCOMPARE(g.view.groupingColumns(), (std::vector<int>{CompanyColumn, DeptColumn}));
}

void TestGridView::groupByBoxClickReversesLevel()
{
    Grid g;
    g.view.sortByColumn(NameColumn, kit::SortOrder::Ascending);
    QTest::mouseClick(g.view.groupByBox(), Qt::LeftButton, {},
                      g.view.groupByBox()->itemRect(0).center());
    QCOMPARE(g.screen().left(20), "ZETA+ BETA+ ACME+");
    QCOMPARE(g.view.sortingColumns(), std::vector<int>{NameColumn});
    QCOMPARE(g.view.columnSortOrder(DeptColumn), kit::SortOrder::Ascending);
}

// A real drag with the mouse: the department out of the box onto the header row, then the
// company from the box to behind... and back into the box from the header row.
void TestGridView::dragHeaderOutOfAndIntoGroupByBox()
{
    Grid g;
    kit::GroupByBox *box = g.view.groupByBox();
    kit::GridHeader *header = g.view.header();
    const auto drag = [](QWidget *from, QPoint start, QWidget *to, QPoint end) {
        const QPoint target = from->mapFromGlobal(to->mapToGlobal(end));
        QTest::mousePress(from, Qt::LeftButton, {}, start);
        QTest::mouseMove(from, start + QPoint(20, 0));
        QTest::mouseMove(from, target);
        QTest::mouseRelease(from, Qt::LeftButton, {}, target);
    };

    // Out: "Reparto" lands between Nome and Chiave, at its own width.
    drag(box, box->itemRect(1).center(), header,
         header->sectionRect(KeyColumn).topLeft() + QPoint(5, 5));
    QCOMPARE(g.view.groupingColumns(), std::vector<int>{CompanyColumn});
    QCOMPARE(g.view.visibleColumns(), (std::vector<int>{NameColumn, DeptColumn, KeyColumn}));
    QCOMPARE(g.view.headerWidth(DeptColumn), 110);
    QCOMPARE(g.screen(), "ACME+ BETA+ ZETA+");

    // In: "Chiave" dropped in front of "Ditta" becomes the outer level and leaves the headers.
    drag(header, sectionCenter(g.view, KeyColumn), box, box->itemRect(0).topLeft() + QPoint(2, 2));
    QCOMPARE(g.view.groupingColumns(), (std::vector<int>{KeyColumn, CompanyColumn}));
    QCOMPARE(g.view.visibleColumns(), (std::vector<int>{NameColumn, DeptColumn}));
    QCOMPARE(g.screen(), "K1+ K2+ K3+ K5+ K6+");

    // Within the box: "Chiave" moved behind "Ditta".
    drag(box, box->itemRect(0).center(), box, box->itemRect(1).bottomRight() + QPoint(8, 0));
    QCOMPARE(g.view.groupingColumns(), (std::vector<int>{CompanyColumn, KeyColumn}));
}

void TestGridView::firstHeaderSpansGroupIndents()
{
    Grid g;
    QCOMPARE(g.view.headerWidth(NameColumn), 100 + 2 * kit::GridView::kGroupIndent);
    QCOMPARE(g.view.headerWidth(KeyColumn), 80);
    QCOMPARE(g.view.visibleColumnsWidth(), 100 + 32 + 80);
    g.view.moveColumn(KeyColumn, 0);
    QCOMPARE(g.view.headerWidth(KeyColumn), 80 + 32);
    QCOMPARE(g.view.headerWidth(NameColumn), 100);
    g.view.setColumnGroupIndex(CompanyColumn, -1);
    g.view.setColumnGroupIndex(DeptColumn, -1);
    QCOMPARE(g.view.headerWidth(KeyColumn), 80);
    // Ungrouped columns come back at their own places in the column order.
    QCOMPARE(g.view.visibleColumns(),
             (std::vector<int>{CompanyColumn, DeptColumn, KeyColumn, NameColumn}));
}

void TestGridView::filterHookLeavesTableAlone()
{
    Grid g;
    g.fixture.table.moveTo(1);
    QSignalSpy rebuilt(&g.view, &kit::GridView::rowsRebuilt);
    g.view.setRowFilter([](std::size_t) { return false; });
    QCOMPARE(rebuilt.count(), 1);
    QCOMPARE(g.view.displayRowCount(), std::size_t(0));
    QCOMPARE(g.view.focusedRow(), kit::GridView::npos);
    QCOMPARE(g.fixture.table.currentRow(), std::size_t(1));
    QCOMPARE(g.fixture.table.recordCount(), std::size_t(6));
    g.view.setRowFilter([](std::size_t row) { return row != 0; });
    QCOMPARE(g.view.dataRowCount(), std::size_t(5));
    g.view.setRowFilter({});
    QCOMPARE(g.view.dataRowCount(), std::size_t(6));
}

void TestGridView::filterButtonSignal()
{
    Grid g;
    QSignalSpy clicked(&g.view, &kit::GridView::filterButtonClicked);
    const QRect button = g.view.header()->filterButtonRect(KeyColumn);
    QTest::mouseClick(g.view.header(), Qt::LeftButton, {}, button.center());
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked[0][0].toInt(), int(KeyColumn));
    QCOMPARE(clicked[0][1].toRect(), g.view.filterButtonGlobalRect(KeyColumn));
    QVERIFY(g.view.sortingColumns().empty());  // the button does not sort
}

void TestGridView::emptyGridText()
{
    Grid g({});
    QCOMPARE(g.view.displayRowCount(), std::size_t(0));
    QCOMPARE(kit::GridView::emptyText(), "<No data to display>");
    g.view.setColumnGroupIndex(CompanyColumn, -1);
    g.view.setColumnGroupIndex(DeptColumn, -1);
    QVERIFY(g.view.groupingColumns().empty());
    QCOMPARE(kit::GridView::groupByBoxHint(), "Drag a column header here to group by that column");
    QTest::keyClick(&g.view, Qt::Key_Delete);  // nothing to delete, nothing breaks
    QCOMPARE(g.view.focusedTableRow(), kit::GridView::npos);
}

// Closing the table empties the grid and leaves nothing pointing at the old records; reopened and
// refilled, the grid shows the new records.
void TestGridView::closingAndReopeningTheTable()
{
    Grid g;
    g.view.expandAll();
    g.fixture.table.moveTo(2);
    g.fixture.table.close();
    QCOMPARE(g.view.displayRowCount(), std::size_t(0));
    QCOMPARE(g.view.focusedTableRow(), kit::GridView::npos);
    QTest::keyClick(&g.view, Qt::Key_Down);
    QTest::keyClick(&g.view, Qt::Key_Delete);
    g.view.repaint();

    g.fixture.table.open();
    g.fixture.load({{"ACME", "SALES", "ROSSI", "K2"}});
    g.view.expandAll();
    QCOMPARE(g.screen(), "ACME- SALES- ROSSI");
}

QTEST_MAIN(TestGridView)
#include "tst_grid_view.moc"
