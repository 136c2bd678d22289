#pragma once

#include "runtime/speech/SpeechSettings.h"
#include "runtime/speech/VoiceInfo.h"

#include <condition_variable>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class COleVariant;
class SpeechChannel;
class SpeechSynthesizer;
struct Utterance;

// The one thread of the process that runs the speech engines. It owns them (eSpeak NG and
// Flite are global state) and speaks the queued utterances of every voice object in
// order. Voice objects share it; it stops when the last of them lets go.
class SpeechWorker {
  public:
    // The running worker, started if needed; null when no engine can start.
    static std::shared_ptr<SpeechWorker> Acquire();
    ~SpeechWorker();
    SpeechWorker(const SpeechWorker&) = delete;
    SpeechWorker& operator=(const SpeechWorker&) = delete;

    // The voices the engines can speak with, listed once when the worker started.
    const std::vector<VoiceInfo>& Voices() const { return m_voices; }

    // Queues a text behind everything queued before; the future is ready when the text
    // is over (heard to the end when awaited, else synthesized to the end or stopped).
    std::future<void> Enqueue(std::shared_ptr<SpeechChannel> channel, COleVariant text,
                              SpeechSettings settings, bool awaited);
    // Discards everything the channel has queued and silences what it plays.
    void Purge(SpeechChannel& channel);

  private:
    struct PrivateTag {};

  public:
    explicit SpeechWorker(PrivateTag);

  private:
    void Run(std::promise<bool> started);
    void Speak(SpeechSynthesizer& synthesizer, Utterance& utterance);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::unique_ptr<Utterance>> m_queue;
    bool m_stopping = false;
    std::vector<VoiceInfo> m_voices;
    std::thread m_thread;
};
