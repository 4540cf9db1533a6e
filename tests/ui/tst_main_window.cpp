#include "kit/forms/link_field.h"
#include "kit/forms/split_button.h"
#include "kit/grid/grid_view.h"
#include "store/app_dir.h"
#include "windows_fixture.h"

#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

namespace {

const std::string kThreeEntries = DataFile({{"ALFA SRL", "VENDITE", "ROSSI"},
                                            {"BETA SPA", "ACQUISTI", "VERDI"},
                                            {"GAMMA SNC", "MAGAZZINO", "BRUNO"}});

QString appDir()
{
    return QString::fromStdString(AppDir);
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startsWithTheFocusOnInserisciAndEnterOpensTheEditor();
    void tabCyclesTheGridAndTheCommandButtons();
    void cancella_data();
    void cancella();
    void cancellaDeletesWhatTheGridMadeCurrent();
    void modificaRestoresTheCurrentEntryAndDoesNothingOnAnEmptyTable();
    void printCommandsDoNothingOnAnEmptyTable();
    void htmlCommandHandsThePageToTheDesktop();
    void stampaMenuAndHiddenDocumentationButtons();
    void documentationButtons_data();
    void documentationButtons();
    void informationWindowKeepsWhatWasTyped();
    void linksOpenTheMakersPages();
    void esciClosesTheWindow();
};

void TestMainWindow::startsWithTheFocusOnInserisciAndEnterOpensTheEditor()
{
    UiFixture f(kThreeEntries);
    FFMAIN->show();
    QVERIFY(QTest::qWaitForWindowExposed(FFMAIN));
    QCOMPARE(FFMAIN->focusWidget(), FFMAIN->BBInserisci);
    bool opened = false;
    UiFixture::whenModal([&] {
        opened = FMFSCAD->isVisible() && FMFSCAD->EditorMode == TFMFSCAD::InsertMode;
        FMFSCAD->Button2Click();
    });
    QTest::keyClick(FFMAIN->BBInserisci, Qt::Key_Return);
    QVERIFY(opened);
    QCOMPARE(f.table().recordCount(), 3u);
}

void TestMainWindow::tabCyclesTheGridAndTheCommandButtons()
{
    UiFixture f;
    FFMAIN->show();
    QVERIFY(QTest::qWaitForWindowExposed(FFMAIN));
    QStringList order;
    for (int i = 0; i < 7; ++i) {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        // The grid may focus an inner part of itself.
        while (focus && focus->objectName().isEmpty())
            focus = focus->parentWidget();
        order << focus->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(order, (QStringList{"BBInserisci", "BBModifica", "BBCancella", "BBStampa", "BBEsci",
                                 "cxGrid1", "BBInserisci"}));
}

void TestMainWindow::cancella_data()
{
    QTest::addColumn<bool>("empty");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("empty table: no box") << true << true << QStringList{};
    QTest::newRow("Yes deletes the current entry")
        << false << true << QStringList{"ALFA SRL", "GAMMA SNC"};
    QTest::newRow("No keeps it") << false << false
                                 << QStringList{"ALFA SRL", "BETA SPA", "GAMMA SNC"};
}

void TestMainWindow::cancella()
{
    QFETCH(bool, empty);
    QFETCH(bool, answer);
    QFETCH(QStringList, left);
    UiFixture f(empty ? std::string() : kThreeEntries);
    if (!empty)
        f.table().moveTo(1);
    f.answer = answer;
    FFMAIN->BBCancellaClick();
    QCOMPARE(f.messages, empty
                             ? QStringList()
                             : QStringList{QStringLiteral("Confermi cancellazione nominativo ?")});
    QStringList companies;
    for (std::size_t row = 0; row < f.table().recordCount(); ++row)
        companies << QString::fromStdString(f.value(row, "ditta"));
    QCOMPARE(companies, left);
    if (!empty)  // nothing is written before the program ends
        QCOMPARE(f.dir.read(DataFileName), kThreeEntries);
}

// A focused group row makes its first entry current, and a filter that hides every row still
// leaves the table's current entry to delete.
void TestMainWindow::cancellaDeletesWhatTheGridMadeCurrent()
{
    UiFixture f(DataFile(
        {{"BETA SPA", "VENDITE", "ROSSI", "", "", "", "", "", "", "", "", "", "", "", "", "", "1"},
         {"ALFA SRL", "VENDITE", "VERDI", "", "", "", "", "", "", "", "", "", "", "", "", "", "2"},
         {"ALFA SRL", "ACQUISTI", "NERI", "", "", "", "", "", "", "", "", "", "", "", "", "",
          "3"}}));
    kit::GridView *grid = FFMAIN->cxGrid1;
    grid->setFocusedRow(0);  // the group row of ALFA SRL, first in the grid's order
    QCOMPARE(grid->displayRow(0).kind, kit::GridRowKind::Group);
    FFMAIN->BBCancellaClick();
    QCOMPARE(f.table().recordCount(), 2u);
    QCOMPARE(f.value(0, "nome"), "ROSSI");
    QCOMPARE(f.value(1, "nome"), "VERDI");  // NERI went: ACQUISTI comes before VENDITE

    grid->setRowFilter([](std::size_t) { return false; });
    f.table().moveTo(0);
    FFMAIN->BBCancellaClick();
    QCOMPARE(f.messages.size(), 2);
    QCOMPARE(f.table().recordCount(), 1u);
    QCOMPARE(f.value(0, "nome"), "VERDI");
}

void TestMainWindow::modificaRestoresTheCurrentEntryAndDoesNothingOnAnEmptyTable()
{
    {
        UiFixture f(kThreeEntries);
        f.table().moveTo(2);
        UiFixture::whenModal([&] {
            QCOMPARE(FMFSCAD->EDITDitta->text(), QStringLiteral("GAMMA SNC"));
            FMFSCAD->Button1Click();
        });
        FFMAIN->BBModificaClick();
        QCOMPARE(f.table().currentRow(), 2u);
    }
    UiFixture f;
    bool shown = false;
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        if (FMFSCAD->isVisible()) {
            shown = true;
            FMFSCAD->Button2Click();
        }
    });
    watchdog.start(0);
    FFMAIN->BBModificaClick();
    QCoreApplication::processEvents();
    QVERIFY(!shown);
}

