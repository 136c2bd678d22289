#include "automation/CMurmeloDlgAutoProxy.h"

#include "platform/ole/AfxOleServer.h"
#include "platform/ui/CWinApp.h"
#include "ui/CMurmeloDlg.h"

// The factory is the last static object of the program to be constructed, after the
// application object, and so the first to be destroyed. This file is linked into the program
// after the application object's file (see app/CMakeLists.txt), and the linker runs the
// static initialisers of the object files in link order.
COleObjectFactory CMurmeloDlgAutoProxy::factory(guid, RUNTIME_CLASS(CMurmeloDlgAutoProxy), TRUE,
                                                "Murmelo.Application");

CMurmeloDlgAutoProxy::CMurmeloDlgAutoProxy() {
    EnableAutomation();
    // The application stays alive while a client holds the proxy.
    AfxOleLockApp();

    // The framework refuses a creation while there is no main window, so the main dialog is
    // normally there; a proxy made without it simply has no dialog to hold open.
    const CWinApp* app = AfxGetApp();
    m_pDialog = app ? dynamic_cast<CMurmeloDlg*>(app->m_pMainWnd) : nullptr;
    if (m_pDialog != nullptr)
        m_pDialog->m_pAutoProxy = this;
}

CMurmeloDlgAutoProxy::~CMurmeloDlgAutoProxy() {
    if (m_pDialog != nullptr)
        m_pDialog->m_pAutoProxy = nullptr;
    // The last object going ends the program when a client started it.
    AfxOleUnlockApp();
}

void CMurmeloDlgAutoProxy::OnFinalRelease() {
    CCmdTarget::OnFinalRelease();
}
