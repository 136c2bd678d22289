#include "export/EnumConverterWindowsProc.h"

#include "platform/ui/AfxMessageBox.h"

#include <set>
#include <string>

namespace {

constexpr const char* kMainWindowTitleNotice = "进程主窗体标题";

// Follows the owners of hWnd to the top. A chain of owners that runs in a circle (a broken
// program can set that up) ends where it would repeat.
HWND OutermostOwner(HWND hWnd) {
    std::set<std::uint32_t> seen{hWnd.Id()};
    for (HWND parent = GetParent(hWnd); parent && seen.insert(parent.Id()).second;
         parent = GetParent(hWnd))
        hWnd = parent;
    return hWnd;
}

} // namespace

BOOL EnumConverterWindowsProc(HWND hWnd, LPARAM lParam) {
    DWORD processId = 0;
    GetWindowThreadProcessId(hWnd, &processId);
    if (processId == 0 || processId != static_cast<DWORD>(lParam))
        return TRUE;
    const std::string title = GetWindowTextA(OutermostOwner(hWnd));
    AfxMessageBox((std::string(kMainWindowTitleNotice) + "\n" + title).c_str(), MB_OK);
    return FALSE;
}
