#include "kit/dbctrls/db_edit.h"
#include "kit/grid/grid_view.h"
#include "kit/text/codec.h"
#include "windows_fixture.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTest>

namespace {

const std::string kTwoEntries = DataFile(
    {{"ALFA SRL", "VENDITE", "ROSSI", "", "", "011 1"}, {"BETA SPA", "ACQUISTI", "VERDI"}});

QString focusName()
{
    QWidget *w = FMFSCAD->focusWidget();
    return w ? w->objectName() : QString();
}

// Key presses that carry any character, not only those on a US keyboard.
void type(kit::DBEdit *edit, const QString &text)
{
    edit->setFocus();
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(edit, &press);
    }
}

void fillRequired(const QString &ditta, const QString &reparto, const QString &nome)
{
    type(FMFSCAD->EDITDitta, ditta);
    type(FMFSCAD->EDITREPARTO, reparto);
    type(FMFSCAD->EDITNome, nome);
}

}  // namespace

class TestEditor : public QObject {
    Q_OBJECT
private slots:
    void validationNamesTheTopmostEmptyField_data();
    void validationNamesTheTopmostEmptyField();
    void insertStoresEachEntryAndStartsAnotherUntilEsci();
    void insertOnAnEmptyTable();
    void insertKeyConfirmsOnlyFromTheThirteenFields_data();
    void insertKeyConfirmsOnlyFromTheThirteenFields();
    void modifyEnds_data();
    void modifyEnds();
    void modifyOnAnUnavailableRecordSaysSoAndStaysOpen();
    void caseAndMaximumLength_data();
    void caseAndMaximumLength();
    void escapeRestoresAndEnterDoesNothing();
    void tabVisitsTheFieldsThenTheButtons();
};

void TestEditor::validationNamesTheTopmostEmptyField_data()
{
    QTest::addColumn<QString>("ditta");
    QTest::addColumn<QString>("reparto");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("all empty") << ""
                               << ""
                               << ""
                               << "Ditta richiesta !"
                               << "EDITDitta";
    QTest::newRow("only ditta") << "acme"
                                << ""
                                << ""
                                << "Reparto richiesto !"
                                << "EDITREPARTO";
    QTest::newRow("nome missing") << "acme"
                                  << "vendite"
                                  << ""
                                  << "Nominativo richiesto !"
                                  << "EDITNome";
    QTest::newRow("ditta missing") << ""
                                   << "vendite"
                                   << "rossi"
                                   << "Ditta richiesta !"
                                   << "EDITDitta";
    QTest::newRow("blanks are empty") << "acme"
                                      << "   "
                                      << "rossi"
                                      << "Reparto richiesto !"
                                      << "EDITREPARTO";
    QTest::newRow("all filled") << "acme"
                                << "vendite"
                                << "rossi"
                                << ""
                                << "EDITDitta";
}

void TestEditor::validationNamesTheTopmostEmptyField()
{
    QFETCH(QString, ditta);
    QFETCH(QString, reparto);
    QFETCH(QString, nome);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    UiFixture f(kTwoEntries);
    QStringList seen;
    UiFixture::whenModal([&] {
        fillRequired(ditta, reparto, nome);
        FMFSCAD->EDITEmail->setFocus();
        QTest::mouseClick(FMFSCAD->BBInserisci, Qt::LeftButton);
        seen << QString::number(f.table().recordCount()) << focusName()
             << QString::number(FMFSCAD->isVisible());
        FMFSCAD->Button2Click();
    });
    FFMAIN->BBInserisciClick();
    QCOMPARE(f.messages, message.isEmpty() ? QStringList() : QStringList{message});
    const QString stored = message.isEmpty() ? "3" : "2";
    QCOMPARE(seen, (QStringList{stored, focus, "1"}));
    QCOMPARE(f.table().recordCount(), stored.toULongLong());
}

void TestEditor::insertStoresEachEntryAndStartsAnotherUntilEsci()
{
    UiFixture f(kTwoEntries);
    f.table().moveTo(1);
    QStringList seen;
    UiFixture::whenModal([&] {
        QCOMPARE(f.table().state(), kit::DataSetState::Insert);
        QCOMPARE(focusName(), QStringLiteral("EDITDitta"));
        fillRequired("  gamma snc", "magazzino", "bruno");
        QTest::mouseClick(FMFSCAD->BBInserisci, Qt::LeftButton);
        // Stored; a new empty entry is pending with the focus back in "Ditta".
        seen << QString::number(f.table().recordCount()) << focusName()
             << FMFSCAD->EDITDitta->text() << QString::number(int(f.table().state()));
        fillRequired("delta", "uffici", "neri");
        type(FMFSCAD->EditTelefono1, "02 55");
        QTest::keyClick(FMFSCAD->EditTelefono1, Qt::Key_Insert);
        seen << QString::number(f.table().recordCount());
        QTest::mouseClick(FMFSCAD->BBEsci, Qt::LeftButton);
    });
    FFMAIN->BBInserisciClick();
    QCOMPARE(seen, (QStringList{"3", "EDITDitta", "",
                                QString::number(int(kit::DataSetState::Insert)), "4"}));
    // Two entries stored, the empty third one discarded, the earlier entry current again.
    QCOMPARE(f.table().recordCount(), 4u);
    QCOMPARE(f.table().state(), kit::DataSetState::Browse);
    QCOMPARE(f.table().currentRow(), 1u);
    QCOMPARE(f.value(2, "ditta"), "  GAMMA SNC");  // trimmed only for the test
    QCOMPARE(f.value(2, "nome"), "BRUNO");
    QCOMPARE(f.value(3, "ditta"), "DELTA");
    QCOMPARE(f.value(3, "telefono1"), "02 55");
    for (std::size_t row : {2u, 3u}) {
        const std::string key = f.value(row, "NumScad");
        QCOMPARE(key.size(), 12u);
        QVERIFY(key.find_first_not_of("0123456789") == std::string::npos);
    }
}

