// The contact grid as designed: names, columns, grouping, styles and what its rows read.
#include "ui/main/contact_grid.h"

#include "kit/dataset/data_source.h"
#include "kit/dataset/mem_table.h"
#include "kit/grid/filter_controller.h"
#include "kit/grid/filter_drop_down.h"
#include "kit/grid/grid_header.h"
#include "kit/grid/grid_view.h"
#include "store/UDM1.h"

#include <QListView>
#include <QTest>

#include <array>

namespace {

struct ContactTable {
    ContactTable()
        : table(ContactFieldDefs(), "NumScad", "RecId")
        , source(&table)
    {
        table.open();
        table.suspendNotifications();
        add("ZETA & C.", "VENDITE", "ROSSI MARIO", "0511234");
        add("", "", "SENZA DITTA", "");
        add("ACME", "AMMINISTRAZIONE", "BIANCHI ANNA", "");
        table.resumeNotifications();
    }
    void add(const char *ditta, const char *reparto, const char *nome, const char *tel)
    {
        std::array<std::string_view, 17> values{};
        values[0] = ditta;
        values[1] = reparto;
        values[2] = nome;
        values[5] = tel;
        values[16] = "240305140709";
        table.appendStored(values);
    }
    kit::MemTable table;
    kit::DataSource source;
};

}  // namespace

class TestContactGrid : public QObject {
    Q_OBJECT
private slots:
    void designObjectsCarryTheirNames();
    void columns();
    void styles();
    void rows();
    void filtersFromTheHeader();
};

void TestContactGrid::designObjectsCarryTheirNames()
{
    ContactTable t;
    QWidget parent;
    kit::GridView *grid = CreateContactGrid(&parent, &t.source);
    QCOMPARE(parent.findChild<kit::GridView *>(QStringLiteral("cxGrid1")), grid);
    QVERIFY(grid->findChild<QObject *>(QStringLiteral("cxGrid1Level1")));
    QVERIFY(grid->findChild<QObject *>(QStringLiteral("cxGrid1DBTableView1")));
    for (const char *field : {"ditta", "reparto", "nome", "e_mail", "pm_aore", "RecId", "NumScad"})
        QVERIFY2(grid->findChild<QObject *>(QStringLiteral("cxGrid1DBTableView1") +
                                            QLatin1String(field)),
                 field);
    QCOMPARE(grid->keyField(), "NumScad");
    QCOMPARE(grid->table(), &t.table);
}

void TestContactGrid::columns()
{
    ContactTable t;
    QWidget parent;
    kit::GridView *grid = CreateContactGrid(&parent, &t.source);
    QCOMPARE(grid->columnCount(), 18);
    QStringList captions;
    int width = 0;
    for (int c : grid->visibleColumns()) {
        captions << grid->column(c).caption;
        width += grid->column(c).width;
    }
    QCOMPARE(captions.join(QLatin1Char('|')),
             "NOMINATIVO|Cell. 1|Tel. 1|Fax 1|e-mail|PR|Localita|Cell. 2|Tel. 2|Fax 2|"
             "Da Ore (AM)|A Ore (AM)|Da Ore (PM)|A Ore (PM)");
    QCOMPARE(width, 1619);
    const int nome = grid->columnByName(QStringLiteral("cxGrid1DBTableView1nome"));
    QCOMPARE(grid->headerWidth(nome), 197 + 2 * kit::GridView::kGroupIndent);
    std::vector<QString> grouping;
    for (int c : grid->groupingColumns())
        grouping.push_back(grid->column(c).caption);
    QCOMPARE(grouping, (std::vector<QString>{QStringLiteral("Ditta"), QStringLiteral("Reparto")}));

    // Out of the grouping, "Reparto" shows at its designed width.
    const int reparto = grid->columnByName(QStringLiteral("cxGrid1DBTableView1reparto"));
    grid->setColumnGroupIndex(reparto, -1);
    QCOMPARE(grid->groupingColumns().size(), std::size_t(1));
    // It returns in front of "NOMINATIVO", so its header also spans the one indent left.
    QCOMPARE(grid->column(reparto).width, 228);
    QCOMPARE(grid->visibleColumns().front(), reparto);
    QCOMPARE(grid->headerWidth(reparto), 228 + kit::GridView::kGroupIndent);
    QCOMPARE(grid->headerWidth(nome), 197);
    const std::vector<int> shown = grid->visibleColumns();
    QVERIFY(std::find(shown.begin(), shown.end(), reparto) != shown.end());
    QCOMPARE(int(shown.size()), 15);
}

