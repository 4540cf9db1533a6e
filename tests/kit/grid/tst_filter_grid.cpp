// The filter facilities on a real grid: the column drop-down, the custom filter dialog, the
// filter panel and the filter builder dialog, each driven as the user would, and what the grid
// then shows. The table itself must never change.
#include "kit/dataset/data_source.h"
#include "kit/dataset/mem_table.h"
#include "kit/grid/filter_builder.h"
#include "kit/grid/filter_builder_dialog.h"
#include "kit/grid/filter_controller.h"
#include "kit/grid/filter_custom_dialog.h"
#include "kit/grid/filter_file.h"
#include "kit/grid/filter_panel.h"
#include "kit/grid/grid_header.h"
#include "kit/grid/grid_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace kit;
using Op = FilterOperator;

namespace {

enum Col { Ditta, Citta };

// Table order.   ditta     citta
const char *const kRows[][2] = {
    {"ACME", "MILANO"},   // 0
    {"acme", "ROMA"},     // 1
    {"BETA", ""},         // 2
    {"GAMMA", "MILANO"},  // 3
};

struct Fixture {
    Fixture()
        : table({{"ditta", 50}, {"citta", 50}}, "", "RecId")
        , source(&table)
    {
        table.open();
        for (const auto &row : kRows) {
            const std::string_view values[] = {row[0], row[1]};
            table.appendStored(values);
        }
        table.refresh();
        grid.resize(500, 300);
        GridColumn ditta;
        ditta.name = "colDitta";
        ditta.caption = "Ditta";
        ditta.fieldName = "ditta";
        grid.addColumn(ditta);
        GridColumn citta;
        citta.name = "colCitta";
        citta.caption = "Citt\u00E0";
        citta.fieldName = "citta";
        grid.addColumn(citta);
        grid.setDataSource(&source);
        controller = new GridFilterController(&grid);
        grid.show();
    }

    QStringList dropDownEntries(int column)
    {
        controller->openColumnDropDown(column,
                                       QRect(grid.mapToGlobal(QPoint(0, 0)), QSize(80, 20)));
        QStringList entries;
        const auto *model = controller->dropDown()->model();
        for (int i = 0; i < model->rowCount(); ++i)
            entries << model->index(i, 0).data().toString();
        return entries;
    }

    void chooseEntry(int column, const QString &text)
    {
        const QStringList entries = dropDownEntries(column);
        QVERIFY2(entries.contains(text), qPrintable(entries.join('|')));
        const int row = static_cast<int>(entries.indexOf(text));
        // A click on the entry, as the user makes it.
        QListView *list = controller->dropDown()->list();
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }

    // The companies of the rows the grid shows, in table order of their records.
    QString shownRows()
    {
        QStringList rows;
        std::vector<std::size_t> records;
        for (std::size_t i = 0; i < grid.displayRowCount(); ++i)
            if (grid.displayRow(i).kind == GridRowKind::Data)
                records.push_back(grid.displayRow(i).tableRow);
        std::sort(records.begin(), records.end());
        for (const std::size_t r : records)
            rows << QString::number(r);
        return rows.join(',');
    }

    MemTable table;
    DataSource source;
    GridView grid;
    GridFilterController *controller = nullptr;
};

template <typename T> T *child(QObject *parent, const char *name)
{
    T *found = parent->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qWarning("no child %s", name);
    return found;
}

void selectText(QComboBox *box, const QString &text)
{
    const int at = box->findText(text);
    QVERIFY2(at >= 0, qPrintable(text));
    box->setCurrentIndex(at);
}

}  // namespace

class TestFilterGrid : public QObject {
    Q_OBJECT
private slots:
    void dropDownLists();
    void headerButtonOpensDropDown();
    void dropDownChoicesFilterWithoutTouchingTheTable();
    void filterThatMatchesNothing();
    void filterFollowsTableChanges();
    void customDialogTwoConditions();
    void customDialogRefusesInvalidValue();
    void panelSwitchesRemovesAndRecalls();
    void builderAppliesAndIgnoresTyping();
    void builderRowsAndMenus();
    void builderFiles();
};

void TestFilterGrid::dropDownLists()
{
    Fixture f;
    // Values equal as the filter compares them ("ACME", "acme") are listed once.
    QCOMPARE(f.dropDownEntries(Ditta).join('|'), QString("(All)|(Custom...)|ACME|BETA|GAMMA"));
    QCOMPARE(f.dropDownEntries(Citta).join('|'),
             QString("(All)|(Custom...)|(Blanks)|(NonBlanks)|MILANO|ROMA"));
    QVERIFY(f.controller->dropDown()->isVisible());
}

