#pragma once

#include "platform/ole/DispatchObject.h"
#include "runtime/speech/VoiceInfo.h"

#include <memory>

// A voice token: one voice of the runtime, as the voice list hands it out and as the
// voice object takes it to change voices.
class SpObjectToken final : public DispatchObject {
  public:
    static constexpr DISPID kGetDescription = 4;

    // Returns the token with one reference for the caller.
    static LPDISPATCH Create(VoiceInfo voice);

    const VoiceInfo& Voice() const { return m_voice; }

    HRESULT Invoke(DISPID dispIdMember, WORD wFlags, std::span<const COleVariant> args,
                   COleVariant* pVarResult, EXCEPINFO* pExcepInfo) override;

  private:
    explicit SpObjectToken(VoiceInfo voice) : m_voice(std::move(voice)) {}
    ~SpObjectToken() override = default;

    const VoiceInfo m_voice;
};