// The report form does not exist here: reaching it would crash.
void TestMainWindow::printCommandsDoNothingOnAnEmptyTable()
{
    UiFixture f;
    FFMAIN->StampaTOTALE1Click();
    FFMAIN->StampaHTMLselezione1Click();
    QVERIFY(f.desktop.opened.isEmpty());
    QVERIFY(f.dir.entries().empty());
}

void TestMainWindow::htmlCommandHandsThePageToTheDesktop()
{
    UiFixture f(kThreeEntries);
    FFMAIN->StampaHTMLselezione1Click();
    QCOMPARE(f.desktop.opened, QStringList{QStringLiteral("Te02Lst.html||%1|5").arg(appDir())});
    const std::string page = f.dir.read(HtmlFileName);
    QVERIFY(page.find("GAMMA SNC") != std::string::npos);
}

void TestMainWindow::stampaMenuAndHiddenDocumentationButtons()
{
    UiFixture f;
    FFMAIN->show();
    QVERIFY(QTest::qWaitForWindowExposed(FFMAIN));
    QMenu *menu = FFMAIN->BBStampa->dropDownMenu();
    QVERIFY(menu == FFMAIN->PopupMenu1);
    QStringList items;
    for (QAction *action : menu->actions())
        items << action->objectName() + QLatin1Char('=') + action->text();
    QCOMPARE(items, (QStringList{"StampaTOTALE1=Stampa TOTALE",
                                 "StampaHTMLselezione1=Stampa HTML (selezione)"}));
    QTest::mouseClick(FFMAIN->BBStampa, Qt::LeftButton, {}, QPoint(20, 16));
    QVERIFY(!menu->isVisible());
    QTest::mousePress(FFMAIN->BBStampa, Qt::LeftButton, {}, QPoint(115, 16));
    QTRY_VERIFY(menu->isVisible());
    menu->hide();
    QVERIFY(!FFMAIN->BBHelp->isVisible());
    QVERIFY(!FFMAIN->BBInforma->isVisible());
}

