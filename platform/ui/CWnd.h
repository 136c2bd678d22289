#pragma once

#include "platform/text/CString.h"
#include "platform/ui/CCmdTarget.h"

#include <map>
#include <memory>

class CDataExchange;
class CMenu;
class QWidget;

// A window: the dialog itself or one of its controls. A control window is known by its
// parent and its id, so a control member never outlives the control it names: once the
// dialog's window is gone, its operations do nothing and its queries answer "none".
class CWnd : public CCmdTarget {
  public:
    CWnd();
    ~CWnd() override;

    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    void SetFocus();
    void SetWindowText(const char* lpszString);
    void GetWindowText(CString& rString) const;
    // Sends WM_SETICON; returns the icon it replaces.
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    BOOL IsIconic() const;
    // The client area: left and top are 0, right and bottom its width and height.
    void GetClientRect(RECT* lpRect) const;
    // With FALSE, the window's own system menu, which the program may add entries to; null
    // when the window has none. TRUE removes the entries the program added and gives null.
    CMenu* GetSystemMenu(BOOL bRevert) const;
    int GetDlgCtrlID() const { return m_nID; }

    // The control with this id among this window's children, or null.
    CWnd* GetDlgItem(int nID) const;

    // A modal message box owned by this window; returns the id of the button chosen.
    int MessageBox(const char* lpszText, const char* lpszCaption = nullptr, UINT nType = MB_OK);

    // Runs DoDataExchange: FALSE loads the members into the controls, TRUE reads and
    // validates the controls into the members. FALSE when an entry failed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // Delivers a message to this window at once: the command tables first, then the
    // window's default processing.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // The framework's side: binds this object to the child nID of pParent, and delivers a
    // message that comes from the user (a click, a key, the close box). Anything a handler
    // throws stops there: the framework shows it and the window goes on.
    void AttachToControl(const CWnd* pParent, int nID);
    BOOL IsAttached() const { return m_pParent != nullptr; }
    void RouteFromUser(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual QWidget* GetWidget() const;

    // The default processing of WM_CLOSE.
    void OnClose();

  protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default processing of the message being handled.
    LRESULT Default();

  private:
    struct Message {
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
    };

    const CWnd* m_pParent = nullptr;
    int m_nID = 0;
    Message m_current;
    mutable std::map<int, std::unique_ptr<CWnd>> m_dlgItems;
    mutable std::unique_ptr<CMenu> m_pSystemMenu;
};