void TestContactGrid::styles()
{
    ContactTable t;
    QWidget parent;
    kit::GridView *grid = CreateContactGrid(&parent, &t.source);
    const int nome = grid->columnByName(QStringLiteral("cxGrid1DBTableView1nome"));
    const int mail = grid->columnByName(QStringLiteral("cxGrid1DBTableView1e_mail"));
    const int recId = grid->columnByName(QStringLiteral("cxGrid1DBTableView1RecId"));
    const TContactGridStyles s = ContactGridStyles();
    QCOMPARE(grid->contentStyle(nome).background, s.cxStyle14.background);
    QCOMPARE(grid->contentStyle(mail).background, s.cxStyle10.background);
    QCOMPARE(grid->contentStyle(mail).fontFaceName, "HE_TERMINAL");
    QCOMPARE(grid->contentStyle(mail).charset, 0);
    QCOMPARE(grid->contentStyle(mail).textColor, QColor(0, 0, 138));
    QCOMPARE(grid->contentStyle(mail).font.pointSize(), 9);
    QCOMPARE(grid->headerStyle(mail).fontFaceName, "Tahoma");
    QVERIFY(grid->headerStyle(mail).font.bold());
    QCOMPARE(grid->headerStyle(recId).fontFaceName, "MS Sans Serif");
    QCOMPARE(grid->indicatorStyle().fontFaceName, "MS Sans Serif");
    QCOMPARE(grid->groupRowStyle().fontFaceName, "MS Sans Serif");
    QCOMPARE(grid->groupRowStyle().charset, 1);
    QCOMPARE(grid->groupRowStyle().font.pointSize(), 8);
    QVERIFY(grid->isIndicatorVisible());
    QVERIFY(grid->hideSelection());
}

void TestContactGrid::rows()
{
    ContactTable t;
    QWidget parent;
    kit::GridView *grid = CreateContactGrid(&parent, &t.source);
    grid->collapseAll();
    QCOMPARE(grid->displayRowCount(), std::size_t(3));
    QCOMPARE(grid->groupRowText(0), "Ditta : ");
    QCOMPARE(grid->groupRowText(1), "Ditta : ACME");
    QCOMPARE(grid->groupRowText(2), "Ditta : ZETA & C.");
    grid->expandAll();
    QCOMPARE(grid->displayRowCount(), std::size_t(9));
    QCOMPARE(grid->groupRowText(1), "Reparto : ");
    const int tel = grid->columnByName(QStringLiteral("cxGrid1DBTableView1telefono1"));
    QCOMPARE(grid->cellText(8, tel), "0511234");
    const int recId = grid->columnByName(QStringLiteral("cxGrid1DBTableView1RecId"));
    QCOMPARE(grid->cellText(8, recId), "1");
}

// The user filters the grid through a column header's button and the drop-down under it.
void TestContactGrid::filtersFromTheHeader()
{
    ContactTable t;
    QWidget parent;
    parent.resize(1200, 500);
    kit::GridView *grid = CreateContactGrid(&parent, &t.source);
    grid->resize(parent.size());
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    auto *controller = grid->findChild<kit::GridFilterController *>();
    QVERIFY(controller);

    const int nome = grid->columnByName(QStringLiteral("cxGrid1DBTableView1nome"));
    QWidget *header = grid->header();
    QTest::mouseClick(header, Qt::LeftButton, {},
                      header->mapFromGlobal(grid->filterButtonGlobalRect(nome).center()));
    kit::FilterDropDown *dropDown = controller->dropDown();
    QVERIFY(dropDown->isVisible());
    QListView *list = dropDown->list();
    const QModelIndexList rossi =
        list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, "ROSSI MARIO");
    QCOMPARE(rossi.size(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(rossi[0]).center());

    grid->expandAll();
    QCOMPARE(grid->displayRowCount(), std::size_t(3));  // ZETA & C., VENDITE, ROSSI MARIO
    QCOMPARE(grid->groupRowText(0), "Ditta : ZETA & C.");
    QCOMPARE(t.table.recordCount(), std::size_t(3));
}

QTEST_MAIN(TestContactGrid)
#include "tst_contact_grid.moc"
