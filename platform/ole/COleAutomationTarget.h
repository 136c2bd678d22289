#pragma once

#include "platform/base/CObject.h"

#include <span>

// One row of an interface table: an interface id the object answers to through its
// dispatch interface, and the name under which that interface is published on the bus.
struct AFX_INTERFACEMAP_ENTRY {
    const IID* piid;
    const char* lpszName;
};

// A class's interface table with the table of its base class to fall back to.
struct AFX_INTERFACEMAP {
    const AFX_INTERFACEMAP* pBaseMap;
    std::span<const AFX_INTERFACEMAP_ENTRY> entries;
};

// The automation part of a command target: an object that clients outside the process can
// hold. It is reference counted for those clients; when the last reference goes,
// OnFinalRelease runs, which by default deletes the object. Every object answers to
// IUnknown; once EnableAutomation has run it also answers to IDispatch and to every id of
// its interface table, all served by one dispatch interface.
//
// The framework's CCmdTarget derives from this class and adds command routing, so a class
// such as an automation proxy is a CCmdTarget exactly as the dialog code expects.
class COleAutomationTarget : public CObject {
  public:
    static constexpr CRuntimeClass classCOleAutomationTarget{"COleAutomationTarget", 0xFFFF,
                                                             nullptr, RUNTIME_CLASS(CObject)};

    const CRuntimeClass* GetRuntimeClass() const override {
        return RUNTIME_CLASS(COleAutomationTarget);
    }

    void EnableAutomation() { m_bAutomation = TRUE; }
    BOOL IsAutomationEnabled() const { return m_bAutomation; }

    // Reference counting on behalf of clients. An object starts with one reference, which
    // belongs to whoever created it.
    DWORD ExternalAddRef();
    DWORD ExternalRelease();
    // S_OK with one more reference when the object answers to `iid`, else E_NOINTERFACE.
    HRESULT ExternalQueryInterface(REFIID iid);

    // Walks the interface table and its base tables.
    BOOL HasInterface(REFIID iid) const;

    virtual void OnFinalRelease();
    virtual const AFX_INTERFACEMAP* GetInterfaceMap() const { return &interfaceMap; }

  protected:
    COleAutomationTarget() = default;

    // The empty table that every class's table falls back to in the end.
    static constexpr AFX_INTERFACEMAP interfaceMap{nullptr, {}};

  private:
    DWORD m_dwRef = 1;
    BOOL m_bAutomation = FALSE;
};
