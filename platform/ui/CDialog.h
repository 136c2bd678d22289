#pragma once

#include "platform/ui/CWnd.h"

#include <memory>

class DialogWindow;
struct DialogTemplate;
class QEventLoop;

// A dialog built from a template of the program's resources. DoModal creates the window
// and its controls, runs OnInitDialog and then a modal loop until EndDialog; the window is
// destroyed before DoModal returns.
class CDialog : public CWnd {
  public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // The value given to EndDialog, or -1 when the window could not be created.
    virtual int DoModal();
    void EndDialog(int nResult);

    // Loads the members into the controls; TRUE lets the framework give the focus to the
    // first control that takes it.
    virtual BOOL OnInitDialog();

    const AFX_MSGMAP* GetMessageMap() const override { return &messageMap; }
    QWidget* GetWidget() const override;
    const DialogTemplate* GetTemplate() const { return m_pTemplate; }

  protected:
    // Reached through the command table by IDOK and IDCANCEL.
    virtual void OnOK();
    virtual void OnCancel();

    // A dialog's default processing turns the close box (WM_CLOSE) into IDCANCEL, and
    // carries out system commands, sets icons and paints.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    static const MessageMap<CDialog> messageMap;

  private:
    void InitDialog();
    void ShowCentred();
    void FocusFirstTabStop();
    void DestroyWindow();

    const DialogTemplate* m_pTemplate;
    CWnd* m_pParentWnd;
    std::unique_ptr<DialogWindow> m_window;
    QEventLoop* m_pModalLoop = nullptr;
    int m_nModalResult = -1;
    bool m_bEnded = false;
};
