#include "ui/CAboutDlg.h"

const MessageMap<CAboutDlg> CAboutDlg::messageMap{&CDialog::messageMap, {}};

CAboutDlg::CAboutDlg() : CDialog(CAboutDlg::IDD) {}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}
