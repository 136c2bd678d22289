#pragma once

#include "platform/base/WinTypes.h"

#include <span>

// The program's version resource: the numeric file and product versions, and one block of
// named strings in one language and code page.
struct VersionString {
    const char* name;
    const char* value;
};

struct VersionResource {
    WORD fileVersion[4];
    WORD productVersion[4];
    WORD language;
    WORD codePage;
    std::span<const VersionString> strings;
};

extern const VersionResource g_versionResource;
