#pragma once

#include "platform/text/CString.h"

#include <string>
#include <string_view>

// Conversion between the ANSI code page (UTF-8 on this platform) and UTF-16, as the
// dialog code and the automation layer need it. Bytes that are not valid UTF-8 become
// U+FFFD, and so do unpaired surrogates in the other direction; nothing is ever dropped
// silently or read past the end.
namespace AnsiCodePage {

std::u16string ToWide(std::string_view ansi);
CString FromWide(std::u16string_view wide);

} // namespace AnsiCodePage
