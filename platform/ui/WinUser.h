#pragma once

#include "platform/base/WinTypes.h"

// Window messages, notification codes, styles, message-box types and command ids, with the
// values the dialog code and the templates are written in.

inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_ICONERASEBKGND = 0x0027;
inline constexpr UINT WM_QUERYDRAGICON = 0x0037;
inline constexpr UINT WM_SETICON = 0x0080;
inline constexpr UINT WM_INITDIALOG = 0x0110;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;

// WM_SETICON's wParam: which of the window's two icons is set.
inline constexpr WPARAM ICON_SMALL = 0;
inline constexpr WPARAM ICON_BIG = 1;

// System commands (WM_SYSCOMMAND's wParam). The framework owns the low four bits and the
// range from 0xF000 up; a program's own system-menu entries lie below it.
inline constexpr UINT SC_MINIMIZE = 0xF020;
inline constexpr UINT SC_CLOSE = 0xF060;
inline constexpr UINT SC_KEYMENU = 0xF100;
inline constexpr UINT SC_RESTORE = 0xF120;

// Menu entry flags.
inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_GRAYED = 0x0001;
inline constexpr UINT MF_BYPOSITION = 0x0400;
inline constexpr UINT MF_SEPARATOR = 0x0800;

// GetSystemMetrics indexes.
inline constexpr int SM_CXICON = 11;
inline constexpr int SM_CYICON = 12;

// Notification codes, carried in the high word of a WM_COMMAND's wParam.
inline constexpr UINT BN_CLICKED = 0;
inline constexpr UINT CBN_SELCHANGE = 1;

// Messages a control understands.
inline constexpr UINT EM_SETSEL = 0x00B1;
inline constexpr UINT CB_ADDSTRING = 0x0143;
inline constexpr UINT CB_RESETCONTENT = 0x014B;
inline constexpr UINT CB_GETCOUNT = 0x0146;
inline constexpr UINT CB_GETCURSEL = 0x0147;
inline constexpr UINT CB_SETCURSEL = 0x014E;
inline constexpr LRESULT CB_ERR = -1;

// A point and a rectangle in pixels; a rectangle's right and bottom lie just outside it.
struct POINT {
    LONG x = 0;
    LONG y = 0;
    friend bool operator==(const POINT&, const POINT&) = default;
};

struct RECT {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
};

inline constexpr WPARAM MAKEWPARAM(UINT low, UINT high) {
    return static_cast<WPARAM>((low & 0xFFFFu) | ((high & 0xFFFFu) << 16));
}
inline constexpr UINT LOWORD(WPARAM value) {
    return static_cast<UINT>(value & 0xFFFFu);
}
inline constexpr UINT HIWORD(WPARAM value) {
    return static_cast<UINT>((value >> 16) & 0xFFFFu);
}

// Command ids the framework itself knows.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
inline constexpr UINT ID_HELP = 0xE146;

// Message-box types: the low four bits choose the buttons, the next four the icon.
inline constexpr UINT MB_OK = 0x0;
inline constexpr UINT MB_OKCANCEL = 0x1;
inline constexpr UINT MB_ABORTRETRYIGNORE = 0x2;
inline constexpr UINT MB_YESNOCANCEL = 0x3;
inline constexpr UINT MB_YESNO = 0x4;
inline constexpr UINT MB_RETRYCANCEL = 0x5;
inline constexpr UINT MB_TYPEMASK = 0xF;
inline constexpr UINT MB_ICONHAND = 0x10;
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr UINT MB_ICONEXCLAMATION = 0x30;
inline constexpr UINT MB_ICONINFORMATION = 0x40;
inline constexpr UINT MB_ICONMASK = 0xF0;

inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOW = 5;

// Window and control styles of the dialog templates.
inline constexpr DWORD WS_POPUP = 0x80000000u;
inline constexpr DWORD WS_VISIBLE = 0x10000000u;
inline constexpr DWORD WS_DISABLED = 0x08000000u;
inline constexpr DWORD WS_CAPTION = 0x00C00000u;
inline constexpr DWORD WS_BORDER = 0x00800000u;
inline constexpr DWORD WS_VSCROLL = 0x00200000u;
inline constexpr DWORD WS_SYSMENU = 0x00080000u;
inline constexpr DWORD WS_GROUP = 0x00020000u;
inline constexpr DWORD WS_TABSTOP = 0x00010000u;
inline constexpr DWORD WS_MINIMIZEBOX = 0x00020000u;
inline constexpr DWORD WS_MAXIMIZEBOX = 0x00010000u;
inline constexpr DWORD WS_EX_APPWINDOW = 0x00040000u;

inline constexpr DWORD DS_SETFONT = 0x0040u;
inline constexpr DWORD DS_MODALFRAME = 0x0080u;

inline constexpr DWORD BS_DEFPUSHBUTTON = 0x0001u;
inline constexpr DWORD BS_AUTOCHECKBOX = 0x0003u;

inline constexpr DWORD ES_MULTILINE = 0x0004u;
inline constexpr DWORD ES_AUTOVSCROLL = 0x0040u;
inline constexpr DWORD ES_AUTOHSCROLL = 0x0080u;
inline constexpr DWORD ES_WANTRETURN = 0x1000u;

inline constexpr DWORD SS_LEFT = 0x0000u;
inline constexpr DWORD SS_ICON = 0x0003u;
inline constexpr DWORD SS_NOPREFIX = 0x0080u;

inline constexpr DWORD CBS_DROPDOWNLIST = 0x0003u;
inline constexpr DWORD CBS_SORT = 0x0100u;
