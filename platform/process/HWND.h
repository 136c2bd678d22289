#pragma once

#include <cstdint>

// A top-level window of the display, by its X11 window id. The null handle (id 0) stands
// for "no window", as a parent query returns it at the top.
class HWND {
  public:
    constexpr HWND() = default;
    constexpr explicit HWND(std::uint32_t id) : m_id(id) {}

    constexpr std::uint32_t Id() const { return m_id; }
    constexpr explicit operator bool() const { return m_id != 0; }

    friend constexpr bool operator==(HWND, HWND) = default;

  private:
    std::uint32_t m_id = 0;
};
