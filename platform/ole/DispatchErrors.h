#pragma once

#include "platform/ole/IDispatch.h"
#include "platform/text/CString.h"

namespace DispatchErrors {

// The message a user reads for a failed call: the object's own description when it gave
// one, else a plain sentence for the error code.
CString Describe(HRESULT hr, const EXCEPINFO& excepInfo);

// Fills excepInfo for an object that refuses a call and returns DISP_E_EXCEPTION.
HRESULT Raise(EXCEPINFO* pExcepInfo, std::u16string description);

} // namespace DispatchErrors
