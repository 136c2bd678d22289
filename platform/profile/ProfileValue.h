#pragma once

#include <cstddef>
#include <string_view>

// The two ways a stored value is shaped on its way to a caller.
class ProfileValue {
  public:
    // A value enclosed in a matching pair of double or single quotes loses them; a lone or
    // unmatched quote stays part of the value.
    static std::string_view Unquote(std::string_view value);

    // Copies at most size - 1 bytes of text and a terminating NUL into buffer and returns
    // the number of bytes copied. A cut never splits a UTF-8 character: one that does not
    // fit is left out whole. A size of 0 writes nothing.
    static std::size_t CopyToBuffer(std::string_view text, char* buffer, std::size_t size);
};
