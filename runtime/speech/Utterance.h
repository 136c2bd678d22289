#pragma once

#include "platform/ole/COleVariant.h"
#include "runtime/speech/SpeechSettings.h"

#include <future>
#include <memory>

class SpeechChannel;

// A text waiting to be spoken, with the voice it was queued for; it is spoken with the
// rate and volume its channel has while it plays.
struct Utterance {
    std::shared_ptr<SpeechChannel> channel;
    // The text as the caller passed it. Copies of a string variant share the string, so
    // the repetitions of one text hold it once.
    COleVariant text;
    SpeechSettings settings;
    // The channel's generation when queued; a stop since then cancels the utterance.
    unsigned generation = 0;
    // Someone waits until the utterance has been heard, not just synthesized.
    bool awaited = false;
    // Set once the utterance is over: spoken, stopped or discarded.
    std::promise<void> finished;
};
