#include "runtime/speech/VoiceCheckCache.h"

#include <espeak-ng/speak_lib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr const char* kFormatLine = "murmelo voice check 1";
constexpr const char* kEndLine = ".";
// Where Debian's MBROLA voices live; eSpeak NG's MBROLA voices pass the check only with
// them.
constexpr const char* kMbrolaFolder = "/usr/share/mbrola";

// Adds every file under folder with its size and time to the description, in name order
// so that the same contents always give the same text.
void DescribeFolder(const fs::path& folder, std::string& description) {
    std::error_code error;
    std::set<std::string> lines;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code entryError;
        const auto size = it->is_regular_file(entryError) ? it->file_size(entryError) : 0;
        const auto time = it->last_write_time(entryError).time_since_epoch().count();
        lines.insert(it->path().string() + ' ' + std::to_string(size) + ' ' + std::to_string(time));
    }
    for (const std::string& line : lines)
        description += line + '\n';
}

// FNV-1a: a short, stable digest of the long description.
std::string Digest(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
    return std::to_string(text.size()) + '-' + digits;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);)
        parts.push_back(part);
    return parts;
}

// Fields are separated by tabs and lines; languages by commas within their field.
bool IsStorable(const std::string& field, const char* separators = "\t\n") {
    return field.find_first_of(separators) == std::string::npos;
}

} // namespace

fs::path VoiceCheckCache::UserFolder() {
    // Only an absolute XDG_CACHE_HOME counts; a relative one is to be ignored.
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && *cache == '/')
        return fs::path(cache) / "murmelo";
    if (const char* home = std::getenv("HOME"); home && *home)
        return fs::path(home) / ".cache" / "murmelo";
    return {};
}

std::string VoiceCheckCache::CurrentKey() {
    const char* dataPath = nullptr;
    const char* version = espeak_Info(&dataPath);
    std::string description = std::string(version ? version : "") + '\n';
    if (dataPath) {
        description += std::string(dataPath) + '\n';
        DescribeFolder(dataPath, description);
    }
    DescribeFolder(kMbrolaFolder, description);
    return Digest(description);
}

std::optional<std::vector<VoiceInfo>> VoiceCheckCache::Load(const std::string& key) const {
    if (m_folder.empty())
        return std::nullopt;
    std::ifstream file(FilePath());
    std::string format;
    std::string storedKey;
    if (!std::getline(file, format) || format != kFormatLine || !std::getline(file, storedKey) ||
        storedKey != key)
        return std::nullopt;
    std::vector<VoiceInfo> voices;
    for (std::string line; std::getline(file, line);) {
        // The closing line tells a whole list from one cut short by a failed write.
        if (line == kEndLine)
            return voices;
        std::vector<std::string> fields = Split(line, '\t');
        if (fields.size() != 3 || fields[0].empty())
            return std::nullopt;
        voices.push_back({fields[0], fields[1], Split(fields[2], ',')});
    }
    return std::nullopt;
}

void VoiceCheckCache::Store(const std::string& key, const std::vector<VoiceInfo>& voices) const {
    if (m_folder.empty())
        return;
    std::string text = std::string(kFormatLine) + '\n' + key + '\n';
    for (const VoiceInfo& voice : voices) {
        std::string languages;
        for (const std::string& language : voice.languages) {
            if (!IsStorable(language, "\t\n,"))
                return;
            languages += (languages.empty() ? "" : ",") + language;
        }
        if (!IsStorable(voice.identifier) || !IsStorable(voice.description))
            return;
        text += voice.identifier + '\t' + voice.description + '\t' + languages + '\n';
    }
    text += std::string(kEndLine) + '\n';
    std::error_code error;
    fs::create_directories(m_folder, error);
    // Written beside the cache and renamed over it, so that a reader never sees half a
    // list, even when two programs start at once.
    const fs::path temporary = m_folder / ("voices." + std::to_string(getpid()) + ".tmp");
    {
        std::ofstream file(temporary, std::ios::trunc);
        file << text;
        file.close();
        if (!file) {
            fs::remove(temporary, error);
            return;
        }
    }
    fs::rename(temporary, FilePath(), error);
    if (error)
        fs::remove(temporary, error);
}
