#pragma once

#include "platform/ole/IDispatch.h"
#include "runtime/speech/VoiceInfo.h"

#include <string>
#include <tuple>
#include <vector>

// A speech runtime for tests, registered under "SAPI.SpVoice" for as long as it exists. It
// has the voices it is given, handed out in the real runtime's own voice lists and tokens;
// its voice answers only the members the real voice has, with the argument types it insists
// on, keeps voice, rate, volume and speech queue as the real runtime would, and can be told
// to fail. Its objects delete themselves at their last release, so the sanitizer run finds
// a reference the program forgets or gives back twice. It must be declared before anything
// that holds its voice (a dialog, a driver).
class FakeSpeechRuntime {
  public:
    // A text handed to Speak, with the voice settings in force at that moment.
    struct Utterance {
        std::string text;  // UTF-8
        std::string voice; // description of the voice in use
        LONG rate = 0, volume = 0, flags = 0;
        friend bool operator==(const Utterance&, const Utterance&) = default;
    };

    // Initialises automation (as start-up would) and registers the class.
    explicit FakeSpeechRuntime(std::vector<std::string> voiceDescriptions = {"Voice A"});
    ~FakeSpeechRuntime();
    FakeSpeechRuntime(const FakeSpeechRuntime&) = delete;

    // Every later call of this member of the voice fails with message as its description.
    void FailCall(DISPID dispId, std::string message) {
        m_failures.emplace_back(dispId, std::move(message));
    }
    // Every later creation of a voice object fails, as when the runtime cannot start.
    void FailCreation() { m_failCreation = true; }
    // As if no speech runtime were installed: the ProgID is no longer known.
    void Unregister();

    // The voice, rate and volume of the voice object created last.
    LONG CurrentVoiceIndex() const { return m_currentVoice; }
    std::string CurrentVoiceDescription() const {
        return m_currentVoice < LONG(m_voices.size()) ? m_voices[m_currentVoice].description : "";
    }
    LONG Rate() const { return m_rate; }
    LONG Volume() const { return m_volume; }
    // Every non-empty text handed to Speak, in order, whether purged since or not.
    const std::vector<Utterance>& Utterances() const { return m_utterances; }
    // The texts still waiting to be spoken: a purge empties the queue.
    const std::vector<std::string>& QueuedTexts() const { return m_queue; }

  private:
    class Voice;
    HRESULT Dispatch(DISPID dispId, WORD kind, std::span<const COleVariant> args,
                     COleVariant& result, EXCEPINFO* pExcepInfo);

    std::vector<VoiceInfo> m_voices; // identified by their place in the list
    std::vector<std::tuple<DISPID, std::string>> m_failures;
    bool m_failCreation = false;
    LONG m_currentVoice = 0, m_rate = 0, m_volume = 100, m_lastStream = 0;
    std::vector<Utterance> m_utterances;
    std::vector<std::string> m_queue;
};
