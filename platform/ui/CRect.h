#pragma once

#include "platform/ui/WinUser.h"

// A rectangle with its width and height at hand.
class CRect : public RECT {
  public:
    CRect() = default;
    CRect(LONG l, LONG t, LONG r, LONG b) : RECT{l, t, r, b} {}

    LONG Width() const { return right - left; }
    LONG Height() const { return bottom - top; }
};
