#include "kit/forms/desktop_services.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>
#include <QWidget>

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#endif

namespace kit {

namespace {

class SystemDesktopServices final : public DesktopServices {
public:
    void openDocument(QWidget *owner, const QString &file, const QString &parameters,
                      const QString &folder, int showMode) override
    {
#ifdef _WIN32
        HWND window = owner ? reinterpret_cast<HWND>(owner->winId()) : nullptr;
        ShellExecuteW(window, nullptr, reinterpret_cast<LPCWSTR>(file.utf16()),
                      reinterpret_cast<LPCWSTR>(parameters.utf16()),
                      reinterpret_cast<LPCWSTR>(folder.utf16()), showMode);
#else
        // The desktop's opener takes neither parameters nor a show command.
        Q_UNUSED(owner);
        Q_UNUSED(parameters);
        Q_UNUSED(showMode);
        const QString path = folder.isEmpty() ? file : QDir(folder).absoluteFilePath(file);
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
#endif
    }

    void openUrl(const QString &address) override
    {
#ifdef _WIN32
        ShellExecuteW(nullptr, L"OPEN", reinterpret_cast<LPCWSTR>(address.utf16()), nullptr,
                      nullptr, SW_SHOWMAXIMIZED);
#else
        QDesktopServices::openUrl(QUrl(address));
#endif
    }
};

SystemDesktopServices systemServices;
DesktopServices *installed = nullptr;

}  // namespace

DesktopServices &desktopServices()
{
    return installed ? *installed : systemServices;
}

void setDesktopServices(DesktopServices *services) noexcept
{
    installed = services;
}

}  // namespace kit
