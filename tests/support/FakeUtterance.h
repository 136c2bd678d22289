#pragma once

#include "platform/base/WinTypes.h"

#include <string>

// A text the fake speech runtime was asked to speak, with the voice settings in force at
// that moment, so a test can check which voice would have read it and how.
struct FakeUtterance {
    std::string text;  // UTF-8
    std::string voice; // description of the voice in use
    LONG rate = 0;
    LONG volume = 0;
    LONG flags = 0;

    friend bool operator==(const FakeUtterance&, const FakeUtterance&) = default;
};
