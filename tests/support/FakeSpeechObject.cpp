#include "tests/support/FakeSpeechObject.h"

#include "tests/support/FakeSpeechState.h"

#include <utility>

FakeSpeechObject::FakeSpeechObject(FakeSpeechState& state, Kind kind, LONG index)
    : m_state(state), m_kind(kind), m_index(index) {}

ULONG FakeSpeechObject::AddRef() {
    if (!IsAlive()) {
        m_state.CountReferenceFault();
        return 0;
    }
    return ++m_refs;
}

ULONG FakeSpeechObject::Release() {
    if (!IsAlive()) {
        m_state.CountReferenceFault();
        return 0;
    }
    if (--m_refs == 0 && m_heldToken)
        std::exchange(m_heldToken, nullptr)->Release();
    return m_refs;
}

HRESULT FakeSpeechObject::Invoke(DISPID dispIdMember, WORD wFlags,
                                 std::span<const COleVariant> args, COleVariant* pVarResult,
                                 EXCEPINFO* pExcepInfo) {
    return m_state.Dispatch(*this, dispIdMember, wFlags, args, pVarResult, pExcepInfo);
}

std::string FakeSpeechObject::Name() const {
    switch (m_kind) {
    case Kind::Voice:
        return "Voice";
    case Kind::Tokens:
        return "Tokens";
    case Kind::Token:
        break;
    }
    return "Token " + std::to_string(m_index);
}

void FakeSpeechObject::HoldToken(FakeSpeechObject* token) {
    token->AddRef();
    if (FakeSpeechObject* previous = std::exchange(m_heldToken, token))
        previous->Release();
}
