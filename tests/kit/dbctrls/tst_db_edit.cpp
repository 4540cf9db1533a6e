#include "kit/dataset/data_source.h"
#include "kit/dataset/mem_table.h"
#include "kit/dbctrls/db_edit.h"
#include "kit/dbctrls/typed_text.h"
#include "kit/text/codec.h"

#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(kit::CharCase)

namespace {

// Counts what the table tells its views about one field.
struct FieldWatcher : kit::DataLink {
    int changes = 0;
    void dataEvent(const kit::DataEvent &event) override
    {
        changes += event.kind == kit::DataEventKind::FieldChanged;
    }
};

// A two-field table with two records, and a window with two bound edits.
struct Fixture {
    kit::MemTable table{{{"name", 10}, {"mail", 20}}};
    kit::DataSource source{&table};
    QWidget window;
    kit::DBEdit *name = new kit::DBEdit(&window);
    kit::DBEdit *mail = new kit::DBEdit(&window);

    Fixture()
    {
        table.open();
        add("alpha", "a@x.it");
        add("BETA", "B@X.IT");
        table.first();
        name->bind(&source, QStringLiteral("NAME"));
        name->setCharCase(kit::CharCase::Upper);
        mail->bind(&source, QStringLiteral("mail"));
        mail->setCharCase(kit::CharCase::Lower);
        mail->move(0, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    void add(const char *n, const char *m)
    {
        table.append();
        table.setCurrentValue(0, n);
        table.setCurrentValue(1, m);
        table.post();
    }
    std::string stored(int field) const
    {
        return std::string(table.value(table.currentRow(), field));
    }
};

}  // namespace

class TestDBEdit : public QObject {
    Q_OBJECT
private slots:
    void convertsOneCharacterForOne_data();
    void convertsOneCharacterForOne();
    void textChangeFindsTheReplacedRange_data();
    void textChangeFindsTheReplacedRange();
    void showsAndFollowsTheCurrentRecord();
    void maximumLengthIsTheFieldWidth();
    void typedTextIsConvertedButTextAlreadyThereIsNot();
    void pastedTextIsCleanedForTheDataFile();
    void writesOnFocusOutOnlyWhenTheUserChangedIt();
    void typingInBrowseStateStartsAnEditAndKeepsTheKey();
    void escapeRestoresTheStoredValueAndSelectsIt();
    void enterAndEscapeDoNotReachTheWindow();
};

void TestDBEdit::convertsOneCharacterForOne_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<kit::CharCase>("charCase");
    QTest::addColumn<QString>("expected");
    using kit::CharCase;
    QTest::newRow("upper ascii") << "acme s.p.a." << CharCase::Upper << "ACME S.P.A.";
    QTest::newRow("upper accents") << QString::fromUtf8("località è ÿ š") << CharCase::Upper
                                   << QString::fromUtf8("LOCALITÀ È Ÿ Š");
    QTest::newRow("sharp s stays one")
        << QString::fromUtf8("straße") << CharCase::Upper << QString::fromUtf8("STRAßE");
    QTest::newRow("micro has no capital here")
        << QString::fromUtf8("µ") << CharCase::Upper << QString::fromUtf8("µ");
    QTest::newRow("lower mail") << "Mario.Rossi@ACME.IT" << CharCase::Lower
                                << "mario.rossi@acme.it";
    QTest::newRow("normal keeps case") << "AbC" << CharCase::Normal << "AbC";
    QTest::newRow("tab cr lf become blanks") << "a\tb\r\nc" << CharCase::Normal << "a b  c";
    QTest::newRow("nul dropped") << QString::fromLatin1("a\0b", 3) << CharCase::Upper << "AB";
    QTest::newRow("outside the set dropped")
        << QString::fromUtf8("a€łb→") << CharCase::Upper << QString::fromUtf8("A€B");
}

void TestDBEdit::convertsOneCharacterForOne()
{
    QFETCH(QString, typed);
    QFETCH(kit::CharCase, charCase);
    QFETCH(QString, expected);
    QCOMPARE(kit::convertTypedText(typed, charCase), expected);
}

void TestDBEdit::textChangeFindsTheReplacedRange_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("inserted");
    QTest::addColumn<int>("removed");
    QTest::newRow("typed at end") << "abc"
                                  << "abcd" << 3 << 1 << 0;
    QTest::newRow("typed in middle") << "abc"
                                     << "abXc" << 2 << 1 << 0;
    QTest::newRow("repeated letter") << "aa"
                                     << "aaa" << 2 << 1 << 0;
    QTest::newRow("selection replaced") << "abcdef"
                                        << "aXYf" << 1 << 2 << 4;
    QTest::newRow("deleted") << "abc"
                             << "ac" << 1 << 0 << 1;
    QTest::newRow("from empty") << ""
                                << "xyz" << 0 << 3 << 0;
}

void TestDBEdit::textChangeFindsTheReplacedRange()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(int, start);
    QFETCH(int, inserted);
    QFETCH(int, removed);
    const kit::TextChange c = kit::textChange(before, after);
    QCOMPARE(int(c.start), start);
    QCOMPARE(int(c.insertedLength), inserted);
    QCOMPARE(int(c.removedLength), removed);
}

