#include "app/error_box.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace {

std::function<void(const QString &)> &handler()
{
    static std::function<void(const QString &)> instance;
    return instance;
}

}  // namespace

QString ErrorBoxText(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void ShowErrorBox(const QString &message)
{
    const QString text = ErrorBoxText(message);
    if (handler()) {
        handler()(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QCoreApplication::applicationName(), text,
                    QMessageBox::Ok);
    box.exec();
}

void SetErrorBoxHandler(std::function<void(const QString &)> h)
{
    handler() = std::move(h);
}
