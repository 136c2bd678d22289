#pragma once

#include <cstdint>
#include <string>

// What an utterance is spoken with: the voice, and rate and volume as the speech API
// means them (rate -10..10, 0 the voice's normal speed; volume 0..100, 100 its normal
// loudness).
struct SpeechSettings {
    std::string voiceIdentifier;
    std::int32_t rate = 0;
    std::int32_t volume = 100;
};
