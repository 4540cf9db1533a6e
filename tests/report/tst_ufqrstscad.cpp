#include "kit/report/page_renderer.h"
#include "kit/report/report.h"
#include "kit/report/report_generator.h"
#include "kit/report/report_preview.h"
#include "kit/report/report_printing.h"
#include "kit/text/codec.h"
#include "report/UFQRSTSCAD.h"
#include "store/UDM1.h"

#include <QApplication>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

struct Entry {
    const char *nome, *ditta, *reparto, *e_mail;
};

std::unique_ptr<kit::MemTable> contacts()
{
    auto table = std::make_unique<kit::MemTable>(ContactFieldDefs(), "NumScad", "RecId");
    table->open();
    return table;
}

// The table stores Windows-1252; the test's literals are UTF-8.
std::string stored(const char *utf8)
{
    return kit::toCp1252(QString::fromUtf8(utf8));
}

void add(kit::MemTable &table, const Entry &e)
{
    table.append();
    table.fieldByName("nome").setAsString(stored(e.nome));
    table.fieldByName("ditta").setAsString(stored(e.ditta));
    table.fieldByName("reparto").setAsString(stored(e.reparto));
    table.fieldByName("e_mail").setAsString(stored(e.e_mail));
    table.fieldByName("telefono1").setAsString("059 11 22 33");
    table.fieldByName("fax2").setAsString("059 44 55 66");
    table.post();
}

void addNumbered(kit::MemTable &table, int count)
{
    for (int i = 1; i <= count; ++i) {
        const std::string name = "PERSONA " + std::to_string(i);
        add(table, {name.c_str(), "DITTA SRL", "UFFICIO", ""});
    }
}

kit::ReportDocument generate(TFFQRSTSCAD &form, kit::MemTable &table)
{
    form.QRSTScad->setTable(&table);
    kit::ReportGenerator generator(*form.QRSTScad);
    generator.run();
    return generator.takeDocument();
}

const kit::PageItem *item(const std::vector<kit::PageItem> &items, const QString &name)
{
    for (const kit::PageItem &i : items)
        if (i.element->name == name)
            return &i;
    return nullptr;
}

qreal mm(qreal micrometres)
{
    return qRound(micrometres / 10.0) / 100.0;
}

QString pdfText(const QString &path)
{
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    text.waitForFinished();
    return QString::fromUtf8(text.readAllStandardOutput());
}

}  // namespace

class DirectoryReportTest : public QObject {
    Q_OBJECT
private slots:
    void pageBreaksByRecordCount_data();
    void pageBreaksByRecordCount();
    void entryBlockAndHeadingOnThePage_data();
    void entryBlockAndHeadingOnThePage();
    void widerCaptionsAreSizedToTheirText();
    void longFieldsPrintTheirFirstLineOnly_data();
    void longFieldsPrintTheirFirstLineOnly();
    void emptyTablePrintsHeadingAndOneEmptyBlock();
    void pdfHoldsTheEntriesInTableOrder();
    void savedReportLoadsBackWithTheSamePages();
    void showReportPreviewOpensTheDirectoryAndWaits();
};

void DirectoryReportTest::pageBreaksByRecordCount_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("pages");
    QTest::newRow("1") << 1 << 1;
    QTest::newRow("16 fit on the first page") << 16 << 1;
    QTest::newRow("17") << 17 << 2;
    QTest::newRow("34: 16 + 18") << 34 << 2;
    QTest::newRow("35") << 35 << 3;
}

void DirectoryReportTest::pageBreaksByRecordCount()
{
    QFETCH(int, records);
    QFETCH(int, pages);
    TFFQRSTSCAD form;
    auto table = contacts();
    addNumbered(*table, records);
    const kit::ReportDocument doc = generate(form, *table);
    QCOMPARE(int(doc.pages.size()), pages);
    for (std::size_t p = 1; p < doc.pages.size(); ++p) {
        const kit::BandPlacement &top = doc.pages[p].placements().front();
        QCOMPARE(doc.bands[top.band].name, QStringLiteral("QRBand2"));
        QCOMPARE(top.top, 1000);  // the top margin, no heading
    }
    // The last record is the last block of the last page.
    const auto items = kit::PageRenderer(doc).layOut(doc.pages.size() - 1);
    const kit::PageItem *last = nullptr;
    for (const kit::PageItem &i : items)
        if (i.element->name == QLatin1String("QRDBText2"))
            last = &i;
    QCOMPARE(last->lines, QStringList{QStringLiteral("PERSONA %1").arg(records)});
}

