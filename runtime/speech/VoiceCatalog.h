#pragma once

#include "runtime/speech/VoiceInfo.h"

#include <vector>

class EspeakEngine;

// The voices eSpeak NG can really speak with, in the order eSpeak NG lists them. The
// speech runtime and the converter both number voices by their place in this list, so a
// voice number means the same voice in both programs.
class VoiceCatalog {
  public:
    static std::vector<VoiceInfo> List(EspeakEngine& engine);
};
