#include "platform/ui/AfxMessageBox.h"

#include "platform/text/CString.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/ModalPrompts.h"

// This platform has no help system, so the help context is not used.
int AfxMessageBox(const char* lpszText, UINT nType, UINT /*nIDHelp*/) {
    return ModalPrompts::Current().MessageBox(nullptr, lpszText ? lpszText : "", AfxGetAppName(),
                                              nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString text;
    text.LoadString(nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp);
}
