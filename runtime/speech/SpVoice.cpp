#include "runtime/speech/SpVoice.h"

#include "platform/ole/COleVariant.h"
#include "platform/ole/DispatchErrors.h"
#include "runtime/speech/DispatchCall.h"
#include "runtime/speech/SpObjectToken.h"
#include "runtime/speech/SpObjectTokens.h"
#include "runtime/speech/SpeechChannel.h"
#include "runtime/speech/SpeechWorker.h"

namespace {

constexpr LONG kMinRate = -10;
constexpr LONG kMaxRate = 10;
constexpr LONG kMinVolume = 0;
constexpr LONG kMaxVolume = 100;

constexpr const char16_t* kNoOutput = u"No sound output device is available.";

} // namespace

LPDISPATCH SpVoice::Create(SinkOpener openSink) {
    std::shared_ptr<SpeechWorker> worker = SpeechWorker::Acquire();
    if (!worker)
        return nullptr;
    // The object deletes itself when its last reference is released.
    return new SpVoice(std::move(worker), std::move(openSink));
}

SpVoice::SpVoice(std::shared_ptr<SpeechWorker> worker, SinkOpener openSink)
    : m_worker(std::move(worker)), m_channel(std::make_shared<SpeechChannel>(std::move(openSink))),
      m_voice(m_worker->Voices().empty() ? VoiceInfo{} : m_worker->Voices().front()) {}

SpVoice::~SpVoice() {
    // Silence this voice before letting go of the speech thread; when this was the last
    // voice, releasing the worker then ends the thread.
    m_worker->Purge(*m_channel);
    m_channel->Close();
}

HRESULT SpVoice::Invoke(DISPID dispIdMember, WORD wFlags, std::span<const COleVariant> args,
                        COleVariant* pVarResult, EXCEPINFO* pExcepInfo) {
    switch (dispIdMember) {
    case kVoice:
        return Voice(wFlags, args, pVarResult, pExcepInfo);
    case kRate:
        return Rate(wFlags, args, pVarResult, pExcepInfo);
    case kVolume:
        return Volume(wFlags, args, pVarResult, pExcepInfo);
    case kSpeak:
        if (DispatchCall::IsKind(wFlags, DISPATCH_METHOD))
            return Speak(args, pVarResult, pExcepInfo);
        break;
    case kGetVoices:
        if (DispatchCall::IsKind(wFlags, DISPATCH_METHOD))
            return GetVoices(args, pVarResult, pExcepInfo);
        break;
    default:
        break;
    }
    return DispatchCall::NoSuchMember(pExcepInfo, u"The voice", dispIdMember, wFlags);
}

HRESULT SpVoice::Voice(WORD wFlags, std::span<const COleVariant> args, COleVariant* pVarResult,
                       EXCEPINFO* pExcepInfo) {
    if (DispatchCall::IsKind(wFlags, DISPATCH_PROPERTYPUTREF)) {
        if (!DispatchCall::HasArguments(args, {VT_DISPATCH}))
            return DispatchCall::WrongArguments(pExcepInfo, u"Voice", u"a voice token");
        const auto* token = dynamic_cast<const SpObjectToken*>(args[0].pdispVal());
        if (!token) {
            return DispatchErrors::Raise(
                pExcepInfo, u"The voice can only be set to a token from this voice's list.");
        }
        m_voice = token->Voice();
        return S_OK;
    }
    if (DispatchCall::IsKind(wFlags, DISPATCH_PROPERTYGET)) {
        if (!args.empty())
            return DispatchCall::WrongArguments(pExcepInfo, u"Voice", u"no arguments");
        LPDISPATCH token = SpObjectToken::Create(m_voice);
        DispatchCall::SetResult(pVarResult, COleVariant(token));
        token->Release();
        return S_OK;
    }
    return DispatchCall::NoSuchMember(pExcepInfo, u"The voice", kVoice, wFlags);
}

