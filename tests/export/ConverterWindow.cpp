// A stand-in for a converter that shows windows while it works: a main window titled as
// the first argument, and a progress window owned by it that the window list holds before
// the main window. Both carry this process's id. It then sleeps until it is killed.
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

void SetProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name,
                 xcb_atom_t type, std::uint8_t format, std::uint32_t count, const void* data) {
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, name, type, format, count, data);
}

} // namespace

int main(int argc, char** argv) {
    const std::string title = argc > 1 ? argv[1] : "Converter";
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection))
        return 1;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_atom_t wmPid = Atom(connection, "_NET_WM_PID");
    const xcb_atom_t wmName = Atom(connection, "_NET_WM_NAME");
    const xcb_atom_t utf8 = Atom(connection, "UTF8_STRING");
    const std::uint32_t pid = static_cast<std::uint32_t>(getpid());

    // Created first, the progress window lies lowest and is listed first.
    const xcb_window_t progress = xcb_generate_id(connection);
    const xcb_window_t main = xcb_generate_id(connection);
    const std::string progressTitle = "Progress";
    for (xcb_window_t window : {progress, main}) {
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 100, 50, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        SetProperty(connection, window, wmPid, XCB_ATOM_CARDINAL, 32, 1, &pid);
        const std::string& name = window == main ? title : progressTitle;
        SetProperty(connection, window, wmName, utf8, 8, static_cast<std::uint32_t>(name.size()),
                    name.data());
        xcb_map_window(connection, window);
    }
    SetProperty(connection, progress, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 32, 1, &main);
    xcb_flush(connection);
    // The windows must outlive the wait that finds them; the test ends this process.
    while (true)
        pause();
}
