#pragma once

#include "runtime/speech/VoiceInfo.h"

#include <string>
#include <string_view>
#include <vector>

class SpeechEngines;

// The voices of every engine in one list: those of the user's language first, the most
// natural of them at the top, then every other one in the order the engines list them.
// The speech runtime and the converter both number voices by their place in this list,
// so a voice number means the same voice in both programs.
class VoiceCatalog {
  public:
    // Listed once per process.
    static std::vector<VoiceInfo> List(SpeechEngines& engines);

    // The user's language as a voice language: "en_US.UTF-8" gives "en-us". Taken from
    // LC_ALL, else LC_MESSAGES, else LANG; none of them, "C" or "POSIX" give "en".
    static std::string UserLanguage();
    // The voices of the language's main part come first: the natural ones, then the usual
    // ones, then the plain ones, each kind with the voices that speak the language itself
    // before those that speak another variant of it. Then come the rest. Each group keeps
    // its order.
    static std::vector<VoiceInfo> InLanguageOrder(std::vector<VoiceInfo> voices,
                                                  std::string_view language);
};
