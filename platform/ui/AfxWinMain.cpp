#include "platform/ole/AfxOleServer.h"
#include "platform/ole/COleObjectFactory.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/OpenBoxes.h"

#include <QApplication>

namespace {

// How the automation server side reaches the application: a client may create an object
// only while a main window exists (the object attaches to it), and when the last object of
// a process the automation system started goes, the main window ends. The modal loop is
// ended directly rather than through OnOK or OnCancel, whose checks could keep the window
// open; the program then leaves InitInstance and ends, also when the window is hidden. A
// message box or dialog open at that moment would hold the program in its own loop, so the
// boxes close with the window, as if cancelled.
void InstallAutomationServerHooks() {
    OleServerState::SetCanCreateObjectHook([] {
        const CWinApp* app = AfxGetApp();
        return app && app->m_pMainWnd ? TRUE : FALSE;
    });
    OleServerState::SetReleaseAllObjectsHook([] {
        const CWinApp* app = AfxGetApp();
        auto* dialog = dynamic_cast<CDialog*>(app ? app->m_pMainWnd : nullptr);
        CloseOpenBoxes(dialog ? dialog->GetWidget() : nullptr);
        if (dialog)
            dialog->EndDialog(IDCANCEL);
        else
            QApplication::quit();
    });
}

} // namespace

int AfxWinMain(int argc, char** argv) {
    // The program reads only the two launch switches from its command line and ignores
    // everything else, so the toolkit gets no argument to act on (such as -reverse or
    // -platform): only the program's name.
    int toolkitArgc = argc > 0 ? 1 : 0;
    char* toolkitArgv[] = {argv[0], nullptr};
    QApplication application(toolkitArgc, toolkitArgv);
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->SetCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    InstallAutomationServerHooks();
    // A dialog program does its work inside InitInstance and answers FALSE, so the process
    // ends here without a message loop of its own.
    const int result = app->InitInstance() ? app->Run() : app->ExitInstance();
    // The factories' bus connections must close while the toolkit's application still
    // exists; objects that clients still hold are abandoned with them.
    COleObjectFactory::RevokeAll();
    return result;
}
