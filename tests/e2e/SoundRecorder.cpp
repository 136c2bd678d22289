#include "tests/e2e/SoundRecorder.h"

#include "tests/e2e/Polling.h"

#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <unistd.h>

SoundRecorder::SoundRecorder(const PulseServer& server, const std::filesystem::path& file,
                             const std::filesystem::path& log)
    : m_file(file) {
    const int output = open(m_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (output < 0)
        return;
    SpawnedProcess::Options options;
    options.log = log;
    options.outputDescriptor = output;
    options.environment = Environment::Inherited().Set("PULSE_SERVER", server.Address());
    // A 10 ms latency makes the server hand over the sound in small pieces as it is played,
    // instead of in large blocks, so the file grows at the pace of the sound.
    m_recorder = std::make_unique<SpawnedProcess>(
        std::vector<std::string>{"parec",
                                 std::string("--device=") + PulseServer::kSinkName + ".monitor",
                                 "--format=s16le", "--rate=" + std::to_string(kSampleRate),
                                 "--channels=1", "--latency-msec=10"},
        options);
    close(output);
}

std::size_t SoundRecorder::SampleCount() const {
    std::error_code error;
    const auto bytes = std::filesystem::file_size(m_file, error);
    return error ? 0 : static_cast<std::size_t>(bytes / sizeof(std::int16_t));
}

std::vector<std::int16_t> SoundRecorder::Samples() const {
    std::ifstream in(m_file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    std::vector<std::int16_t> samples(bytes.size() / sizeof(std::int16_t));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(
            static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[2 * i])) |
            static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return samples;
}

bool SoundRecorder::WaitForSamples(std::size_t count, std::chrono::milliseconds limit) const {
    return WaitUntil([&] { return SampleCount() >= count; }, limit);
}
