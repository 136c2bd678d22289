#pragma once

#include "platform/text/CString.h"
#include "platform/ui/FileDialogRequest.h"

class CWnd;

// The settings of a file dialog that a caller may change between construction and DoModal.
struct OPENFILENAME {
    DWORD Flags = 0;
    // The folder the dialog starts in; a file's name is taken as the folder that holds it.
    LPCTSTR lpstrInitialDir = nullptr;
    // The window title; null for "Open" or "Save As".
    LPCTSTR lpstrTitle = nullptr;
};

// A modal dialog that asks for the name of a file to open or to save. An initial file name
// with a wildcard ("*.wav") is a filter rather than a name. Choosing a file never changes
// the process's current directory. Once a file was chosen in a dialog of the same kind, the
// dialog opens in that file's folder (see FileDialogMemory).
class CFileDialog {
  public:
    CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                LPCTSTR lpszFilter = nullptr, CWnd* pParentWnd = nullptr);

    // IDOK when the user chose a file, IDCANCEL otherwise.
    int DoModal();
    // The chosen file's full path; empty before a DoModal that returned IDOK.
    CString GetPathName() const { return m_strPathName; }

    OPENFILENAME m_ofn;

  private:
    FileDialogRequest Request() const;

    BOOL m_bOpenFileDialog;
    CString m_strDefExt;
    CString m_strFileName;
    CString m_strFilter;
    CWnd* m_pParentWnd;
    CString m_strPathName;
};
