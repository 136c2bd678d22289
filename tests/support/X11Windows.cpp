#include "tests/support/X11Windows.h"

#include <cstring>
#include <memory>

namespace {

// xcb hands out replies that the caller frees.
template <class T>
std::unique_ptr<T, decltype(&std::free)> Take(T* reply) {
    return {reply, &std::free};
}

} // namespace

X11Windows::X11Windows(const std::string& display)
    : m_connection(xcb_connect(display.empty() ? nullptr : display.c_str(), nullptr)) {
    if (IsConnected())
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
}

xcb_atom_t X11Windows::Atom(const char* name) {
    const auto length = static_cast<std::uint16_t>(std::strlen(name));
    const auto reply = Take(xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, length, name), nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

xcb_window_t X11Windows::Create(bool mapped) {
    const xcb_window_t window = xcb_generate_id(m_connection);
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, m_root, 0, 0, 10, 10, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    if (mapped)
        xcb_map_window(m_connection, window);
    return window;
}

std::string X11Windows::Property(xcb_window_t window, xcb_atom_t name) {
    const auto reply = Take(xcb_get_property_reply(
        m_connection,
        xcb_get_property(m_connection, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
        nullptr));
    if (!reply)
        return std::string();
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

std::vector<xcb_window_t> X11Windows::TopLevels() {
    const auto tree =
        Take(xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr));
    if (!tree)
        return {};
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    return {children, children + xcb_query_tree_children_length(tree.get())};
}

xcb_window_t X11Windows::Find(std::uint32_t pid, const std::string& title) {
    if (!IsConnected())
        return XCB_WINDOW_NONE;
    const xcb_atom_t pidAtom = Atom("_NET_WM_PID");
    for (const xcb_window_t window : TopLevels()) {
        const std::string pidBytes = Property(window, pidAtom);
        if (pidBytes.size() == sizeof pid && std::memcmp(pidBytes.data(), &pid, sizeof pid) == 0 &&
            Title(window) == title)
            return window;
    }
    return XCB_WINDOW_NONE;
}

bool X11Windows::IsViewable(xcb_window_t window) {
    const auto attributes = Take(xcb_get_window_attributes_reply(
        m_connection, xcb_get_window_attributes(m_connection, window), nullptr));
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

std::vector<xcb_window_t> X11Windows::Shown() {
    std::vector<xcb_window_t> shown = TopLevels();
    std::erase_if(shown, [&](xcb_window_t window) { return !IsViewable(window); });
    return shown;
}

std::string X11Windows::FocusedTitle() {
    const auto focus =
        Take(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    // Without a window manager the focus is on a top-level window itself, or on none
    // (the values below 2), or with the pointer (the root).
    if (!focus || focus->focus < 2 || focus->focus == m_root)
        return std::string();
    return Title(focus->focus);
}

void X11Windows::RequestClose(xcb_window_t window) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = Atom("WM_PROTOCOLS");
    event.data.data32[0] = Atom("WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(m_connection);
}