void DirectoryReportTest::entryBlockAndHeadingOnThePage_data()
{
    QTest::addColumn<QString>("element");
    QTest::addColumn<qreal>("left");  // mm from the paper's edges
    QTest::addColumn<qreal>("top");
    QTest::addColumn<QStringList>("lines");
    // Title band at the 10 mm top margin, the first block 23.5 mm below it, the 5 mm margin left.
    QTest::newRow("heading") << "QRLabel1" << 5.0 << 11.06
                             << QStringList{"VELISTRA - Rubrica telefonica ditte"};
    QTest::newRow("kind of print")
        << "QRLTipo" << 5.0 << 19.26 << QStringList{"STAMPA RUBRICA TELEFONICA DITTE: Totale"};
    QTest::newRow("fax caption") << "QRLabel6" << 134.65 << 26.93 << QStringList{"1°2° Fax"};
    QTest::newRow("name") << "QRDBText2" << 5.0 << 33.5 << QStringList{"BIANCHI LUCIA"};
    QTest::newRow("first telephone")
        << "QRDBText3" << 100.25 << 33.5 << QStringList{"059 11 22 33"};
    QTest::newRow("company indented")
        << "QRDBText1" << 9.23 << 37.73 << QStringList{"FERRARI & FIGLI SNC"};
    QTest::newRow("second fax") << "QRDBText7" << 134.12 << 37.73 << QStringList{"059 44 55 66"};
    QTest::newRow("department") << "QRDBText10" << 9.23 << 41.97 << QStringList{"UFFICIO ACQUISTI"};
    QTest::newRow("e-mail label") << "QRLabel2" << 85.43 << 42.5 << QStringList{"E-mail:"};
    QTest::newRow("e-mail in the telephone column")
        << "QRDBText9" << 100.25 << 42.5 << QStringList{"lucia@ferrari.it"};
    QTest::newRow("empty field prints nothing") << "QRDBText5" << 170.1 << 33.5 << QStringList{};
}

void DirectoryReportTest::entryBlockAndHeadingOnThePage()
{
    QFETCH(QString, element);
    QFETCH(qreal, left);
    QFETCH(qreal, top);
    QFETCH(QStringList, lines);
    TFFQRSTSCAD form;
    auto table = contacts();
    add(*table, {"BIANCHI LUCIA", "FERRARI & FIGLI SNC", "UFFICIO ACQUISTI", "lucia@ferrari.it"});
    const kit::ReportDocument doc = generate(form, *table);
    const auto items = kit::PageRenderer(doc).layOut(0);
    const kit::PageItem *found = item(items, element);
    QVERIFY(found);
    QCOMPARE(mm(found->box.left()), left);
    QCOMPARE(mm(found->box.top()), top);
    QCOMPARE(found->lines, lines);
}

void DirectoryReportTest::widerCaptionsAreSizedToTheirText()
{
    TFFQRSTSCAD form;
    auto table = contacts();
    addNumbered(*table, 1);
    const kit::ReportDocument doc = generate(form, *table);
    const auto items = kit::PageRenderer(doc).layOut(0);
    for (const char *name : {"QRLabel4", "QRLabel5", "QRLabel2"}) {
        const kit::PageItem *caption = item(items, QLatin1String(name));
        QCOMPARE(caption->lines, QStringList{caption->element->text});
        // Their text is wider than the box they were drawn with.
        QVERIFY2(caption->box.width() > caption->element->box.width * kit::kMicrometresPerLength,
                 name);
    }
    // The rules across the title band and under each block, at their boxes' middles.
    QCOMPARE(mm(item(items, QStringLiteral("QRShape2"))->box.center().y()), 26.01);
    QCOMPARE(mm(item(items, QStringLiteral("QRShape1"))->box.center().y()), 32.36);
    QCOMPARE(mm(item(items, QStringLiteral("QRShape3"))->box.center().y()), 47.65);
}

void DirectoryReportTest::longFieldsPrintTheirFirstLineOnly_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("printed");
    QTest::newRow("department up to the last blank that fits")
        << "reparto"
        << "QRDBText10"
        << "AMMINISTRAZIONE E CONTABILITA' GENERALE"
        << "AMMINISTRAZIONE E CONTABILITA'";
    QTest::newRow("department up to the last hyphen that fits")
        << "reparto"
        << "QRDBText10"
        << "RICERCA-SVILUPPO-PROGETTAZIONE-COLLAUDO"
        << "RICERCA-SVILUPPO-PROGETTAZIONE-";
    QTest::newRow("department without blanks cut at the edge")
        << "reparto"
        << "QRDBText10"
        << "SUPERCALIFRAGILISTICHESPIRALIDOSOXYZWQK"
        << "SUPERCALIFRAGILISTICHESPIRALIDOSOXYZW";
    QTest::newRow("name of the full width cut at the edge")
        << "nome"
        << "QRDBText2" << QString(50, QLatin1Char('N')) << QString(49, QLatin1Char('N'));
    QTest::newRow("telephone of 19 characters") << "telefono1"
                                                << "QRDBText3"
                                                << "0039 059 1234567 89"
                                                << "0039 059 1234567";
}

void DirectoryReportTest::longFieldsPrintTheirFirstLineOnly()
{
    QFETCH(QString, field);
    QFETCH(QString, element);
    QFETCH(QString, value);
    QFETCH(QString, printed);
    TFFQRSTSCAD form;
    auto table = contacts();
    table->append();
    table->fieldByName(field.toStdString()).setAsString(kit::toCp1252(value));
    table->post();
    const kit::ReportDocument doc = generate(form, *table);
    QCOMPARE(item(kit::PageRenderer(doc).layOut(0), element)->lines, QStringList{printed});
}

