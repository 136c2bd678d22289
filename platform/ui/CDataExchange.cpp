#include "platform/ui/CDataExchange.h"

#include "platform/ui/AfxMessageBox.h"
#include "platform/ui/CWnd.h"

CWnd* CDataExchange::PrepareCtrl(int nIDC) {
    m_idLastControl = nIDC;
    m_bEditLastControl = FALSE;
    return m_pDlgWnd->GetDlgItem(nIDC);
}

CWnd* CDataExchange::PrepareEditCtrl(int nIDC) {
    CWnd* control = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return control;
}

void CDataExchange::Fail(const char* message) {
    m_bFailed = TRUE;
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    CWnd* control = m_pDlgWnd->GetDlgItem(m_idLastControl);
    if (!control)
        return;
    control->SetFocus();
    if (m_bEditLastControl)
        control->SendMessage(EM_SETSEL, 0, -1);
}
