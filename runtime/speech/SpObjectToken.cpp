#include "runtime/speech/SpObjectToken.h"

#include "platform/ole/COleVariant.h"
#include "platform/text/AnsiCodePage.h"
#include "runtime/speech/DispatchCall.h"

LPDISPATCH SpObjectToken::Create(VoiceInfo voice) {
    // The object deletes itself when its last reference is released.
    return new SpObjectToken(std::move(voice));
}

HRESULT SpObjectToken::Invoke(DISPID dispIdMember, WORD wFlags, std::span<const COleVariant> args,
                              COleVariant* pVarResult, EXCEPINFO* pExcepInfo) {
    if (dispIdMember != kGetDescription || !DispatchCall::IsKind(wFlags, DISPATCH_METHOD))
        return DispatchCall::NoSuchMember(pExcepInfo, u"The voice token", dispIdMember, wFlags);
    if (!DispatchCall::HasArguments(args, {VT_I4}))
        return DispatchCall::WrongArguments(pExcepInfo, u"GetDescription", u"a locale number");
    // Descriptions are the same in every locale.
    DispatchCall::SetResult(pVarResult,
                            COleVariant::FromString(AnsiCodePage::ToWide(m_voice.description)));
    return S_OK;
}
