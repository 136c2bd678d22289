#pragma once

#include "runtime/speech/AudioOutput.h"
#include "runtime/speech/SpeechLevels.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <future>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

// One voice object's way to the sound output. A player thread of its own opens the output,
// writes to it, drains and flushes it, so no other thread ever waits on the sound system
// and no output is flushed while another thread writes to it. The speech thread hands
// samples to the player a few milliseconds ahead of what plays; a stop discards them and
// returns at once. When the output fails (a sound server that restarts, a device that goes
// away), the player lets go of it and opens it anew for the next utterance. Every stop
// starts a new generation: sound of an older generation is refused, so nothing queued
// before a stop is heard after it.
class SpeechChannel : public std::enable_shared_from_this<SpeechChannel> {
  public:
    explicit SpeechChannel(SinkOpener opener) : m_opener(std::move(opener)) {}
    SpeechChannel(const SpeechChannel&) = delete;
    SpeechChannel& operator=(const SpeechChannel&) = delete;

    // Starts the player, which opens the output, and waits for the outcome of its first
    // try for at most a moment. False when no output could be opened, once for every
    // outage the player met since (see TakeOutage); true while it still tries.
    bool EnsureOpen();
    // True once after the player found that no output could be opened, so the user hears
    // of an outage once, not for every queued utterance.
    bool TakeOutage();
    unsigned Generation() const;
    // The rate and volume of everything the channel plays, from now on.
    SpeechLevels& Levels() { return m_levels; }

    // On the speech thread, before an utterance of the given generation: false when that
    // generation was stopped. A failure of the output ends only the utterance it met.
    bool Begin(unsigned generation);
    // On the speech thread: hands samples of the given generation to the player, waiting
    // while it is far enough ahead; false once that generation has been stopped or the
    // output failed.
    bool Write(std::span<const std::int16_t> samples, unsigned generation);
    // On the speech thread: waits until the given generation's sound has been played.
    void Drain(unsigned generation);

    // Stops everything written so far. Never waits on the output.
    void Interrupt();
    // Ends the player when the voice goes. A player held up by an output that does not
    // answer is left to end on its own.
    void Close();

  private:
    using Clock = std::chrono::steady_clock;

    void Play(std::promise<void> ended);
    // The player's steps, each called with the lock held and the output's calls made
    // without it.
    void OpenOutput(std::unique_lock<std::mutex>& lock);
    void PlayPiece(std::unique_lock<std::mutex>& lock);
    void DrainOutput(std::unique_lock<std::mutex>& lock);
    void FailOutput(std::unique_lock<std::mutex>& lock);
    // Lets go of the output, closing it without the lock held.
    void ReleaseOutput(std::unique_lock<std::mutex>& lock);
    bool HasWork() const;
    bool TakeOutageLocked();
    // How much the player writes at once, and the most the speech thread hands it ahead.
    std::size_t PieceSamples() const;

    SinkOpener m_opener;
    SpeechLevels m_levels;

    mutable std::mutex m_mutex;
    // Wakes the player, and the threads that wait for it.
    std::condition_variable m_playerWake;
    std::condition_variable m_progress;
    std::thread m_player;
    std::future<void> m_playerEnded;
    bool m_closing = false;

    unsigned m_generation = 0;
    std::vector<std::int16_t> m_pending;
    // The player holds samples of this generation in its hands, outside m_pending.
    bool m_writing = false;
    bool m_flushWanted = false;
    bool m_drainWanted = false;
    // When what the player wrote will have played, as far as the player can tell.
    Clock::time_point m_playedUntil;

    std::shared_ptr<AudioSink> m_sink;
    // The player's first try to open the output is over.
    bool m_triedOnce = false;
    // The output failed during the utterance that plays; refused until the next one.
    bool m_failed = false;
    // The player could not open the output again, and whether the user was told.
    bool m_outage = false;
    bool m_outageTold = false;
};
