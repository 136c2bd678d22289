#pragma once

#include "platform/base/WinTypes.h"

class CWnd;

// The state of one data-exchange run (CWnd::UpdateData): its direction, the control of the
// entry being exchanged, and whether an entry has failed. After a failure every further
// entry of the run does nothing.
class CDataExchange {
  public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    // Names the control of the next entry; an edit control gets its text selected when the
    // entry fails.
    CWnd* PrepareCtrl(int nIDC);
    CWnd* PrepareEditCtrl(int nIDC);

    // Ends the run at the prepared control: shows the message, moves the focus to the
    // control and selects its text.
    void Fail(const char* message);

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    int m_idLastControl = 0;
    BOOL m_bEditLastControl = FALSE;
    BOOL m_bFailed = FALSE;
};
