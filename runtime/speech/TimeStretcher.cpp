#include "runtime/speech/TimeStretcher.h"

#include <sonic.h>

TimeStretcher::TimeStretcher(int sampleRate, double speed, int volume)
    : m_sampleRate(sampleRate), m_volume(volume) {
    SetSpeed(speed);
}

void TimeStretcher::SetSpeed(double speed) {
    if (speed == m_speed)
        return;
    m_speed = speed;
    // Until the speed first changes from normal the samples need no stretching and pass
    // straight through; once stretching, the stream stays, so no held-back sample is lost.
    if (!m_stream)
        m_stream = sonicCreateStream(m_sampleRate, 1);
    sonicSetSpeed(m_stream, static_cast<float>(speed));
}

TimeStretcher::~TimeStretcher() {
    if (m_stream)
        sonicDestroyStream(m_stream);
}

bool TimeStretcher::Feed(std::span<const std::int16_t> samples, const Output& output) {
    if (!m_stream) {
        if (m_volume == 100)
            return output(samples);
        m_buffer.assign(samples.begin(), samples.end());
        return Scale(output);
    }
    // libsonic takes a non-const pointer but only reads the samples.
    sonicWriteShortToStream(m_stream, const_cast<short*>(samples.data()),
                            static_cast<int>(samples.size()));
    return Drain(output);
}

bool TimeStretcher::Finish(const Output& output) {
    if (!m_stream)
        return true;
    sonicFlushStream(m_stream);
    return Drain(output);
}

bool TimeStretcher::Drain(const Output& output) {
    for (int available = sonicSamplesAvailable(m_stream); available > 0;
         available = sonicSamplesAvailable(m_stream)) {
        m_buffer.resize(static_cast<std::size_t>(available));
        const int read = sonicReadShortFromStream(m_stream, m_buffer.data(), available);
        if (read <= 0)
            break;
        m_buffer.resize(static_cast<std::size_t>(read));
        if (!Scale(output))
            return false;
    }
    return true;
}

bool TimeStretcher::Scale(const Output& output) {
    // The volume scales linearly; 100 keeps the voice's own amplitude.
    if (m_volume != 100) {
        for (std::int16_t& sample : m_buffer)
            sample = static_cast<std::int16_t>(sample * m_volume / 100);
    }
    return output(m_buffer);
}
