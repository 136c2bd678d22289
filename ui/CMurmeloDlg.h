#pragma once

#include "platform/ole/COleDispatchDriver.h"
#include "platform/text/CString.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/Icon.h"
#include "res/resource.h"
#include "speech/CSpeechObjectToken.h"
#include "speech/CSpeechObjectTokens.h"
#include "speech/CSpeechVoice.h"

class CMurmeloDlgAutoProxy;

// The main window "Parlino". It holds everything the user sees and the voice it speaks
// with; each command of its table is a member handler.
class CMurmeloDlg : public CDialog {
  public:
    explicit CMurmeloDlg(CWnd* pParent = nullptr);
    ~CMurmeloDlg() override;

    enum { IDD = IDD_MURMELO_DIALOG };

    const AFX_MSGMAP* GetMessageMap() const override { return &messageMap; }

    CLSID m_clsidVoice;
    CSpeechVoice m_voice;
    CSpeechObjectTokens m_voiceTokens;
    CSpeechObjectToken m_voiceToken;
    CEdit m_editText;
    CEdit m_editInputFile;
    CComboBox m_comboVoice;
    CString m_strText;
    LONG m_nRate;
    LONG m_nVolume;
    CString m_strVoiceHint;
    BOOL m_bInputFile;
    CString m_strInputFile;
    int m_nLoop;
    CMurmeloDlgAutoProxy* m_pAutoProxy;
    HICON m_hIcon;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    static const MessageMap<CMurmeloDlg> messageMap;
};
