#include "speech/CSpeechVoice.h"

#include "platform/text/AnsiCodePage.h"

#include <optional>

namespace {

// The runtime takes UTF-16 text; a null pointer stays distinguishable from an empty text.
COleVariant AnsiArgument(LPCTSTR text) {
    if (!text)
        return COleVariant::NullString();
    return COleVariant::FromString(AnsiCodePage::ToWide(text));
}

} // namespace

void CSpeechVoice::SetRefVoice(LPDISPATCH token) {
    InvokeHelper(2, DISPATCH_PROPERTYPUTREF, VT_EMPTY, {COleVariant(token)});
}

LONG CSpeechVoice::GetRate() {
    return InvokeHelper(5, DISPATCH_PROPERTYGET, VT_I4).lVal();
}

void CSpeechVoice::SetRate(LONG rate) {
    InvokeHelper(5, DISPATCH_PROPERTYPUT, VT_EMPTY, {COleVariant(rate)});
}

LONG CSpeechVoice::GetVolume() {
    return InvokeHelper(6, DISPATCH_PROPERTYGET, VT_I4).lVal();
}

void CSpeechVoice::SetVolume(LONG volume) {
    InvokeHelper(6, DISPATCH_PROPERTYPUT, VT_EMPTY, {COleVariant(volume)});
}

LONG CSpeechVoice::Speak(LPCTSTR text, LONG flags) {
    return SpeakArgument(AnsiArgument(text), flags);
}

LONG CSpeechVoice::Speak(const CString& text, LONG flags) {
    if (m_spokenText.Refers(text))
        if (const std::optional<COleVariant> argument = m_spokenArgument.Lock())
            return SpeakArgument(*argument, flags);
    const COleVariant argument = AnsiArgument(text);
    m_spokenText = text.Weak();
    m_spokenArgument = argument.Weak();
    return SpeakArgument(argument, flags);
}

LONG CSpeechVoice::SpeakArgument(const COleVariant& text, LONG flags) {
    return InvokeHelper(12, DISPATCH_METHOD, VT_I4, {text, COleVariant(flags)}).lVal();
}

LPDISPATCH CSpeechVoice::GetVoices(LPCTSTR requiredAttributes, LPCTSTR optionalAttributes) {
    return InvokeHelper(17, DISPATCH_METHOD, VT_DISPATCH,
                        {AnsiArgument(requiredAttributes), AnsiArgument(optionalAttributes)})
        .DetachDispatch();
}
