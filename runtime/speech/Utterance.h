#pragma once

#include "runtime/speech/SpeechSettings.h"

#include <future>
#include <memory>
#include <string>

class SpeechChannel;

// A text waiting to be spoken, with the voice it was queued for; it is spoken with the
// rate and volume its channel has while it plays.
struct Utterance {
    std::shared_ptr<SpeechChannel> channel;
    // Shared by the repetitions of one text.
    std::shared_ptr<const std::string> utf8Text;
    SpeechSettings settings;
    // The channel's generation when queued; a stop since then cancels the utterance.
    unsigned generation = 0;
    // Someone waits until the utterance has been heard, not just synthesized.
    bool awaited = false;
    // Set once the utterance is over: spoken, stopped or discarded.
    std::promise<void> finished;
};
