#pragma once

#include "runtime/speech/VoiceInfo.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Keeps the list of voices that passed the check that they can speak, so that a start
// need not load every voice again. The list is stored with a key that names what it was
// checked against; a list stored under another key is not used. A cache that cannot be
// read or written only means that the voices are checked again.
class VoiceCheckCache {
  public:
    explicit VoiceCheckCache(std::filesystem::path folder) : m_folder(std::move(folder)) {}

    // $XDG_CACHE_HOME/murmelo, else ~/.cache/murmelo; empty when neither can be told.
    static std::filesystem::path UserFolder();
    // What the check depends on: eSpeak NG's version, and the names, sizes and times of
    // the files in its data folder and in the MBROLA voices' folder. eSpeak NG must be
    // initialised.
    static std::string CurrentKey();

    // The list stored under key, or nothing.
    std::optional<std::vector<VoiceInfo>> Load(const std::string& key) const;
    // Replaces what is stored; failures are ignored.
    void Store(const std::string& key, const std::vector<VoiceInfo>& voices) const;

  private:
    std::filesystem::path FilePath() const { return m_folder / "voices"; }

    std::filesystem::path m_folder;
};
