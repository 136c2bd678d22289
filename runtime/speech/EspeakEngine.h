#pragma once

// eSpeak NG initialised for synchronous synthesis through a callback, for the lifetime of
// this object. eSpeak NG keeps global state, so a process has at most one engine at a time
// and uses it from one thread only: the thread that created it.
class EspeakEngine {
  public:
    // The sample rate every voice synthesizes at.
    static constexpr int kSampleRate = 22050;

    EspeakEngine();
    ~EspeakEngine();
    EspeakEngine(const EspeakEngine&) = delete;
    EspeakEngine& operator=(const EspeakEngine&) = delete;

    // False when eSpeak NG could not start (its data is missing, for example).
    bool IsReady() const { return m_ready; }

  private:
    bool m_ready = false;
};
