#include "tests/support/FakeSpeechState.h"

#include "platform/ole/COleVariant.h"
#include "platform/ole/DispatchErrors.h"
#include "platform/text/AnsiCodePage.h"
#include "speech/SpeechFlags.h"

#include <algorithm>
#include <array>

namespace {

using Kind = FakeSpeechObject::Kind;

struct Member {
    Kind object;
    DISPID dispId;
    WORD kind;
    std::array<VARTYPE, 2> argumentTypes;
    std::size_t argumentCount;
    FakeSpeechState::Handler handler;
};

// The members as the real runtime exposes them, with the argument types it insists on.
const Member kMembers[] = {
    {Kind::Voice, 2, DISPATCH_PROPERTYPUTREF, {VT_DISPATCH}, 1, &FakeSpeechState::PutRefVoice},
    {Kind::Voice, 5, DISPATCH_PROPERTYGET, {}, 0, &FakeSpeechState::GetRate},
    {Kind::Voice, 5, DISPATCH_PROPERTYPUT, {VT_I4}, 1, &FakeSpeechState::PutRate},
    {Kind::Voice, 6, DISPATCH_PROPERTYGET, {}, 0, &FakeSpeechState::GetVolume},
    {Kind::Voice, 6, DISPATCH_PROPERTYPUT, {VT_I4}, 1, &FakeSpeechState::PutVolume},
    {Kind::Voice, 12, DISPATCH_METHOD, {VT_BSTR, VT_I4}, 2, &FakeSpeechState::Speak},
    {Kind::Voice, 17, DISPATCH_METHOD, {VT_BSTR, VT_BSTR}, 2, &FakeSpeechState::GetVoices},
    {Kind::Tokens, 1, DISPATCH_PROPERTYGET, {}, 0, &FakeSpeechState::GetCount},
    {Kind::Tokens, 0, DISPATCH_METHOD, {VT_I4}, 1, &FakeSpeechState::Item},
    {Kind::Token, 4, DISPATCH_METHOD, {VT_I4}, 1, &FakeSpeechState::GetDescription},
};

HRESULT Refuse(EXCEPINFO* pExcepInfo, std::string_view message) {
    return DispatchErrors::Raise(pExcepInfo, AnsiCodePage::ToWide(message));
}

// A new object goes to the caller with the one reference it was created with.
COleVariant HandOver(FakeSpeechObject& created) {
    COleVariant result(&created);
    created.Release();
    return result;
}

} // namespace

FakeSpeechState::FakeSpeechState(std::vector<std::string> voiceDescriptions)
    : descriptions(std::move(voiceDescriptions)) {}

LPDISPATCH FakeSpeechState::CreateVoice() {
    if (failCreation)
        return nullptr;
    ++voicesCreated;
    // A new voice starts with the default voice and the user's default rate and volume.
    currentVoice = 0;
    rate = 0;
    volume = 100;
    return &NewObject(Kind::Voice, 0);
}

HRESULT FakeSpeechState::Dispatch(FakeSpeechObject& target, DISPID dispId, WORD kind,
                                  std::span<const COleVariant> args, COleVariant* pVarResult,
                                  EXCEPINFO* pExcepInfo) {
    FakeSpeechCall call{target.Name(), dispId, kind, {}};
    for (const COleVariant& arg : args)
        call.arguments.push_back(Readable(arg));
    calls.push_back(call);

    if (!target.IsAlive()) {
        CountReferenceFault();
        return Refuse(pExcepInfo, "The speech object was used after its last release.");
    }
    const auto member = std::ranges::find_if(kMembers, [&](const Member& m) {
        return m.object == target.GetKind() && m.dispId == dispId && m.kind == kind;
    });
    if (member == std::end(kMembers))
        return DISP_E_MEMBERNOTFOUND;
    if (args.size() != member->argumentCount)
        return DISP_E_BADPARAMCOUNT;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i].vt() != member->argumentTypes[i])
            return DISP_E_TYPEMISMATCH;
    }
    if (const Failure* failure = FailureFor(call))
        return Refuse(pExcepInfo, failure->message);

    COleVariant result;
    const HRESULT hr = (this->*member->handler)(target, args, result, pExcepInfo);
    if (SUCCEEDED(hr) && pVarResult)
        *pVarResult = std::move(result);
    return hr;
}

HRESULT FakeSpeechState::PutRefVoice(FakeSpeechObject& voice, std::span<const COleVariant> args,
                                     COleVariant&, EXCEPINFO* pExcepInfo) {
    FakeSpeechObject* token = FindObject(args[0].pdispVal());
    if (!token || token->GetKind() != Kind::Token || !token->IsAlive())
        return Refuse(pExcepInfo, "The voice is not a voice token of this speech runtime.");
    voice.HoldToken(token);
    currentVoice = token->Index();
    return S_OK;
}

