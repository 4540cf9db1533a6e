#include "app/application.h"

#include "app/error_box.h"

#include <QFileInfo>

#include <exception>

QString ApplicationTitle(const QString &executablePath)
{
    QString name = QFileInfo(executablePath).fileName();
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    return name.left(1) + name.mid(1).toLower();
}

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(ApplicationTitle(applicationFilePath()));
    setApplicationVersion(QStringLiteral(VELISTRA_VERSION));
    setOrganizationName(QString::fromLatin1(ProductName));
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        ShowErrorBox(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowErrorBox(QStringLiteral("Errore sconosciuto"));
    }
    return false;
}
