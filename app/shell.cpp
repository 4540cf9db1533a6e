#include "app/shell.h"

#include "app/error_box.h"
#include "report/UFQRSTSCAD.h"
#include "store/UDM1.h"
#include "ui/editor/UFMFSCAD.h"
#include "ui/info/UFMINFO.h"
#include "ui/main/UFFMAIN.h"

#include <QCoreApplication>
#include <QEvent>

namespace {

// Publishes a singleton under its fixed name for as long as it lives.
template <typename T> T *publish(std::unique_ptr<T> &owner, T *&global, T *object)
{
    owner.reset(object);
    global = object;
    return object;
}

void reportDataModuleError(const std::string &message)
{
    ShowErrorBox(QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
}

}  // namespace

Shell::Shell(const std::string &executablePath)
{
    publish(dm1_, DM1, new TDM1(executablePath, reportDataModuleError));
    publish(main_, FFMAIN, new TFFMAIN);
    publish(editor_, FMFSCAD, new TFMFSCAD);
    publish(report_, FFQRSTSCAD, new TFFQRSTSCAD);
    publish(info_, FFINFO, new TFFINFO);
    // Closing the main window ends the program even while the report preview is still open.
    FFMAIN->installEventFilter(this);
}

Shell::~Shell()
{
    info_.reset();
    FFINFO = nullptr;
    report_.reset();
    FFQRSTSCAD = nullptr;
    editor_.reset();
    FMFSCAD = nullptr;
    main_.reset();
    FFMAIN = nullptr;
    dm1_.reset();
    DM1 = nullptr;
}

bool Shell::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FFMAIN && event->type() == QEvent::Close)
        QCoreApplication::exit(0);
    return QObject::eventFilter(watched, event);
}
