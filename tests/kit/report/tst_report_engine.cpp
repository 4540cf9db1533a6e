#include "kit/dataset/dataset_error.h"
#include "kit/report/page_renderer.h"
#include "kit/report/report_generator.h"
#include "kit/report/report_printing.h"
#include "kit/report/text_fit.h"
#include "report_fixture.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace kit::units;

namespace {

struct Generated {
    std::unique_ptr<kit::MemTable> table;
    kit::ReportDocument doc;
};

Generated generate(int records)
{
    Generated g{fixture::table(records), {}};
    kit::Report report;
    fixture::define(report);
    report.setTable(g.table.get());
    kit::ReportGenerator generator(report);
    generator.run();
    g.doc = generator.takeDocument();
    return g;
}

// "band@top" per placement, pages separated by " | ", tops in tenths of a millimetre.
QString placements(const kit::ReportDocument &doc)
{
    QStringList pages;
    for (const kit::ReportPage &page : doc.pages) {
        QStringList bands;
        for (const kit::BandPlacement &p : page.placements())
            bands << QStringLiteral("%1@%2").arg(doc.bands[p.band].name).arg(p.top / 10);
        pages << bands.join(QLatin1Char(' '));
    }
    return pages.join(QStringLiteral(" | "));
}

const kit::PageItem *find(const std::vector<kit::PageItem> &items, const QString &name, int nth = 0)
{
    for (const kit::PageItem &item : items)
        if (item.element->name == name && nth-- == 0)
            return &item;
    return nullptr;
}

QImage render(const kit::ReportDocument &doc, std::size_t page, qreal pixelsPerMm)
{
    QImage image(qRound(doc.setup.paperWidth / 100.0 * pixelsPerMm),
                 qRound(doc.setup.paperHeight / 100.0 * pixelsPerMm), QImage::Format_RGB32);
    image.fill(Qt::red);  // what no element paints
    QPainter painter(&image);
    painter.scale(pixelsPerMm / 1000, pixelsPerMm / 1000);
    kit::PageRenderer(doc).paint(painter, page);
    return image;
}

// Counts pixels in a rectangle (pixels) that are not white and not the red background.
int inkIn(const QImage &image, const QRect &rect)
{
    int ink = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (c != qRgb(255, 255, 255) && c != qRgb(255, 0, 0))
                ++ink;
        }
    return ink;
}

}  // namespace

class ReportEngineTest : public QObject {
    Q_OBJECT
private slots:
    void bandAdvance_data();
    void bandAdvance();
    void pageBreaks_data();
    void pageBreaks();
    void emptyTablePrintsTitleAndOneEmptyDetailBand();
    void reportWithoutTablePrintsLikeAnEmptyOne();
    void fieldsAreFoundIgnoringCaseAndUnknownNamesFail();
    void walkReportsProgressAndEndsOnLastRecord();
    void walkDoesNotDisturbAPendingRecord();
    void recordsRemovedDuringGenerationEndItEarly();
    void layOutPlacesElementsFromMarginsAndBandTop();
    void fitText_data();
    void fitText();
    void autoSizedLabelIsNeverBroken();
    void laterBoxesCoverEarlierOnes_data();
    void laterBoxesCoverEarlierOnes();
    void ruleLiesAtTheMiddleOfItsBox();
    void savedReportLoadsBackEqual();
    void loadRejectsWhatIsNotASavedReport_data();
    void loadRejectsWhatIsNotASavedReport();
    void printsThePrinterRangeAndCanBeCancelled();
    void printingGeneratesFromTheTableAsItIsNow();
};

void ReportEngineTest::bandAdvance_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("advance");
    QTest::newRow("tie goes down 23.55") << int(23.55_mm) << int(23.5_mm);
    QTest::newRow("tie goes down 15.35") << int(15.35_mm) << int(15.3_mm);
    QTest::newRow("below a tie") << int(15.34_mm) << int(15.3_mm);
    QTest::newRow("above a tie") << int(15.36_mm) << int(15.4_mm);
    QTest::newRow("whole tenth") << int(15.30_mm) << int(15.3_mm);
}

void ReportEngineTest::bandAdvance()
{
    QFETCH(int, height);
    QFETCH(int, advance);
    QCOMPARE(kit::bandAdvance(height), advance);
}

void ReportEngineTest::pageBreaks_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<QString>("layout");
    // Tops in tenths of a millimetre; the top margin is 12 mm and each band advances 25 mm.
    QTest::newRow("first page full to the last tenth")
        << 3 << "title@120 detail@370 detail@620 detail@870";
    QTest::newRow("one more starts page 2 at the top margin, without the title")
        << 4 << "title@120 detail@370 detail@620 detail@870 | detail@120";
    QTest::newRow("second page full")
        << 7
        << "title@120 detail@370 detail@620 detail@870 | detail@120 detail@370 detail@620 "
           "detail@870";
    QTest::newRow("third page")
        << 8
        << "title@120 detail@370 detail@620 detail@870 | detail@120 detail@370 detail@620 "
           "detail@870 | detail@120";
}

