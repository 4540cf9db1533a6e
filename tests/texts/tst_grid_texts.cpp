// The Italian texts installed over the grid's English ones: how the look-up behaves, and each
// place the texts show on the real grid, filter panel, drop-down and dialogs.
#include "texts/UCXTRANSLATE.h"

#include "kit/dataset/data_source.h"
#include "kit/dataset/mem_table.h"
#include "kit/grid/filter_builder.h"
#include "kit/grid/filter_builder_dialog.h"
#include "kit/grid/filter_controller.h"
#include "kit/grid/filter_custom_dialog.h"
#include "kit/grid/filter_description.h"
#include "kit/grid/filter_panel.h"
#include "kit/grid/grid_view.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTest>
#include <QToolButton>

using namespace kit;

Q_DECLARE_METATYPE(kit::FilterNode)
using Op = FilterOperator;

namespace {

QStringList itemTexts(QComboBox *box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

QStringList actionTexts(QMenu *menu)
{
    QStringList texts;
    for (QAction *a : menu->actions())
        if (!a->isSeparator())
            texts << a->text();
    return texts;
}

const std::vector<FilterColumn> kColumns = {{"ditta", "Ditta", 1, false},
                                            {"provincia", "PR", 2, false}};

}  // namespace

class TestGridTexts : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void tableHasNoTwoEqualKeys();
    void lookUp_data();
    void lookUp();
    void qtDialogsKeepTheirTexts();
    void emptyGridAndGroupByBox();
    void columnDropDown();
    void filterPanel();
    void customFilterDialog();
    void filterBuilderDialog();
    void operatorNames();
    void description_data();
    void description();
};

void TestGridTexts::initTestCase()
{
    InstallGridTexts();
    InstallGridTexts();  // a second call changes nothing
}

void TestGridTexts::tableHasNoTwoEqualKeys()
{
    QSet<QString> keys;
    for (const GridTextPair &pair : GridTextTable)
        keys.insert(QString::fromUtf8(pair.english).toCaseFolded());
    QCOMPARE(keys.size(), qsizetype(GridTextTable.size()));
}

void TestGridTexts::lookUp_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("shown");
    QTest::newRow("exact") << "kit::Grid"
                           << "Cancel"
                           << "Annulla";
    QTest::newRow("other case") << "kit::Grid"
                                << "cLEAR &aLL"
                                << "Azzera tutto";
    QTest::newRow("file types") << "kit::Grid"
                                << "Filters (*.flt)|*.flt"
                                << "Filters ( *.flt )|*.flt";
    QTest::newRow("part of a text is no match") << "kit::Grid"
                                                << "Cancel all"
                                                << "Cancel all";
    QTest::newRow("not covered") << "kit::Grid"
                                 << "Custom Filter"
                                 << "Custom Filter";
    QTest::newRow("not covered: not") << "kit::Grid"
                                      << "not"
                                      << "not";
    QTest::newRow("other context") << "QPlatformTheme"
                                   << "Cancel"
                                   << "Cancel";
}

void TestGridTexts::lookUp()
{
    QFETCH(QString, context);
    QFETCH(QString, english);
    QFETCH(QString, shown);
    const QByteArray c = context.toUtf8(), e = english.toUtf8();
    QCOMPARE(QCoreApplication::translate(c.constData(), e.constData()), shown);
}

void TestGridTexts::qtDialogsKeepTheirTexts()
{
    QMessageBox box(QMessageBox::Question, "Velistra", "Confermi cancellazione nominativo ?",
                    QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.button(QMessageBox::Yes)->text(), QString("&Yes"));
    QCOMPARE(box.button(QMessageBox::No)->text(), QString("&No"));
}

void TestGridTexts::emptyGridAndGroupByBox()
{
    QCOMPARE(GridView::emptyText(), QString("<Nessuna riga da mostrare>"));
    QCOMPARE(GridView::groupByBoxHint(),
             QString("Per raggruppare per una colonna trascinarla qui.."));
}

