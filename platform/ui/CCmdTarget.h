#pragma once

#include "platform/ole/COleAutomationTarget.h"
#include "platform/ui/MessageMap.h"

#include <span>

// One member of a dispatch table: a property or method clients can call by name.
struct AFX_DISPMAP_ENTRY {
    const char* lpszName;
};

// A class's dispatch table with the table of its base class to fall back to.
struct AFX_DISPMAP {
    const AFX_DISPMAP* pBaseMap;
    std::span<const AFX_DISPMAP_ENTRY> entries;
};

// The base of every object that receives commands: it owns the lookup of a message in the
// class's command table and the tables it chains to. Through its automation part, any
// command target can also be an object that clients outside the process hold.
class CCmdTarget : public COleAutomationTarget {
  public:
    static constexpr CRuntimeClass classCCmdTarget{"CCmdTarget", 0xFFFF, nullptr,
                                                   RUNTIME_CLASS(COleAutomationTarget)};

    CCmdTarget() = default;

    const CRuntimeClass* GetRuntimeClass() const override { return RUNTIME_CLASS(CCmdTarget); }

    // Each class with a table of its own returns it here; the base has none.
    virtual const AFX_MSGMAP* GetMessageMap() const { return nullptr; }
    // The members clients can call by name; the base table has none.
    virtual const AFX_DISPMAP* GetDispatchMap() const { return &dispatchMap; }

    // Runs the handler that the tables name for the message; FALSE when no row matches.
    BOOL OnCmdMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  protected:
    static constexpr AFX_DISPMAP dispatchMap{nullptr, {}};
};