void ReportEngineTest::pageBreaks()
{
    QFETCH(int, records);
    QFETCH(QString, layout);
    QCOMPARE(placements(generate(records).doc), layout);
}

void ReportEngineTest::emptyTablePrintsTitleAndOneEmptyDetailBand()
{
    const Generated g = generate(0);
    QCOMPARE(placements(g.doc), QStringLiteral("title@120 detail@370"));
    const auto items = kit::PageRenderer(g.doc).layOut(0);
    QVERIFY(find(items, QStringLiteral("nameText"))->lines.isEmpty());
    QCOMPARE(find(items, QStringLiteral("noteLabel"))->lines, QStringList{"Note:"});
    QVERIFY(!g.table->hasCurrent());
}

void ReportEngineTest::reportWithoutTablePrintsLikeAnEmptyOne()
{
    kit::Report report;
    fixture::define(report);
    kit::ReportGenerator generator(report);
    generator.run();
    QCOMPARE(placements(generator.document()), QStringLiteral("title@120 detail@370"));
    QCOMPARE(generator.progress(), 100);
}

void ReportEngineTest::fieldsAreFoundIgnoringCaseAndUnknownNamesFail()
{
    const Generated g = generate(1);
    const auto items = kit::PageRenderer(g.doc).layOut(0);
    QCOMPARE(find(items, QStringLiteral("nameText"))->lines, QStringList{"name 1"});
    QCOMPARE(find(items, QStringLiteral("noteText"))->lines, QStringList{"note 1"});

    auto table = fixture::table(1);
    kit::Report report;
    fixture::define(report);
    report.bands().back()->addField(QStringLiteral("bad"), QStringLiteral("town"), {}, {});
    report.setTable(table.get());
    QVERIFY_THROWS_EXCEPTION(kit::DataSetError, kit::ReportGenerator{report});
}

void ReportEngineTest::walkReportsProgressAndEndsOnLastRecord()
{
    auto table = fixture::table(3);
    table->moveTo(1);
    kit::Report report;
    fixture::define(report);
    report.setTable(table.get());
    kit::ReportGenerator generator(report);
    QList<int> progress;
    while (!generator.step(1))
        progress << generator.progress();
    progress << generator.progress();
    QCOMPARE(progress, (QList<int>{33, 66, 100}));
    QCOMPARE(table->currentRow(), std::size_t(2));
}

void ReportEngineTest::walkDoesNotDisturbAPendingRecord()
{
    auto table = fixture::table(3);
    table->moveTo(0);
    table->edit();
    table->setCurrentValue(0, "being edited");
    kit::Report report;
    fixture::define(report);
    report.setTable(table.get());
    kit::ReportGenerator generator(report);
    generator.run();
    QCOMPARE(table->state(), kit::DataSetState::Edit);
    QCOMPARE(table->currentRow(), std::size_t(0));
    QCOMPARE(table->currentValue(0), std::string("being edited"));
    const auto items = kit::PageRenderer(generator.document()).layOut(0);
    QCOMPARE(find(items, QStringLiteral("nameText"))->lines, QStringList{"name 1"});
}

void ReportEngineTest::recordsRemovedDuringGenerationEndItEarly()
{
    auto table = fixture::table(6);
    kit::Report report;
    fixture::define(report);
    report.setTable(table.get());
    kit::ReportGenerator generator(report);
    QVERIFY(!generator.step(2));
    table->moveTo(5);
    table->deleteCurrent();
    table->moveTo(4);
    table->deleteCurrent();
    table->moveTo(3);
    table->deleteCurrent();
    QVERIFY(generator.step(5));
    QCOMPARE(generator.progress(), 100);
    QCOMPARE(placements(generator.document()),
             QStringLiteral("title@120 detail@370 detail@620 detail@870"));
    QCOMPARE(table->currentRow(), std::size_t(2));
}

void ReportEngineTest::layOutPlacesElementsFromMarginsAndBandTop()
{
    const Generated g = generate(4);
    const kit::PageRenderer renderer(g.doc);
    const auto first = renderer.layOut(0);
    // µm: left margin 5 mm; the second detail band's top is 12 + 25 + 25 mm.
    QCOMPARE(find(first, QStringLiteral("noteText"), 1)->box, QRectF(25000, 67000, 40000, 4500));
    QCOMPARE(find(first, QStringLiteral("noteText"), 1)->lines, QStringList{"note 2"});
    QCOMPARE(find(first, QStringLiteral("heading"))->box, QRectF(5000, 14000, 90000, 6000));
    const auto second = renderer.layOut(1);
    QCOMPARE(find(second, QStringLiteral("nameText"))->box, QRectF(5000, 12000, 40000, 4500));
    QCOMPARE(find(second, QStringLiteral("nameText"))->lines, QStringList{"name 4"});
    QCOMPARE(find(second, QStringLiteral("heading")), nullptr);
}

