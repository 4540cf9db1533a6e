#include "kit/forms/bevel_panel.h"
#include "kit/forms/desktop_services.h"
#include "kit/forms/link_field.h"
#include "kit/forms/message_box.h"
#include "kit/forms/split_button.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

Q_DECLARE_METATYPE(kit::BevelStyle)

namespace {

struct RecordingDesktop : kit::DesktopServices {
    QStringList opened;
    void openDocument(QWidget *, const QString &file, const QString &parameters,
                      const QString &folder, int showMode) override
    {
        opened << QStringLiteral("doc %1|%2|%3|%4").arg(file, parameters, folder).arg(showMode);
    }
    void openUrl(const QString &address) override { opened << QStringLiteral("url ") + address; }
};

QString rectText(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// Runs `check` on the modal box as soon as it is shown, then presses `button` on it.
void answerNextBox(std::function<void(QMessageBox *)> check, const QString &button)
{
    QTimer::singleShot(0, [check, button] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        check(box);
        if (button == QLatin1String("Escape")) {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton *b : box->buttons())
            if (b->text() == button)
                b->click();
    });
}

}  // namespace

class TestForms : public QObject {
    Q_OBJECT
private slots:
    void init() { kit::setDesktopServices(&desktop); }
    void cleanup()
    {
        kit::setDesktopServices(nullptr);
        desktop.opened.clear();
    }

    void panelInsetCountsBevelsBorderAndFrame_data();
    void panelInsetCountsBevelsBorderAndFrame();
    void dockedChildrenTakeEdgesInDockingOrder();
    void splitButtonOpensOnlyFromItsArrowPart();
    void splitButtonKeys_data();
    void splitButtonKeys();
    void splitButtonPressWhileOpenClosesTheMenu();
    void menuPosition_data();
    void menuPosition();
    void linkAddress_data();
    void linkAddress();
    void linkFieldOpensOnOneClickAndNeverTakesTabFocus();
    void confirmationBoxAsksWithYesDefaultAndNoCancel_data();
    void confirmationBoxAsksWithYesDefaultAndNoCancel();
    void plainBoxHasNoIconOneOkAndTheApplicationsName();

private:
    RecordingDesktop desktop;
};

void TestForms::panelInsetCountsBevelsBorderAndFrame_data()
{
    QTest::addColumn<kit::BevelStyle>("style");
    QTest::addColumn<int>("inset");
    using kit::Bevel;
    QTest::newRow("raised outer only")
        << kit::BevelStyle{Bevel::None, Bevel::Raised, 1, 0, false} << 1;
    QTest::newRow("lowered inner, width 3")
        << kit::BevelStyle{Bevel::Lowered, Bevel::Raised, 3, 0, false} << 6;
    QTest::newRow("border width 1 between")
        << kit::BevelStyle{Bevel::Lowered, Bevel::Raised, 3, 1, false} << 7;
    QTest::newRow("spaced outer counts")
        << kit::BevelStyle{Bevel::Lowered, Bevel::Space, 1, 0, false} << 2;
    QTest::newRow("single-line border")
        << kit::BevelStyle{Bevel::Lowered, Bevel::Raised, 2, 0, true} << 5;
    QTest::newRow("no bevels") << kit::BevelStyle{Bevel::None, Bevel::None, 4, 0, false} << 0;
}

void TestForms::panelInsetCountsBevelsBorderAndFrame()
{
    QFETCH(kit::BevelStyle, style);
    QFETCH(int, inset);
    kit::BevelPanel panel(nullptr, style);
    auto *child = new QWidget(&panel);
    panel.edges()->addWidget(child, kit::Edge::Fill);
    panel.resize(100, 50);
    panel.edges()->activate();
    QCOMPARE(panel.inset(), inset);
    QCOMPARE(child->geometry(), QRect(inset, inset, 100 - 2 * inset, 50 - 2 * inset));
}

