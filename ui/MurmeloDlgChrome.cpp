// The main dialog's window chrome: the about entry of the system menu, the window icons, the
// icon painted while the window is minimised, and the Help notice.

#include "platform/ui/CMenu.h"
#include "platform/ui/CPaintDC.h"
#include "platform/ui/CRect.h"
#include "platform/ui/SystemMetrics.h"
#include "ui/CAboutDlg.h"
#include "ui/CMurmeloDlg.h"
#include "ui/IconOrigin.h"

namespace {

// The platform keeps the low four bits of a system command for itself.
constexpr UINT kSysCommandMask = 0xFFF0;

constexpr const char* kHelpText =
    "For Supporting Chinese/Japanese Speech, Please Download and \n"
    "Install TTS Library of: \n"
    "\n"
    "Microsoft - speechsdk51.exe and speechsdk51LangPack.exe.\n"
    "\n"
    "NeoSpeech - Text-To-Speech.Tts.Chinese.Mandarin.China.-.Wang.16Khz.";

} // namespace

void CMurmeloDlg::AddAboutBoxToSystemMenu() {
    // The about command must be a program command: below 0xF000, low four bits clear.
    static_assert((IDM_ABOUTBOX & 0xFFF0) == IDM_ABOUTBOX);
    static_assert(IDM_ABOUTBOX < 0xF000);

    CMenu* pSysMenu = GetSystemMenu(FALSE);
    if (pSysMenu == nullptr)
        return;
    CString strAboutMenu;
    strAboutMenu.LoadString(IDS_ABOUTBOX);
    if (strAboutMenu.IsEmpty())
        return;
    pSysMenu->AppendMenu(MF_SEPARATOR);
    pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
}

void CMurmeloDlg::SetWindowIcons() {
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
}

void CMurmeloDlg::OnSysCommand(UINT nID, LPARAM /*lParam*/) {
    if ((nID & kSysCommandMask) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        Default();
    }
}

void CMurmeloDlg::OnPaint() {
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    CRect rect;
    GetClientRect(&rect);
    const POINT origin = IconOrigin(rect, cxIcon, cyIcon);
    dc.DrawIcon(origin.x, origin.y, m_hIcon);
}

HCURSOR CMurmeloDlg::OnQueryDragIcon() {
    return m_hIcon;
}

void CMurmeloDlg::OnHelpButton() {
    MessageBox(kHelpText, "Info", MB_OK);
}
