#include "platform/ole/COleObjectFactory.h"

#include "platform/ole/ClassFactoryServer.h"
#include "platform/ole/DBusActivationFile.h"

#include <algorithm>
#include <vector>

namespace {

// The process's factories in the order they were constructed. A function-local static is
// built before the first factory enters it, so it outlives every static factory.
std::vector<COleObjectFactory*>& Factories() {
    static std::vector<COleObjectFactory*> factories;
    return factories;
}

} // namespace

COleObjectFactory::COleObjectFactory(REFCLSID clsid, const CRuntimeClass* pRuntimeClass,
                                     BOOL bMultiInstance, const char* lpszProgID)
    : m_clsid(clsid), m_pRuntimeClass(pRuntimeClass), m_bMultiInstance(bMultiInstance),
      m_strProgID(lpszProgID ? lpszProgID : "") {
    Factories().push_back(this);
}

COleObjectFactory::~COleObjectFactory() {
    std::erase(Factories(), this);
}

BOOL COleObjectFactory::RegisterAll() {
    BOOL bResult = TRUE;
    for (COleObjectFactory* factory : Factories()) {
        if (!factory->Register())
            bResult = FALSE;
    }
    return bResult;
}

void COleObjectFactory::RevokeAll() {
    for (COleObjectFactory* factory : Factories())
        factory->Revoke();
}

BOOL COleObjectFactory::UpdateRegistryAll(BOOL bRegister) {
    BOOL bResult = TRUE;
    for (COleObjectFactory* factory : Factories()) {
        if (!factory->UpdateRegistry(bRegister))
            bResult = FALSE;
    }
    return bResult;
}

BOOL COleObjectFactory::Register() {
    if (!m_pServer)
        m_pServer = ClassFactoryServer::Start(*this);
    return m_pServer ? TRUE : FALSE;
}

void COleObjectFactory::Revoke() {
    m_pServer.reset();
}

BOOL COleObjectFactory::IsRegistered() const {
    return m_pServer && m_pServer->OwnsName() ? TRUE : FALSE;
}

BOOL COleObjectFactory::UpdateRegistry(BOOL bRegister) {
    const bool done = bRegister ? DBusActivationFile::Write(m_strProgID)
                                : DBusActivationFile::Remove(m_strProgID);
    return done ? TRUE : FALSE;
}
