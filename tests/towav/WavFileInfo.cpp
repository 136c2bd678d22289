#include "tests/towav/WavFileInfo.h"

#include "tests/support/FileBytes.h"

namespace {

std::uint32_t Get(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

} // namespace

std::optional<WavFileInfo> WavFileInfo::Read(const std::filesystem::path& path) {
    const std::string bytes = ReadFile(path);
    if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0 ||
        Get(bytes, 4, 4) != bytes.size() - 8 || bytes.compare(8, 8, "WAVEfmt ") != 0 ||
        Get(bytes, 16, 4) != 16 || bytes.compare(36, 4, "data") != 0 ||
        Get(bytes, 40, 4) != bytes.size() - 44)
        return std::nullopt;
    WavFileInfo info;
    info.format = static_cast<std::uint16_t>(Get(bytes, 20, 2));
    info.channels = static_cast<std::uint16_t>(Get(bytes, 22, 2));
    info.sampleRate = Get(bytes, 24, 4);
    info.byteRate = Get(bytes, 28, 4);
    info.blockAlign = static_cast<std::uint16_t>(Get(bytes, 32, 2));
    info.bitsPerSample = static_cast<std::uint16_t>(Get(bytes, 34, 2));
    info.dataBytes = Get(bytes, 40, 4);
    info.samples = bytes.substr(44);
    return info;
}
