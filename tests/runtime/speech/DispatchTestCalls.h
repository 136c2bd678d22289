#pragma once

#include "platform/ole/COleVariant.h"

#include <string>
#include <vector>

// The outcome of one dispatch call made by a test.
struct CallResult {
    HRESULT hr = S_OK;
    COleVariant value;
    std::u16string error;
};

inline CallResult Call(IDispatch* object, DISPID dispId, WORD kind,
                       const std::vector<COleVariant>& arguments = {}) {
    CallResult result;
    EXCEPINFO excepInfo;
    result.hr = object->Invoke(dispId, kind, arguments, &result.value, &excepInfo);
    result.error = excepInfo.bstrDescription;
    return result;
}

inline COleVariant Text(const char16_t* text) {
    return COleVariant::FromString(text);
}