void TestFilterGrid::headerButtonOpensDropDown()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.grid));
    const QRect button = f.grid.filterButtonGlobalRect(Citta);
    QVERIFY(!button.isEmpty());
    QWidget *header = f.grid.header();
    QTest::mouseClick(header, Qt::LeftButton, {}, header->mapFromGlobal(button.center()));
    QVERIFY(f.controller->dropDown()->isVisible());
    QCOMPARE(f.controller->dropDown()->model()->rowCount(), 6);  // the Citta column's list
    QTest::mouseClick(f.controller->dropDown()->list()->viewport(), Qt::LeftButton, {},
                      f.controller->dropDown()
                          ->list()
                          ->visualRect(f.controller->dropDown()->model()->index(5, 0))
                          .center());
    QCOMPARE(f.shownRows(), QString("1"));  // ROMA
}

void TestFilterGrid::dropDownChoicesFilterWithoutTouchingTheTable()
{
    Fixture f;
    f.table.moveTo(2);
    const std::uint64_t changes = f.table.changeCount();

    f.chooseEntry(Citta, "MILANO");
    QVERIFY(!f.controller->dropDown()->isVisible());
    QCOMPARE(f.shownRows(), QString("0,3"));
    QVERIFY(f.grid.isColumnFilterActive(Citta));
    QVERIFY(!f.grid.isColumnFilterActive(Ditta));
    QVERIFY(f.grid.filterPanel() == f.controller->panel());
    QCOMPARE(f.controller->panel()->filterText(), QString("Citt\u00E0 equals \"MILANO\""));

    f.chooseEntry(Ditta, "ACME");  // joins the other column's filter
    QCOMPARE(f.shownRows(), QString("0"));
    f.chooseEntry(Citta, "(Blanks)");  // replaces the column's filter
    QCOMPARE(f.shownRows(), QString());
    f.chooseEntry(Ditta, "(All)");
    QCOMPARE(f.shownRows(), QString("2"));
    f.chooseEntry(Citta, "(NonBlanks)");
    QCOMPARE(f.shownRows(), QString("0,1,3"));
    f.chooseEntry(Citta, "(All)");
    QCOMPARE(f.shownRows(), QString("0,1,2,3"));
    QVERIFY(!f.grid.hasRowFilter());
    QVERIFY(f.grid.filterPanel() == nullptr);
    QVERIFY(!f.controller->panel()->isVisible());

    QCOMPARE(f.table.recordCount(), std::size_t(4));
    QCOMPARE(f.table.currentRow(), std::size_t(2));
    QCOMPARE(f.table.changeCount(), changes);
    QCOMPARE(QByteArray(f.table.value(0, 1).data(), 4), QByteArray("ACME"));
}

void TestFilterGrid::filterThatMatchesNothing()
{
    Fixture f;
    f.table.moveTo(1);
    f.controller->setFilter(FilterNode::condition(Ditta, Op::Equal, {"ZETA"}));
    QCOMPARE(f.grid.dataRowCount(), std::size_t(0));
    QCOMPARE(f.grid.displayRowCount(), std::size_t(0));
    QCOMPARE(f.table.recordCount(), std::size_t(4));
    QCOMPARE(f.table.currentRow(), std::size_t(1));
}

// The filter stays in force while the table changes under it: new and changed records are
// tested as they come.
void TestFilterGrid::filterFollowsTableChanges()
{
    Fixture f;
    f.chooseEntry(Citta, "MILANO");
    QCOMPARE(f.shownRows(), QString("0,3"));
    f.table.append();
    f.table.setCurrentValue(1, "DELTA");
    f.table.setCurrentValue(2, "milano");
    f.table.post();
    QCOMPARE(f.shownRows(), QString("0,3,4"));
    f.table.moveTo(0);
    f.table.edit();
    f.table.setCurrentValue(2, "TORINO");
    f.table.post();
    QCOMPARE(f.shownRows(), QString("3,4"));
}