void TestEditor::insertOnAnEmptyTable()
{
    UiFixture f;
    UiFixture::whenModal([&] {
        fillRequired("acme", "vendite", "rossi");
        FMFSCAD->Button1Click();
        FMFSCAD->close();  // through the frame
    });
    FFMAIN->BBInserisciClick();
    QCOMPARE(f.table().recordCount(), 1u);
    QCOMPARE(f.table().state(), kit::DataSetState::Browse);
    QCOMPARE(f.value(0, "ditta"), "ACME");
}

void TestEditor::insertKeyConfirmsOnlyFromTheThirteenFields_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("confirms");
    QTest::newRow("first telephone") << "EditTelefono1" << Qt::KeyboardModifiers() << true;
    QTest::newRow("e-mail with Ctrl")
        << "EDITEmail" << Qt::KeyboardModifiers(Qt::ControlModifier) << true;
    QTest::newRow("last hour with Shift")
        << "EDITPMaore" << Qt::KeyboardModifiers(Qt::ShiftModifier) << true;
    QTest::newRow("province with Alt")
        << "EDITProvincia" << Qt::KeyboardModifiers(Qt::AltModifier) << true;
    QTest::newRow("ditta") << "EDITDitta" << Qt::KeyboardModifiers() << false;
    QTest::newRow("reparto") << "EDITREPARTO" << Qt::KeyboardModifiers() << false;
    QTest::newRow("nome with Shift")
        << "EDITNome" << Qt::KeyboardModifiers(Qt::ShiftModifier) << false;
}

void TestEditor::insertKeyConfirmsOnlyFromTheThirteenFields()
{
    QFETCH(QString, field);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, confirms);
    UiFixture f;
    UiFixture::whenModal([&] {
        fillRequired("acme", "vendite", "rossi");
        auto *edit = FMFSCAD->findChild<kit::DBEdit *>(field);
        QVERIFY(edit);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Insert, modifiers);
        FMFSCAD->Button2Click();
    });
    FFMAIN->BBInserisciClick();
    QCOMPARE(f.table().recordCount(), confirms ? 1u : 0u);
}

void TestEditor::modifyEnds_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<bool>("result");
    QTest::newRow("Conferma") << "Conferma" << true << true;
    QTest::newRow("Insert key") << "Insert" << true << true;
    QTest::newRow("Esci") << "Esci" << false << false;
    QTest::newRow("frame close") << "close" << false << false;
    QTest::newRow("Conferma refused") << "Conferma blank" << false << false;
}

void TestEditor::modifyEnds()
{
    QFETCH(QString, how);
    QFETCH(bool, stored);
    QFETCH(bool, result);
    UiFixture f(kTwoEntries);
    f.table().moveTo(1);
    UiFixture::whenModal([&] {
        QCOMPARE(f.table().state(), kit::DataSetState::Edit);
        QCOMPARE(FMFSCAD->EDITNome->text(), QStringLiteral("VERDI"));
        type(FMFSCAD->EDITNome, " luca");
        type(FMFSCAD->EDITFax1, "06 1");
        if (how == QLatin1String("Conferma")) {
            QTest::mouseClick(FMFSCAD->BBInserisci, Qt::LeftButton);
        } else if (how == QLatin1String("Insert")) {
            QTest::keyClick(FMFSCAD->EDITFax1, Qt::Key_Insert);
        } else if (how == QLatin1String("Esci")) {
            QTest::mouseClick(FMFSCAD->BBEsci, Qt::LeftButton);
        } else if (how == QLatin1String("close")) {
            FMFSCAD->close();
        } else {
            FMFSCAD->EDITDitta->clear();
            FMFSCAD->Button1Click();
            QVERIFY(FMFSCAD->isVisible());
            FMFSCAD->close();
        }
    });
    QCOMPARE(FMFSCAD->OpenForModify(), result);
    QCOMPARE(FMFSCAD->EditorMode, 2);
    QCOMPARE(f.table().state(), kit::DataSetState::Browse);
    QCOMPARE(f.table().recordCount(), 2u);
    QCOMPARE(f.value(1, "nome"), stored ? "VERDI LUCA" : "VERDI");
    QCOMPARE(f.value(1, "fax1"), stored ? "06 1" : "");
    QCOMPARE(f.value(0, "nome"), "ROSSI");
}

