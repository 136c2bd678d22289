#include "ui/CMurmeloDlg.h"

#include "platform/ui/DataExchange.h"

const MessageMap<CMurmeloDlg> CMurmeloDlg::messageMap{
    &CDialog::messageMap,
    {
        {WM_SYSCOMMAND, &CMurmeloDlg::OnSysCommand},
        {WM_PAINT, &CMurmeloDlg::OnPaint},
        {WM_QUERYDRAGICON, &CMurmeloDlg::OnQueryDragIcon},
        {WM_CLOSE, &CMurmeloDlg::OnClose},
        {IDC_SPEAK_ENGLISH, BN_CLICKED, &CMurmeloDlg::OnSpeakEnglish},
        {IDC_READ, BN_CLICKED, &CMurmeloDlg::OnRead},
        {IDC_STOP, BN_CLICKED, &CMurmeloDlg::OnStop},
        {IDC_RATE_UP, BN_CLICKED, &CMurmeloDlg::OnRateUp},
        {IDC_RATE_DOWN, BN_CLICKED, &CMurmeloDlg::OnRateDown},
        {IDC_VOLUME_UP, BN_CLICKED, &CMurmeloDlg::OnVolumeUp},
        {IDC_VOLUME_DOWN, BN_CLICKED, &CMurmeloDlg::OnVolumeDown},
        {IDC_VOICE, CBN_SELCHANGE, &CMurmeloDlg::OnSelchangeVoice},
        {IDC_ENGLISH, BN_CLICKED, &CMurmeloDlg::OnEnglish},
        {IDC_CHINESE, BN_CLICKED, &CMurmeloDlg::OnChinese},
        {IDC_SPEAK_CHINESE, BN_CLICKED, &CMurmeloDlg::OnSpeakChinese},
        {IDC_INPUT_FILE_CHECK, BN_CLICKED, &CMurmeloDlg::OnInputFileCheck},
        {IDC_TO_WAV, BN_CLICKED, &CMurmeloDlg::OnToWav},
        {IDC_BROWSE, BN_CLICKED, &CMurmeloDlg::OnBrowse},
        {IDC_HELP_INFO, BN_CLICKED, &CMurmeloDlg::OnHelpButton},
    }};

CMurmeloDlg::CMurmeloDlg(CWnd* pParent)
    : CDialog(CMurmeloDlg::IDD, pParent), m_strText(""), m_nRate(0), m_nVolume(0),
      m_strVoiceHint(""), m_bInputFile(0), m_strInputFile(""), m_nLoop(0), m_pAutoProxy(nullptr),
      m_hIcon(AfxLoadIcon(IDR_MAINFRAME)) {}

void CMurmeloDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TEXT, m_editText);
    DDX_Control(pDX, IDC_INPUT_FILE, m_editInputFile);
    DDX_Control(pDX, IDC_VOICE, m_comboVoice);
    DDX_Text(pDX, IDC_TEXT, m_strText);
    DDX_Text(pDX, IDC_RATE, m_nRate);
    DDV_MinMaxLong(pDX, m_nRate, -10, 10);
    DDX_Text(pDX, IDC_VOLUME, m_nVolume);
    DDV_MinMaxLong(pDX, m_nVolume, 0, 100);
    DDX_Text(pDX, IDC_VOICE_HINT, m_strVoiceHint);
    DDX_Check(pDX, IDC_INPUT_FILE_CHECK, m_bInputFile);
    DDX_Text(pDX, IDC_INPUT_FILE, m_strInputFile);
    DDX_Text(pDX, IDC_LOOP, m_nLoop);
    DDV_MinMaxInt(pDX, m_nLoop, 1, 999);
}

BOOL CMurmeloDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    AddAboutBoxToSystemMenu();
    SetWindowIcons();

    InitVoiceList();

    m_strVoiceHint = "Mary,\t\tMike,\t\tSam,\t\tChinese";

    LoadSettings();

    UpdateData(FALSE);
    return TRUE;
}
