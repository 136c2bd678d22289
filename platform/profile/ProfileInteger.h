#pragma once

#include <cstdint>
#include <string_view>

// Reads a settings value as an integer the way the settings functions always have: an
// optional sign, then a lower-case "0x", "0o" or "0b" prefix for base 16, 8 or 2, else
// decimal digits. Reading stops at the first character that does not fit ("5abc" is 5,
// "3.7" is 3, "abc" is 0), and the result wraps to 32 bits like the original's did.
class ProfileInteger {
  public:
    static std::int32_t Read(std::string_view text);
};
