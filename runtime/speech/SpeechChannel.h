#pragma once

#include "runtime/speech/AudioOutput.h"
#include "runtime/speech/SpeechLevels.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

// One voice object's way to the sound output. The voice opens the output on first need
// and stops it from its own thread; the speech thread writes to it. When the output fails
// (a sound server that restarts, a device that goes away), the channel lets go of it and
// the speech thread opens it anew for the next utterance. Every stop starts a
// new generation: sound of an older generation is refused, so nothing queued before a
// stop is heard after it.
class SpeechChannel {
  public:
    explicit SpeechChannel(SinkOpener opener) : m_opener(std::move(opener)) {}

    // Opens the output if it was never opened; false when no output is available, and
    // once for every outage the speech thread met since (see TakeOutage).
    bool EnsureOpen();
    // True once after the speech thread found that no output could be opened again, so
    // the user hears of an outage once, not for every queued utterance.
    bool TakeOutage();
    unsigned Generation() const { return m_generation.load(); }
    // The rate and volume of everything the channel plays, from now on.
    SpeechLevels& Levels() { return m_levels; }

    // On the speech thread: plays samples of the given generation; false once that
    // generation has been stopped or the output failed.
    bool Write(std::span<const std::int16_t> samples, unsigned generation);
    // On the speech thread: waits until the given generation's sound has been played.
    void Drain(unsigned generation);

    // Stops everything written so far, at once.
    void Interrupt();

  private:
    std::shared_ptr<AudioSink> CurrentSink();
    // On the speech thread: opens the output again after a failure, a few times with a
    // short pause, giving up early when the generation is stopped.
    std::shared_ptr<AudioSink> Reopen(unsigned generation);
    void Drop(const std::shared_ptr<AudioSink>& failed);

    SinkOpener m_opener;
    std::mutex m_sinkMutex;
    std::shared_ptr<AudioSink> m_sink;
    std::atomic<bool> m_everOpened{false};
    // The speech thread could not open the output again, and whether the user was told.
    bool m_outage = false;
    bool m_outageTold = false;
    // Held while samples go to the output, so that a stop can wait for a write that
    // passed the generation check just before it.
    std::mutex m_writeGate;
    std::atomic<unsigned> m_generation{0};
    SpeechLevels m_levels;
};
