#pragma once

#include <string_view>

// Reports a broken promise of the code under test on standard error, bytes that are not
// printable escaped, and aborts, which libFuzzer records as a crash with its input.
[[noreturn]] void ReportFuzzFailure(std::string_view what, std::string_view detail = {});
