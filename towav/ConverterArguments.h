#pragma once

#include <cstdint>
#include <string>

// What one run of the converter is asked to do.
struct ConverterArguments {
    std::string inputPath;
    std::string outputPath;
    // 1-based place in the voice list; 0 picks the first voice.
    std::int32_t voiceNumber = 0;
    // -10..10, 0 the voice's normal speed.
    std::int32_t rate = 0;
    // 0..100, 100 the voice's normal loudness.
    std::int32_t volume = 100;
};
