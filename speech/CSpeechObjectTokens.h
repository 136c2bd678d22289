#pragma once

#include "platform/ole/COleDispatchDriver.h"

// The collection of installed voices, in the same order on every call.
class CSpeechObjectTokens : public COleDispatchDriver {
  public:
    using COleDispatchDriver::COleDispatchDriver;
    using COleDispatchDriver::operator=;

    LONG GetCount();
    // Returns the token at the zero-based index with one reference for the caller.
    LPDISPATCH Item(LONG index);
};
