#include "speech/CSpeechObjectToken.h"

#include "platform/text/AnsiCodePage.h"

CString CSpeechObjectToken::GetDescription(LONG locale) {
    return AnsiCodePage::FromWide(
        InvokeHelper(4, DISPATCH_METHOD, VT_BSTR, {COleVariant(locale)}).bstrVal());
}
