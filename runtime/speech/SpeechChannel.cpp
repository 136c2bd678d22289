#include "runtime/speech/SpeechChannel.h"

#include "runtime/speech/AudioSink.h"

#include <algorithm>

namespace {

using namespace std::chrono_literals;

// The player writes 10 ms at a time to an output that plays on the clock, so a stop is
// noticed between two such pieces, and the speech thread stays at most one piece ahead of
// it, so a change of rate or volume is heard after little more than the output's own
// buffer. An output that takes sound as fast as it comes is handed a second at a time.
constexpr std::size_t kPieceSamples = AudioSink::kSampleRate / 100;
constexpr std::size_t kUnpacedPieceSamples = AudioSink::kSampleRate;

constexpr int kOpenTries = 3;
constexpr auto kFirstPause = 50ms;
// How long the first Speak waits for the player's first try to open the output, so that a
// machine without sound output is told so at once, while a sound server that does not
// answer holds up the voice only that long.
constexpr auto kFirstTryWait = 1s;
// How long a voice that goes waits for its player to end.
constexpr auto kCloseWait = 200ms;

} // namespace

bool SpeechChannel::EnsureOpen() {
    std::unique_lock lock(m_mutex);
    if (!m_player.joinable() && !m_closing) {
        std::promise<void> ended;
        m_playerEnded = ended.get_future();
        m_player = std::thread(&SpeechChannel::Play, shared_from_this(), std::move(ended));
    }
    m_progress.wait_for(lock, kFirstTryWait, [&] { return m_triedOnce; });
    return !TakeOutageLocked();
}

bool SpeechChannel::TakeOutage() {
    std::lock_guard lock(m_mutex);
    return TakeOutageLocked();
}

bool SpeechChannel::TakeOutageLocked() {
    const bool untold = m_outage && !m_outageTold;
    m_outageTold = m_outageTold || m_outage;
    return untold;
}

unsigned SpeechChannel::Generation() const {
    std::lock_guard lock(m_mutex);
    return m_generation;
}

bool SpeechChannel::Begin(unsigned generation) {
    std::lock_guard lock(m_mutex);
    if (generation != m_generation)
        return false;
    m_failed = false;
    return true;
}

bool SpeechChannel::Write(std::span<const std::int16_t> samples, unsigned generation) {
    std::unique_lock lock(m_mutex);
    const auto refused = [&] { return generation != m_generation || m_failed || m_closing; };
    while (!samples.empty()) {
        m_progress.wait(lock, [&] { return refused() || m_pending.size() < PieceSamples(); });
        if (refused())
            return false;
        const std::size_t count = std::min(samples.size(), PieceSamples() - m_pending.size());
        m_pending.insert(m_pending.end(), samples.begin(), samples.begin() + count);
        samples = samples.subspan(count);
        m_playerWake.notify_one();
    }
    return true;
}

void SpeechChannel::Drain(unsigned generation) {
    std::unique_lock lock(m_mutex);
    const auto stopped = [&] { return generation != m_generation || m_failed || m_closing; };
    m_progress.wait(lock, [&] { return stopped() || (m_pending.empty() && !m_writing); });
    if (stopped() || !m_sink)
        return;
    // What the output holds plays out on the clock, where a stop can still cut in; only
    // the output's last bit of latency is left to its own drain.
    if (m_sink->PlaysAtSoundCardPace())
        m_progress.wait_until(lock, m_playedUntil, stopped);
    if (stopped())
        return;
    m_drainWanted = true;
    m_playerWake.notify_one();
    m_progress.wait(lock, [&] { return stopped() || !m_drainWanted; });
}

void SpeechChannel::Interrupt() {
    {
        std::lock_guard lock(m_mutex);
        ++m_generation;
        m_pending.clear();
        m_drainWanted = false;
        m_flushWanted = true;
    }
    m_playerWake.notify_one();
    m_progress.notify_all();
}

void SpeechChannel::Close() {
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
        m_pending.clear();
    }
    m_playerWake.notify_one();
    m_progress.notify_all();
    if (!m_player.joinable())
        return;
    if (m_playerEnded.wait_for(kCloseWait) == std::future_status::ready)
        m_player.join();
    else
        m_player.detach();
}