void TestGridTexts::columnDropDown()
{
    MemTable table({{"ditta", 50}, {"provincia", 2}}, "", "RecId");
    table.open();
    const std::string_view a[] = {"ACME", ""}, b[] = {"BETA", "MI"};
    table.appendStored(a);
    table.appendStored(b);
    DataSource source(&table);
    GridView view;
    GridColumn ditta;
    ditta.name = "ditta";
    ditta.caption = "Ditta";
    ditta.fieldName = "ditta";
    view.addColumn(ditta);
    GridColumn pr = ditta;
    pr.name = "provincia";
    pr.caption = "PR";
    pr.fieldName = "provincia";
    view.addColumn(pr);
    view.setDataSource(&source);
    auto *controller = new GridFilterController(&view);
    view.show();

    auto entries = [&](int column) {
        controller->openColumnDropDown(column, QRect(0, 0, 60, 20));
        QStringList texts;
        const auto *model = controller->dropDown()->model();
        for (int i = 0; i < model->rowCount(); ++i)
            texts << model->index(i, 0).data().toString();
        controller->dropDown()->hide();
        return texts.join('|');
    };
    QCOMPARE(entries(0), QString("(Tutti)|(Personalizza...)|ACME|BETA"));
    QCOMPARE(entries(1), QString("(Tutti)|(Personalizza...)|(Vuoti)|(NonVuoti)|MI"));

    // The panel under the grid, once a filter on two columns is set.
    controller->setFilter(
        FilterNode::group(FilterGroupOperator::And, {FilterNode::condition(0, Op::Equal, {"ACME"}),
                                                     FilterNode::condition(1, Op::Blank)}));
    QCOMPARE(controller->panel()->filterText(),
             QString("Ditta e' uguale a \"ACME\" AND PR e' vuoto"));
    QCOMPARE(controller->panel()->customizeButton()->text(), QString("Filtra..."));
}

void TestGridTexts::filterPanel()
{
    FilterPanel panel;
    QCOMPARE(panel.filterText(), QString("<Nessun filtro>"));
    QCOMPARE(panel.customizeButton()->text(), QString("Filtra..."));
}

void TestGridTexts::customFilterDialog()
{
    FilterCustomDialog dialog(kColumns, 0);
    QCOMPARE(dialog.windowTitle(), QString("Custom Filter"));
    QCOMPARE(dialog.headingLabel()->text(), QString("Mostra le righe dove:"));
    QCOMPARE(dialog.hintLabel(0)->text(),
             QString("Usa _ per rappresentare ogni singolo carattere"));
    QCOMPARE(dialog.hintLabel(1)->text(),
             QString("Usa % per rappresentare qualsiasi serie di caratteri"));
    QCOMPARE(dialog.okButton()->text(), QString("OK"));
    QCOMPARE(dialog.cancelButton()->text(), QString("Annulla"));
    QCOMPARE(dialog.andButton()->text(), QString("AND"));
    QCOMPARE(dialog.orButton()->text(), QString("OR"));
    const QStringList ops = itemTexts(dialog.operatorBox(0));
    QVERIFY(ops.contains("e' uguale a"));
    QVERIFY(ops.contains("non comincia con"));
    QVERIFY(ops.contains("like"));  // not in the table: stays English
    dialog.operatorBox(0)->setCurrentIndex(1);
    dialog.valueBox(0)->setEditText(QString::fromUtf8("\u4E00"));
    dialog.okButton()->click();
    QCOMPARE(dialog.errorLabel()->text(), QString("Valore non valido"));
}

