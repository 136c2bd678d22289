#include "towav/OutputFormat.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <string>

namespace {

// A WAV file's sizes are 32-bit: the data may take what the 36 header bytes after the
// size field leave of 4 GiB, at two bytes a sample.
constexpr std::uint64_t kWavSampleLimit = (0xFFFFFFFFull - 36) / 2;

// Qualities are chosen for speech, which is mono and has little above 8 kHz: Vorbis at
// quality 4 (about 55 kbit/s at 22050 Hz), Opus at about 32 kbit/s (Opus takes only 8, 12,
// 16, 24 or 48 kHz, so it is written at 48 kHz), MP3 at a constant 64 kbit/s, which
// every player can seek in. FLAC and WAV are lossless and keep libsndfile's defaults.
constexpr OutputFormat kFormats[] = {
    {".wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0, -1, -1, kWavSampleLimit},
    {".flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 0, -1, -1, 0},
    {".ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 0, 0.6, -1, 0},
    {".opus", SF_FORMAT_OGG | SF_FORMAT_OPUS, 48000, 0.896, SF_BITRATE_MODE_VARIABLE, 0},
    {".mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 0, 0.63, SF_BITRATE_MODE_CONSTANT, 0},
};

} // namespace

const OutputFormat& OutputFormat::ForPath(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::ranges::transform(extension, extension.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const auto* format = std::ranges::find(kFormats, extension, &OutputFormat::extension);
    return format == std::end(kFormats) ? kFormats[0] : *format;
}
