#pragma once

#include <atomic>
#include <cstdint>

// The rate and volume a voice speaks with, as the speech API means them (see
// SpeechSettings). The voice changes them at any time; the speech thread reads them at
// every piece of sound, so a change is heard in what plays now and in all that is queued.
struct SpeechLevels {
    std::atomic<std::int32_t> rate{0};
    std::atomic<std::int32_t> volume{100};
};
