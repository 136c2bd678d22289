#include "ProbeDialog.h"

#include "platform/ole/COleDispatchException.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/ResourceModule.h"

namespace {

using enum ControlKind;
using enum ControlState;

constexpr DWORD kLineEdit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;

constexpr DialogControl kProbeControls[] = {
    {IDC_HIDDEN, PushButton, "Hidden", 4, 4, 40, 14, Hidden, WS_TABSTOP},
    {IDC_DISABLED, PushButton, "Off", 48, 4, 40, 14, Disabled, WS_TABSTOP},
    {IDC_LABEL, Static, "Label", 92, 4, 40, 8, Visible, SS_LEFT},
    {IDC_GO, PushButton, "&Go", 4, 20, 40, 14, Visible, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDC_NOTES, Edit, "", 4, 36, 120, 40, Visible,
     ES_MULTILINE | WS_BORDER | WS_VSCROLL | WS_TABSTOP},
    {IDC_FIRST, Edit, "", 4, 80, 30, 12, Visible, kLineEdit},
    {IDC_SECOND, Edit, "", 40, 80, 30, 12, Visible, kLineEdit},
    {IDC_CHOICE, ComboBox, "", 4, 96, 80, 60, Visible, CBS_DROPDOWNLIST | WS_TABSTOP},
    {IDC_CHECK, CheckBox, "&Check", 90, 96, 40, 10, Visible, BS_AUTOCHECKBOX | WS_TABSTOP},
    {IDCANCEL, PushButton, "&Exit", 4, 112, 40, 14, Visible, WS_TABSTOP},
    {IDC_THROW, PushButton, "Throw", 48, 112, 40, 14, Visible, WS_TABSTOP},
};

constexpr DWORD kFrame = WS_CAPTION | DS_SETFONT;

constexpr DialogTemplate kDialogs[] = {
    {IDD_PROBE, "Probe", 140, 130, "宋体", 9, kFrame | WS_SYSMENU | WS_MINIMIZEBOX, 0,
     kProbeControls},
    {IDD_PROBE_NO_MINIMISE, "Probe", 140, 130, "宋体", 9, kFrame | WS_SYSMENU, 0, kProbeControls},
    {IDD_PROBE_NO_SYSMENU, "Probe", 140, 130, "宋体", 9, kFrame, 0, kProbeControls},
};

const ResourceModule kModule{kDialogs, {}};

} // namespace

const ResourceModule& AfxGetResourceModule() {
    return kModule;
}

const MessageMap<ProbeDialog> ProbeDialog::messageMap{
    &CDialog::messageMap,
    {
        {WM_SYSCOMMAND, &ProbeDialog::OnSysCommand},
        {WM_CLOSE, &ProbeDialog::OnClose},
        {IDC_GO, BN_CLICKED, &ProbeDialog::OnGo},
        {IDC_CHOICE, CBN_SELCHANGE, &ProbeDialog::OnSelchangeChoice},
        {IDC_THROW, BN_CLICKED, &ProbeDialog::OnThrow},
    }};

void ProbeDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_CHOICE, m_comboChoice);
    DDX_Text(pDX, IDC_NOTES, m_strNotes);
    DDX_Text(pDX, IDC_FIRST, m_nFirst);
    DDV_MinMaxInt(pDX, m_nFirst, -10, 10);
    DDX_Text(pDX, IDC_SECOND, m_nSecond);
    DDV_MinMaxLong(pDX, m_nSecond, 0, 100);
    DDX_Check(pDX, IDC_CHECK, m_bCheck);
}

BOOL ProbeDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    m_comboChoice.AddString("one");
    m_comboChoice.AddString("two");
    m_comboChoice.AddString("three");
    m_comboChoice.SetCurSel(1);
    return TRUE;
}

void ProbeDialog::OnOK() {
    m_calls.push_back("OnOK");
    CDialog::OnOK();
}

void ProbeDialog::OnCancel() {
    m_calls.push_back("OnCancel");
    CDialog::OnCancel();
}

void ProbeDialog::OnThrow() {
    m_calls.push_back("OnThrow");
    throw COleDispatchException("The voice refused the call.", E_FAIL);
}
