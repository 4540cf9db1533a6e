// The desktop's services for documents and web addresses behind one replaceable object, so that
// tests record what would have been opened instead of starting a viewer or a browser.
#pragma once

#include <QString>

class QWidget;

namespace kit {

class DesktopServices {
public:
    virtual ~DesktopServices() = default;
    // Opens `file` with the program the desktop associates with its type. A bare file name is
    // resolved against `folder`, which is also the working folder; `showMode` is the window show
    // command handed to the shell where it has one. The outcome is not reported.
    virtual void openDocument(QWidget *owner, const QString &file, const QString &parameters,
                              const QString &folder, int showMode) = 0;
    // Opens a web address in the default browser, maximised where the desktop allows it.
    virtual void openUrl(const QString &address) = 0;
};

// The services in use: the system's unless a test installed others.
DesktopServices &desktopServices();
// Installs `services` (not owned); nullptr puts the system's back.
void setDesktopServices(DesktopServices *services) noexcept;

}  // namespace kit
