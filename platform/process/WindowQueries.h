#pragma once

#include "platform/base/WinTypes.h"
#include "platform/process/HWND.h"

#include <string>

// Queries on the top-level windows of the X11 display that DISPLAY names. Where there is
// no display (DISPLAY unset, or the server cannot be reached) there are no windows: the
// enumeration calls nothing and every query answers "none".

using WNDENUMPROC = BOOL (*)(HWND hWnd, LPARAM lParam);

// Calls proc for each top-level window (the window manager's client list, or the root
// window's children where no window manager keeps one) until proc returns FALSE. Returns
// FALSE when proc stopped the enumeration, TRUE otherwise.
BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam);

// Stores the id of the process that owns hWnd (its _NET_WM_PID, or 0 when the window does
// not say) in *lpdwProcessId when that is not null, and returns the id of the window's
// thread: on Linux the main thread's id is the process id, so it is the same value.
DWORD GetWindowThreadProcessId(HWND hWnd, DWORD* lpdwProcessId);

// The window that hWnd is a transient of (a dialog's owner), or the null handle.
HWND GetParent(HWND hWnd);

// The window's title as UTF-8 text; empty when it has none.
std::string GetWindowTextA(HWND hWnd);
