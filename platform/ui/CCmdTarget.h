#pragma once

#include "platform/ui/MessageMap.h"

// The base of every object that receives commands: it owns the lookup of a message in the
// class's command table and the tables it chains to.
class CCmdTarget {
  public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // Each class with a table of its own returns it here; the base has none.
    virtual const AFX_MSGMAP* GetMessageMap() const { return nullptr; }

    // Runs the handler that the tables name for the message; FALSE when no row matches.
    BOOL OnCmdMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
};
