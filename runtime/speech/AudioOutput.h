#pragma once

#include "runtime/speech/AudioSink.h"

#include <functional>
#include <memory>

// Opens the sound output a voice speaks to, or gives null when none is available.
using SinkOpener = std::function<std::shared_ptr<AudioSink>()>;

namespace AudioOutput {

// The output MURMELO_AUDIO chooses: unset, the default sound device; "null", sound
// discarded at a sound card's pace; "wav:PATH", sound appended to the WAV file PATH.
std::shared_ptr<AudioSink> OpenConfigured();

} // namespace AudioOutput