std::size_t SpeechChannel::PieceSamples() const {
    return !m_sink || m_sink->PlaysAtSoundCardPace() ? kPieceSamples : kUnpacedPieceSamples;
}

bool SpeechChannel::HasWork() const {
    return m_closing || m_flushWanted || !m_pending.empty() || m_drainWanted;
}

void SpeechChannel::Play(std::promise<void> ended) {
    std::unique_lock lock(m_mutex);
    OpenOutput(lock);
    while (!m_closing) {
        m_playerWake.wait(lock, [&] { return HasWork(); });
        if (m_closing)
            break;
        if (m_flushWanted) {
            m_flushWanted = false;
            const std::shared_ptr<AudioSink> sink = m_sink;
            lock.unlock();
            if (sink)
                sink->Flush();
            lock.lock();
            m_playedUntil = Clock::now();
        } else if (!m_pending.empty()) {
            if (m_sink)
                PlayPiece(lock);
            else
                OpenOutput(lock);
        } else if (m_drainWanted) {
            DrainOutput(lock);
        }
    }
    // The output is closed on this thread too, as every other call to it is made here.
    std::shared_ptr<AudioSink> sink = std::move(m_sink);
    lock.unlock();
    sink.reset();
    ended.set_value();
}

void SpeechChannel::OpenOutput(std::unique_lock<std::mutex>& lock) {
    auto pause = kFirstPause;
    for (int attempt = 0; attempt < kOpenTries && !m_closing; ++attempt) {
        if (attempt > 0) {
            m_playerWake.wait_for(lock, pause, [&] { return m_closing; });
            pause *= 2;
            if (m_closing)
                break;
        }
        lock.unlock();
        std::shared_ptr<AudioSink> sink = m_opener();
        lock.lock();
        if (sink) {
            m_sink = std::move(sink);
            m_outage = false;
            m_outageTold = false;
            m_triedOnce = true;
            m_progress.notify_all();
            return;
        }
    }
    m_outage = true;
    m_triedOnce = true;
    m_failed = true;
    m_pending.clear();
    m_progress.notify_all();
}

void SpeechChannel::PlayPiece(std::unique_lock<std::mutex>& lock) {
    const std::size_t count = std::min(m_pending.size(), PieceSamples());
    const std::vector<std::int16_t> piece(m_pending.begin(), m_pending.begin() + count);
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(count));
    m_writing = true;
    m_progress.notify_all();
    Clock::time_point start;
    const auto writeToOutput = [&] {
        const std::shared_ptr<AudioSink> sink = m_sink;
        lock.unlock();
        start = Clock::now();
        const bool written = sink->Write(piece);
        lock.lock();
        return written;
    };
    // A stop or a close meanwhile has dropped the piece.
    const auto stillWanted = [&] { return m_sink && !m_flushWanted && !m_closing; };
    bool written = writeToOutput();
    if (!written && !m_closing) {
        // An output that fails under the speech (a sound server restarting, a headset
        // leaving) is opened anew and the piece played there, so that the speech goes on
        // instead of the utterance being lost.
        ReleaseOutput(lock);
        OpenOutput(lock);
        if (stillWanted())
            written = writeToOutput();
    }
    m_writing = false;
    if (written)
        m_playedUntil = std::max(m_playedUntil, start) + AudioSink::PlayingTime(count);
    else if (stillWanted())
        FailOutput(lock);
    m_progress.notify_all();
}

void SpeechChannel::DrainOutput(std::unique_lock<std::mutex>& lock) {
    const std::shared_ptr<AudioSink> sink = m_sink;
    lock.unlock();
    sink->Drain();
    lock.lock();
    m_drainWanted = false;
    m_progress.notify_all();
}

void SpeechChannel::FailOutput(std::unique_lock<std::mutex>& lock) {
    m_failed = true;
    m_pending.clear();
    m_drainWanted = false;
    ReleaseOutput(lock);
}

void SpeechChannel::ReleaseOutput(std::unique_lock<std::mutex>& lock) {
    std::shared_ptr<AudioSink> released = std::move(m_sink);
    lock.unlock();
    released.reset();
    lock.lock();
}