// The main window's strip: a panel docked at the top, one at the bottom, the rest filled; inside
// the bottom one three right-docked widgets added from the outer edge inwards.
void TestForms::dockedChildrenTakeEdgesInDockingOrder()
{
    QWidget window;
    auto *edges = new kit::EdgeLayout(&window);
    auto *fill = new QWidget(&window);
    auto *top = new QWidget(&window);
    auto *bottom =
        new kit::BevelPanel(&window, {kit::Bevel::Lowered, kit::Bevel::Raised, 3, 0, false});
    // Fill added first still gets only what the docked ones leave.
    edges->addWidget(fill, kit::Edge::Fill);
    edges->addWidget(bottom, kit::Edge::Bottom, 49);
    edges->addWidget(top, kit::Edge::Top, 89);
    auto *outer = new QWidget(bottom), *spacer = new QWidget(bottom), *inner = new QWidget(bottom);
    auto *rest = new QWidget(bottom);
    bottom->edges()->addWidget(outer, kit::Edge::Right, 170);
    bottom->edges()->addWidget(spacer, kit::Edge::Right, 4);
    bottom->edges()->addWidget(inner, kit::Edge::Right, 226);
    bottom->edges()->addWidget(rest, kit::Edge::Fill);

    window.resize(950, 548);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(rectText(top->geometry()), QStringLiteral("0,0 950x89"));
    QCOMPARE(rectText(fill->geometry()), QStringLiteral("0,89 950x410"));
    QCOMPARE(rectText(bottom->geometry()), QStringLiteral("0,499 950x49"));
    QCOMPARE(rectText(outer->geometry()), QStringLiteral("774,6 170x37"));
    QCOMPARE(rectText(spacer->geometry()), QStringLiteral("770,6 4x37"));
    QCOMPARE(rectText(inner->geometry()), QStringLiteral("544,6 226x37"));
    QCOMPARE(rectText(rest->geometry()), QStringLiteral("6,6 538x37"));

    // Docked widgets keep their extent and stretch along their edge.
    window.resize(1200, 700);
    QTRY_COMPARE(rectText(bottom->geometry()), QStringLiteral("0,651 1200x49"));
    QCOMPARE(rectText(fill->geometry()), QStringLiteral("0,89 1200x562"));
    QCOMPARE(rectText(outer->geometry()), QStringLiteral("1024,6 170x37"));
}

void TestForms::splitButtonOpensOnlyFromItsArrowPart()
{
    QWidget window;
    auto *button = new kit::SplitButton(QStringLiteral("Stampa"), &window);
    button->setGeometry(8, 104, 121, 33);
    QMenu menu;
    menu.addAction(QStringLiteral("one"));
    button->setDropDownMenu(&menu);
    QSignalSpy clicked(button, &QPushButton::clicked);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(121 - 16, 16));  // just left of it
    QVERIFY(!menu.isVisible());
    QCOMPARE(clicked.count(), 1);  // the button's own command, which it may lack
    QTest::mousePress(button, Qt::RightButton, {}, QPoint(121 - 5, 16));
    QVERIFY(!menu.isVisible());
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(121 - 15, 16));
    QTRY_VERIFY(menu.isVisible());
    QCOMPARE(clicked.count(), 1);
    menu.hide();
}

void TestForms::splitButtonKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("opens");
    QTest::newRow("Alt+Down") << int(Qt::Key_Down) << Qt::KeyboardModifiers(Qt::AltModifier)
                              << true;
    QTest::newRow("Alt+Up") << int(Qt::Key_Up) << Qt::KeyboardModifiers(Qt::AltModifier) << true;
    QTest::newRow("Shift+Down") << int(Qt::Key_Down) << Qt::KeyboardModifiers(Qt::ShiftModifier)
                                << true;
    QTest::newRow("Shift+Up") << int(Qt::Key_Up) << Qt::KeyboardModifiers(Qt::ShiftModifier)
                              << true;
    QTest::newRow("Down") << int(Qt::Key_Down) << Qt::KeyboardModifiers() << false;
    QTest::newRow("Ctrl+Down") << int(Qt::Key_Down) << Qt::KeyboardModifiers(Qt::ControlModifier)
                               << false;
    QTest::newRow("Enter") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << false;
    QTest::newRow("Space") << int(Qt::Key_Space) << Qt::KeyboardModifiers() << false;
}

void TestForms::splitButtonKeys()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, opens);
    QWidget window;
    auto *button = new kit::SplitButton(QStringLiteral("Stampa"), &window);
    button->setGeometry(8, 8, 121, 33);
    QMenu menu;
    menu.addAction(QStringLiteral("one"));
    button->setDropDownMenu(&menu);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(button, Qt::Key(key), modifiers);
    QCoreApplication::processEvents();
    QCOMPARE(menu.isVisible(), opens);
    menu.hide();
}

void TestForms::splitButtonPressWhileOpenClosesTheMenu()
{
    QWidget window;
    auto *button = new kit::SplitButton(QStringLiteral("Stampa"), &window);
    button->setGeometry(8, 8, 121, 33);
    QMenu menu;
    menu.addAction(QStringLiteral("one"));
    button->setDropDownMenu(&menu);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    button->openMenu();
    QTRY_VERIFY(menu.isVisible());
    // A real press on the button while a popup is open reaches the popup first.
    const QPoint global = button->mapToGlobal(QPoint(121 - 5, 16));
    QMouseEvent press(QEvent::MouseButtonPress, menu.mapFromGlobal(global), global, Qt::LeftButton,
                      Qt::LeftButton, {});
    QCoreApplication::sendEvent(&menu, &press);
    QCoreApplication::processEvents();
    QVERIFY(!menu.isVisible());
    QVERIFY(!button->isMenuOpen());
}

