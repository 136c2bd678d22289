#pragma once

#include "platform/ole/IDispatch.h"

#include <string>

class FakeSpeechState;

// A voice, token collection or token of the fake speech runtime. Unlike a real automation
// object it does not delete itself when its last reference goes: the runtime keeps it, so
// that a release too many or a call after the last release is counted as a fault instead
// of corrupting memory.
class FakeSpeechObject final : public IDispatch {
  public:
    enum class Kind { Voice, Tokens, Token };

    FakeSpeechObject(FakeSpeechState& state, Kind kind, LONG index);
    FakeSpeechObject(const FakeSpeechObject&) = delete;
    FakeSpeechObject& operator=(const FakeSpeechObject&) = delete;

    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT Invoke(DISPID dispIdMember, WORD wFlags, std::span<const COleVariant> args,
                   COleVariant* pVarResult, EXCEPINFO* pExcepInfo) override;

    Kind GetKind() const { return m_kind; }
    // The voice's position in the collection, for a token.
    LONG Index() const { return m_index; }
    std::string Name() const;
    bool IsAlive() const { return m_refs > 0; }
    ULONG References() const { return m_refs; }

    // A voice keeps a reference to the token it speaks with, as the real runtime does.
    void HoldToken(FakeSpeechObject* token);

  private:
    FakeSpeechState& m_state;
    Kind m_kind;
    LONG m_index;
    ULONG m_refs = 1;
    FakeSpeechObject* m_heldToken = nullptr;
};
