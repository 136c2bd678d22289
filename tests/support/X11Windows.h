#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

// A client of an X11 display that makes windows the way programs do and looks at the
// top-level windows as the tests need: found by process and title, visible or not, and asked
// to close as a window manager's close box does.
class X11Windows {
  public:
    // An empty display name means $DISPLAY.
    explicit X11Windows(const std::string& display = std::string());
    X11Windows(const X11Windows&) = delete;
    X11Windows& operator=(const X11Windows&) = delete;
    // Disconnecting also destroys the windows this client made.
    ~X11Windows() { xcb_disconnect(m_connection); }

    bool IsConnected() const { return !xcb_connection_has_error(m_connection); }
    xcb_window_t Root() const { return m_root; }
    xcb_atom_t Atom(const char* name);

    // A new top-level window, 10 x 10 pixels, mapped only when asked.
    xcb_window_t Create(bool mapped = false);
    void Destroy(xcb_window_t window) { xcb_destroy_window(m_connection, window); }
    void SetText(xcb_window_t window, const char* name, xcb_atom_t type, const std::string& bytes) {
        Change(window, name, type, 8, bytes.size(), bytes.data());
    }
    void SetWords(xcb_window_t window, const char* name, xcb_atom_t type,
                  const std::vector<std::uint32_t>& values) {
        Change(window, name, type, 32, values.size(), values.data());
    }
    // Waits until the server has carried out every request so far.
    void Sync() {
        std::free(
            xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }

    // The top-level window of process `pid` with this title, or XCB_WINDOW_NONE.
    xcb_window_t Find(std::uint32_t pid, const std::string& title);
    // Mapped and so on the screen (no window manager hides it otherwise).
    bool IsViewable(xcb_window_t window);
    // The top-level windows on the screen, titled or not (a menu has no title of its own).
    std::vector<xcb_window_t> Shown();
    // The window's title (_NET_WM_NAME, in UTF-8).
    std::string Title(xcb_window_t window) { return Property(window, Atom("_NET_WM_NAME")); }
    // The title of the window that has the keyboard focus; empty when no window has it.
    std::string FocusedTitle();
    // The close box: a WM_DELETE_WINDOW message, which the window decides about itself.
    void RequestClose(xcb_window_t window);

  private:
    void Change(xcb_window_t window, const char* name, xcb_atom_t type, std::uint8_t format,
                std::size_t count, const void* data) {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, Atom(name), type, format,
                            static_cast<std::uint32_t>(count), data);
    }
    std::vector<xcb_window_t> TopLevels();
    std::string Property(xcb_window_t window, xcb_atom_t name);

    xcb_connection_t* m_connection;
    xcb_window_t m_root = XCB_WINDOW_NONE;
};
