#pragma once

#include "platform/ole/COleVariant.h"
#include "platform/ole/DispatchObject.h"
#include "runtime/speech/AudioOutput.h"
#include "runtime/speech/VoiceInfo.h"

#include <memory>

class SpeechChannel;
class SpeechWorker;

// The voice object behind "SAPI.SpVoice": it speaks text with a chosen voice, rate and
// volume, queued or at once, and can be silenced. Calls come from one thread at a time;
// the sound is made on the runtime's speech thread.
class SpVoice final : public DispatchObject {
  public:
    static constexpr DISPID kVoice = 2;
    static constexpr DISPID kRate = 5;
    static constexpr DISPID kVolume = 6;
    static constexpr DISPID kSpeak = 12;
    static constexpr DISPID kGetVoices = 17;

    static constexpr LONG SVSFlagsAsync = 1;
    static constexpr LONG SVSFPurgeBeforeSpeak = 2;

    // Returns a new voice with one reference for the caller, speaking to the output the
    // opener gives at its first Speak; null when the speech engine cannot start.
    static LPDISPATCH Create(SinkOpener openSink);

    HRESULT Invoke(DISPID dispIdMember, WORD wFlags, std::span<const COleVariant> args,
                   COleVariant* pVarResult, EXCEPINFO* pExcepInfo) override;

  private:
    SpVoice(std::shared_ptr<SpeechWorker> worker, SinkOpener openSink);
    ~SpVoice() override;

    HRESULT Voice(WORD wFlags, std::span<const COleVariant> args, COleVariant* pVarResult,
                  EXCEPINFO* pExcepInfo);
    HRESULT Rate(WORD wFlags, std::span<const COleVariant> args, COleVariant* pVarResult,
                 EXCEPINFO* pExcepInfo);
    HRESULT Volume(WORD wFlags, std::span<const COleVariant> args, COleVariant* pVarResult,
                   EXCEPINFO* pExcepInfo);
    HRESULT Speak(std::span<const COleVariant> args, COleVariant* pVarResult,
                  EXCEPINFO* pExcepInfo);
    HRESULT GetVoices(std::span<const COleVariant> args, COleVariant* pVarResult,
                      EXCEPINFO* pExcepInfo);

    std::shared_ptr<SpeechWorker> m_worker;
    std::shared_ptr<SpeechChannel> m_channel;
    VoiceInfo m_voice;
    // Speak answers with the number of the utterance it queued, counted from 1.
    LONG m_lastStreamNumber = 0;
};
