#include "tests/support/FakeSpeechRuntime.h"

#include "platform/ole/AfxOle.h"
#include "platform/ole/COleVariant.h"
#include "platform/ole/DispatchErrors.h"
#include "platform/text/AnsiCodePage.h"
#include "speech/SpeechFlags.h"

#include <algorithm>
#include <utility>

namespace {

constexpr CLSID kClassId = {
    0x5E1A7C03, 0x2B44, 0x4D6F, {0x9A, 0x31, 0x7C, 0x0E, 0x52, 0xD8, 0x16, 0xB4}};

using Kind = FakeSpeechRuntime::Kind;
constexpr WORD kGet = DISPATCH_PROPERTYGET, kPut = DISPATCH_PROPERTYPUT, kCall = DISPATCH_METHOD;

// The members as the real runtime exposes them, with the argument types it insists on.
const struct Member {
    Kind object;
    DISPID dispId;
    WORD kind;
    std::vector<VARTYPE> types;
} kMembers[] = {
    {Kind::Voice, 2, DISPATCH_PROPERTYPUTREF, {VT_DISPATCH}},
    {Kind::Voice, 5, kGet, {}},
    {Kind::Voice, 5, kPut, {VT_I4}},
    {Kind::Voice, 6, kGet, {}},
    {Kind::Voice, 6, kPut, {VT_I4}},
    {Kind::Voice, 12, kCall, {VT_BSTR, VT_I4}},
    {Kind::Voice, 17, kCall, {VT_BSTR, VT_BSTR}},
    {Kind::Tokens, 1, kGet, {}},
    {Kind::Tokens, 0, kCall, {VT_I4}},
    {Kind::Token, 4, kCall, {VT_I4}},
};

HRESULT Refuse(EXCEPINFO* pExcepInfo, std::string_view message) {
    return DispatchErrors::Raise(pExcepInfo, AnsiCodePage::ToWide(message));
}

} // namespace

// A voice, token collection or token. Unlike a real automation object it does not delete
// itself when its last reference goes: the runtime keeps it.
class FakeSpeechRuntime::Object final : public IDispatch {
  public:
    Object(FakeSpeechRuntime& runtime, Kind kind, LONG index)
        : runtime(runtime), kind(kind), index(index) {}

    ULONG AddRef() override { return refs == 0 ? Fault() : ++refs; }
    ULONG Release() override {
        if (refs == 0)
            return Fault();
        // A voice holds a reference to the token it speaks with, as the real runtime does.
        if (--refs == 0 && heldToken)
            std::exchange(heldToken, nullptr)->Release();
        return refs;
    }
    HRESULT Invoke(DISPID dispId, WORD flags, std::span<const COleVariant> args,
                   COleVariant* pVarResult, EXCEPINFO* pExcepInfo) override {
        COleVariant result;
        const HRESULT hr = runtime.Dispatch(*this, dispId, flags, args, result, pExcepInfo);
        if (SUCCEEDED(hr) && pVarResult)
            *pVarResult = std::move(result);
        return hr;
    }
    ULONG Fault() { return ++runtime.m_referenceFaults, 0; }

    FakeSpeechRuntime& runtime;
    const Kind kind;
    const LONG index;
    ULONG refs = 1;
    Object* heldToken = nullptr;
};

FakeSpeechRuntime::FakeSpeechRuntime(std::vector<std::string> voiceDescriptions)
    : m_descriptions(std::move(voiceDescriptions)) {
    AfxOleInit();
    ClassRegistry::Register(u"SAPI.SpVoice", kClassId, [this]() -> LPDISPATCH {
        // A new voice starts with the default voice and the user's default rate and volume.
        m_currentVoice = m_rate = 0;
        m_volume = 100;
        return m_failCreation ? nullptr : &NewObject(Kind::Voice, 0);
    });
}

FakeSpeechRuntime::~FakeSpeechRuntime() {
    Unregister();
}

