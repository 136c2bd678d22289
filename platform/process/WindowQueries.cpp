#include "platform/process/WindowQueries.h"

#include "platform/process/X11Connection.h"

#include <utility>

namespace {

// While an enumeration runs, the queries its callback makes use the enumeration's
// connection instead of connecting anew for every window.
thread_local X11Connection* t_enumerating = nullptr;

class EnumerationScope {
  public:
    explicit EnumerationScope(X11Connection& connection)
        : m_outer(std::exchange(t_enumerating, &connection)) {}
    ~EnumerationScope() { t_enumerating = m_outer; }
    EnumerationScope(const EnumerationScope&) = delete;
    EnumerationScope& operator=(const EnumerationScope&) = delete;

  private:
    X11Connection* m_outer;
};

template <typename Result, typename Query>
Result Ask(Result none, Query query) {
    if (t_enumerating != nullptr) {
        return query(*t_enumerating);
    }
    auto connection = X11Connection::Open();
    return connection ? query(*connection) : none;
}

} // namespace

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
    auto connection = X11Connection::Open();
    if (!connection) {
        return TRUE;
    }
    EnumerationScope scope(*connection);
    for (xcb_window_t window : connection->TopLevelWindows()) {
        if (!proc(HWND(window), lParam)) {
            return FALSE;
        }
    }
    return TRUE;
}

DWORD GetWindowThreadProcessId(HWND hWnd, DWORD* lpdwProcessId) {
    DWORD processId =
        hWnd ? Ask<DWORD>(0, [&](X11Connection& x) { return x.ProcessId(hWnd.Id()); }) : 0;
    if (lpdwProcessId != nullptr) {
        *lpdwProcessId = processId;
    }
    return processId;
}

HWND GetParent(HWND hWnd) {
    if (!hWnd) {
        return HWND();
    }
    return HWND(Ask<xcb_window_t>(XCB_WINDOW_NONE,
                                  [&](X11Connection& x) { return x.TransientFor(hWnd.Id()); }));
}

std::string GetWindowTextA(HWND hWnd) {
    if (!hWnd) {
        return {};
    }
    return Ask<std::string>({}, [&](X11Connection& x) { return x.Title(hWnd.Id()); });
}