void TestFilterGrid::customDialogTwoConditions()
{
    Fixture f;
    int runs = 0;
    f.controller->setDialogRunner([&](QDialog &d) {
        ++runs;
        d.show();
        auto &dialog = dynamic_cast<FilterCustomDialog &>(d);
        [&] {
            if (runs == 1) {
                QCOMPARE(dialog.windowTitle(), QString("Custom Filter"));
                // The column's values are offered.
                QCOMPARE(dialog.valueBox(0)->count(), 2);
                QVERIFY(!dialog.valueBox(0)->isEnabled());  // no operator chosen yet
                selectText(dialog.operatorBox(0), "begins with");
                QVERIFY(dialog.valueBox(0)->isEnabled());
                dialog.valueBox(0)->setEditText("r");
                QTest::mouseClick(dialog.orButton(), Qt::LeftButton);
                selectText(dialog.operatorBox(1), "is blank");
                QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
            } else {
                // Opened again, it shows the column's filter as it was set.
                dialog.reject();
                QCOMPARE(dialog.operatorBox(0)->currentText(), QString("begins with"));
                QCOMPARE(dialog.valueBox(0)->currentText(), QString("r"));
                QCOMPARE(dialog.operatorBox(1)->currentText(), QString("is blank"));
                QVERIFY(dialog.orButton()->isChecked());
            }
        }();
        return d.result();
    });
    f.chooseEntry(Citta, "(Custom...)");
    QCOMPARE(runs, 1);
    QCOMPARE(f.shownRows(), QString("1,2"));
    QCOMPARE(f.controller->panel()->filterText(),
             QString("Citt\u00E0 begins with \"r\" or Citt\u00E0 is blank"));
    f.controller->openCustomDialog(Citta);
    QCOMPARE(runs, 2);
    QCOMPARE(f.shownRows(), QString("1,2"));  // cancelled: unchanged
}

void TestFilterGrid::customDialogRefusesInvalidValue()
{
    Fixture f;
    f.controller->setDialogRunner([&](QDialog &d) {
        d.show();
        auto &dialog = dynamic_cast<FilterCustomDialog &>(d);
        selectText(dialog.operatorBox(0), "equals");
        dialog.valueBox(0)->setEditText(QString::fromUtf8("\u4E00"));  // no stored text holds it
        dialog.okButton()->click();
        [&] {
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QVERIFY(!dialog.errorLabel()->isHidden());
            QCOMPARE(dialog.errorLabel()->text(), QString("Invalid value"));
        }();
        dialog.valueBox(0)->setEditText("ROMA");
        dialog.okButton()->click();
        return d.result();
    });
    f.controller->openCustomDialog(Citta);
    QCOMPARE(f.shownRows(), QString("1"));
}

void TestFilterGrid::panelSwitchesRemovesAndRecalls()
{
    Fixture f;
    f.controller->setPanelMode(GridFilterController::PanelMode::Always);
    FilterPanel *panel = f.controller->panel();
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->filterText(), QString("<Filter is Empty>"));
    QCOMPARE(panel->customizeButton()->text(), QString("Customize..."));

    f.chooseEntry(Citta, "ROMA");
    f.chooseEntry(Ditta, "BETA");
    QCOMPARE(f.shownRows(), QString());
    QCOMPARE(panel->recentFilters(),
             QStringList({"Citt\u00E0 equals \"ROMA\" and Ditta equals \"BETA\"",
                          "Citt\u00E0 equals \"ROMA\""}));

    QTest::mouseClick(panel->activeCheck(), Qt::LeftButton);  // off: every row, filter kept
    QVERIFY(!f.grid.hasRowFilter());
    QCOMPARE(f.shownRows(), QString("0,1,2,3"));
    QCOMPARE(panel->filterText(), QString("Citt\u00E0 equals \"ROMA\" and Ditta equals \"BETA\""));
    QVERIFY(!f.grid.isColumnFilterActive(Citta));
    QTest::mouseClick(panel->activeCheck(), Qt::LeftButton);  // on again
    QCOMPARE(f.shownRows(), QString());

    panel->recentMenu()->actions().at(1)->trigger();
    QCOMPARE(f.shownRows(), QString("1"));
    QCOMPARE(panel->recentFilters().front(), QString("Citt\u00E0 equals \"ROMA\""));

    QTest::mouseClick(panel->removeButton(), Qt::LeftButton);
    QVERIFY(f.controller->criteria().isEmpty());
    QCOMPARE(f.shownRows(), QString("0,1,2,3"));
    QCOMPARE(panel->filterText(), QString("<Filter is Empty>"));
    QCOMPARE(panel->recentFilters().size(), 2);
}