HRESULT FakeSpeechState::GetRate(FakeSpeechObject&, std::span<const COleVariant>,
                                 COleVariant& result, EXCEPINFO*) {
    result = COleVariant(rate);
    return S_OK;
}

HRESULT FakeSpeechState::PutRate(FakeSpeechObject&, std::span<const COleVariant> args, COleVariant&,
                                 EXCEPINFO* pExcepInfo) {
    if (args[0].lVal() < -10 || args[0].lVal() > 10)
        return Refuse(pExcepInfo, "The rate must lie between -10 and 10.");
    rate = args[0].lVal();
    return S_OK;
}

HRESULT FakeSpeechState::GetVolume(FakeSpeechObject&, std::span<const COleVariant>,
                                   COleVariant& result, EXCEPINFO*) {
    result = COleVariant(volume);
    return S_OK;
}

HRESULT FakeSpeechState::PutVolume(FakeSpeechObject&, std::span<const COleVariant> args,
                                   COleVariant&, EXCEPINFO* pExcepInfo) {
    if (args[0].lVal() < 0 || args[0].lVal() > 100)
        return Refuse(pExcepInfo, "The volume must lie between 0 and 100.");
    volume = args[0].lVal();
    return S_OK;
}

// Nothing is played: a queued text stays queued until a purge, which is all a test can
// observe of a real runtime's asynchronous speech anyway.
HRESULT FakeSpeechState::Speak(FakeSpeechObject&, std::span<const COleVariant> args,
                               COleVariant& result, EXCEPINFO*) {
    const std::string text = AnsiCodePage::FromWide(args[0].bstrVal()).str();
    const LONG flags = args[1].lVal();
    if (flags & SVSFPurgeBeforeSpeak)
        queue.clear();
    if (!text.empty()) {
        utterances.push_back({text, CurrentVoiceDescription(), rate, volume, flags});
        queue.push_back(text);
    }
    result = COleVariant(++lastStream);
    return S_OK;
}

// The attribute filters are recorded but not applied: every voice matches.
HRESULT FakeSpeechState::GetVoices(FakeSpeechObject&, std::span<const COleVariant>,
                                   COleVariant& result, EXCEPINFO*) {
    result = HandOver(NewObject(Kind::Tokens, 0));
    return S_OK;
}

HRESULT FakeSpeechState::GetCount(FakeSpeechObject&, std::span<const COleVariant>,
                                  COleVariant& result, EXCEPINFO*) {
    result = COleVariant(static_cast<LONG>(descriptions.size()));
    return S_OK;
}

// Every call gives a new token object, as the real runtime does, so a test sees each
// reference the program forgets to release.
HRESULT FakeSpeechState::Item(FakeSpeechObject&, std::span<const COleVariant> args,
                              COleVariant& result, EXCEPINFO*) {
    const LONG index = args[0].lVal();
    if (index < 0 || index >= static_cast<LONG>(descriptions.size()))
        return DISP_E_BADINDEX;
    result = HandOver(NewObject(Kind::Token, index));
    return S_OK;
}

HRESULT FakeSpeechState::GetDescription(FakeSpeechObject& token, std::span<const COleVariant>,
                                        COleVariant& result, EXCEPINFO*) {
    result = COleVariant::FromString(AnsiCodePage::ToWide(descriptions[token.Index()]));
    return S_OK;
}

std::string FakeSpeechState::CurrentVoiceDescription() const {
    if (currentVoice < 0 || currentVoice >= static_cast<LONG>(descriptions.size()))
        return {};
    return descriptions[currentVoice];
}

FakeSpeechObject& FakeSpeechState::NewObject(Kind kind, LONG index) {
    objects.push_back(std::make_unique<FakeSpeechObject>(*this, kind, index));
    return *objects.back();
}

FakeSpeechObject* FakeSpeechState::FindObject(const IDispatch* object) const {
    for (const auto& candidate : objects) {
        if (candidate.get() == object)
            return candidate.get();
    }
    return nullptr;
}

std::string FakeSpeechState::Readable(const COleVariant& value) const {
    switch (value.vt()) {
    case VT_I4:
        return std::to_string(value.lVal());
    case VT_BSTR:
        if (value.IsNullString())
            return "null";
        return '"' + AnsiCodePage::FromWide(value.bstrVal()).str() + '"';
    case VT_DISPATCH:
        if (!value.pdispVal())
            return "null object";
        if (const FakeSpeechObject* object = FindObject(value.pdispVal()))
            return object->Name();
        return "foreign object";
    default:
        return "empty";
    }
}

const FakeSpeechState::Failure* FakeSpeechState::FailureFor(const FakeSpeechCall& call) const {
    const std::string described = call.Describe();
    const std::string withoutArguments = described.substr(0, described.find('('));
    for (const Failure& failure : failures) {
        if (failure.call == described || failure.call == withoutArguments)
            return &failure;
    }
    return nullptr;
}
