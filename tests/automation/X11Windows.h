#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <string>

// The top-level windows of an X11 display as the tests look at them: found by process and
// title, visible or not, and asked to close as a window manager's close box does.
class X11Windows {
  public:
    explicit X11Windows(const std::string& display);
    X11Windows(const X11Windows&) = delete;
    X11Windows& operator=(const X11Windows&) = delete;
    ~X11Windows();

    bool IsConnected() const { return m_connection != nullptr; }

    // The top-level window of process `pid` with this title, or XCB_WINDOW_NONE.
    xcb_window_t Find(std::uint32_t pid, const std::string& title);
    // Mapped and so on the screen (no window manager hides it otherwise).
    bool IsViewable(xcb_window_t window);
    // The close box: a WM_DELETE_WINDOW message, which the window decides about itself.
    void RequestClose(xcb_window_t window);

  private:
    xcb_atom_t Atom(const char* name);
    std::string Property(xcb_window_t window, xcb_atom_t name);

    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = XCB_WINDOW_NONE;
};