void ReportEngineTest::fitText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("columns");  // the box is this many characters wide
    QTest::addColumn<int>("lines");    // and this many lines tall
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("fits exactly") << "short text" << 10 << 1 << QStringList{"short text"};
    QTest::newRow("breaks after the last blank that fits")
        << "hello world again" << 10 << 1 << QStringList{"hello"};
    QTest::newRow("taller box prints the next lines")
        << "hello world again" << 10 << 3 << QStringList{"hello", "world", "again"};
    QTest::newRow("blank right after the width")
        << "abcdefghij klm" << 10 << 2 << QStringList{"abcdefghij", "klm"};
    QTest::newRow("breaks after a hyphen")
        << "alpha-beta-gamma" << 10 << 2 << QStringList{"alpha-", "beta-gamma"};
    QTest::newRow("word without blanks is cut at the edge")
        << "ABCDEFGHIJKLMNO" << 10 << 2 << QStringList{"ABCDEFGHIJ", "KLMNO"};
    QTest::newRow("long word after a short one starts its own line")
        << "ab CDEFGHIJKLMN" << 10 << 3 << QStringList{"ab", "CDEFGHIJKL", "MN"};
    QTest::newRow("too narrow for one character still progresses")
        << "abc" << 0 << 3 << QStringList{"a", "b", "c"};
    QTest::newRow("box lower than a line prints nothing") << "abc" << 10 << 0 << QStringList{};
    QTest::newRow("empty") << "" << 10 << 1 << QStringList{};
}

void ReportEngineTest::fitText()
{
    QFETCH(QString, text);
    QFETCH(int, columns);
    QFETCH(int, lines);
    QFETCH(QStringList, expected);
    const QFontMetricsF metrics(kit::PageRenderer::layoutFont(fixture::mono().font));
    const qreal width = metrics.horizontalAdvance(QLatin1Char('x')) * columns + 1;
    // Room for most of one more line, which must not be printed.
    const qreal height = lines == 0 ? metrics.height() - 1
                                    : metrics.height() + metrics.lineSpacing() * (lines - 1) +
                                          metrics.height() * 0.9;
    QCOMPARE(kit::fitText(text, metrics, width, height), expected);
}

void ReportEngineTest::autoSizedLabelIsNeverBroken()
{
    kit::Report report;
    fixture::define(report);
    kit::TextStyle sized = fixture::mono();
    sized.autoSize = true;
    const QString text = QStringLiteral("Wide caption (never broken)");
    report.bands().front()->addLabel(QStringLiteral("sized"), text, {0_mm, 10_mm, 10_mm, 4.5_mm},
                                     sized);
    report.bands().front()->addLabel(QStringLiteral("fixed"), text, {0_mm, 15_mm, 10_mm, 4.5_mm},
                                     fixture::mono());
    kit::ReportGenerator generator(report);
    generator.run();
    const auto items = kit::PageRenderer(generator.document()).layOut(0);
    const QFontMetricsF metrics(kit::PageRenderer::layoutFont(sized.font));
    const kit::PageItem *autoSized = find(items, QStringLiteral("sized"));
    QCOMPARE(autoSized->lines, QStringList{text});
    QCOMPARE(autoSized->box.width(), std::ceil(metrics.horizontalAdvance(text)));
    QCOMPARE(find(items, QStringLiteral("fixed"))->lines, QStringList{"Wide"});
}

void ReportEngineTest::laterBoxesCoverEarlierOnes_data()
{
    QTest::addColumn<bool>("blankBoxLast");
    QTest::newRow("blank box drawn last hides the text under it") << true;
    QTest::newRow("text drawn last shows over the blank box") << false;
}

