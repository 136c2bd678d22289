#include "res/AboutDialogTemplate.h"

#include "platform/ui/WinUser.h"
#include "res/resource.h"

namespace {

using enum ControlKind;
using enum ControlState;

// In tab order.
constexpr DialogControl kControls[] = {
    {IDC_STATIC, Icon, "", 11, 17, 20, 20, Visible, SS_ICON, nullptr, IDR_MAINFRAME},
    {IDC_STATIC, Static, "Murmelo 1.0 版", 40, 10, 119, 8, Visible,
     SS_LEFT | SS_NOPREFIX | WS_GROUP},
    {IDC_STATIC, Static, "Copyright (C) 2026", 40, 25, 119, 8, Visible, SS_LEFT | WS_GROUP},
    {IDOK, PushButton, "确定", 178, 7, 50, 14, Visible, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP},
};

} // namespace

const DialogTemplate g_aboutDialogTemplate{
    IDD_ABOUTBOX,
    "关于 Murmelo",
    235,
    55,
    "宋体",
    9,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    0,
    kControls,
};
