#pragma once

#include "tests/support/FakeSpeechCall.h"
#include "tests/support/FakeSpeechObject.h"
#include "tests/support/FakeUtterance.h"

#include <memory>
#include <string>
#include <vector>

class COleVariant;

// Everything the fake speech runtime knows: its voices, the objects it handed out, the
// voice settings, the speech queue, the call log and the failures a test asked for. The
// objects call back into it for every dispatch call.
class FakeSpeechState {
  public:
    explicit FakeSpeechState(std::vector<std::string> voiceDescriptions);

    // Creates a voice object with one reference for the caller, or null when creation is
    // made to fail.
    LPDISPATCH CreateVoice();
    HRESULT Dispatch(FakeSpeechObject& target, DISPID dispId, WORD kind,
                     std::span<const COleVariant> args, COleVariant* pVarResult,
                     EXCEPINFO* pExcepInfo);
    void CountReferenceFault() { ++referenceFaults; }

    // A call given with arguments, such as `Tokens method 0(5)`, fails only with those
    // arguments; one given without, such as `Voice method 12`, fails whatever they are.
    struct Failure {
        std::string call;
        std::string message;
    };

    std::vector<std::string> descriptions;
    std::vector<std::unique_ptr<FakeSpeechObject>> objects;
    std::vector<FakeSpeechCall> calls;
    std::vector<Failure> failures;
    bool failCreation = false;
    int voicesCreated = 0;
    int referenceFaults = 0;

    LONG currentVoice = 0;
    LONG rate = 0;
    LONG volume = 100;
    LONG lastStream = 0;
    std::vector<FakeUtterance> utterances;
    std::vector<std::string> queue;

    // The members of the runtime's objects that the program calls.
    using Handler = HRESULT (FakeSpeechState::*)(FakeSpeechObject& target,
                                                 std::span<const COleVariant> args,
                                                 COleVariant& result, EXCEPINFO* pExcepInfo);
    HRESULT PutRefVoice(FakeSpeechObject&, std::span<const COleVariant>, COleVariant&, EXCEPINFO*);
    HRESULT GetRate(FakeSpeechObject&, std::span<const COleVariant>, COleVariant&, EXCEPINFO*);
    HRESULT PutRate(FakeSpeechObject&, std::span<const COleVariant>, COleVariant&, EXCEPINFO*);
    HRESULT GetVolume(FakeSpeechObject&, std::span<const COleVariant>, COleVariant&, EXCEPINFO*);
    HRESULT PutVolume(FakeSpeechObject&, std::span<const COleVariant>, COleVariant&, EXCEPINFO*);
    HRESULT Speak(FakeSpeechObject&, std::span<const COleVariant>, COleVariant&, EXCEPINFO*);
    HRESULT GetVoices(FakeSpeechObject&, std::span<const COleVariant>, COleVariant&, EXCEPINFO*);
    HRESULT GetCount(FakeSpeechObject&, std::span<const COleVariant>, COleVariant&, EXCEPINFO*);
    HRESULT Item(FakeSpeechObject&, std::span<const COleVariant>, COleVariant&, EXCEPINFO*);
    HRESULT GetDescription(FakeSpeechObject&, std::span<const COleVariant>, COleVariant&,
                           EXCEPINFO*);

    std::string CurrentVoiceDescription() const;

  private:
    FakeSpeechObject& NewObject(FakeSpeechObject::Kind kind, LONG index);
    FakeSpeechObject* FindObject(const IDispatch* object) const;
    std::string Readable(const COleVariant& value) const;
    const Failure* FailureFor(const FakeSpeechCall& call) const;
};
