#include "app/application.h"
#include "app/shell.h"
#include "store/app_dir.h"
#include "texts/UCXTRANSLATE.h"
#include "ui/main/UFFMAIN.h"

int main(int argc, char **argv)
{
    Application app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    InstallGridTexts();
    Shell shell(ExecutablePath());
    FFMAIN->showMaximized();
    return app.exec();
}
