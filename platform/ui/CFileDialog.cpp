#include "platform/ui/CFileDialog.h"

#include "platform/ui/FileDialogMemory.h"
#include "platform/ui/ModalPrompts.h"
#include "platform/ui/WinUser.h"

#include <algorithm>

namespace {

bool IsPattern(const std::string& name) {
    return name.find_first_of("*?") != std::string::npos;
}

// "*.txt", ".txt" and "txt" all name the extension "txt".
std::string BareExtension(std::string extension) {
    const std::size_t dot = extension.find_last_of('.');
    if (dot != std::string::npos)
        extension.erase(0, dot + 1);
    return extension;
}

} // namespace

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName,
                         DWORD dwFlags, LPCTSTR lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog), m_strDefExt(lpszDefExt ? lpszDefExt : ""),
      m_strFileName(lpszFileName ? lpszFileName : ""), m_strFilter(lpszFilter ? lpszFilter : ""),
      m_pParentWnd(pParentWnd) {
    m_ofn.Flags = dwFlags;
}

FileDialogRequest CFileDialog::Request() const {
    FileDialogRequest request;
    request.mode = m_bOpenFileDialog ? FileDialogMode::Open : FileDialogMode::Save;
    request.title = m_ofn.lpstrTitle ? m_ofn.lpstrTitle : m_bOpenFileDialog ? "Open" : "Save As";
    request.defaultExtension = BareExtension(m_strDefExt.str());
    request.filters = ParseFileFilter(m_strFilter);
    request.initialDir = m_ofn.lpstrInitialDir ? m_ofn.lpstrInitialDir : "";
    request.flags = m_ofn.Flags;
    const std::string& name = m_strFileName.str();
    if (!IsPattern(name)) {
        request.fileName = name;
        return request;
    }
    // An initial name with a wildcard chooses the filter the dialog starts with: the entry
    // that has that pattern, or a new entry of its own.
    auto matches = [&](const FileFilter& filter) {
        return std::find(filter.patterns.begin(), filter.patterns.end(), name) !=
               filter.patterns.end();
    };
    auto found = std::find_if(request.filters.begin(), request.filters.end(), matches);
    if (found == request.filters.end())
        found = request.filters.insert(request.filters.begin(), FileFilter{name, {name}});
    request.selectedFilter = static_cast<std::size_t>(found - request.filters.begin());
    return request;
}

int CFileDialog::DoModal() {
    FileDialogRequest request = Request();
    if (auto folder = FileDialogMemory::LastFolder(request.mode))
        request.initialDir = *folder;
    std::optional<std::string> path = ModalPrompts::Current().FileDialog(m_pParentWnd, request);
    if (!path)
        return IDCANCEL;
    FileDialogMemory::Remember(request.mode, *path);
    m_strPathName = *path;
    return IDOK;
}
