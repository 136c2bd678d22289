#include "platform/process/WindowQueries.h"

#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/support/X11Windows.h"
#include "tests/support/XvfbServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>

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

TEST(WindowQueriesWithoutDisplay, ThereAreNoWindows) {
    using Display = std::optional<std::string>;
    for (const Display& display : {Display(), Display(""), Display(":4711")}) {
        ScopedEnvironmentVariable variable("DISPLAY", display);
        EXPECT_TRUE(AllWindows().empty());
        DWORD pid = 99;
        EXPECT_EQ(GetWindowThreadProcessId(HWND(0x200001), &pid), 0u);
        EXPECT_EQ(pid, 0u);
        EXPECT_FALSE(GetParent(HWND(0x200001)));
        EXPECT_EQ(GetWindowTextA(HWND(0x200001)), "");
    }
}

// Windows made on the test's X server the way programs make them.
class WindowQueriesTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { s_server = std::make_unique<XvfbServer>(); }
    static void TearDownTestSuite() { s_server.reset(); }

    void SetUp() override {
        if (!s_server->IsRunning())
            GTEST_SKIP() << "no X server for the window queries: " << s_server->Problem();
        m_display.emplace("DISPLAY", s_server->Display());
        m_x = std::make_unique<X11Windows>();
        ASSERT_TRUE(m_x->IsConnected()) << "cannot connect to " << s_server->Display();
    }

    void TearDown() override {
        if (m_x && m_x->IsConnected()) {
            for (xcb_window_t window : m_windows)
                m_x->Destroy(window);
            m_x->DeleteProperty(m_x->Root(), "_NET_CLIENT_LIST");
            m_x->Sync(); // gone before the next test looks
        }
    }

    HWND CreateWindow() {
        m_windows.push_back(m_x->Create());
        return HWND(m_windows.back());
    }

    static inline std::unique_ptr<XvfbServer> s_server;
    std::optional<ScopedEnvironmentVariable> m_display;
    std::unique_ptr<X11Windows> m_x;
    std::vector<xcb_window_t> m_windows;
};

// Owner, parent and title as other programs set them; properties of the wrong type, a
// parent that is the root and a window already gone give no answer.
TEST_F(WindowQueriesTest, ReadsOwnerParentAndTitleAndNothingFromOddProperties) {
    HWND main = CreateWindow();
    m_x->SetWords(main.Id(), "_NET_WM_PID", XCB_ATOM_CARDINAL, {4242});
    m_x->SetText(main.Id(), "_NET_WM_NAME", m_x->Atom("UTF8_STRING"), "Konvertiere – 进程 50 %");
    m_x->SetText(main.Id(), "WM_NAME", XCB_ATOM_STRING, "old name");
    HWND dialog = CreateWindow();
    m_x->SetWords(dialog.Id(), "_NET_WM_PID", XCB_ATOM_CARDINAL, {4242});
    m_x->SetWords(dialog.Id(), "WM_TRANSIENT_FOR", XCB_ATOM_WINDOW, {main.Id()});
    HWND latin = CreateWindow();
    m_x->SetText(latin.Id(), "WM_NAME", XCB_ATOM_STRING, "Caf\xe9");
    m_x->SetWords(latin.Id(), "WM_TRANSIENT_FOR", XCB_ATOM_WINDOW, {m_x->Root()});
    HWND wrongType = CreateWindow();
    m_x->SetText(wrongType.Id(), "_NET_WM_PID", XCB_ATOM_STRING, "4242");
    m_x->SetText(wrongType.Id(), "_NET_WM_NAME", XCB_ATOM_STRING, "not utf-8 typed");
    HWND destroyed = CreateWindow();
    m_x->SetWords(destroyed.Id(), "_NET_WM_PID", XCB_ATOM_CARDINAL, {4242});
    m_x->Destroy(destroyed.Id());
    m_windows.pop_back();
    m_x->Sync();

    std::vector<HWND> windows = AllWindows();
    for (HWND window : {main, dialog, latin})
        EXPECT_NE(std::find(windows.begin(), windows.end(), window), windows.end());
    DWORD pid = 0;
    EXPECT_EQ(GetWindowThreadProcessId(dialog, &pid), 4242u);
    EXPECT_EQ(pid, 4242u);
    EXPECT_EQ(GetParent(dialog), main);
    EXPECT_EQ(GetWindowTextA(main), "Konvertiere – 进程 50 %");
    EXPECT_EQ(GetWindowTextA(latin), "Café");
    EXPECT_EQ(GetWindowTextA(dialog), "");
    EXPECT_FALSE(GetParent(main));
    EXPECT_FALSE(GetParent(latin));
    EXPECT_EQ(GetWindowThreadProcessId(latin, nullptr), 0u);
    EXPECT_EQ(GetWindowThreadProcessId(wrongType, nullptr), 0u);
    EXPECT_EQ(GetWindowTextA(wrongType), "");
    EXPECT_EQ(GetWindowThreadProcessId(destroyed, nullptr), 0u);
    EXPECT_FALSE(GetParent(destroyed));
    EXPECT_EQ(GetWindowTextA(destroyed), "");

    // A callback that has found its window ends the enumeration.
    int visited = 0;
    EXPECT_EQ(
        EnumWindows([](HWND, LPARAM count) -> BOOL { return ++*reinterpret_cast<int*>(count) < 2; },
                    reinterpret_cast<LPARAM>(&visited)),
        FALSE);
    EXPECT_EQ(visited, 2);
}

TEST_F(WindowQueriesTest, WindowManagersClientListWins) {
    HWND managed = CreateWindow();
    CreateWindow(); // a frame or helper window that the window manager does not list
    m_x->SetWords(m_x->Root(), "_NET_CLIENT_LIST", XCB_ATOM_WINDOW, {managed.Id()});
    m_x->Sync();
    EXPECT_EQ(AllWindows(), std::vector<HWND>{managed});
}

} // namespace
