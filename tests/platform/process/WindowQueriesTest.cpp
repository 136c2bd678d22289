#include "platform/process/WindowQueries.h"

#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/support/X11Windows.h"
#include "tests/support/XvfbServer.h"

#include <gtest/gtest.h>

namespace {

std::vector<HWND> AllWindows() {
    std::vector<HWND> windows;
    EXPECT_EQ(EnumWindows(
                  [](HWND window, LPARAM list) {
                      reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
                      return TRUE;
                  },
                  reinterpret_cast<LPARAM>(&windows)),
              TRUE);
    return windows;
}

// Windows made on a private X server the way programs make them (the converter's windows
// of the export suite show the usual owner, process and title). A UTF-8 title beats the old
// one, and a window already gone gives no answer.
TEST(WindowQueries, ReadOddTitlesAndPropertiesAndOnlyTheClientsAWindowManagerLists) {
    XvfbServer server;
    if (!server.IsRunning())
        GTEST_SKIP() << "no X server for the window queries: " << server.Problem();
    ScopedEnvironmentVariable display("DISPLAY", server.Display());
    X11Windows x;
    ASSERT_TRUE(x.IsConnected()) << "cannot connect to " << server.Display();
    const HWND main(x.Create());
    x.SetText(main.Id(), "_NET_WM_NAME", x.Atom("UTF8_STRING"), "Konvertiere – 进程 50 %");
    x.SetText(main.Id(), "WM_NAME", XCB_ATOM_STRING, "old name");
    const HWND other(x.Create());
    const HWND gone(x.Create());
    x.SetWords(gone.Id(), "_NET_WM_PID", XCB_ATOM_CARDINAL, {4242});
    x.Destroy(gone.Id());
    x.Sync();

    EXPECT_EQ(AllWindows(), (std::vector<HWND>{main, other}));
    EXPECT_EQ(GetWindowTextA(main), "Konvertiere – 进程 50 %");
    EXPECT_FALSE(GetParent(gone));
    EXPECT_EQ(GetWindowThreadProcessId(gone, nullptr), 0u);
    EXPECT_EQ(GetWindowTextA(gone), "");

    // Where a window manager lists its clients, only they count: not its frames or helpers.
    x.SetWords(x.Root(), "_NET_CLIENT_LIST", XCB_ATOM_WINDOW, {other.Id()});
    x.Sync();
    EXPECT_EQ(AllWindows(), std::vector<HWND>{other});
}

} // namespace
