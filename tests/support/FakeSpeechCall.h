#pragma once

#include "platform/ole/IDispatch.h"

#include <ostream>
#include <string>
#include <vector>

// One dispatch call that the fake speech runtime received. The arguments are written out
// so that a test reads them at a glance and sees their types: a number as digits, a string
// in double quotes (UTF-8), a null string as null, an object by its name ("Token 2").
struct FakeSpeechCall {
    std::string object; // "Voice", "Tokens" or "Token <index>"
    DISPID dispId = 0;
    WORD kind = 0;
    std::vector<std::string> arguments;

    // The whole call on one line, for example `Voice put 5(0)`, `Tokens method 0(3)` or
    // `Voice method 12("Hello", 1)`.
    std::string Describe() const;

    friend bool operator==(const FakeSpeechCall&, const FakeSpeechCall&) = default;
};

// Lets GoogleTest show a call the way Describe() writes it.
void PrintTo(const FakeSpeechCall& call, std::ostream* os);