void FakeSpeechRuntime::Unregister() {
    ClassRegistry::Unregister(kClassId);
}

int FakeSpeechRuntime::LiveObjects() const {
    return int(std::ranges::count_if(m_objects, [](const auto& o) { return o->refs > 0; }));
}

FakeSpeechRuntime::Object& FakeSpeechRuntime::NewObject(Kind kind, LONG index) {
    return *m_objects.emplace_back(std::make_unique<Object>(*this, kind, index));
}

HRESULT FakeSpeechRuntime::Dispatch(Object& target, DISPID dispId, WORD kind,
                                    std::span<const COleVariant> args, COleVariant& result,
                                    EXCEPINFO* pExcepInfo) {
    if (target.refs == 0) {
        target.Fault();
        return Refuse(pExcepInfo, "The speech object was used after its last release.");
    }
    const auto member = std::ranges::find_if(kMembers, [&](const Member& m) {
        return m.object == target.kind && m.dispId == dispId && m.kind == kind;
    });
    if (member == std::end(kMembers))
        return DISP_E_MEMBERNOTFOUND;
    if (args.size() != member->types.size())
        return DISP_E_BADPARAMCOUNT;
    if (!std::ranges::equal(args, member->types, [](auto& a, VARTYPE t) { return a.vt() == t; }))
        return DISP_E_TYPEMISMATCH;
    for (const auto& [object, failedId, message] : m_failures) {
        if (object == target.kind && failedId == dispId)
            return Refuse(pExcepInfo, message);
    }
    const auto give = [&](COleVariant value) { return result = std::move(value), S_OK; };
    // A new object goes to the caller with the one reference it was created with.
    const auto handOver = [&](Object& created) {
        give(COleVariant(&created));
        return created.Release(), S_OK;
    };
    const LONG number = args.empty() ? 0 : args.back().lVal();
    const LONG voices = static_cast<LONG>(m_descriptions.size());
    if (target.kind == Kind::Token)
        return give(COleVariant::FromString(AnsiCodePage::ToWide(m_descriptions[target.index])));
    if (target.kind == Kind::Tokens && dispId == 1)
        return give(COleVariant(voices));
    // Every Item call gives a new token, as the real runtime does, so that a test sees each
    // reference the program forgets to release.
    if (target.kind == Kind::Tokens)
        return number < 0 || number >= voices ? DISP_E_BADINDEX
                                              : handOver(NewObject(Kind::Token, number));
    if (dispId == 2) {
        const auto token = std::ranges::find_if(
            m_objects, [&](const auto& o) { return o.get() == args[0].pdispVal(); });
        if (token == m_objects.end() || (*token)->kind != Kind::Token || (*token)->refs == 0)
            return Refuse(pExcepInfo, "The voice is not a voice token of this speech runtime.");
        (*token)->AddRef();
        if (Object* previous = std::exchange(target.heldToken, token->get()))
            previous->Release();
        m_currentVoice = (*token)->index;
        return S_OK;
    }
    if (dispId == 5 || dispId == 6) {
        LONG& value = dispId == 5 ? m_rate : m_volume;
        if (kind == kGet)
            return give(COleVariant(value));
        if (dispId == 5 ? number < -10 || number > 10 : number < 0 || number > 100)
            return Refuse(pExcepInfo, "The value lies outside its range.");
        return value = number, S_OK;
    }
    if (dispId == 17) // the attribute filters are not applied, every voice matches
        return handOver(NewObject(Kind::Tokens, 0));
    // Speak (12). Nothing is played: a queued text stays queued until a purge.
    const std::string text = AnsiCodePage::FromWide(args[0].bstrVal()).str();
    if (number & SVSFPurgeBeforeSpeak)
        m_queue.clear();
    if (!text.empty()) {
        m_utterances.push_back({text, CurrentVoiceDescription(), m_rate, m_volume, number});
        m_queue.push_back(text);
    }
    return give(COleVariant(++m_lastStream));
}
