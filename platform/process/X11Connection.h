#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include <xcb/xcb.h>

// One connection to the X11 display, with the few window properties the window queries
// read. Windows that vanish while they are asked about simply have no properties.
class X11Connection {
  public:
    // Connects to the display DISPLAY names; none when there is no display to reach.
    static std::unique_ptr<X11Connection> Open();

    // Takes over a connection that works.
    X11Connection(xcb_connection_t* connection, xcb_window_t root);
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    std::vector<xcb_window_t> TopLevelWindows();
    std::uint32_t ProcessId(xcb_window_t window);
    xcb_window_t TransientFor(xcb_window_t window);
    std::string Title(xcb_window_t window);

  private:
    struct Property {
        xcb_atom_t type = XCB_ATOM_NONE;
        std::uint8_t format = 0;
        std::string bytes;
    };

    std::optional<Property> Read(xcb_window_t window, xcb_atom_t name);
    std::vector<std::uint32_t> ReadCardinals(xcb_window_t window, xcb_atom_t name, xcb_atom_t type);
    std::optional<std::vector<xcb_window_t>> ClientList();
    std::vector<xcb_window_t> RootChildren();

    xcb_connection_t* m_connection;
    xcb_window_t m_root;
    xcb_atom_t m_clientList;
    xcb_atom_t m_wmPid;
    xcb_atom_t m_wmName;
    xcb_atom_t m_utf8String;
};
