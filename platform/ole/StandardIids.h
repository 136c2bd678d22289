#pragma once

#include "platform/base/WinTypes.h"

// The two interface ids every automation object answers to: the object itself and its
// late-bound dispatch interface. Their values are the well-known ones, so clients can
// name them in the familiar string form.
inline constexpr IID IID_IUnknown{
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IDispatch{
    0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