void TestFilterGrid::builderAppliesAndIgnoresTyping()
{
    Fixture f;
    f.controller->setFilter(FilterNode::condition(Ditta, Op::Equal, {"acme"}));
    QSignalSpy rebuilt(&f.grid, &GridView::rowsRebuilt);
    f.controller->setDialogRunner([&](QDialog &d) {
        d.show();
        auto &dialog = dynamic_cast<FilterBuilderDialog &>(d);
        FilterBuilder *builder = dialog.builder();
        [&] {
            QCOMPARE(dialog.windowTitle(), QString("Filter builder - [untitled.flt]"));
            QCOMPARE(builder->rowCount(), 3);  // root, the condition, the add line
            auto *value = child<QLineEdit>(builder->rowWidget(1), "valueEdit1");
            QCOMPARE(value->text(), QString("acme"));
            value->clear();
            QTest::keyClicks(value, "gamma");
            QCOMPARE(rebuilt.count(), 0);  // typing runs no filter
            QTest::mouseClick(dialog.applyButton(), Qt::LeftButton);
            QCOMPARE(f.shownRows(), QString("3"));
            // A second condition through the add line, on the other column.
            QTest::mouseClick(builder->rowButton(builder->rowCount() - 1), Qt::LeftButton);
            QCOMPARE(builder->rowCount(), 4);
            auto *column = child<QComboBox>(builder->rowWidget(2), "columnBox");
            selectText(column, "Citt\u00E0");
            selectText(child<QComboBox>(builder->rowWidget(2), "operatorBox"), "is blank");
            QVERIFY(!builder->rowWidget(2)->findChild<QLineEdit *>());
        }();
        return 0;
    });
    QTest::mouseClick(f.controller->panel()->customizeButton(), Qt::LeftButton);
    QCOMPARE(f.shownRows(), QString("3"));

    // OR over the two conditions, then OK.
    f.controller->setDialogRunner([&](QDialog &d) {
        d.show();
        auto &dialog = dynamic_cast<FilterBuilderDialog &>(d);
        FilterNode root = dialog.filter();
        root.groupOperator = FilterGroupOperator::Or;
        root.children.push_back(FilterNode::condition(Citta, Op::Blank));
        dialog.setFilter(root);
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        return dialog.result();
    });
    f.controller->openFilterBuilder();
    QCOMPARE(f.shownRows(), QString("2,3"));
    QCOMPARE(f.controller->panel()->filterText(),
             QString("Ditta equals \"gamma\" or Citt\u00E0 is blank"));
}

