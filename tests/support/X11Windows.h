#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

// A client of an X11 display that makes windows the way programs do and looks at the
// top-level windows as the tests need: found by title, visible or not, and asked to close as
// a window manager's close box does.
class X11Windows {
  public:
    // An empty display name means $DISPLAY.
    explicit X11Windows(const std::string& display = std::string())
        : m_connection(xcb_connect(display.empty() ? nullptr : display.c_str(), nullptr)) {
        if (IsConnected())
            m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    }
    X11Windows(const X11Windows&) = delete;
    X11Windows& operator=(const X11Windows&) = delete;
    // Disconnecting also destroys the windows this client made.
    ~X11Windows() { xcb_disconnect(m_connection); }

    bool IsConnected() const { return !xcb_connection_has_error(m_connection); }
    xcb_window_t Root() const { return m_root; }
    xcb_atom_t Atom(const char* name) {
        const auto reply = Take(xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, std::uint16_t(std::strlen(name)), name),
            nullptr));
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    // A new top-level window, 10 x 10 pixels, mapped only when asked.
    xcb_window_t Create(bool mapped = false) {
        const xcb_window_t window = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, m_root, 0, 0, 10, 10, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        if (mapped)
            xcb_map_window(m_connection, window);
        return window;
    }
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
        Take(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }

    // Mapped and so on the screen (no window manager hides it otherwise).
    bool IsViewable(xcb_window_t window) {
        const auto attributes = Take(xcb_get_window_attributes_reply(
            m_connection, xcb_get_window_attributes(m_connection, window), nullptr));
        return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    }
    // The top-level windows on the screen, titled or not (a menu has no title of its own).
    std::vector<xcb_window_t> Shown() {
        std::vector<xcb_window_t> shown = TopLevels();
        std::erase_if(shown, [&](xcb_window_t window) { return !IsViewable(window); });
        return shown;
    }
    // Those of them with exactly this title.
    std::vector<xcb_window_t> Shown(const std::string& title) {
        std::vector<xcb_window_t> shown = Shown();
        std::erase_if(shown, [&](xcb_window_t window) { return Title(window) != title; });
        return shown;
    }
    // The window's title (_NET_WM_NAME, in UTF-8).
    std::string Title(xcb_window_t window) { return Property(window, Atom("_NET_WM_NAME")); }
    // The title of the window that has the keyboard focus; empty when no window has it.
    // Without a window manager the focus is on a top-level window itself, or on none (the
    // values below 2), or with the pointer (the root).
    std::string FocusedTitle() {
        const auto focus = Take(
            xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
        return !focus || focus->focus < 2 || focus->focus == m_root ? std::string()
                                                                    : Title(focus->focus);
    }
    // The close box: a WM_DELETE_WINDOW message, which the window decides about itself.
    void RequestClose(xcb_window_t window) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = Atom("WM_PROTOCOLS");
        event.data.data32[0] = Atom("WM_DELETE_WINDOW");
        xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&event));
        xcb_flush(m_connection);
    }

  private:
    // xcb hands out replies that the caller frees.
    template <class T>
    static std::unique_ptr<T, decltype(&std::free)> Take(T* reply) {
        return {reply, &std::free};
    }
    void Change(xcb_window_t window, const char* name, xcb_atom_t type, std::uint8_t format,
                std::size_t count, const void* data) {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, Atom(name), type, format,
                            static_cast<std::uint32_t>(count), data);
    }
    std::vector<xcb_window_t> TopLevels() {
        const auto tree =
            Take(xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr));
        const xcb_window_t* children = tree ? xcb_query_tree_children(tree.get()) : nullptr;
        return {children, children + (tree ? xcb_query_tree_children_length(tree.get()) : 0)};
    }
    std::string Property(xcb_window_t window, xcb_atom_t name) {
        const auto reply = Take(xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
            nullptr));
        return reply ? std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                                   std::size_t(xcb_get_property_value_length(reply.get())))
                     : std::string();
    }

    xcb_connection_t* m_connection;
    xcb_window_t m_root = XCB_WINDOW_NONE;
};
