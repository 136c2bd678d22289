#include "platform/process/X11Connection.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

// xcb hands out replies and errors in memory the caller frees.
template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> Owned(T* reply) {
    return Reply<T>(reply, &std::free);
}

// Asks for the whole of a property: the server sends what there is, up to this many
// 32-bit units, so no title or window list is ever cut.
constexpr std::uint32_t kWholeProperty = std::numeric_limits<std::uint32_t>::max() / 4;

// WM_NAME of type STRING is ISO 8859-1 text.
std::string Latin1ToUtf8(const std::string& latin1) {
    std::string utf8;
    utf8.reserve(latin1.size());
    for (unsigned char c : latin1) {
        if (c < 0x80) {
            utf8.push_back(static_cast<char>(c));
        } else {
            utf8.push_back(static_cast<char>(0xC0 | (c >> 6)));
            utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return utf8;
}

// Format 32 property data arrives in this machine's byte order.
std::vector<std::uint32_t> Words(const std::string& bytes) {
    std::vector<std::uint32_t> words(bytes.size() / sizeof(std::uint32_t));
    std::memcpy(words.data(), bytes.data(), words.size() * sizeof(std::uint32_t));
    return words;
}

std::string WithoutTrailingNuls(std::string text) {
    while (!text.empty() && text.back() == '\0') {
        text.pop_back();
    }
    return text;
}

} // namespace

std::unique_ptr<X11Connection> X11Connection::Open() {
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return nullptr;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    if (screens.rem == 0) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::make_unique<X11Connection>(connection, screens.data->root);
}

X11Connection::X11Connection(xcb_connection_t* connection, xcb_window_t root)
    : m_connection(connection), m_root(root) {
    // Atoms that the server does not know yet are not created: no window can carry a
    // property of that name, and the queries then find nothing.
    constexpr std::array<const char*, 4> names{"_NET_CLIENT_LIST", "_NET_WM_PID", "_NET_WM_NAME",
                                               "UTF8_STRING"};
    std::array<xcb_intern_atom_cookie_t, names.size()> cookies{};
    for (std::size_t i = 0; i < names.size(); ++i) {
        cookies[i] = xcb_intern_atom(m_connection, 1, static_cast<std::uint16_t>(strlen(names[i])),
                                     names[i]);
    }
    std::array<xcb_atom_t, names.size()> atoms{};
    for (std::size_t i = 0; i < names.size(); ++i) {
        auto reply = Owned(xcb_intern_atom_reply(m_connection, cookies[i], nullptr));
        atoms[i] = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }
    m_clientList = atoms[0];
    m_wmPid = atoms[1];
    m_wmName = atoms[2];
    m_utf8String = atoms[3];
}

X11Connection::~X11Connection() {
    xcb_disconnect(m_connection);
}

std::vector<xcb_window_t> X11Connection::TopLevelWindows() {
    if (auto clients = ClientList()) {
        return *clients;
    }
    return RootChildren();
}

std::optional<std::vector<xcb_window_t>> X11Connection::ClientList() {
    auto list = Read(m_root, m_clientList);
    if (!list || list->type != XCB_ATOM_WINDOW || list->format != 32) {
        return std::nullopt;
    }
    return Words(list->bytes);
}

std::vector<xcb_window_t> X11Connection::RootChildren() {
    xcb_generic_error_t* error = nullptr;
    auto tree =
        Owned(xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), &error));
    std::free(error);
    if (!tree) {
        return {};
    }
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    return std::vector<xcb_window_t>(children,
                                     children + xcb_query_tree_children_length(tree.get()));
}

std::uint32_t X11Connection::ProcessId(xcb_window_t window) {
    auto values = ReadCardinals(window, m_wmPid, XCB_ATOM_CARDINAL);
    return values.empty() ? 0 : values.front();
}

xcb_window_t X11Connection::TransientFor(xcb_window_t window) {
    auto values = ReadCardinals(window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW);
    // Some programs mark a dialog transient for the root window to tie it to no window in
    // particular; that is no parent either.
    if (values.empty() || values.front() == m_root || values.front() == window) {
        return XCB_WINDOW_NONE;
    }
    return values.front();
}

std::string X11Connection::Title(xcb_window_t window) {
    if (auto name = Read(window, m_wmName); name && name->type == m_utf8String) {
        return WithoutTrailingNuls(name->bytes);
    }
    auto name = Read(window, XCB_ATOM_WM_NAME);
    if (!name || name->format != 8) {
        return {};
    }
    // STRING is Latin-1; UTF8_STRING is taken as it is, and so is COMPOUND_TEXT, whose
    // ASCII part reads the same.
    std::string text = WithoutTrailingNuls(name->bytes);
    return name->type == XCB_ATOM_STRING ? Latin1ToUtf8(text) : text;
}

std::optional<X11Connection::Property> X11Connection::Read(xcb_window_t window, xcb_atom_t name) {
    if (name == XCB_ATOM_NONE) {
        return std::nullopt;
    }
    xcb_generic_error_t* error = nullptr;
    auto reply =
        Owned(xcb_get_property_reply(m_connection,
                                     xcb_get_property(m_connection, 0, window, name,
                                                      XCB_GET_PROPERTY_TYPE_ANY, 0, kWholeProperty),
                                     &error));
    std::free(error);
    if (!reply || reply->type == XCB_ATOM_NONE) {
        return std::nullopt;
    }
    const auto* data = static_cast<const char*>(xcb_get_property_value(reply.get()));
    return Property{reply->type, reply->format,
                    std::string(data, data + xcb_get_property_value_length(reply.get()))};
}

std::vector<std::uint32_t> X11Connection::ReadCardinals(xcb_window_t window, xcb_atom_t name,
                                                        xcb_atom_t type) {
    auto property = Read(window, name);
    if (!property || property->type != type || property->format != 32) {
        return {};
    }
    return Words(property->bytes);
}
