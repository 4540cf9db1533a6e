#include "kit/report/report_document.h"
#include "kit/report/report_preview.h"
#include "report_fixture.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace {

struct Previewed {
    std::unique_ptr<kit::MemTable> table;
    std::unique_ptr<kit::Report> report;
    std::unique_ptr<kit::ReportPreview> preview;

    explicit Previewed(int records)
        : table(fixture::table(records))
        , report(std::make_unique<kit::Report>())
    {
        fixture::define(*report);
        report->setTable(table.get());
        preview = std::make_unique<kit::ReportPreview>(*report);
        preview->resize(800, 600);
    }

    QString status() const
    {
        return preview->findChild<QLabel *>(QStringLiteral("progressLabel"))->text() +
               QLatin1Char(' ') + preview->findChild<QLabel *>(QStringLiteral("pageLabel"))->text();
    }
    QAction *action(const char *name) const
    {
        return preview->findChild<QAction *>(QLatin1String(name));
    }
};

}  // namespace

class ReportPreviewTest : public QObject {
    Q_OBJECT
private slots:
    void opensOnTheFirstPageAtPageWidth();
    void keysPageThroughAndEscCloses_data();
    void keysPageThroughAndEscCloses();
    void zoomModes();
    void pagesAppearWhileGeneratingAndPrintingWaitsForTheEnd();
    void loadShowsASavedReportAndABadFileChangesNothing();
    void printRegeneratesFromTheTableAsItIsNow();
    void previewReportWaitsUntilClosedOrQuitting();
};

void ReportPreviewTest::opensOnTheFirstPageAtPageWidth()
{
    Previewed p(8);
    p.preview->start();
    p.preview->show();
    QCOMPARE(p.preview->windowTitle(), QStringLiteral("Test report"));
    QVERIFY(!p.preview->isGenerating());
    QCOMPARE(p.status(), QStringLiteral("100% Page 1 of 3"));
    QCOMPARE(p.preview->zoom(), kit::ReportPreview::Zoom::PageWidth);
    QVERIFY(!p.action("firstPage")->isEnabled());
    QVERIFY(p.action("lastPage")->isEnabled());
    QVERIFY(p.action("print")->isEnabled());
    const QStringList hints = [&] {
        QStringList list;
        for (QAction *a : p.preview->findChild<QToolBar *>()->actions())
            if (!a->isSeparator() && !a->toolTip().isEmpty() && a->objectName() != "zoom100")
                list << a->toolTip();
        return list;
    }();
    QCOMPARE(hints, (QStringList{"Zoom to fit", "Zoom to width", "First page", "Previous page",
                                 "Next page", "Last page", "Printer setup", "Print", "Save Report",
                                 "Load Report"}));
    QCOMPARE(p.preview->findChild<QPushButton *>(QStringLiteral("closeButton"))->text(),
             QStringLiteral("&Close"));
}

void ReportPreviewTest::keysPageThroughAndEscCloses_data()
{
    QTest::addColumn<QList<QKeyCombination>>("keys");
    QTest::addColumn<int>("page");
    using K = QKeyCombination;
    const K down(Qt::Key_PageDown), up(Qt::Key_PageUp);
    QTest::newRow("Page Down") << QList<K>{down} << 2;
    QTest::newRow("Page Down past the end stays on the last")
        << QList<K>{down, down, down, down} << 3;
    QTest::newRow("Page Up on the first page stays") << QList<K>{up} << 1;
    QTest::newRow("Page Down then Page Up") << QList<K>{down, down, up} << 2;
    QTest::newRow("End") << QList<K>{K(Qt::Key_End)} << 3;
    QTest::newRow("End then Home") << QList<K>{K(Qt::Key_End), K(Qt::Key_Home)} << 1;
    QTest::newRow("Ctrl+Page Down") << QList<K>{K(Qt::ControlModifier, Qt::Key_PageDown)} << 3;
    QTest::newRow("Ctrl+Page Up") << QList<K>{K(Qt::Key_End),
                                              K(Qt::ControlModifier, Qt::Key_PageUp)}
                                  << 1;
}

void ReportPreviewTest::keysPageThroughAndEscCloses()
{
    QFETCH(QList<QKeyCombination>, keys);
    QFETCH(int, page);
    Previewed p(8);
    p.preview->start();
    p.preview->show();
    QApplication::setActiveWindow(p.preview.get());
    QVERIFY(QTest::qWaitForWindowActive(p.preview.get()));
    for (QKeyCombination key : keys)
        QTest::keyClick(p.preview->findChild<QScrollArea *>(), key.key(), key.keyboardModifiers());
    QCOMPARE(p.preview->currentPage(), page);
    QCOMPARE(p.status(), QStringLiteral("100% Page %1 of 3").arg(page));
    QSignalSpy closed(p.preview.get(), &kit::ReportPreview::closed);
    QTest::keyClick(p.preview.get(), Qt::Key_Escape);
    QCOMPARE(closed.count(), 1);
    QVERIFY(!p.preview->isVisible());
}

