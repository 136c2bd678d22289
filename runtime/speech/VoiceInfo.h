#pragma once

#include <string>
#include <vector>

// How natural a voice sounds beside the other voices of its language: in the voice list
// the natural ones come first, the plain ones after the usual ones.
enum class Naturalness { Natural, Usual, Plain };

// One voice that one of the runtime's engines can speak with, as the runtime and the
// converter list it.
struct VoiceInfo {
    // What the runtime selects the voice by, unique per voice: eSpeak NG's file under its
    // voice data, such as "gmw/en-US", or "flite/" and the name of a Flite voice.
    std::string identifier;
    // The voice's name as a user reads it.
    std::string description;
    // The languages the voice speaks, lower case, its main language first, such as
    // "en-gb" or "cmn", "zh-cmn", "zh".
    std::vector<std::string> languages;
    Naturalness naturalness = Naturalness::Usual;
};
