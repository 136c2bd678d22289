// How the main dialog ends, and how an automation client holding the proxy keeps it from
// ending: every way of closing it then only hides it.
#include "automation/CMurmeloDlgAutoProxy.h"
#include "ui/CMurmeloDlg.h"

CMurmeloDlg::~CMurmeloDlg() {
    // A proxy that outlives the dialog must not point to it any more.
    if (m_pAutoProxy != nullptr)
        m_pAutoProxy->m_pDialog = nullptr;
}

BOOL CMurmeloDlg::CanExit() {
    if (m_pAutoProxy != nullptr) {
        ShowWindow(SW_HIDE);
        return FALSE;
    }
    return TRUE;
}

void CMurmeloDlg::OnClose() {
    // The default processing turns the close box into the IDCANCEL command.
    if (CanExit())
        CDialog::OnClose();
}

void CMurmeloDlg::OnOK() {
    if (CanExit())
        CDialog::OnOK();
}

void CMurmeloDlg::OnCancel() {
    if (CanExit())
        CDialog::OnCancel();
}
