#pragma once

#include "runtime/speech/VoiceInfo.h"

#include <string>
#include <string_view>
#include <vector>

class EspeakEngine;
class VoiceCheckCache;

// The voices eSpeak NG can really speak with: those of the user's language first, then
// every other one in the order eSpeak NG lists them. The speech runtime and the converter
// both number voices by their place in this list, so a voice number means the same voice
// in both programs.
class VoiceCatalog {
  public:
    // Checked once per process, with the check's result kept in the user's cache folder.
    static std::vector<VoiceInfo> List(EspeakEngine& engine);

    // The voices that pass the check, in eSpeak NG's order: the cache's list when it was
    // stored for the installed eSpeak NG, else a fresh check, which is then stored. The
    // engine must be ready.
    static std::vector<VoiceInfo> CheckedVoices(const VoiceCheckCache& cache);

    // The user's language as a voice language: "en_US.UTF-8" gives "en-us". Taken from
    // LC_ALL, else LC_MESSAGES, else LANG; none of them, "C" or "POSIX" give "en".
    static std::string UserLanguage();
    // The voices that speak the language itself first, then those that speak another
    // variant of its main language, then the rest; each group keeps its order.
    static std::vector<VoiceInfo> InLanguageOrder(std::vector<VoiceInfo> voices,
                                                  std::string_view language);
};