void TestMainWindow::documentationButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("opened");
    QTest::newRow("? with its file") << "BBHelp"
                                     << "vlshelp.pdf"
                                     << ""
                                     << "vlshelp.pdf";
    QTest::newRow("i with only the other file") << "BBInforma"
                                                << "vlshelp.pdf"
                                                << ""
                                                << "";
    QTest::newRow("i with its file") << "BBInforma"
                                     << "vlsinfo.pdf"
                                     << ""
                                     << "vlsinfo.pdf";
    QTest::newRow("? with nothing") << "BBHelp"
                                    << ""
                                    << ""
                                    << "";
    QTest::newRow("a folder is no document") << "BBInforma"
                                             << ""
                                             << "vlsinfo.pdf"
                                             << "";
}

void TestMainWindow::documentationButtons()
{
    QFETCH(QString, button);
    QFETCH(QString, file);
    QFETCH(QString, folder);
    QFETCH(QString, opened);
    UiFixture f;
    if (!file.isEmpty())
        f.dir.write(file.toStdString(), "%PDF-1.4\n");
    if (!folder.isEmpty())
        QDir(appDir()).mkdir(folder);
    bool infoShown = false;
    if (opened.isEmpty()) {
        UiFixture::whenModal([&] {
            infoShown = FFINFO->isVisible();
            FFINFO->close();
        });
    }
    if (button == QLatin1String("BBHelp"))
        FFMAIN->BBHelpClick();
    else
        FFMAIN->BBInformaClick();
    QCOMPARE(infoShown, opened.isEmpty());
    QCOMPARE(f.desktop.opened, opened.isEmpty()
                                   ? QStringList()
                                   : QStringList{QStringLiteral("%1||%2|5").arg(opened, appDir())});
}

void TestMainWindow::informationWindowKeepsWhatWasTyped()
{
    UiFixture f;
    QTextEdit *memo = FFINFO->Memo1;
    QCOMPARE(memo->toPlainText(), QStringLiteral("La documentazione e le informative relative \n"
                                                 "alle evoluzioni dell'velistra sono residenti\n"
                                                 "nel ns. sito web (causa frequenti\n"
                                                 "evoluzioni del software)."));
    QVERIFY(!memo->isReadOnly());
    UiFixture::whenModal([&] {
        memo->moveCursor(QTextCursor::End);
        QTest::keyClicks(memo, QStringLiteral(" nota"));
        FFINFO->close();
    });
    FFMAIN->BBHelpClick();
    QString second;
    UiFixture::whenModal([&] {
        second = memo->toPlainText();
        FFINFO->close();
    });
    FFMAIN->BBInformaClick();
    QVERIFY(second.endsWith(QStringLiteral("evoluzioni del software). nota")));
}

void TestMainWindow::linksOpenTheMakersPages()
{
    UiFixture f;
    FFMAIN->show();
    QVERIFY(QTest::qWaitForWindowExposed(FFMAIN));
    QVERIFY(!(FFMAIN->cxHyperLinkEdit3->focusPolicy() & Qt::TabFocus));
    QTest::mouseClick(FFMAIN->cxHyperLinkEdit3, Qt::LeftButton);
    FFINFO->cxHyperLinkEdit1->openLink();
    QCOMPARE(f.desktop.opened,
             (QStringList{"http://www.velistra.it", "http://www.velistra.it/documentazione"}));
}

void TestMainWindow::esciClosesTheWindow()
{
    UiFixture f;
    FFMAIN->show();
    QVERIFY(QTest::qWaitForWindowExposed(FFMAIN));
    QTest::mouseClick(FFMAIN->BBEsci, Qt::LeftButton);
    QVERIFY(!FFMAIN->isVisible());
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