void TestForms::menuPosition_data()
{
    QTest::addColumn<QRect>("button");
    QTest::addColumn<QPoint>("expected");
    const QSize menu(200, 50);
    Q_UNUSED(menu);
    // Screen 0,0 1000x700; menu 200x50.
    QTest::newRow("below, centred") << QRect(100, 100, 121, 33) << QPoint(61, 133);
    QTest::newRow("fits exactly below") << QRect(100, 617, 121, 33) << QPoint(61, 650);
    QTest::newRow("no room below: above") << QRect(100, 618, 121, 33) << QPoint(61, 568);
}

void TestForms::menuPosition()
{
    QFETCH(QRect, button);
    QFETCH(QPoint, expected);
    QCOMPARE(kit::SplitButton::menuPosition(button, QSize(200, 50), QRect(0, 0, 1000, 700)),
             expected);
}

void TestForms::linkAddress_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("address");
    QTest::newRow("bare host") << "www.velistra.it"
                               << "http://www.velistra.it";
    QTest::newRow("with scheme") << "http://www.velistra.it"
                                 << "http://www.velistra.it";
    QTest::newRow("scheme in capitals") << "HTTP://X.IT"
                                        << "HTTP://X.IT";
    QTest::newRow("secure scheme kept") << "https://x.it/a"
                                        << "https://x.it/a";
    QTest::newRow("scheme further in") << "x.it/?u=http://y"
                                       << "http://x.it/?u=http://y";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("blank") << "   "
                           << "";
}

void TestForms::linkAddress()
{
    QFETCH(QString, text);
    QFETCH(QString, address);
    QCOMPARE(kit::LinkField::linkAddress(text), address);
}

void TestForms::linkFieldOpensOnOneClickAndNeverTakesTabFocus()
{
    QWidget window;
    auto *before = new QPushButton(&window);
    auto *link = new kit::LinkField(QStringLiteral("www.velistra.it"), &window);
    auto *after = new QPushButton(&window);
    link->move(0, 40);
    after->move(0, 80);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(desktop.opened, QStringList{QStringLiteral("url http://www.velistra.it")});
    QTest::mouseClick(link, Qt::RightButton);
    QCOMPARE(desktop.opened.size(), 1);
    QVERIFY(link->isReadOnly());
    QTest::keyClicks(link, QStringLiteral("abc"));
    QCOMPARE(link->text(), QStringLiteral("www.velistra.it"));

    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), after);

    link->setText(QStringLiteral("  "));
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(desktop.opened.size(), 1);
}

void TestForms::confirmationBoxAsksWithYesDefaultAndNoCancel_data()
{
    QTest::addColumn<QString>("press");
    QTest::addColumn<bool>("answer");
    QTest::newRow("Yes") << "&Yes" << true;
    QTest::newRow("No") << "&No" << false;
    QTest::newRow("Escape") << "Escape" << false;
}

void TestForms::confirmationBoxAsksWithYesDefaultAndNoCancel()
{
    QFETCH(QString, press);
    QFETCH(bool, answer);
    QStringList seen;
    answerNextBox(
        [&seen](QMessageBox *box) {
            QStringList buttons;
            for (QAbstractButton *b : box->buttons())
                buttons << b->text();
            seen << box->windowTitle() << box->text() << buttons.join(QLatin1Char('/'))
                 << box->defaultButton()->text() << box->escapeButton()->text()
                 << QString::number(box->icon());
        },
        press);
    QCOMPARE(kit::confirm(QStringLiteral("Confermi cancellazione nominativo ?")), answer);
    QCOMPARE(seen, (QStringList{"Confirm", "Confermi cancellazione nominativo ?", "&Yes/&No",
                                "&Yes", "&No", QString::number(QMessageBox::Question)}));
}

void TestForms::plainBoxHasNoIconOneOkAndTheApplicationsName()
{
    QCoreApplication::setApplicationName(QStringLiteral("Velistra"));
    QStringList seen;
    answerNextBox(
        [&seen](QMessageBox *box) {
            seen << box->windowTitle() << box->text() << QString::number(box->icon())
                 << QString::number(box->buttons().size());
        },
        QStringLiteral("OK"));
    QTimer::singleShot(50, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->accept();
    });
    kit::showMessage(QStringLiteral("Ditta richiesta !"));
    QCOMPARE(seen, (QStringList{"Velistra", "Ditta richiesta !",
                                QString::number(QMessageBox::NoIcon), "1"}));
}

QTEST_MAIN(TestForms)
#include "tst_forms.moc"
