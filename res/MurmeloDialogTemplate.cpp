#include "res/MurmeloDialogTemplate.h"

#include "platform/ui/WinUser.h"
#include "res/resource.h"

namespace {

using enum ControlKind;
using enum ControlState;

// Single-line number and path edits.
constexpr DWORD kLineEdit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;

// In tab order. The last column, where there is one, is the name a screen reader gives
// the control: an edit or the voice list takes the text of its label.
constexpr DialogControl kControls[] = {
    {IDC_READ, PushButton, "Read", 56, 175, 50, 14, Visible, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDOK, PushButton, "&OK", 210, 89, 13, 6, Hidden, WS_TABSTOP},
    {IDCANCEL, PushButton, "&Exit", 159, 194, 53, 14, Visible, WS_TABSTOP},
    {IDC_SPEAK_ENGLISH, PushButton, "Speak English", 191, 47, 32, 10, Hidden, WS_TABSTOP},
    {IDC_TEXT, Edit, "", 11, 34, 200, 73, Visible,
     ES_MULTILINE | WS_BORDER | WS_VSCROLL | WS_TABSTOP, "Input Text"},
    {IDC_STOP, PushButton, "Stop", 109, 175, 50, 14, Visible, WS_TABSTOP},
    {IDC_RATE_UP, PushButton, "+", 61, 120, 20, 17, Visible, WS_TABSTOP, "Rate up"},
    {IDC_RATE_DOWN, PushButton, "-", 84, 120, 20, 17, Visible, WS_TABSTOP, "Rate down"},
    {IDC_VOLUME_UP, PushButton, "+", 166, 120, 20, 17, Visible, WS_TABSTOP, "Volume up"},
    {IDC_VOLUME_DOWN, PushButton, "-", 189, 120, 20, 17, Visible, WS_TABSTOP, "Volume down"},
    {IDC_STATIC, Static, "Rate:", 11, 126, 20, 17, Visible, SS_LEFT | WS_GROUP},
    {IDC_STATIC, Static, "Volume:", 108, 124, 27, 17, Visible, SS_LEFT | WS_GROUP},
    {IDC_RATE, Edit, "", 37, 121, 20, 17, Visible, kLineEdit, "Rate"},
    {IDC_VOLUME, Edit, "", 142, 121, 20, 17, Visible, kLineEdit, "Volume"},
    {IDC_STATIC, Static, "Voice:", 12, 153, 25, 8, Visible, SS_LEFT | WS_GROUP},
    {IDC_VOICE, ComboBox, "", 42, 151, 169, 109, Visible,
     CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, "Voice"},
    {IDC_VOICE_HINT, Edit, "", 201, 92, 22, 39, Hidden,
     ES_MULTILINE | WS_BORDER | WS_VSCROLL | WS_TABSTOP},
    {IDC_ENGLISH, PushButton, "English", 191, 67, 32, 10, Hidden, WS_TABSTOP},
    {IDC_CHINESE, PushButton, "Chinese", 191, 77, 32, 10, Hidden, WS_TABSTOP},
    {IDC_SPEAK_CHINESE, PushButton, "Speek Chinese", 191, 57, 32, 10, Hidden, WS_TABSTOP},
    {IDC_STATIC, GroupBox, "Input Text", 5, 22, 218, 93, Visible, 0},
    {IDC_STATIC, GroupBox, "", 4, 144, 217, 25, Visible, 0},
    {IDC_INPUT_FILE_CHECK, CheckBox, "&Input File:", 7, 9, 60, 10, Visible,
     BS_AUTOCHECKBOX | WS_TABSTOP},
    {IDC_INPUT_FILE, Edit, "", 70, 8, 117, 14, Disabled, kLineEdit, "Input File"},
    {IDC_STATIC, Static, "Loop:", 7, 177, 21, 8, Visible, SS_LEFT | WS_GROUP},
    {IDC_LOOP, Edit, "", 29, 176, 20, 12, Visible, kLineEdit, "Loop"},
    {IDC_TO_WAV, PushButton, "ToWav", 162, 175, 50, 14, Visible, WS_TABSTOP},
    {IDC_BROWSE, PushButton, "...", 192, 7, 25, 14, Visible, WS_TABSTOP,
     "Browse for the input file"},
    {IDC_HELP_INFO, PushButton, "Help", 79, 195, 64, 14, Visible, WS_TABSTOP},
};

} // namespace

const DialogTemplate g_murmeloDialogTemplate{
    IDD_MURMELO_DIALOG,
    "Parlino",
    226,
    220,
    "宋体",
    9,
    WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_SETFONT,
    WS_EX_APPWINDOW,
    kControls,
};
