#include "app/application.h"
#include "app/shell.h"
#include "store/app_dir.h"
#if __has_include("texts/UCXTRANSLATE.h")  // until the texts module lands
#include "texts/UCXTRANSLATE.h"
#define VELISTRA_HAS_TEXTS 1
#endif
#include "ui/main/UFFMAIN.h"

int main(int argc, char **argv)
{
    Application app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
#ifdef VELISTRA_HAS_TEXTS
    InstallGridTexts();
#endif
    Shell shell(ExecutablePath());
    FFMAIN->showMaximized();
    return app.exec();
}
