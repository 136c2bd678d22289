#pragma once

#include "runtime/speech/PacedSink.h"

// Discards the sound, at the pace a sound card would play it.
class NullSink final : public PacedSink {
  public:
    NullSink() : PacedSink(Pacing::SoundCard) {}

  private:
    bool Accept(std::span<const std::int16_t>) override { return true; }
};
