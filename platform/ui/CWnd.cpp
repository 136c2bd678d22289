#include "platform/ui/CWnd.h"

#include "platform/ui/AfxMessageBox.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/ControlWidget.h"
#include "platform/ui/ModalPrompts.h"
#include "platform/ui/SystemMenu.h"

#include <QWidget>

#include <exception>

CWnd::CWnd() = default;
CWnd::~CWnd() = default;

QWidget* CWnd::GetWidget() const {
    QWidget* parent = m_pParent ? m_pParent->GetWidget() : nullptr;
    if (!parent)
        return nullptr;
    return parent->findChild<QWidget*>(QString::number(m_nID), Qt::FindDirectChildrenOnly);
}

void CWnd::AttachToControl(const CWnd* pParent, int nID) {
    m_pParent = pParent;
    m_nID = nID;
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    QWidget* widget = GetWidget();
    if (!widget)
        return FALSE;
    // Like the platform, answers whether the window was disabled before.
    const BOOL wasDisabled = widget->isEnabled() ? FALSE : TRUE;
    widget->setEnabled(bEnable != FALSE);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const {
    QWidget* widget = GetWidget();
    return widget && widget->isEnabled() ? TRUE : FALSE;
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    QWidget* widget = GetWidget();
    if (!widget)
        return FALSE;
    const BOOL wasVisible = widget->isVisibleTo(widget->parentWidget()) ? TRUE : FALSE;
    widget->setVisible(nCmdShow != SW_HIDE);
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const {
    QWidget* widget = GetWidget();
    return widget && widget->isVisible() ? TRUE : FALSE;
}

void CWnd::SetFocus() {
    if (QWidget* widget = GetWidget())
        widget->setFocus(Qt::OtherFocusReason);
}

void CWnd::SetWindowText(const char* lpszString) {
    ControlWidget::SetText(GetWidget(), lpszString ? lpszString : "");
}

void CWnd::GetWindowText(CString& rString) const {
    rString = CString(ControlWidget::GetText(GetWidget()));
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

BOOL CWnd::IsIconic() const {
    QWidget* widget = GetWidget();
    return widget && widget->isMinimized() ? TRUE : FALSE;
}

void CWnd::GetClientRect(RECT* lpRect) const {
    QWidget* widget = GetWidget();
    *lpRect = widget ? RECT{0, 0, widget->width(), widget->height()} : RECT{};
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const {
    QMenu* menu = SystemMenu::Of(GetWidget());
    if (!menu)
        return nullptr;
    if (bRevert) {
        SystemMenu::Revert(*menu);
        return nullptr;
    }
    if (!m_pSystemMenu)
        m_pSystemMenu = std::make_unique<CMenu>(this);
    return m_pSystemMenu.get();
}

CWnd* CWnd::GetDlgItem(int nID) const {
    QWidget* widget = GetWidget();
    if (!widget || !widget->findChild<QWidget*>(QString::number(nID), Qt::FindDirectChildrenOnly))
        return nullptr;
    std::unique_ptr<CWnd>& item = m_dlgItems[nID];
    if (!item) {
        item = std::make_unique<CWnd>();
        item->AttachToControl(this, nID);
    }
    return item.get();
}

int CWnd::MessageBox(const char* lpszText, const char* lpszCaption, UINT nType) {
    return ModalPrompts::Current().MessageBox(this, lpszText ? lpszText : "",
                                              lpszCaption ? lpszCaption : AfxGetAppName(), nType);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return dx.m_bFailed ? FALSE : TRUE;
}

void CWnd::DoDataExchange(CDataExchange* /*pDX*/) {}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowProc(message, wParam, lParam);
}

void CWnd::RouteFromUser(UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        SendMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        AfxMessageBox(error.what(), MB_OK | MB_ICONEXCLAMATION);
    }
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Default() needs the message being handled; handlers may send further messages to
    // the same window, so the outer one is restored afterwards.
    const Message outer = m_current;
    m_current = {message, wParam, lParam};
    LRESULT result = 0;
    struct Restore {
        CWnd& wnd;
        Message outer;
        ~Restore() { wnd.m_current = outer; }
    } restore{*this, outer};
    if (!OnCmdMsg(message, wParam, lParam, result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ControlWidget::HandleMessage(GetWidget(), message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

void CWnd::OnClose() {
    Default();
}
