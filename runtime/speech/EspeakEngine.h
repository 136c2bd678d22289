#pragma once

// Access to eSpeak NG, initialised for synchronous synthesis through a callback. eSpeak NG
// keeps global state, so only one engine object may exist at a time, used from one thread
// at a time: the thread that created it.
//
// eSpeak NG is initialised on the first engine of the process and stays initialised after
// the engine is gone. Shutting it down is not safe: espeak_Terminate waits for eSpeak NG's
// internal thread, which misses the signal and hangs forever when the shutdown follows the
// start-up closely.
class EspeakEngine {
  public:
    // The sample rate every voice synthesizes at.
    static constexpr int kSampleRate = 22050;

    EspeakEngine();
    EspeakEngine(const EspeakEngine&) = delete;
    EspeakEngine& operator=(const EspeakEngine&) = delete;

    // False when eSpeak NG could not start (its data is missing, for example).
    bool IsReady() const { return m_ready; }

  private:
    bool m_ready = false;
};
