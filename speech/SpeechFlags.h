#pragma once

#include "platform/base/WinTypes.h"

// Flags of CSpeechVoice::Speak. Every speaking command queues its text and returns at once;
// Stop hands over an empty text that purges everything queued or playing.
inline constexpr LONG SVSFlagsAsync = 1;
inline constexpr LONG SVSFPurgeBeforeSpeak = 2;
