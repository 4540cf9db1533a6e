#include "kit/forms/message_box.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace kit {

namespace {

MessageBoxHandler &handler()
{
    static MessageBoxHandler instance;
    return instance;
}

// Boxes without a parent window, placed in the middle of the screen rather than of a window.
int runCentred(QMessageBox &box)
{
    box.adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect r = box.frameGeometry();
        r.moveCenter(screen->availableGeometry().center());
        box.move(r.topLeft());
    }
    return box.exec();
}

}  // namespace

std::unique_ptr<QMessageBox> makePlainBox(const QString &text)
{
    auto box = std::make_unique<QMessageBox>(
        QMessageBox::NoIcon, QCoreApplication::applicationName(), text, QMessageBox::Ok);
    box->setObjectName(QStringLiteral("MessageBox"));
    return box;
}

std::unique_ptr<QMessageBox> makeConfirmationBox(const QString &text)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, QStringLiteral("Confirm"), text,
                                             QMessageBox::NoButton);
    box->setObjectName(QStringLiteral("ConfirmationBox"));
    QPushButton *yes = box->addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton *no = box->addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    yes->setObjectName(QStringLiteral("Yes"));
    no->setObjectName(QStringLiteral("No"));
    box->setDefaultButton(yes);
    box->setEscapeButton(no);
    return box;
}

void showMessage(const QString &text)
{
    if (handler()) {
        handler()(MessageKind::Plain, text);
        return;
    }
    auto box = makePlainBox(text);
    runCentred(*box);
}

bool confirm(const QString &text)
{
    if (handler())
        return handler()(MessageKind::Confirmation, text);
    auto box = makeConfirmationBox(text);
    runCentred(*box);
    return box->clickedButton() == box->defaultButton();
}

void setMessageBoxHandler(MessageBoxHandler h)
{
    handler() = std::move(h);
}

}  // namespace kit
