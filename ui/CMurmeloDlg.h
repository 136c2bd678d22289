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
#include "speech/SpokenFile.h"

#include <optional>
#include <string>

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

    // Window chrome and help.
    void AddAboutBoxToSystemMenu();
    void SetWindowIcons();
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnHelpButton();

    // Closing, which only hides the dialog while an automation client holds the proxy.
    BOOL CanExit();
    void OnClose();
    void OnOK() override;
    void OnCancel() override;

    // Voice list and selection.
    void InitVoiceList();
    void SelectVoice(int nIndex);
    void UseVoiceAt(int nIndex);
    void OnSelchangeVoice();

    // Speaking commands.
    void OnRead();
    void SpeakInputFile(SpokenFile& file);
    void OnStop();
    void OnRateUp();
    void OnRateDown();
    void OnVolumeUp();
    void OnVolumeDown();
    void OnInputFileCheck();
    void OnSpeakEnglish();
    void OnEnglish();
    void OnChinese();
    void OnSpeakChinese();

    // Settings file and text files.
    void LoadSettings();
    void SaveSettings();
    // Enables the edit of the text source that m_bInputFile chooses, disables the other and
    // gives it the focus; loading the settings and the input-file check box share this rule.
    void EnableEditsForInputFileMode();
    // Reads a text file into wide text for speaking (see TextFileReader). False only when the
    // file cannot be opened, or is too large to hold. The caller passes an empty optional,
    // which receives the text only when at least one byte was kept; the caller owns it then.
    static bool ReadTextFile(const char* path, std::optional<std::u16string>& wideText);

    // WAV export and the input-file browse command.
    void OnToWav();
    void OnBrowse();
    // How long ToWav waits for the converter before it looks for the converter's window, in
    // milliseconds.
    DWORD m_dwConverterTimeout = 60000;

    static const MessageMap<CMurmeloDlg> messageMap;
};
