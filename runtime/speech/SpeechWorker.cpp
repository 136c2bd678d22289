#include "runtime/speech/SpeechWorker.h"

#include "runtime/speech/SpeechChannel.h"
#include "runtime/speech/SpeechEngines.h"
#include "runtime/speech/SpeechSynthesizer.h"
#include "runtime/speech/Utterance.h"
#include "runtime/speech/VoiceCatalog.h"
#include "runtime/speech/WideTextPieces.h"

namespace {

// Held by a worker thread for as long as it uses the engines, so that a worker starting
// while the previous one is still shutting down waits for it.
std::mutex& EngineOwnership() {
    static std::mutex ownership;
    return ownership;
}

} // namespace

std::shared_ptr<SpeechWorker> SpeechWorker::Acquire() {
    static std::mutex mutex;
    static std::weak_ptr<SpeechWorker> running;
    std::lock_guard lock(mutex);
    if (std::shared_ptr<SpeechWorker> worker = running.lock())
        return worker;
    auto worker = std::make_shared<SpeechWorker>(PrivateTag{});
    std::promise<bool> started;
    std::future<bool> ready = started.get_future();
    worker->m_thread = std::thread(&SpeechWorker::Run, worker.get(), std::move(started));
    if (!ready.get())
        return nullptr;
    running = worker;
    return worker;
}

SpeechWorker::SpeechWorker(PrivateTag) {}

SpeechWorker::~SpeechWorker() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

std::future<void> SpeechWorker::Enqueue(std::shared_ptr<SpeechChannel> channel, COleVariant text,
                                        SpeechSettings settings, bool awaited) {
    auto utterance = std::make_unique<Utterance>();
    utterance->generation = channel->Generation();
    utterance->channel = std::move(channel);
    utterance->text = std::move(text);
    utterance->settings = std::move(settings);
    utterance->awaited = awaited;
    std::future<void> finished = utterance->finished.get_future();
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(std::move(utterance));
    }
    m_wake.notify_one();
    return finished;
}

void SpeechWorker::Purge(SpeechChannel& channel) {
    {
        std::lock_guard lock(m_mutex);
        std::erase_if(m_queue, [&](const std::unique_ptr<Utterance>& utterance) {
            if (utterance->channel.get() != &channel)
                return false;
            utterance->finished.set_value();
            return true;
        });
    }
    // The utterance being spoken, if it is this channel's, sees the new generation at its
    // next chunk and stops synthesizing.
    channel.Interrupt();
}

void SpeechWorker::Run(std::promise<bool> started) {
    std::lock_guard ownership(EngineOwnership());
    SpeechEngines engines;
    m_voices = VoiceCatalog::List(engines);
    started.set_value(engines.IsReady());
    if (!engines.IsReady())
        return;
    SpeechSynthesizer synthesizer(engines);
    for (;;) {
        std::unique_ptr<Utterance> utterance;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [&] { return m_stopping || !m_queue.empty(); });
            if (m_stopping)
                return;
            utterance = std::move(m_queue.front());
            m_queue.pop_front();
        }
        Speak(synthesizer, *utterance);
        utterance->finished.set_value();
    }
}

void SpeechWorker::Speak(SpeechSynthesizer& synthesizer, Utterance& utterance) {
    SpeechChannel& channel = *utterance.channel;
    const unsigned generation = utterance.generation;
    if (!channel.Begin(generation))
        return;
    // An empty text only marks a point in the queue that a caller waits for.
    if (!utterance.text.bstrVal().empty()) {
        WideTextPieces pieces(utterance.text.bstrVal());
        synthesizer.Synthesize(pieces, utterance.settings, channel.Levels(),
                               [&](std::span<const std::int16_t> samples) {
                                   return channel.Write(samples, generation);
                               });
    }
    if (utterance.awaited)
        channel.Drain(generation);
}
