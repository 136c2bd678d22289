#pragma once

#include "platform/ui/CDialog.h"
#include "res/resource.h"

// The about box: it shows its template and nothing else; OK, Escape and the close box end
// it through the base dialog.
class CAboutDlg : public CDialog {
  public:
    CAboutDlg();
    ~CAboutDlg() override;

    enum { IDD = IDD_ABOUTBOX };

    const AFX_MSGMAP* GetMessageMap() const override { return &messageMap; }

  protected:
    void DoDataExchange(CDataExchange* pDX) override;

    static const MessageMap<CAboutDlg> messageMap;
};
