#pragma once

#include "platform/base/WinTypes.h"

#include <optional>
#include <string>
#include <string_view>

// The registry form of a GUID, "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", with upper-case
// hex digits. Reading accepts either case but nothing else: braces, hyphens and the 32
// digits must all be there, so a mistyped id is refused rather than half-read.
std::string StringFromGUID(const GUID& guid);
std::optional<GUID> GUIDFromString(std::string_view text);