void TestFilterGrid::builderRowsAndMenus()
{
    const std::vector<FilterColumn> columns = {{"a", "A", 1, false}, {"n", "N", 0, true}};
    FilterBuilderDialog dialog(columns);
    FilterBuilder *builder = dialog.builder();
    auto lastItem = [](QMenu *menu) { return menu->actions().back()->text(); };
    QVERIFY(lastItem(builder->rowMenu(0)) != QString("Clear &All"));  // nothing to clear yet

    builder->addGroup({});
    builder->addCondition({});
    QCOMPARE(builder->rowCount(), 5);  // root, group, its condition, condition, add line
    QCOMPARE(builder->rowKind(1), FilterBuilder::RowKind::Group);
    QCOMPARE(child<QLabel>(builder->rowWidget(0), "rootCaption")->text(), QString("Filter"));
    QCOMPARE(child<QLabel>(builder->rowWidget(0), "groupCaption")->text(), QString("<root>"));
    QCOMPARE(child<QLabel>(builder->rowWidget(1), "groupCaption")->text(),
             QString("applies to the following conditions"));
    QCOMPARE(child<QLabel>(builder->rowWidget(4), "addConditionLabel")->text(),
             QString("press the button to add a new condition"));
    QCOMPARE(child<QLineEdit>(builder->rowWidget(3), "valueEdit1")->placeholderText(),
             QString("<empty>"));
    QCOMPARE(lastItem(builder->rowMenu(0)), QString("Clear &All"));
    QCOMPARE(lastItem(builder->rowMenu(1)), QString("&Remove Row"));
    QCOMPARE(lastItem(builder->rowMenu(2)), QString("&Remove Row"));
    QCOMPARE(builder->rowMenu(2)->actions().front()->text(), QString("Add &Condition"));

    // A condition's "Add &Condition" adds to its own group.
    builder->rowMenu(2)->actions().front()->trigger();
    QCOMPARE(builder->filter().children.front().children.size(), std::size_t(2));

    // "Invalid value": a number column given a text; OK refuses it and the dialog stays.
    builder->rowMenu(1)->actions().back()->trigger();  // remove the group
    QCOMPARE(builder->rowCount(), 3);
    selectText(child<QComboBox>(builder->rowWidget(1), "columnBox"), "N");
    auto *value = child<QLineEdit>(builder->rowWidget(1), "valueEdit1");
    QTest::keyClicks(value, "x1");
    QCOMPARE(value->toolTip(), QString("Invalid value"));
    QSignalSpy applied(&dialog, &FilterBuilderDialog::applied);
    dialog.okButton()->click();
    QCOMPARE(applied.count(), 0);
    QCOMPARE(dialog.errorLabel()->text(), QString("Invalid value"));
    QVERIFY(!dialog.errorLabel()->isHidden());
    value->setText("12");
    QVERIFY(value->toolTip().isEmpty());
    dialog.okButton()->click();
    QCOMPARE(applied.count(), 1);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    // Between shows two values joined by "and"; a list shows one box with ";" between values.
    selectText(child<QComboBox>(builder->rowWidget(1), "operatorBox"), "between");
    QVERIFY(builder->rowWidget(1)->findChild<QLineEdit *>("valueEdit2"));
    QCOMPARE(child<QLabel>(builder->rowWidget(1), "rangeJoint")->text(), QString("and"));
    selectText(child<QComboBox>(builder->rowWidget(1), "operatorBox"), "in");
    child<QLineEdit>(builder->rowWidget(1), "valueList")->setText("1; 2;3");
    QCOMPARE(builder->filter().children.front().values, QStringList({"1", "2", "3"}));

    builder->rowMenu(0)->actions().back()->trigger();  // Clear All
    QVERIFY(builder->filter().children.empty());
    QCOMPARE(builder->rowCount(), 2);
}

void TestFilterGrid::builderFiles()
{
    const std::vector<FilterColumn> columns = {{"a", "A", 1, false}, {"b", "B", 2, false}};
    QTemporaryDir dir;
    FilterBuilderDialog dialog(columns);
    QStringList asked;
    dialog.setFileDialogs(
        [&](QWidget *, const QString &title, const QString &filter, const QString &) {
            asked << title << filter;
            return QString();  // cancelled
        },
        [&](QWidget *, const QString &title, const QString &filter, const QString &suggested) {
            asked << title << filter << QFileInfo(suggested).fileName();
            return dir.filePath("mine");  // no extension: ".flt" is added
        });
    const FilterNode root = FilterNode::group(FilterGroupOperator::NotOr,
                                              {FilterNode::condition(1, Op::Contains, {"x"}),
                                               FilterNode::condition(0, Op::Between, {"a", "b"})});
    dialog.setFilter(root);
    QTest::mouseClick(dialog.saveAsButton(), Qt::LeftButton);
    QCOMPARE(asked,
             QStringList({"Save the active filter to file", "Filters (*.flt)", "untitled.flt"}));
    QCOMPARE(dialog.windowTitle(), QString("Filter builder - [mine.flt]"));
    QCOMPARE(loadFilterFile(dir.filePath("mine.flt"), columns), root);

    // A file that cannot be understood changes nothing.
    {
        QFile bad(dir.filePath("bad.flt"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("velistra-filter 1\ngroup and\ncondition equal zz\nvalue 1\nend\n");
    }
    dialog.setFilter(FilterNode::group(FilterGroupOperator::And));
    QVERIFY_THROWS_EXCEPTION(FilterFileError, dialog.openFile(dir.filePath("bad.flt")));
    QVERIFY(dialog.filter().children.empty());
    QCOMPARE(dialog.windowTitle(), QString("Filter builder - [mine.flt]"));
    asked.clear();
    QTest::mouseClick(dialog.openButton(), Qt::LeftButton);
    QCOMPARE(asked, QStringList({"Open an existing filter", "Filters (*.flt)"}));
    dialog.openFile(dir.filePath("mine.flt"));
    QCOMPARE(dialog.filter(), root);
    QCOMPARE(dialog.builder()->rowCount(), 4);
}

QTEST_MAIN(TestFilterGrid)
#include "tst_filter_grid.moc"
