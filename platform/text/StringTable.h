#pragma once

#include "platform/base/WinTypes.h"

#include <span>

// One entry of a string table: an id and its text in the ANSI code page.
struct StringResource {
    UINT id;
    const char* text;
};

// The program's string table. The resources register their table at start-up (and tests
// may register one of their own); CString::LoadString looks ids up here.
class StringTable {
  public:
    static void Install(std::span<const StringResource> table);
    static const char* Find(UINT id);
};
