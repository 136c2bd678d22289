#include "runtime/speech/SpObjectTokens.h"

#include "platform/ole/COleVariant.h"
#include "platform/ole/DispatchErrors.h"
#include "runtime/speech/DispatchCall.h"
#include "runtime/speech/SpObjectToken.h"

LPDISPATCH SpObjectTokens::Create(std::vector<VoiceInfo> voices) {
    // The object deletes itself when its last reference is released.
    return new SpObjectTokens(std::move(voices));
}

HRESULT SpObjectTokens::Invoke(DISPID dispIdMember, WORD wFlags, std::span<const COleVariant> args,
                               COleVariant* pVarResult, EXCEPINFO* pExcepInfo) {
    if (dispIdMember == kCount && DispatchCall::IsKind(wFlags, DISPATCH_PROPERTYGET)) {
        if (!args.empty())
            return DispatchCall::WrongArguments(pExcepInfo, u"Count", u"no arguments");
        DispatchCall::SetResult(pVarResult, COleVariant(static_cast<LONG>(m_voices.size())));
        return S_OK;
    }
    if (dispIdMember == kItem && DispatchCall::IsKind(wFlags, DISPATCH_METHOD))
        return Item(args, pVarResult, pExcepInfo);
    return DispatchCall::NoSuchMember(pExcepInfo, u"The voice list", dispIdMember, wFlags);
}

HRESULT SpObjectTokens::Item(std::span<const COleVariant> args, COleVariant* pVarResult,
                             EXCEPINFO* pExcepInfo) {
    if (!DispatchCall::HasArguments(args, {VT_I4}))
        return DispatchCall::WrongArguments(pExcepInfo, u"Item", u"a voice index");
    const LONG index = args[0].lVal();
    if (index < 0 || static_cast<std::size_t>(index) >= m_voices.size()) {
        return DispatchErrors::Raise(
            pExcepInfo, u"There is no voice number " + DispatchCall::Number(index) +
                            u"; the voice list holds " + DispatchCall::Number(m_voices.size()) +
                            u" voices, numbered from 0.");
    }
    LPDISPATCH token = SpObjectToken::Create(m_voices[static_cast<std::size_t>(index)]);
    DispatchCall::SetResult(pVarResult, COleVariant(token));
    token->Release();
    return S_OK;
}
