#include "tests/support/FakeSpeechRuntime.h"

#include "platform/ole/AfxOle.h"
#include "platform/ole/COleVariant.h"
#include "platform/ole/DispatchErrors.h"
#include "platform/ole/DispatchObject.h"
#include "platform/text/AnsiCodePage.h"
#include "runtime/speech/SpObjectToken.h"
#include "runtime/speech/SpObjectTokens.h"
#include "speech/SpeechFlags.h"

#include <algorithm>
#include <utility>

namespace {

constexpr CLSID kClassId = {
    0x5E1A7C03, 0x2B44, 0x4D6F, {0x9A, 0x31, 0x7C, 0x0E, 0x52, 0xD8, 0x16, 0xB4}};

constexpr WORD kGet = DISPATCH_PROPERTYGET, kPut = DISPATCH_PROPERTYPUT, kCall = DISPATCH_METHOD;

// The voice's members as the real runtime exposes them, with the argument types it insists on.
const struct Member {
    DISPID dispId;
    WORD kind;
    std::vector<VARTYPE> types;
} kMembers[] = {
    {2, DISPATCH_PROPERTYPUTREF, {VT_DISPATCH}},
    {5, kGet, {}},
    {5, kPut, {VT_I4}},
    {6, kGet, {}},
    {6, kPut, {VT_I4}},
    {12, kCall, {VT_BSTR, VT_I4}},
    {17, kCall, {VT_BSTR, VT_BSTR}},
};

HRESULT Refuse(EXCEPINFO* pExcepInfo, std::string_view message) {
    return DispatchErrors::Raise(pExcepInfo, AnsiCodePage::ToWide(message));
}

} // namespace

class FakeSpeechRuntime::Voice final : public DispatchObject {
  public:
    explicit Voice(FakeSpeechRuntime& runtime) : m_runtime(runtime) {}

    HRESULT Invoke(DISPID dispId, WORD flags, std::span<const COleVariant> args,
                   COleVariant* pVarResult, EXCEPINFO* pExcepInfo) override {
        COleVariant result;
        const HRESULT hr = m_runtime.Dispatch(dispId, flags, args, result, pExcepInfo);
        if (SUCCEEDED(hr) && pVarResult)
            *pVarResult = std::move(result);
        return hr;
    }

  private:
    FakeSpeechRuntime& m_runtime;
};

FakeSpeechRuntime::FakeSpeechRuntime(std::vector<std::string> voiceDescriptions) {
    for (std::string& description : voiceDescriptions)
        m_voices.push_back({std::to_string(m_voices.size()), std::move(description), {}});
    AfxOleInit();
    ClassRegistry::Register(u"SAPI.SpVoice", kClassId, [this]() -> LPDISPATCH {
        // A new voice starts with the default voice and the user's default rate and volume.
        m_currentVoice = m_rate = 0;
        m_volume = 100;
        return m_failCreation ? nullptr : new Voice(*this);
    });
}

FakeSpeechRuntime::~FakeSpeechRuntime() {
    Unregister();
}

void FakeSpeechRuntime::Unregister() {
    ClassRegistry::Unregister(kClassId);
}

HRESULT FakeSpeechRuntime::Dispatch(DISPID dispId, WORD kind, std::span<const COleVariant> args,
                                    COleVariant& result, EXCEPINFO* pExcepInfo) {
    const auto member = std::ranges::find_if(
        kMembers, [&](const Member& m) { return m.dispId == dispId && m.kind == kind; });
    if (member == std::end(kMembers))
        return DISP_E_MEMBERNOTFOUND;
    if (!std::ranges::equal(args, member->types, [](auto& a, VARTYPE t) { return a.vt() == t; }))
        return DISP_E_TYPEMISMATCH;
    for (const auto& [failedId, message] : m_failures) {
        if (failedId == dispId)
            return Refuse(pExcepInfo, message);
    }
    const LONG number = args.empty() ? 0 : args.back().lVal();
    if (dispId == 2) {
        const auto* token = dynamic_cast<const SpObjectToken*>(args[0].pdispVal());
        if (!token)
            return Refuse(pExcepInfo, "The voice is not a voice token of this speech runtime.");
        m_currentVoice = std::stol(token->Voice().identifier);
        return S_OK;
    }
    if (dispId == 5 || dispId == 6) {
        LONG& value = dispId == 5 ? m_rate : m_volume;
        if (kind == kGet)
            return result = COleVariant(value), S_OK;
        if (dispId == 5 ? number < -10 || number > 10 : number < 0 || number > 100)
            return Refuse(pExcepInfo, "The value lies outside its range.");
        return value = number, S_OK;
    }
    if (dispId == 17) { // the attribute filters are not applied, every voice matches
        LPDISPATCH voices = SpObjectTokens::Create(m_voices);
        result = COleVariant(voices);
        return voices->Release(), S_OK;
    }
    // Speak (12). Nothing is played: a queued text stays queued until a purge.
    const std::string text = AnsiCodePage::FromWide(args[0].bstrVal()).str();
    if (number & SVSFPurgeBeforeSpeak)
        m_queue.clear();
    if (!text.empty()) {
        m_utterances.push_back({text, CurrentVoiceDescription(), m_rate, m_volume, number});
        m_queue.push_back(text);
    }
    return result = COleVariant(++m_lastStream), S_OK;
}
