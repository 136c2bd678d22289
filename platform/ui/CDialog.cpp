#include "platform/ui/CDialog.h"

#include "platform/ui/AfxMessageBox.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/DialogWindow.h"
#include "platform/ui/ResourceModule.h"
#include "platform/ui/ReturnActivation.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>

#include <exception>

const MessageMap<CDialog> CDialog::messageMap{nullptr,
                                              {
                                                  {IDOK, BN_CLICKED, &CDialog::OnOK},
                                                  {IDCANCEL, BN_CLICKED, &CDialog::OnCancel},
                                              }};

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_pTemplate(AfxFindDialogTemplate(nIDTemplate)), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
    DestroyWindow();
}

QWidget* CDialog::GetWidget() const {
    return m_window.get();
}

int CDialog::DoModal() {
    if (!m_pTemplate || m_window)
        return -1;
    // A dialog given no parent is owned by the application's main window, over which it
    // opens centred.
    CWnd* pOwner = m_pParentWnd;
    if (CWinApp* app = AfxGetApp(); !pOwner && app && app->m_pMainWnd != this)
        pOwner = app->m_pMainWnd;
    QWidget* owner = pOwner ? pOwner->GetWidget() : nullptr;
    const ReturnActivation returnActivation(owner);
    m_window = std::make_unique<DialogWindow>(*this, *m_pTemplate, owner);
    m_nModalResult = -1;
    m_bEnded = false;
    InitDialog();
    if (!m_bEnded) {
        QEventLoop loop;
        m_pModalLoop = &loop;
        loop.exec(QEventLoop::DialogExec);
        m_pModalLoop = nullptr;
    }
    DestroyWindow();
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    m_bEnded = true;
    if (m_window)
        m_window->hide();
    if (m_pModalLoop)
        m_pModalLoop->exit();
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return 0;
    case WM_SYSCOMMAND:
    case WM_SETICON:
    case WM_PAINT:
    case WM_ICONERASEBKGND:
        return m_window ? m_window->DefaultProcessing(message, wParam, lParam) : 0;
    default:
        return CWnd::DefWindowProc(message, wParam, lParam);
    }
}

void CDialog::InitDialog() {
    // Like a handler, initialisation may fail with an exception; the user is told, and the
    // dialog opens without choosing the focus.
    BOOL focusFirst = FALSE;
    try {
        focusFirst = OnInitDialog();
    } catch (const std::exception& error) {
        AfxMessageBox(error.what(), MB_OK | MB_ICONEXCLAMATION);
    }
    if (m_bEnded)
        return;
    ShowCentred();
    if (focusFirst)
        FocusFirstTabStop();
}

void CDialog::ShowCentred() {
    const QWidget* owner = m_window->parentWidget();
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area =
        owner ? owner->frameGeometry() : (screen ? screen->availableGeometry() : QRect());
    m_window->move(area.center() - m_window->rect().center());
    m_window->show();
    m_window->activateWindow();
}

void CDialog::FocusFirstTabStop() {
    for (const DialogControl& control : m_pTemplate->controls) {
        CWnd* item = GetDlgItem(control.id);
        if ((control.style & WS_TABSTOP) && item && item->IsWindowVisible() &&
            item->IsWindowEnabled()) {
            item->SetFocus();
            return;
        }
    }
}

void CDialog::DestroyWindow() {
    if (!m_window)
        return;
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
    m_window.reset();
}