void TestEditor::modifyOnAnUnavailableRecordSaysSoAndStaysOpen()
{
    UiFixture f(kTwoEntries);
    FFMAIN->cxGrid1->setDataSource(nullptr);  // the grid is not what this is about
    f.table().close();                        // every operation on the table now fails
    bool open = false;
    UiFixture::whenModal([&] {
        open = FMFSCAD->isVisible();
        FMFSCAD->Button2Click();
    });
    QCOMPARE(FMFSCAD->OpenForModify(), false);
    QVERIFY(open);
    QCOMPARE(f.messages, QStringList{QStringLiteral("Riga non disponibile !")});
}

void TestEditor::caseAndMaximumLength_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("stored");
    QTest::newRow("upper") << "EDITLocalita" << QString::fromUtf8("forlì") << "localita"
                           << QString::fromUtf8("FORLÌ");
    QTest::newRow("e-mail lower") << "EDITEmail"
                                  << "Mario.Rossi@ACME.it"
                                  << "e_mail"
                                  << "mario.rossi@acme.it";
    QTest::newRow("province 2") << "EDITProvincia"
                                << "torino"
                                << "provincia"
                                << "TO";
    QTest::newRow("hour 5") << "EDITAMDaOre"
                            << "08:30:00"
                            << "am_daore"
                            << "08:30";
    QTest::newRow("phone 35") << "EDITCellulare2" << QString(40, QLatin1Char('9')) << "cellulare2"
                              << QString(35, QLatin1Char('9'));
    QTest::newRow("e-mail 60") << "EDITEmail" << QString(70, QLatin1Char('X')) << "e_mail"
                               << QString(60, QLatin1Char('x'));
    QTest::newRow("ditta 50") << "EDITDitta" << QString(55, QLatin1Char('a')) << "ditta"
                              << QString(50, QLatin1Char('A'));
}

void TestEditor::caseAndMaximumLength()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, column);
    QFETCH(QString, stored);
    UiFixture f;
    UiFixture::whenModal([&] {
        fillRequired("acme", "vendite", "rossi");
        FMFSCAD->findChild<kit::DBEdit *>(field)->clear();
        type(FMFSCAD->findChild<kit::DBEdit *>(field), typed);
        FMFSCAD->Button1Click();
        FMFSCAD->Button2Click();
    });
    FFMAIN->BBInserisciClick();
    QCOMPARE(f.table().recordCount(), 1u);
    QCOMPARE(kit::fromCp1252(f.value(0, column.toLatin1().constData())), stored);
}

void TestEditor::escapeRestoresAndEnterDoesNothing()
{
    UiFixture f(kTwoEntries);
    UiFixture::whenModal([&] {
        type(FMFSCAD->EDITNome, "xyz");
        QTest::keyClick(FMFSCAD->EDITNome, Qt::Key_Escape);
        QCOMPARE(FMFSCAD->EDITNome->text(), QStringLiteral("ROSSI"));
        QCOMPARE(FMFSCAD->EDITNome->selectedText(), QStringLiteral("ROSSI"));
        // Entering a field selects its text, so typing would replace it.
        QCOMPARE(FMFSCAD->EDITDitta->selectedText(), QStringLiteral("ALFA SRL"));
        QTest::keyClick(FMFSCAD->EDITDitta, Qt::Key_End);
        type(FMFSCAD->EDITDitta, "!");
        QTest::keyClick(FMFSCAD->EDITDitta, Qt::Key_Return);
        QTest::keyClick(FMFSCAD->BBInserisci, Qt::Key_Escape);  // no cancel button either
        QVERIFY(FMFSCAD->isVisible());
        QCOMPARE(f.table().state(), kit::DataSetState::Edit);
        FMFSCAD->Button1Click();
    });
    FFMAIN->BBModificaClick();
    QVERIFY(f.messages.isEmpty());
    QCOMPARE(f.value(0, "ditta"), "ALFA SRL!");
    QCOMPARE(f.value(0, "nome"), "ROSSI");
}

void TestEditor::tabVisitsTheFieldsThenTheButtons()
{
    UiFixture f;
    QStringList order;
    QWidget *w = FMFSCAD->EDITDitta;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty())
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != FMFSCAD->EDITDitta);
    QCOMPARE(order,
             (QStringList{"EDITDitta", "EDITREPARTO", "EDITNome", "EditTelefono1", "EDITTelefono2",
                          "EDITFax1", "EDITFax2", "EDITCellulare1", "EDITCellulare2", "EDITEmail",
                          "EDITLocalita", "EDITProvincia", "EDITAMDaOre", "EDITAMaore",
                          "EDITPMDaore", "EDITPMaore", "BBInserisci", "BBEsci"}));
}

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
