#include "platform/ui/CWinApp.h"

#include <QApplication>

int AfxWinMain(int argc, char** argv) {
    QApplication application(argc, argv);
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->SetCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    // A dialog program does its work inside InitInstance and answers FALSE, so the process
    // ends here without a message loop of its own.
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}
