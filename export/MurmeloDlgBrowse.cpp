#include "ui/CMurmeloDlg.h"

#include "platform/process/Paths.h"
#include "platform/ui/CFileDialog.h"

// Chooses the text file that input-file mode reads. The path goes into the input-file edit
// whether that edit is enabled or not; the mode itself stays as it is.
void CMurmeloDlg::OnBrowse() {
    const CString strInitialDir = GetModuleFileNameA();
    CFileDialog dlgFile(TRUE, "*.txt", nullptr, OFN_HIDEREADONLY, "txt File|*.txt", nullptr);
    dlgFile.m_ofn.lpstrInitialDir = strInitialDir;
    if (dlgFile.DoModal() != IDOK)
        return;

    const CString strPath = dlgFile.GetPathName();
    UpdateData(TRUE);
    m_strInputFile = strPath;
    UpdateData(FALSE);
}
