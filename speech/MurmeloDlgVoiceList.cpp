#include "platform/ole/AfxOle.h"
#include "platform/ole/COleDispatchException.h"
#include "ui/CMurmeloDlg.h"

namespace {

constexpr const char* kPreferredVoice = "ScanSoft Kyoko_Full_22kHz";

constexpr const char* kNoticeCaption = "Info";
constexpr const char* kNoSpeechPrefix = "Speech is not available: ";
constexpr const char* kRuntimeMissing = "no speech runtime is installed.";
constexpr const char* kVoiceNotCreated = "the speech runtime could not create a voice.";

} // namespace

// Creates the voice at rate 0 and volume 100, lists every installed voice in the order the
// runtime gives them and makes the preferred voice (else the first) the speaking one.
//
// Without a speech runtime, or when the runtime fails on the way, the user gets one notice
// and the dialog starts without speech: whatever was listed so far stays, and the settings
// are still loaded afterwards.
void CMurmeloDlg::InitVoiceList() {
    if (FAILED(CLSIDFromProgID(u"SAPI.SpVoice", &m_clsidVoice))) {
        MessageBox(CString(kNoSpeechPrefix) + kRuntimeMissing, kNoticeCaption, MB_OK);
        return;
    }
    if (!m_voice.CreateDispatch(m_clsidVoice)) {
        MessageBox(CString(kNoSpeechPrefix) + kVoiceNotCreated, kNoticeCaption, MB_OK);
        return;
    }
    try {
        m_nRate = 0;
        m_voice.SetRate(0);
        m_nVolume = 100;
        m_voice.SetVolume(100);

        m_voiceTokens = COleDispatchDriver(m_voice.GetVoices(nullptr, nullptr));
        const LONG count = m_voiceTokens.GetCount();
        // With several voices of the preferred name, the last one wins.
        LONG preferred = 0;
        for (LONG i = 0; i < count; ++i) {
            m_voiceToken = COleDispatchDriver(m_voiceTokens.Item(i));
            const CString description = m_voiceToken.GetDescription(0);
            if (description == kPreferredVoice)
                preferred = i;
            m_comboVoice.AddString(description);
        }
        // With no voice installed there is nothing to select, and looking up a voice for
        // "no selection" would only fail.
        if (count <= 0)
            return;
        m_comboVoice.SetCurSel(preferred);
        UseVoiceAt(m_comboVoice.GetCurSel());
    } catch (const COleDispatchException& error) {
        MessageBox(CString(kNoSpeechPrefix) + error.m_strDescription, kNoticeCaption, MB_OK);
    }
}

// The voice of list position nIndex speaks from now on. The token fetched for it is given
// back at once; the voice keeps its own reference.
void CMurmeloDlg::UseVoiceAt(int nIndex) {
    const CSpeechObjectToken token(m_voiceTokens.Item(nIndex));
    m_voice.SetRefVoice(token.m_lpDispatch);
}

// The voice changes first, so that when the runtime refuses the position the list keeps
// showing the voice that really speaks.
void CMurmeloDlg::SelectVoice(int nIndex) {
    UseVoiceAt(nIndex);
    m_comboVoice.SetCurSel(nIndex);
}

void CMurmeloDlg::OnSelchangeVoice() {
    UseVoiceAt(m_comboVoice.GetCurSel());
}
