#include "platform/ui/MessageMap.h"

BOOL AFX_MSGMAP::Dispatch(CCmdTarget& target, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT& result) const {
    for (const AFX_MSGMAP* map = this; map; map = map->m_pBaseMap) {
        if (map->DispatchOwn(target, message, wParam, lParam, result))
            return TRUE;
    }
    return FALSE;
}
