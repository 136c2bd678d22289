#include "platform/ui/CCmdTarget.h"

BOOL CCmdTarget::OnCmdMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const AFX_MSGMAP* map = GetMessageMap();
    return map && map->Dispatch(*this, message, wParam, lParam, result);
}
