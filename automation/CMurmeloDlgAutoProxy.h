#pragma once

#include "platform/ole/COleObjectFactory.h"
#include "platform/ui/CCmdTarget.h"

#include <array>

class CMurmeloDlg;

// The id of the proxy's own interface, which clients may ask for instead of IDispatch.
inline constexpr IID IID_IMurmelo{
    0x3E8A51C7, 0x0B2D, 0x4F6A, {0x9C, 0x41, 0x7D, 0x52, 0xE0, 0x18, 0xA6, 0x3B}};

// The automation object "Murmelo.Application". It has no properties and no methods: while a
// client holds it, the application stays alive and closing the main dialog only hides it;
// when the client lets go, the application ends. The proxy and the dialog point at each
// other, and whichever goes first clears the other's pointer.
class CMurmeloDlgAutoProxy : public CCmdTarget {
  public:
    static constexpr CRuntimeClass classCMurmeloDlgAutoProxy{
        "CMurmeloDlgAutoProxy", 0xFFFF, &CRuntimeClass::Construct<CMurmeloDlgAutoProxy>,
        RUNTIME_CLASS(CCmdTarget)};

    CMurmeloDlgAutoProxy();
    ~CMurmeloDlgAutoProxy() override;

    const CRuntimeClass* GetRuntimeClass() const override {
        return RUNTIME_CLASS(CMurmeloDlgAutoProxy);
    }

    CMurmeloDlg* m_pDialog;

    // The class id under which the factory publishes the proxy.
    static constexpr CLSID guid{
        0x3E8A51C6, 0x0B2D, 0x4F6A, {0x9C, 0x41, 0x7D, 0x52, 0xE0, 0x18, 0xA6, 0x3B}};
    static COleObjectFactory factory;

    // Deletes the proxy once its client has let go.
    void OnFinalRelease() override;
    // The proxy has no command table of its own (commands fall through to CCmdTarget's),
    // an empty dispatch table and one interface of its own besides IDispatch.
    const AFX_DISPMAP* GetDispatchMap() const override { return &dispatchMap; }
    const AFX_INTERFACEMAP* GetInterfaceMap() const override { return &interfaceMap; }

  protected:
    static constexpr AFX_DISPMAP dispatchMap{&CCmdTarget::dispatchMap, {}};
    static constexpr std::array<AFX_INTERFACEMAP_ENTRY, 1> interfaceEntries{
        {{&IID_IMurmelo, "Murmelo.IMurmelo"}}};
    static constexpr AFX_INTERFACEMAP interfaceMap{&CCmdTarget::interfaceMap, interfaceEntries};
};
