#pragma once

#include <string>
#include <vector>

// One voice that eSpeak NG can speak with, as the runtime and the converter list it.
struct VoiceInfo {
    // What eSpeak NG selects the voice by (its file under the voice data), unique per voice.
    std::string identifier;
    // The voice's name with underscores shown as spaces, as a user reads it.
    std::string description;
    // The languages the voice speaks, lower case, its main language first, such as
    // "en-gb" or "cmn", "zh-cmn", "zh".
    std::vector<std::string> languages;
};
