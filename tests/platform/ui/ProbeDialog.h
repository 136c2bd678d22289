#pragma once

#include "platform/text/CString.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CDialog.h"

#include <string>
#include <vector>

// A dialog of the test's own resources with one control of each kind, and handlers that
// record what reached them. The same dialog comes with less window chrome: without the
// minimise box, and without the system menu.
enum ProbeId {
    IDD_PROBE = 1,
    IDD_PROBE_NO_MINIMISE = 2,
    IDD_PROBE_NO_SYSMENU = 3,
    IDC_HIDDEN = 11,
    IDC_DISABLED = 12,
    IDC_LABEL = 13,
    IDC_GO = 20,
    IDC_NOTES = 21,
    IDC_FIRST = 22,
    IDC_SECOND = 23,
    IDC_CHOICE = 24,
    IDC_CHECK = 25,
    IDC_THROW = 30,
};

class ProbeDialog : public CDialog {
  public:
    explicit ProbeDialog(UINT nIDTemplate = IDD_PROBE) : CDialog(nIDTemplate) {}

    const AFX_MSGMAP* GetMessageMap() const override { return &messageMap; }

    std::vector<std::string> m_calls;
    std::vector<UINT> m_sysCommands;
    CString m_strNotes;
    int m_nFirst = 0;
    int m_nSecond = 0;
    BOOL m_bCheck = 0;
    CComboBox m_comboChoice;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

  private:
    static const MessageMap<ProbeDialog> messageMap;

    void OnGo() { m_calls.push_back("OnGo"); }
    void OnSelchangeChoice() { m_calls.push_back("OnSelchangeChoice"); }
    void OnThrow();
    void OnSysCommand(UINT nID, LPARAM /*lParam*/) {
        m_sysCommands.push_back(nID);
        Default();
    }
    void OnClose() {
        m_calls.push_back("OnClose");
        CDialog::OnClose();
    }
};
