#pragma once

#include "platform/base/WinTypes.h"
#include "runtime/speech/AudioOutput.h"

// The speech runtime's entry in the class registry: the voice class under "SAPI.SpVoice".
namespace SpeechRuntime {

// {6B1E3A52-8F0C-4D6E-9A41-2C7D5E0F9B13}
inline constexpr CLSID kVoiceClsid{
    0x6B1E3A52, 0x8F0C, 0x4D6E, {0x9A, 0x41, 0x2C, 0x7D, 0x5E, 0x0F, 0x9B, 0x13}};

// Registers the voice class; its voices speak to the output MURMELO_AUDIO chooses.
void Register();
// Registers the voice class with voices that speak to what openSink gives.
void Register(SinkOpener openSink);

} // namespace SpeechRuntime
