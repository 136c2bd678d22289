#include "speech/CSpeechObjectTokens.h"

LONG CSpeechObjectTokens::GetCount() {
    return InvokeHelper(1, DISPATCH_PROPERTYGET, VT_I4).lVal();
}

LPDISPATCH CSpeechObjectTokens::Item(LONG index) {
    return InvokeHelper(0, DISPATCH_METHOD, VT_DISPATCH, {COleVariant(index)}).DetachDispatch();
}
