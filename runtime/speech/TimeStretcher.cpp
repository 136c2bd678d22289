#include "runtime/speech/TimeStretcher.h"

#include <sonic.h>

TimeStretcher::TimeStretcher(int sampleRate, double speed, int volume)
    : m_stream(sonicCreateStream(sampleRate, 1)), m_volume(volume) {
    sonicSetSpeed(m_stream, static_cast<float>(speed));
}

TimeStretcher::~TimeStretcher() {
    sonicDestroyStream(m_stream);
}

bool TimeStretcher::Feed(std::span<const std::int16_t> samples, const Output& output) {
    // libsonic takes a non-const pointer but only reads the samples.
    sonicWriteShortToStream(m_stream, const_cast<short*>(samples.data()),
                            static_cast<int>(samples.size()));
    return Drain(output);
}

bool TimeStretcher::Finish(const Output& output) {
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
        // The volume scales linearly; 100 keeps eSpeak NG's own amplitude.
        if (m_volume != 100) {
            for (std::int16_t& sample : m_buffer)
                sample = static_cast<std::int16_t>(sample * m_volume / 100);
        }
        if (!output(m_buffer))
            return false;
    }
    return true;
}
