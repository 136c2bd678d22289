#include "platform/process/WindowQueries.h"

#include "tests/platform/process/XvfbServer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <vector>
#include <xcb/xcb.h>

namespace {

// Sets DISPLAY for one test and puts the old value back afterwards.
class DisplayVariable {
  public:
    explicit DisplayVariable(const char* value) {
        if (const char* old = std::getenv("DISPLAY")) {
            m_old = old;
        }
        if (value != nullptr) {
            setenv("DISPLAY", value, 1);
        } else {
            unsetenv("DISPLAY");
        }
    }
    ~DisplayVariable() {
        if (m_old) {
            setenv("DISPLAY", m_old->c_str(), 1);
        } else {
            unsetenv("DISPLAY");
        }
    }

  private:
    std::optional<std::string> m_old;
};

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
    for (const char* display : {static_cast<const char*>(nullptr), "", ":4711"}) {
        DisplayVariable variable(display);
        EXPECT_TRUE(AllWindows().empty());
        DWORD pid = 99;
        EXPECT_EQ(GetWindowThreadProcessId(HWND(0x200001), &pid), 0u);
        EXPECT_EQ(pid, 0u);
        EXPECT_FALSE(GetParent(HWND(0x200001)));
        EXPECT_EQ(GetWindowTextA(HWND(0x200001)), "");
    }
}

// A client of the test's X server that makes windows the way programs do.
class WindowQueriesTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { s_server = std::make_unique<XvfbServer>(); }
    static void TearDownTestSuite() { s_server.reset(); }

    void SetUp() override {
        if (!s_server->running()) {
            GTEST_SKIP() << "no X server for the window queries: " << s_server->problem();
        }
        m_display.emplace(s_server->display().c_str());
        m_connection = xcb_connect(nullptr, nullptr);
        ASSERT_EQ(xcb_connection_has_error(m_connection), 0)
            << "cannot connect to " << s_server->display();
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    }

    void TearDown() override {
        if (m_connection != nullptr && xcb_connection_has_error(m_connection) == 0) {
            for (xcb_window_t window : m_windows) {
                xcb_destroy_window(m_connection, window);
            }
            xcb_delete_property(m_connection, m_root, Atom("_NET_CLIENT_LIST"));
        }
        xcb_disconnect(m_connection); // also frees a connection that failed
        m_display.reset();
    }

    xcb_atom_t Atom(const char* name) {
        auto cookie = xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(strlen(name)), name);
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(m_connection, cookie, nullptr);
        xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        free(reply);
        return atom;
    }

    HWND CreateWindow() {
        xcb_window_t window = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, m_root, 0, 0, 10, 10, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        m_windows.push_back(window);
        return HWND(window);
    }

    void SetText(HWND window, const char* name, xcb_atom_t type, const std::string& bytes) {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window.Id(), Atom(name), type, 8,
                            static_cast<uint32_t>(bytes.size()), bytes.data());
    }

    void SetWords(HWND window, const char* name, xcb_atom_t type, std::vector<uint32_t> values) {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window.Id(), Atom(name), type, 32,
                            static_cast<uint32_t>(values.size()), values.data());
    }

    // Makes sure the server has carried out every request so far.
    void Sync() {
        free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }

    HWND Root() const { return HWND(m_root); }

    static std::unique_ptr<XvfbServer> s_server;
    std::optional<DisplayVariable> m_display;
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    std::vector<xcb_window_t> m_windows;
};

std::unique_ptr<XvfbServer> WindowQueriesTest::s_server;

