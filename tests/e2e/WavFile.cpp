#include "tests/e2e/WavFile.h"

#include <fstream>
#include <iterator>
#include <string_view>

namespace {

constexpr std::uint16_t kPcm = 1;

std::uint32_t Little(const std::vector<unsigned char>& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

bool HasTag(const std::vector<unsigned char>& bytes, std::size_t at, std::string_view tag) {
    return at + tag.size() <= bytes.size() &&
           std::string_view(reinterpret_cast<const char*>(bytes.data()) + at, tag.size()) == tag;
}

} // namespace

WavFile::WavFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        m_problem = "there is no file " + path.string();
        return;
    }
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in),
                                           std::istreambuf_iterator<char>()};
    m_problem = Parse(bytes);
}

std::string WavFile::Parse(const std::vector<unsigned char>& bytes) {
    if (bytes.size() < 12 || !HasTag(bytes, 0, "RIFF") || !HasTag(bytes, 8, "WAVE"))
        return "no RIFF WAVE header";
    if (Little(bytes, 4, 4) != bytes.size() - 8)
        return "the RIFF size does not match the file's size";
    bool haveFormat = false;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::uint32_t size = Little(bytes, at + 4, 4);
        const std::size_t body = at + 8;
        if (size > bytes.size() - body)
            return "a chunk runs past the end of the file";
        if (HasTag(bytes, at, "fmt ")) {
            if (size < 16)
                return "the format chunk is too short";
            if (Little(bytes, body, 2) != kPcm)
                return "the samples are not PCM";
            m_channels = static_cast<int>(Little(bytes, body + 2, 2));
            m_sampleRate = static_cast<int>(Little(bytes, body + 4, 4));
            m_bitsPerSample = static_cast<int>(Little(bytes, body + 14, 2));
            const std::uint32_t blockAlign = Little(bytes, body + 12, 2);
            if (m_channels < 1 || m_bitsPerSample != 16 ||
                blockAlign != static_cast<std::uint32_t>(m_channels) * 2 ||
                Little(bytes, body + 8, 4) != static_cast<std::uint32_t>(m_sampleRate) * blockAlign)
                return "the format chunk contradicts itself";
            haveFormat = true;
        } else if (HasTag(bytes, at, "data")) {
            if (!haveFormat)
                return "the data chunk comes before the format chunk";
            for (std::size_t i = body; i + 1 < body + size; i += 2)
                m_samples.push_back(static_cast<std::int16_t>(Little(bytes, i, 2)));
            return {};
        }
        at = body + size + (size & 1);
    }
    return "there is no data chunk";
}