HRESULT SpVoice::Rate(WORD wFlags, std::span<const COleVariant> args, COleVariant* pVarResult,
                      EXCEPINFO* pExcepInfo) {
    if (DispatchCall::IsKind(wFlags, DISPATCH_PROPERTYPUT)) {
        if (!DispatchCall::HasArguments(args, {VT_I4}))
            return DispatchCall::WrongArguments(pExcepInfo, u"Rate", u"a number");
        const LONG rate = args[0].lVal();
        if (rate < kMinRate || rate > kMaxRate)
            return DispatchErrors::Raise(pExcepInfo,
                                         u"The speaking rate must be between -10 and 10.");
        m_channel->Levels().rate = rate;
        return S_OK;
    }
    if (DispatchCall::IsKind(wFlags, DISPATCH_PROPERTYGET)) {
        if (!args.empty())
            return DispatchCall::WrongArguments(pExcepInfo, u"Rate", u"no arguments");
        DispatchCall::SetResult(pVarResult,
                                COleVariant(static_cast<LONG>(m_channel->Levels().rate)));
        return S_OK;
    }
    return DispatchCall::NoSuchMember(pExcepInfo, u"The voice", kRate, wFlags);
}

HRESULT SpVoice::Volume(WORD wFlags, std::span<const COleVariant> args, COleVariant* pVarResult,
                        EXCEPINFO* pExcepInfo) {
    if (DispatchCall::IsKind(wFlags, DISPATCH_PROPERTYPUT)) {
        if (!DispatchCall::HasArguments(args, {VT_I4}))
            return DispatchCall::WrongArguments(pExcepInfo, u"Volume", u"a number");
        const LONG volume = args[0].lVal();
        if (volume < kMinVolume || volume > kMaxVolume)
            return DispatchErrors::Raise(pExcepInfo, u"The volume must be between 0 and 100.");
        m_channel->Levels().volume = volume;
        return S_OK;
    }
    if (DispatchCall::IsKind(wFlags, DISPATCH_PROPERTYGET)) {
        if (!args.empty())
            return DispatchCall::WrongArguments(pExcepInfo, u"Volume", u"no arguments");
        DispatchCall::SetResult(pVarResult,
                                COleVariant(static_cast<LONG>(m_channel->Levels().volume)));
        return S_OK;
    }
    return DispatchCall::NoSuchMember(pExcepInfo, u"The voice", kVolume, wFlags);
}

HRESULT SpVoice::Speak(std::span<const COleVariant> args, COleVariant* pVarResult,
                       EXCEPINFO* pExcepInfo) {
    if (!DispatchCall::HasArguments(args, {VT_BSTR, VT_I4}))
        return DispatchCall::WrongArguments(pExcepInfo, u"Speak", u"a text and a number of flags");
    const LONG flags = args[1].lVal();
    const bool purge = (flags & SVSFPurgeBeforeSpeak) != 0;
    if (purge)
        m_worker->Purge(*m_channel);
    // A null text is as empty as an empty one. An empty text makes no sound, so it needs
    // no sound output: queued, it is over at once; spoken synchronously, it waits for
    // what was queued before it; with the purge flag nothing is left before it, so it
    // only silences.
    // The text is queued as the caller passed it, sharing its string, and converted for
    // the engines only piece by piece as it is spoken.
    const bool empty = args[0].bstrVal().empty();
    const bool async = (flags & SVSFlagsAsync) != 0;
    if (empty && (async || purge)) {
        DispatchCall::SetResult(pVarResult, COleVariant(m_lastStreamNumber));
        return S_OK;
    }
    if (!empty && !m_channel->EnsureOpen())
        return DispatchErrors::Raise(pExcepInfo, kNoOutput);
    std::future<void> finished =
        m_worker->Enqueue(m_channel, args[0], {m_voice.identifier}, !async);
    if (!async) {
        finished.wait();
        if (m_channel->TakeOutage())
            return DispatchErrors::Raise(pExcepInfo, kNoOutput);
    }
    DispatchCall::SetResult(pVarResult, COleVariant(++m_lastStreamNumber));
    return S_OK;
}

HRESULT SpVoice::GetVoices(std::span<const COleVariant> args, COleVariant* pVarResult,
                           EXCEPINFO* pExcepInfo) {
    if (!DispatchCall::HasArguments(args, {VT_BSTR, VT_BSTR}))
        return DispatchCall::WrongArguments(pExcepInfo, u"GetVoices", u"two attribute strings");
    // Filtering by attributes is not offered; asking for it must not look like success.
    if (!args[0].bstrVal().empty() || !args[1].bstrVal().empty()) {
        return DispatchErrors::Raise(
            pExcepInfo, u"Choosing voices by attributes is not supported; pass empty strings.");
    }
    LPDISPATCH tokens = SpObjectTokens::Create(m_worker->Voices());
    DispatchCall::SetResult(pVarResult, COleVariant(tokens));
    tokens->Release();
    return S_OK;
}
