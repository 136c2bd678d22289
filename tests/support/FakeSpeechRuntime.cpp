#include "tests/support/FakeSpeechRuntime.h"

#include "platform/ole/AfxOle.h"
#include "tests/support/FakeSpeechState.h"

#include <algorithm>

FakeSpeechRuntime::FakeSpeechRuntime(std::vector<std::string> voiceDescriptions)
    : m_state(std::make_unique<FakeSpeechState>(std::move(voiceDescriptions))) {
    AfxOleInit();
    ClassRegistry::Register(u"SAPI.SpVoice", kClassId,
                            [state = m_state.get()] { return state->CreateVoice(); });
}

FakeSpeechRuntime::~FakeSpeechRuntime() {
    Unregister();
}

void FakeSpeechRuntime::FailCall(std::string call, std::string message) {
    m_state->failures.push_back({std::move(call), std::move(message)});
}

void FakeSpeechRuntime::FailCreation() {
    m_state->failCreation = true;
}

void FakeSpeechRuntime::Unregister() {
    ClassRegistry::Unregister(kClassId);
}

const std::vector<FakeSpeechCall>& FakeSpeechRuntime::Calls() const {
    return m_state->calls;
}

std::vector<std::string> FakeSpeechRuntime::CallLog() const {
    std::vector<std::string> log;
    for (const FakeSpeechCall& call : m_state->calls)
        log.push_back(call.Describe());
    return log;
}

void FakeSpeechRuntime::ClearCalls() {
    m_state->calls.clear();
}

int FakeSpeechRuntime::VoicesCreated() const {
    return m_state->voicesCreated;
}

LONG FakeSpeechRuntime::CurrentVoiceIndex() const {
    return m_state->currentVoice;
}

std::string FakeSpeechRuntime::CurrentVoiceDescription() const {
    return m_state->CurrentVoiceDescription();
}

LONG FakeSpeechRuntime::Rate() const {
    return m_state->rate;
}

LONG FakeSpeechRuntime::Volume() const {
    return m_state->volume;
}

const std::vector<FakeUtterance>& FakeSpeechRuntime::Utterances() const {
    return m_state->utterances;
}

std::vector<std::string> FakeSpeechRuntime::SpokenTexts() const {
    std::vector<std::string> texts;
    for (const FakeUtterance& utterance : m_state->utterances)
        texts.push_back(utterance.text);
    return texts;
}

const std::vector<std::string>& FakeSpeechRuntime::QueuedTexts() const {
    return m_state->queue;
}

int FakeSpeechRuntime::LiveObjects() const {
    return static_cast<int>(std::ranges::count_if(
        m_state->objects, [](const auto& object) { return object->IsAlive(); }));
}

int FakeSpeechRuntime::LiveObjects(std::string_view name) const {
    return static_cast<int>(std::ranges::count_if(m_state->objects, [&](const auto& object) {
        return object->IsAlive() && object->Name() == name;
    }));
}

ULONG FakeSpeechRuntime::References(std::string_view name) const {
    ULONG total = 0;
    for (const auto& object : m_state->objects) {
        if (object->Name() == name)
            total += object->References();
    }
    return total;
}

int FakeSpeechRuntime::ReferenceFaults() const {
    return m_state->referenceFaults;
}