void ReportEngineTest::laterBoxesCoverEarlierOnes()
{
    QFETCH(bool, blankBoxLast);
    kit::Report report;
    fixture::define(report);
    kit::ReportBand *band = report.addBand(QStringLiteral("extra"), kit::BandKind::Title, 10_mm);
    const kit::Box textBox{0_mm, 0_mm, 40_mm, 5_mm}, blankBox{10_mm, 0_mm, 10_mm, 5_mm};
    auto addBlank = [&] { band->addLabel(QStringLiteral("blank"), {}, blankBox, fixture::mono()); };
    if (!blankBoxLast)
        addBlank();
    band->addLabel(QStringLiteral("text"), QStringLiteral("XXXXXXXXXXXXXXXXXXXX"), textBox,
                   fixture::mono());
    if (blankBoxLast)
        addBlank();
    // Only the extra band: it is the first title band once the others are gone.
    kit::ReportDocument doc;
    doc.setup = report.pageSetup();
    doc.setup.leftMargin = 0;
    doc.bands.push_back(band->layout());
    doc.pages.emplace_back().addPlacement(0, 0);
    const QImage image = render(doc, 0, 10);
    const QRect underBlank(101, 1, 98, 48), beside(1, 1, 98, 48);
    QVERIFY(inkIn(image, beside) > 0);
    QCOMPARE(inkIn(image, underBlank) == 0, blankBoxLast);
    QCOMPARE(image.pixel(150, 48), qRgb(255, 255, 255));  // opaque either way
}

void ReportEngineTest::ruleLiesAtTheMiddleOfItsBox()
{
    const Generated g = generate(1);
    // The rule's box: 20 to 22 mm below the detail band at 37 mm, from the 5 mm margin.
    const QImage image = render(g.doc, 0, 20);
    QList<int> rows;
    for (int y = 56 * 20; y < 60 * 20; ++y)
        if (inkIn(image, QRect(40 * 20, y, 1, 1)) > 0)
            rows << y;
    QVERIFY(!rows.isEmpty());
    const qreal middle = (rows.front() + rows.back() + 1) / 2.0 / 20;
    QVERIFY2(qAbs(middle - 58.0) < 0.05, qPrintable(QString::number(middle)));
    // Pen width 1 is a 96 dpi pixel, 0.26 mm.
    QVERIFY(qAbs(rows.size() / 20.0 - 0.2646) < 0.1);
}

void ReportEngineTest::savedReportLoadsBackEqual()
{
    const Generated g = generate(9);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.krp"));
    g.doc.saveToFile(path);
    const kit::ReportDocument loaded = kit::ReportDocument::loadFromFile(path);
    QVERIFY(loaded == g.doc);
    QCOMPARE(placements(loaded), placements(g.doc));
    QCOMPARE(loaded.pages.back().text(2), std::string_view("name 9"));
}

void ReportEngineTest::loadRejectsWhatIsNotASavedReport_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = generate(5).doc.save();
    QTest::newRow("text file") << QByteArray("ditta\treparto\r\n");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("truncated") << good.left(good.size() - 3);
    QTest::newRow("trailing bytes") << good + QByteArray("x");
    QByteArray future = good;
    future[5] = char(9);  // version 9
    QTest::newRow("unknown version") << future;
    QByteArray huge = good;
    // The title's length field: a count no file of this size could hold.
    huge[6] = char(0x7f);
    QTest::newRow("impossible length") << huge;
}

void ReportEngineTest::loadRejectsWhatIsNotASavedReport()
{
    QFETCH(QByteArray, bytes);
    QVERIFY_THROWS_EXCEPTION(kit::ReportFileError, kit::ReportDocument::load(bytes));
}

void ReportEngineTest::printsThePrinterRangeAndCanBeCancelled()
{
    const Generated g = generate(16);  // 5 pages
    QCOMPARE(g.doc.pages.size(), std::size_t(5));
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("range.pdf")));
    kit::setUpPrinter(printer, g.doc.title, g.doc.setup);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 9);  // past the end: up to the last page
    QList<int> seen;
    QVERIFY(kit::printDocument(printer, g.doc, [&](int printed, int total) {
        seen << printed << total;
        return true;
    }));
    QCOMPARE(seen, (QList<int>{0, 4, 1, 4, 2, 4, 3, 4}));
    QCOMPARE(fixture::pdfPages(printer.outputFileName()), 4);

    printer.setOutputFileName(dir.filePath(QStringLiteral("cancelled.pdf")));
    QVERIFY(!kit::printDocument(printer, g.doc, [](int printed, int) { return printed < 2; }));
}

void ReportEngineTest::printingGeneratesFromTheTableAsItIsNow()
{
    auto table = fixture::table(8);
    kit::Report report;
    fixture::define(report);
    report.setTable(table.get());
    while (table->recordCount() > 0) {
        table->first();
        table->deleteCurrent();
    }
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("now.pdf")));
    QVERIFY(kit::printReport(printer, report));
    QCOMPARE(fixture::pdfPages(printer.outputFileName()), 1);
    QCOMPARE(printer.docName(), QStringLiteral("Test report"));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {printer.outputFileName(), QStringLiteral("-")});
    text.waitForFinished();
    const QString out = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(out.contains(QStringLiteral("LIST")) && out.contains(QStringLiteral("Note:")) &&
                 !out.contains(QStringLiteral("name")),
             qPrintable(out));
}

QTEST_MAIN(ReportEngineTest)
#include "tst_report_engine.moc"