void DirectoryReportTest::emptyTablePrintsHeadingAndOneEmptyBlock()
{
    TFFQRSTSCAD form;
    auto table = contacts();
    const kit::ReportDocument doc = generate(form, *table);
    QCOMPARE(doc.pages.size(), std::size_t(1));
    QCOMPARE(doc.pages[0].placements().size(), std::size_t(2));
    const auto items = kit::PageRenderer(doc).layOut(0);
    QCOMPARE(item(items, QStringLiteral("QRLabel2"))->lines, QStringList{"E-mail:"});
    QVERIFY(item(items, QStringLiteral("QRShape3")));
    for (const kit::PageItem &i : items)
        if (i.element->kind == kit::ElementKind::Field)
            QVERIFY2(i.lines.isEmpty(), qPrintable(i.element->name));
}

void DirectoryReportTest::pdfHoldsTheEntriesInTableOrder()
{
    TFFQRSTSCAD form;
    auto table = contacts();
    // Table order, not alphabetical: the report never sorts.
    const QStringList names{"ZANETTI CARLO", "ABATE MARIA", "NICOLÒ PIERO"};
    for (const QString &name : names)
        add(*table, {name.toUtf8().constData(), "DITTA SPA", "VENDITE", "info@ditta.it"});
    addNumbered(*table, 15);  // 18 in all: the last two on page 2
    form.QRSTScad->setTable(table.get());
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("rubrica.pdf")));
    QVERIFY(kit::printReport(printer, *form.QRSTScad));
    QCOMPARE(printer.docName(), QStringLiteral("STAMPA RUBRICA TELEFONICA DITTE"));

    const QString text = pdfText(printer.outputFileName());
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 2);
    QCOMPARE(text.count(QStringLiteral("STAMPA RUBRICA TELEFONICA DITTE: Totale")), 1);
    QVERIFY(pages[0].contains(QStringLiteral("Nominativo (Ditta/reparto)")));
    qsizetype at = 0;
    for (const QString &expected :
         names + QStringList{"PERSONA 1", "PERSONA 13", "info@ditta.it", "VENDITE"}) {
        const qsizetype next = pages[0].indexOf(expected, at);
        QVERIFY2(next >= 0, qPrintable(expected + " in order on page 1:\n" + pages[0]));
        at = expected == QLatin1String("PERSONA 13") ? 0 : next;
    }
    QVERIFY(pages[1].contains(QStringLiteral("PERSONA 14")));
    QVERIFY(pages[1].indexOf(QStringLiteral("PERSONA 14")) <
            pages[1].indexOf(QStringLiteral("PERSONA 15")));
    QVERIFY(!pages[1].contains(QStringLiteral("Nominativo")));
}

void DirectoryReportTest::savedReportLoadsBackWithTheSamePages()
{
    TFFQRSTSCAD form;
    auto table = contacts();
    add(*table, {"NICOLÒ PIERO", "CAFFÈ & CO.", "QUALITÀ", "piero@caffe.it"});
    addNumbered(*table, 20);
    const kit::ReportDocument doc = generate(form, *table);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rubrica.krp"));
    doc.saveToFile(path);
    const kit::ReportDocument loaded = kit::ReportDocument::loadFromFile(path);
    QVERIFY(loaded == doc);
    QCOMPARE(kit::PageRenderer(loaded).layOut(0).size(), kit::PageRenderer(doc).layOut(0).size());
    QCOMPARE(item(kit::PageRenderer(loaded).layOut(0), QStringLiteral("QRDBText1"))->lines,
             QStringList{QStringLiteral("CAFFÈ & CO.")});
}

void DirectoryReportTest::showReportPreviewOpensTheDirectoryAndWaits()
{
    QTemporaryDir dir;
    TDM1 dm((dir.filePath(QStringLiteral("Velistra"))).toStdString(), [](const std::string &) {});
    DM1 = &dm;
    addNumbered(dm.ScadData, 20);
    dm.ScadData.first();
    TFFQRSTSCAD form;
    QString caption;
    bool maximised = false;
    int pages = 0;
    QTimer::singleShot(0, [&] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *preview = qobject_cast<kit::ReportPreview *>(w); preview && w->isVisible()) {
                caption = preview->windowTitle();
                maximised = preview->windowState().testFlag(Qt::WindowMaximized);
                pages = preview->pageCount();
                preview->close();
            }
    });
    form.ShowReportPreview();
    DM1 = nullptr;
    QCOMPARE(caption, QStringLiteral("STAMPA RUBRICA TELEFONICA DITTE"));
    QVERIFY(maximised);
    QCOMPARE(pages, 2);
    // The walk leaves the table on its last record.
    QCOMPARE(dm.ScadData.currentRow(), std::size_t(19));
}

QTEST_MAIN(DirectoryReportTest)
#include "tst_ufqrstscad.moc"