void ReportPreviewTest::zoomModes()
{
    Previewed p(1);
    p.preview->start();
    p.preview->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.preview.get()));
    auto *area = p.preview->findChild<QScrollArea *>();
    QWidget *page = area->widget();
    p.action("zoomFit")->trigger();
    QVERIFY(page->height() <= area->viewport()->height());
    QVERIFY(page->width() <= area->viewport()->width());
    const qreal whole = p.preview->pixelsPerMillimetre();
    p.action("zoomWidth")->trigger();
    QVERIFY(p.preview->pixelsPerMillimetre() > whole);
    QVERIFY(page->width() <= area->viewport()->width());
    QVERIFY(page->width() > area->viewport()->width() * 0.8);
    p.action("zoom100")->trigger();
    QCOMPARE(p.preview->pixelsPerMillimetre(), p.preview->logicalDpiX() / 25.4);
}

void ReportPreviewTest::pagesAppearWhileGeneratingAndPrintingWaitsForTheEnd()
{
    Previewed p(39999);  // 3 + 9,999 × 4 records: 10,000 pages
    QSignalSpy finished(p.preview.get(), &kit::ReportPreview::generationFinished);
    p.preview->setSliceMilliseconds(0);
    p.preview->start();
    p.preview->show();
    QVERIFY(p.preview->isGenerating());
    QCOMPARE(p.preview->currentPage(), 1);
    QVERIFY(p.preview->pageCount() >= 2);
    QVERIFY(!p.action("print")->isEnabled());
    QVERIFY(!p.action("printerSetup")->isEnabled());
    QVERIFY(p.action("nextPage")->isEnabled());
    QVERIFY(finished.wait(20000));
    QCOMPARE(p.preview->pageCount(), 10000);
    QCOMPARE(p.status(), QStringLiteral("100% Page 1 of 10000"));
    QVERIFY(p.action("print")->isEnabled());
    QCOMPARE(p.table->currentRow(), std::size_t(39998));
}

void ReportPreviewTest::loadShowsASavedReportAndABadFileChangesNothing()
{
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("saved.krp"));
    {
        Previewed source(8);
        source.preview->start();
        source.preview->saveReport(saved);
    }
    Previewed p(2);
    p.preview->start();
    const QString bad = dir.filePath(QStringLiteral("bad.krp"));
    {
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a report");
    }
    QVERIFY_THROWS_EXCEPTION(kit::ReportFileError, p.preview->loadReport(bad));
    QCOMPARE(p.preview->pageCount(), 1);
    QCOMPARE(p.status(), QStringLiteral("100% Page 1 of 1"));

    p.preview->loadReport(saved);
    QCOMPARE(p.preview->pageCount(), 3);
    QVERIFY(p.preview->document() == kit::ReportDocument::loadFromFile(saved));
    QCOMPARE(p.status(), QStringLiteral("100% Page 1 of 3"));
}

void ReportPreviewTest::printRegeneratesFromTheTableAsItIsNow()
{
    Previewed p(8);
    p.preview->start();
    QCOMPARE(p.preview->pageCount(), 3);
    p.table->moveTo(7);
    p.table->deleteCurrent();  // 7 records: 2 pages
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("now.pdf"));
    p.preview->printer().setOutputFormat(QPrinter::PdfFormat);
    p.preview->printer().setOutputFileName(pdf);
    QVERIFY(p.preview->print());
    QCOMPARE(fixture::pdfPages(pdf), 2);
    QCOMPARE(p.preview->pageCount(), 3);  // the pages on screen stay as they were
}

void ReportPreviewTest::previewReportWaitsUntilClosedOrQuitting()
{
    auto table = fixture::table(5);
    kit::Report report;
    fixture::define(report);
    report.setTable(table.get());
    auto topPreview = [] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *preview = qobject_cast<kit::ReportPreview *>(w); preview && w->isVisible())
                return preview;
        return static_cast<kit::ReportPreview *>(nullptr);
    };

    bool returned = false;
    Qt::WindowStates state;
    QTimer::singleShot(0, [&] {
        kit::ReportPreview *preview = topPreview();
        QVERIFY(preview);
        state = preview->windowState();
        QVERIFY(!preview->isModal());
        preview->close();
    });
    kit::PreviewReport(report);
    returned = true;
    QVERIFY(returned);
    QVERIFY(state.testFlag(Qt::WindowMaximized));
    QVERIFY(!topPreview());

    // Quitting the application ends the wait too; it runs inside the application's own loop.
    bool quitWhileWaiting = false;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(50, [] { QCoreApplication::exit(0); });
        kit::PreviewReport(report);
        quitWhileWaiting = true;
    });
    QCoreApplication::exec();
    QVERIFY(quitWhileWaiting);
    QVERIFY(!topPreview());
}

QTEST_MAIN(ReportPreviewTest)
#include "tst_report_preview.moc"
