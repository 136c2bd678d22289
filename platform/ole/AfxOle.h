#pragma once

#include "platform/ole/ClassRegistry.h"

// The names the dialog code calls the automation layer by.
inline BOOL AfxOleInit() {
    return ClassRegistry::Initialize();
}

inline HRESULT CLSIDFromProgID(const char16_t* lpszProgID, CLSID* lpclsid) {
    return ClassRegistry::FindClass(lpszProgID ? lpszProgID : u"", lpclsid);
}
