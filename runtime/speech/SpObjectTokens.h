#pragma once

#include "platform/ole/DispatchObject.h"
#include "runtime/speech/VoiceInfo.h"

#include <vector>

// The list of voice tokens the voice object's GetVoices returns, in a fixed order.
class SpObjectTokens final : public DispatchObject {
  public:
    static constexpr DISPID kItem = 0;
    static constexpr DISPID kCount = 1;

    // Returns the collection with one reference for the caller.
    static LPDISPATCH Create(std::vector<VoiceInfo> voices);

    HRESULT Invoke(DISPID dispIdMember, WORD wFlags, std::span<const COleVariant> args,
                   COleVariant* pVarResult, EXCEPINFO* pExcepInfo) override;

  private:
    explicit SpObjectTokens(std::vector<VoiceInfo> voices) : m_voices(std::move(voices)) {}
    ~SpObjectTokens() override = default;

    HRESULT Item(std::span<const COleVariant> args, COleVariant* pVarResult, EXCEPINFO* pExcepInfo);

    const std::vector<VoiceInfo> m_voices;
};