void TestGridTexts::filterBuilderDialog()
{
    FilterBuilderDialog dialog(kColumns);
    FilterBuilder *builder = dialog.builder();
    QCOMPARE(dialog.windowTitle(), QString("Generazione filtro - [untitled.flt]"));
    QCOMPARE(dialog.saveAsButton()->text(), QString("&Salva come..."));
    QCOMPARE(dialog.openButton()->text(), QString("A&pri..."));
    QCOMPARE(dialog.okButton()->text(), QString("OK"));
    QCOMPARE(dialog.cancelButton()->text(), QString("Annulla"));
    QCOMPARE(dialog.applyButton()->text(), QString("&Applica"));
    QCOMPARE(actionTexts(builder->rowMenu(0)),
             QStringList({"Aggiungi una &Condizione", "Aggiungi &Gruppo"}));

    builder->addGroup({});
    QCOMPARE(builder->rowWidget(0)->findChild<QLabel *>("rootCaption")->text(), QString("Filtra"));
    QCOMPARE(builder->rowWidget(0)->findChild<QLabel *>("groupCaption")->text(),
             QString("<Gruppo principale>"));
    QCOMPARE(builder->rowWidget(1)->findChild<QLabel *>("groupCaption")->text(),
             QString("<Sottogruppo>"));
    QCOMPARE(builder->rowWidget(0)->findChild<QToolButton *>("groupOperator")->text(),
             QString("AND"));
    QCOMPARE(actionTexts(builder->rowMenu(0)).back(), QString("Azzera tutto"));
    QCOMPARE(actionTexts(builder->rowMenu(1)).back(), QString("&Rimuovi Riga"));
    QCOMPARE(actionTexts(builder->rowMenu(2)),
             QStringList({"Aggiungi una &Condizione", "Aggiungi &Gruppo", "&Rimuovi Riga"}));
    QCOMPARE(builder->rowWidget(3)->findChild<QLabel *>("addConditionLabel")->text(),
             QString("premi qui per aggiungere una nuova condizione"));
    auto *value = builder->rowWidget(2)->findChild<QLineEdit *>("valueEdit1");
    QCOMPARE(value->placeholderText(), QString("<vuoto>"));
    QCOMPARE(builder->rowWidget(2)->findChild<QComboBox *>("operatorBox")->currentText(),
             QString("e' uguale a"));
    value->setText(QString::fromUtf8("\u4E00"));
    QCOMPARE(value->toolTip(), QString("Valore non valido"));
    dialog.okButton()->click();
    QCOMPARE(dialog.errorLabel()->text(), QString("Valore non valido"));

    QStringList asked;
    auto record = [&](QWidget *, const QString &title, const QString &filter, const QString &) {
        asked << title << filter;
        return QString();
    };
    dialog.setFileDialogs(record, record);
    dialog.saveAsButton()->click();
    dialog.openButton()->click();
    QCOMPARE(asked, QStringList({"Salva in un file il filtro attivo", "Filters ( *.flt )",
                                 "Apri un filtro esistente", "Filters ( *.flt )"}));
}

void TestGridTexts::operatorNames()
{
    const QStringList italian = {"e' uguale a",    "e' diverso da",
                                 "e' minore di",   "e' minore o uguale a",
                                 "e' maggiore di", "e' maggiore o uguale a",
                                 "nel range tra",  "fuori dal range tra",
                                 "incluso",        "non incluso",
                                 "like",           "not like",
                                 "comincia con",   "non comincia con",
                                 "finisce con",    "non finisce con",
                                 "contiene",       "non contiene",
                                 "e' vuoto",       "non e' vuoto",
                                 "e' ieri",        "e' oggi",
                                 "e' domani",      "is last week",
                                 "is last month",  "is last year",
                                 "is this week",   "is this month",
                                 "is this year",   "is next week",
                                 "is next month",  "is next year"};
    QStringList shown;
    for (const Op op : allFilterOperators())
        shown << filterOperatorText(op);
    QCOMPARE(shown, italian);
    // The builder's operator list is the same.
    FilterBuilderDialog dialog(kColumns);
    dialog.builder()->addCondition({});
    QCOMPARE(itemTexts(dialog.builder()->rowWidget(1)->findChild<QComboBox *>("operatorBox")),
             italian);
}

void TestGridTexts::description_data()
{
    QTest::addColumn<FilterNode>("filter");
    QTest::addColumn<QString>("text");
    const FilterNode acme = FilterNode::condition(0, Op::Equal, {"ACME"});
    QTest::newRow("two columns") << FilterNode::group(
                                        FilterGroupOperator::And,
                                        {acme, FilterNode::condition(1, Op::Like, {"%I"})})
                                 << "Ditta e' uguale a \"ACME\" AND PR finisce con \"I\"";
    QTest::newRow("not stays lower case")
        << FilterNode::group(FilterGroupOperator::NotOr,
                             {acme, FilterNode::condition(1, Op::NotLike, {"M%"})})
        << "not (Ditta e' uguale a \"ACME\" OR PR non comincia con \"M\")";
    QTest::newRow("range") << FilterNode::condition(0, Op::NotBetween, {"A", "C"})
                           << "Ditta fuori dal range tra \"A\" AND \"C\"";
    QTest::newRow("blank value") << FilterNode::condition(1, Op::Equal, {""})
                                 << "PR e' uguale a blank";
    QTest::newRow("contains") << FilterNode::condition(0, Op::Like, {"%CM%"})
                              << "Ditta contiene \"CM\"";
}

void TestGridTexts::description()
{
    QFETCH(FilterNode, filter);
    QFETCH(QString, text);
    QCOMPARE(describeFilter(filter, kColumns), text);
}

QTEST_MAIN(TestGridTexts)
#include "tst_grid_texts.moc"
