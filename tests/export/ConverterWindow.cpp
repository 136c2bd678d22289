// A stand-in for a converter that shows windows while it works: a main window titled as
// the first argument, and a progress window owned by it that the window list holds before
// the main window. Both carry this process's id.
#include "tests/support/X11Windows.h"

#include <unistd.h>
#include <utility>

int main(int argc, char** argv) {
    X11Windows x;
    if (!x.IsConnected())
        return 1;
    const auto pid = static_cast<std::uint32_t>(getpid());
    // Created first, the progress window lies lowest and is listed first.
    const xcb_window_t progress = x.Create(true);
    const xcb_window_t main = x.Create(true);
    for (const auto& [window, title] :
         {std::pair{progress, std::string("Progress")},
          std::pair{main, std::string(argc > 1 ? argv[1] : "Converter")}}) {
        x.SetWords(window, "_NET_WM_PID", XCB_ATOM_CARDINAL, {pid});
        x.SetText(window, "_NET_WM_NAME", x.Atom("UTF8_STRING"), title);
    }
    x.SetWords(progress, "WM_TRANSIENT_FOR", XCB_ATOM_WINDOW, {main});
    x.Sync();
    // The windows must outlive the wait that finds them, and the test ends this process then.
    // Should the wait not end at its time-out, the process ends on its own, so that the test
    // fails on a converter that wrote nothing instead of waiting for ever.
    sleep(20);
}
