#include "runtime/speech/Resampler.h"

#include <soxr.h>

#include <cmath>

Resampler::Resampler(int inputRate, int outputRate)
    : m_ratio(static_cast<double>(outputRate) / inputRate) {
    soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_INT16_I);
    // libsoxr dithers 16-bit output with noise seeded from the clock, so the same text
    // would never give the same samples twice, and silence would hiss faintly. Rounding
    // 16-bit speech to 16 bits again needs no dither.
    io.flags |= SOXR_NO_DITHER;
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    // One thread: the converter forks its workers, which a thread pool would not survive.
    const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
    soxr_error_t error = nullptr;
    m_soxr = soxr_create(inputRate, outputRate, 1, &error, &io, &quality, &runtime);
    if (error) {
        soxr_delete(m_soxr);
        m_soxr = nullptr;
    }
}

Resampler::~Resampler() {
    soxr_delete(m_soxr);
}

bool Resampler::Feed(std::span<const std::int16_t> samples, const Output& output) {
    while (!samples.empty()) {
        m_buffer.resize(static_cast<std::size_t>(std::ceil(samples.size() * m_ratio)) + 64);
        std::size_t used = 0;
        std::size_t made = 0;
        if (soxr_process(m_soxr, samples.data(), samples.size(), &used, m_buffer.data(),
                         m_buffer.size(), &made))
            return false;
        if (made > 0 && !output(std::span(m_buffer).first(made)))
            return false;
        samples = samples.subspan(used);
    }
    return true;
}

bool Resampler::Finish(const Output& output) {
    m_buffer.resize(4096);
    for (;;) {
        std::size_t made = 0;
        // No input tells libsoxr that the stream has ended; it then empties its filter.
        if (soxr_process(m_soxr, nullptr, 0, nullptr, m_buffer.data(), m_buffer.size(), &made))
            return false;
        if (made == 0)
            return true;
        if (!output(std::span(m_buffer).first(made)))
            return false;
    }
}
