#include "app/CMurmeloApp.h"

#include "platform/ole/AfxOle.h"
#include "platform/ole/COleObjectFactory.h"
#include "platform/ui/AfxMessageBox.h"
#include "res/resource.h"
#include "ui/CMurmeloDlg.h"

CMurmeloApp theApp;

CMurmeloApp::CMurmeloApp() : CWinApp(nullptr) {}

BOOL CMurmeloApp::InitInstance() {
    if (!AfxOleInit()) {
        AfxMessageBox(IDP_OLE_INIT_FAILED, MB_OK, static_cast<UINT>(-1));
        return FALSE;
    }

    AfxEnableControlContainer(nullptr);
    Enable3dControls();

    // Started by a client for automation: serve it. Started by the user: refresh the
    // entries that let clients start the program.
    if (RunEmbedded()) {
        COleObjectFactory::RegisterAll();
    } else if (RunAutomated()) {
        COleObjectFactory::RegisterAll();
    } else {
        COleObjectFactory::UpdateRegistryAll(TRUE);
    }

    CMurmeloDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    return FALSE;
}