TEST_F(WindowQueriesTest, FindsTheWindowsOfAProcessWithOwnerAndTitle) {
    HWND main = CreateWindow();
    SetWords(main, "_NET_WM_PID", XCB_ATOM_CARDINAL, {4242});
    SetText(main, "_NET_WM_NAME", Atom("UTF8_STRING"), std::string("Konvertiere – 进程 50 %"));
    SetText(main, "WM_NAME", XCB_ATOM_STRING, std::string("old name"));
    HWND dialog = CreateWindow();
    SetWords(dialog, "_NET_WM_PID", XCB_ATOM_CARDINAL, {4242});
    SetWords(dialog, "WM_TRANSIENT_FOR", XCB_ATOM_WINDOW, {main.Id()});
    HWND other = CreateWindow();
    SetText(other, "WM_NAME", XCB_ATOM_STRING, std::string("Caf\xe9"));
    Sync();

    std::vector<HWND> windows = AllWindows();
    for (HWND window : {main, dialog, other}) {
        EXPECT_NE(std::find(windows.begin(), windows.end(), window), windows.end());
    }
    DWORD pid = 0;
    EXPECT_EQ(GetWindowThreadProcessId(dialog, &pid), 4242u);
    EXPECT_EQ(pid, 4242u);
    EXPECT_EQ(GetWindowThreadProcessId(other, nullptr), 0u);
    EXPECT_EQ(GetParent(dialog), main);
    EXPECT_FALSE(GetParent(main));
    EXPECT_EQ(GetWindowTextA(main), "Konvertiere – 进程 50 %");
    EXPECT_EQ(GetWindowTextA(other), "Café");
    EXPECT_EQ(GetWindowTextA(dialog), "");
}

// What the dialog does after its wait ran out: find the program's window by its process
// id, from inside the enumeration's callback.
TEST_F(WindowQueriesTest, CallbackQueriesAndStopsTheEnumeration) {
    for (int i = 0; i < 3; ++i) {
        SetWords(CreateWindow(), "_NET_WM_PID", XCB_ATOM_CARDINAL,
                 {static_cast<uint32_t>(7000 + i)});
    }
    Sync();
    struct Search {
        DWORD pid;
        int visited = 0;
        HWND found;
    } search{7001, 0, HWND()};
    BOOL completed = EnumWindows(
        [](HWND window, LPARAM lParam) {
            auto* s = reinterpret_cast<Search*>(lParam);
            ++s->visited;
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (pid != s->pid) {
                return TRUE;
            }
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    EXPECT_EQ(completed, FALSE);
    EXPECT_EQ(GetWindowThreadProcessId(search.found, nullptr), 7001u);
    EXPECT_EQ(static_cast<std::size_t>(search.visited),
              std::find(m_windows.begin(), m_windows.end(), search.found.Id()) - m_windows.begin() +
                  1);
}

TEST_F(WindowQueriesTest, WindowManagersClientListWins) {
    HWND managed = CreateWindow();
    CreateWindow(); // a frame or helper window that the window manager does not list
    SetWords(Root(), "_NET_CLIENT_LIST", XCB_ATOM_WINDOW, {managed.Id()});
    Sync();
    EXPECT_EQ(AllWindows(), std::vector<HWND>{managed});
}

TEST_F(WindowQueriesTest, OddPropertiesGiveNoAnswer) {
    HWND toRoot = CreateWindow();
    SetWords(toRoot, "WM_TRANSIENT_FOR", XCB_ATOM_WINDOW, {Root().Id()});
    HWND wrongType = CreateWindow();
    SetText(wrongType, "_NET_WM_PID", XCB_ATOM_STRING, std::string("4242"));
    SetText(wrongType, "_NET_WM_NAME", XCB_ATOM_STRING, std::string("not utf-8 typed"));
    HWND destroyed = CreateWindow();
    SetWords(destroyed, "_NET_WM_PID", XCB_ATOM_CARDINAL, {4242});
    xcb_destroy_window(m_connection, destroyed.Id());
    m_windows.pop_back();
    Sync();

    EXPECT_FALSE(GetParent(toRoot));
    EXPECT_EQ(GetWindowThreadProcessId(wrongType, nullptr), 0u);
    EXPECT_EQ(GetWindowTextA(wrongType), "");
    EXPECT_EQ(GetWindowThreadProcessId(destroyed, nullptr), 0u);
    EXPECT_FALSE(GetParent(destroyed));
    EXPECT_EQ(GetWindowTextA(destroyed), "");
}

} // namespace
