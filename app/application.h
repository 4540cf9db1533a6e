// The application object: names the program after its executable and shows every error that
// escapes an event handler in the standard error box, after which the program carries on.
#pragma once

#include <QApplication>

inline constexpr const char *ProductName = "VELISTRA";

// The executable's file name up to its first ".", every letter after the first in lower case.
QString ApplicationTitle(const QString &executablePath);

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
