#pragma once

#include "platform/ui/CWnd.h"

// A drop-down list member. Items keep the order in which they were added; setting the
// selection from the program never notifies CBN_SELCHANGE.
class CComboBox : public CWnd {
  public:
    int AddString(const char* lpszString) {
        return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszString)));
    }
    int GetCount() { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    // A position not in the list clears the selection and returns CB_ERR.
    int SetCurSel(int nSelect) {
        return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(nSelect)));
    }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
};
