#include "platform/ole/COleAutomationTarget.h"

#include "platform/ole/StandardIids.h"

DWORD COleAutomationTarget::ExternalAddRef() {
    return ++m_dwRef;
}

DWORD COleAutomationTarget::ExternalRelease() {
    if (m_dwRef == 0)
        return 0;
    const DWORD left = --m_dwRef;
    // Nothing of the object may be touched after OnFinalRelease, which usually deletes it.
    if (left == 0)
        OnFinalRelease();
    return left;
}

HRESULT COleAutomationTarget::ExternalQueryInterface(REFIID iid) {
    if (!HasInterface(iid))
        return E_NOINTERFACE;
    ExternalAddRef();
    return S_OK;
}

BOOL COleAutomationTarget::HasInterface(REFIID iid) const {
    if (iid == IID_IUnknown)
        return TRUE;
    // Without automation the object has no dispatch interface, so nothing that the
    // dispatch interface serves is there either.
    if (!m_bAutomation)
        return FALSE;
    if (iid == IID_IDispatch)
        return TRUE;
    for (const AFX_INTERFACEMAP* map = GetInterfaceMap(); map != nullptr; map = map->pBaseMap) {
        for (const AFX_INTERFACEMAP_ENTRY& entry : map->entries) {
            if (*entry.piid == iid)
                return TRUE;
        }
    }
    return FALSE;
}

void COleAutomationTarget::OnFinalRelease() {
    delete this;
}
