#pragma once

#include "tests/support/FakeSpeechCall.h"
#include "tests/support/FakeUtterance.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class FakeSpeechState;

// A speech runtime for tests, registered under "SAPI.SpVoice" for as long as it exists. It
// has the voices it is given, keeps the voice, rate, volume and speech queue as the real
// runtime would, records every dispatch call and can be told to fail. Its objects stay in
// memory until the runtime is destroyed, so a test can count references, and so it must be
// declared before anything that holds its objects (a dialog, a driver).
//
//     FakeSpeechRuntime runtime({"Voice A", "Voice B"});
//     runtime.FailCall("Tokens method 0(5)");  // Item(5) throws
//     ... run the dialog ...
//     EXPECT_EQ(runtime.CurrentVoiceDescription(), "Voice B");
//     EXPECT_EQ(runtime.SpokenTexts(), std::vector<std::string>{"Apple"});
//     EXPECT_EQ(runtime.LiveObjects(), 0);
class FakeSpeechRuntime {
  public:
    static constexpr CLSID kClassId = {
        0x5E1A7C03, 0x2B44, 0x4D6F, {0x9A, 0x31, 0x7C, 0x0E, 0x52, 0xD8, 0x16, 0xB4}};

    // Initialises automation (as start-up would) and registers the class.
    explicit FakeSpeechRuntime(std::vector<std::string> voiceDescriptions = {"Voice A"});
    ~FakeSpeechRuntime();
    FakeSpeechRuntime(const FakeSpeechRuntime&) = delete;
    FakeSpeechRuntime& operator=(const FakeSpeechRuntime&) = delete;

    // Makes a call fail with message as the object's description. The call is written as
    // Describe() writes it: with arguments (`Tokens method 0(5)`) it fails only for those,
    // without (`Voice method 12`) for any.
    void FailCall(std::string call,
                  std::string message = "The speech runtime could not carry out the call.");
    // Every later creation of a voice object fails, as when the runtime cannot start.
    void FailCreation();
    // As if no speech runtime were installed: the ProgID is no longer known.
    void Unregister();

    const std::vector<FakeSpeechCall>& Calls() const;
    // Describe() of every call, in order.
    std::vector<std::string> CallLog() const;
    void ClearCalls();

    int VoicesCreated() const;
    // The voice, rate and volume of the voice object created last.
    LONG CurrentVoiceIndex() const;
    std::string CurrentVoiceDescription() const;
    LONG Rate() const;
    LONG Volume() const;
    // Every non-empty text handed to Speak, in order, whether purged since or not.
    const std::vector<FakeUtterance>& Utterances() const;
    std::vector<std::string> SpokenTexts() const;
    // The texts still waiting to be spoken: a purge empties the queue.
    const std::vector<std::string>& QueuedTexts() const;

    // Objects that still have references, all of them or those of one name ("Voice",
    // "Tokens", "Token 2").
    int LiveObjects() const;
    int LiveObjects(std::string_view name) const;
    // References held on the live objects of one name, summed.
    ULONG References(std::string_view name) const;
    // Releases after the last one, and calls or new references on a released object.
    int ReferenceFaults() const;

  private:
    std::unique_ptr<FakeSpeechState> m_state;
};
