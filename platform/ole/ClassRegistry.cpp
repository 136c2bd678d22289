#include "platform/ole/ClassRegistry.h"

#include <vector>

namespace {

struct RegisteredClass {
    std::u16string progId;
    CLSID clsid;
    ClassRegistry::CreateFunction create;
};

struct Registry {
    std::vector<RegisteredClass> classes;
    bool initialized = false;
    bool failNextInitialize = false;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

} // namespace

void ClassRegistry::Register(const std::u16string& progId, REFCLSID clsid, CreateFunction create) {
    Unregister(clsid);
    TheRegistry().classes.push_back({progId, clsid, std::move(create)});
}

void ClassRegistry::Unregister(REFCLSID clsid) {
    std::erase_if(TheRegistry().classes,
                  [&](const RegisteredClass& entry) { return entry.clsid == clsid; });
}

HRESULT ClassRegistry::FindClass(std::u16string_view progId, CLSID* pClsid) {
    for (const RegisteredClass& entry : TheRegistry().classes) {
        if (entry.progId == progId) {
            *pClsid = entry.clsid;
            return S_OK;
        }
    }
    return CO_E_CLASSSTRING;
}

HRESULT ClassRegistry::CreateInstance(REFCLSID clsid, LPDISPATCH* ppObject) {
    *ppObject = nullptr;
    if (!TheRegistry().initialized)
        return CO_E_NOTINITIALIZED;
    for (const RegisteredClass& entry : TheRegistry().classes) {
        if (entry.clsid == clsid) {
            *ppObject = entry.create();
            return *ppObject ? S_OK : E_FAIL;
        }
    }
    return REGDB_E_CLASSNOTREG;
}

BOOL ClassRegistry::Initialize() {
    Registry& registry = TheRegistry();
    if (registry.failNextInitialize) {
        registry.failNextInitialize = false;
        return FALSE;
    }
    registry.initialized = true;
    return TRUE;
}

void ClassRegistry::FailNextInitialize() {
    TheRegistry().failNextInitialize = true;
}