void TestDBEdit::showsAndFollowsTheCurrentRecord()
{
    Fixture f;
    QCOMPARE(f.name->text(), QStringLiteral("alpha"));
    QCOMPARE(f.mail->text(), QStringLiteral("a@x.it"));
    f.table.next();
    QCOMPARE(f.name->text(), QStringLiteral("BETA"));
    f.table.edit();
    f.table.setCurrentValue(0, "gamma");
    QCOMPARE(f.name->text(), QStringLiteral("gamma"));
    f.table.cancel();
    QCOMPARE(f.name->text(), QStringLiteral("BETA"));
    f.table.append();
    QCOMPARE(f.name->text(), QString());
    f.table.cancel();
    f.table.deleteCurrent();
    QCOMPARE(f.name->text(), QStringLiteral("alpha"));
}

void TestDBEdit::maximumLengthIsTheFieldWidth()
{
    Fixture f;
    QCOMPARE(f.name->maxLength(), 10);
    QCOMPARE(f.mail->maxLength(), 20);
    f.table.append();
    f.name->setFocus();
    QTest::keyClicks(f.name, QStringLiteral("abcdefghijklmn"));
    QCOMPARE(f.name->text(), QStringLiteral("ABCDEFGHIJ"));
}

// A stored value in lower case stays so when the user types into the middle of it.
void TestDBEdit::typedTextIsConvertedButTextAlreadyThereIsNot()
{
    Fixture f;
    f.name->setFocus();
    f.name->setCursorPosition(2);
    QTest::keyClicks(f.name, QStringLiteral("xy"));
    QCOMPARE(f.name->text(), QStringLiteral("alXYpha"));
    QCOMPARE(f.name->cursorPosition(), 4);
    f.mail->setFocus();
    f.mail->end(false);
    QTest::keyClicks(f.mail, QStringLiteral("MX"));
    QCOMPARE(f.mail->text(), QStringLiteral("a@x.itmx"));
}

void TestDBEdit::pastedTextIsCleanedForTheDataFile()
{
    Fixture f;
    f.table.append();
    f.name->setFocus();
    QGuiApplication::clipboard()->setText(QString::fromUtf8("a\tb\rc\nd") + QChar(0) +
                                          QString::fromUtf8("ł€"));
    f.name->paste();
    QCOMPARE(f.name->text(), QString::fromUtf8("A B C D€"));
    f.name->updateRecord();
    QCOMPARE(f.table.currentValue(0), std::string("A B C D\x80"));
}

void TestDBEdit::writesOnFocusOutOnlyWhenTheUserChangedIt()
{
    Fixture f;
    FieldWatcher watcher;
    watcher.setDataSource(&f.source);
    f.table.edit();
    f.name->setFocus();
    f.mail->setFocus();  // untouched: nothing written
    QCOMPARE(watcher.changes, 0);
    QTest::keyClicks(f.mail, QStringLiteral("Z"));
    f.name->setFocus();
    QCOMPARE(watcher.changes, 1);
    QCOMPARE(f.table.currentValue(1), std::string("a@x.itz"));
    f.table.post();
    QCOMPARE(f.stored(1), std::string("a@x.itz"));
}

void TestDBEdit::typingInBrowseStateStartsAnEditAndKeepsTheKey()
{
    Fixture f;
    QCOMPARE(f.table.state(), kit::DataSetState::Browse);
    f.name->setFocus();
    f.name->end(false);
    QTest::keyClicks(f.name, QStringLiteral("q"));
    QCOMPARE(f.table.state(), kit::DataSetState::Edit);
    QCOMPARE(f.name->text(), QStringLiteral("alphaQ"));
    f.name->updateRecord();
    f.table.post();
    QCOMPARE(f.stored(0), std::string("alphaQ"));
}

void TestDBEdit::escapeRestoresTheStoredValueAndSelectsIt()
{
    Fixture f;
    f.table.edit();
    f.name->setFocus();
    f.name->end(false);
    QTest::keyClicks(f.name, QStringLiteral("zz"));
    QTest::keyClick(f.name, Qt::Key_Escape);
    QCOMPARE(f.name->text(), QStringLiteral("alpha"));
    QCOMPARE(f.name->selectedText(), QStringLiteral("alpha"));
    QVERIFY(!f.name->isUserModified());
    f.mail->setFocus();
    QCOMPARE(f.table.currentValue(0), std::string("alpha"));
}

void TestDBEdit::enterAndEscapeDoNotReachTheWindow()
{
    kit::MemTable table{{{"name", 10}}};
    table.open();
    kit::DataSource source(&table);
    QDialog dialog;
    auto *edit = new kit::DBEdit(&dialog);
    edit->bind(&source, QStringLiteral("name"));
    auto *button = new QPushButton(QStringLiteral("ok"), &dialog);
    button->move(0, 40);
    button->setDefault(true);
    QSignalSpy clicked(button, &QPushButton::clicked);
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Enter);
    QTest::keyClick(edit, Qt::Key_Escape);
    QCOMPARE(clicked.count(), 0);
    QCOMPARE(finished.count(), 0);
    QVERIFY(dialog.isVisible());
}

QTEST_MAIN(TestDBEdit)
#include "tst_db_edit.moc"
