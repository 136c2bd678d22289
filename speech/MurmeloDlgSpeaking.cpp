#include "platform/text/AnsiCodePage.h"
#include "speech/SpeechFlags.h"
#include "ui/CMurmeloDlg.h"

#include <algorithm>
#include <optional>
#include <string>

namespace {

constexpr LONG kRateMin = -10;
constexpr LONG kRateMax = 10;
constexpr LONG kVolumeMax = 100;
constexpr LONG kVolumeStep = 10;
// Volume steps down only while a whole step is left.
constexpr LONG kVolumeDownAbove = 9;

// The loop count is range-checked when it is read, but a rejected count still reaches the
// speaking loop. Bounding it there keeps a huge count from queueing without end.
constexpr int kMostRepetitions = 999;

// The quick phrases: an English and a Chinese voice position with a word to speak and a
// text to put in the text box.
constexpr int kEnglishVoice = 0;
constexpr const char* kEnglishWord = "Apple";
constexpr const char* kEnglishText = "Fortune favors the brave.";
constexpr int kChineseVoice = 5;
constexpr const char* kChineseWord = "苹果";
constexpr const char* kChineseText = "白日依山尽，黄河入海流，欲穷千里目，更上一层楼。";

int Repetitions(int nLoop) {
    return std::clamp(nLoop, 0, kMostRepetitions);
}

} // namespace

// Each repetition queues one utterance; the runtime speaks them one after another once
// Read has returned. The settings are saved even when a box was rejected, and speaking
// goes on with the members as they then stand.
void CMurmeloDlg::OnRead() {
    UpdateData(TRUE);
    SaveSettings();
    const int repetitions = Repetitions(m_nLoop);
    SpokenFile file;
    for (int i = 0; i < repetitions; ++i) {
        if (m_bInputFile)
            SpeakInputFile(file);
        else
            m_voice.Speak(m_strText, SVSFlagsAsync);
    }
    UpdateData(FALSE);
}

// The file is read again whenever its stamp changed since the last repetition, so a file
// changed between repetitions is spoken in its new form; an unchanged one holds the same
// text and is not read again. A file that cannot be read, or holds nothing, speaks the
// empty text.
void CMurmeloDlg::SpeakInputFile(SpokenFile& file) {
    const std::string path = m_strInputFile.str();
    const std::optional<FileStamp> stamp = FileStamp::Of(path.c_str());
    if (!stamp || stamp != file.stamp) {
        std::optional<std::u16string> wideText;
        ReadTextFile(path.c_str(), wideText);
        file.text = wideText ? AnsiCodePage::FromWide(*wideText) : CString();
        file.stamp = stamp;
    }
    m_voice.Speak(file.text, SVSFlagsAsync);
}

void CMurmeloDlg::OnStop() {
    m_voice.Speak("", SVSFPurgeBeforeSpeak);
}

// The step buttons start from the voice's own rate and volume, not from the boxes, which
// may show values the voice never received. They push the members without pulling first.
void CMurmeloDlg::OnRateUp() {
    const LONG rate = m_voice.GetRate();
    if (rate < kRateMax) {
        m_voice.SetRate(rate + 1);
        m_nRate = rate + 1;
    }
    UpdateData(FALSE);
}

void CMurmeloDlg::OnRateDown() {
    const LONG rate = m_voice.GetRate();
    if (rate > kRateMin) {
        m_voice.SetRate(rate - 1);
        m_nRate = rate - 1;
    }
    UpdateData(FALSE);
}

void CMurmeloDlg::OnVolumeUp() {
    const LONG volume = m_voice.GetVolume();
    if (volume < kVolumeMax) {
        m_voice.SetVolume(volume + kVolumeStep);
        m_nVolume = volume + kVolumeStep;
    }
    UpdateData(FALSE);
}

void CMurmeloDlg::OnVolumeDown() {
    const LONG volume = m_voice.GetVolume();
    if (volume > kVolumeDownAbove) {
        m_voice.SetVolume(volume - kVolumeStep);
        m_nVolume = volume - kVolumeStep;
    }
    UpdateData(FALSE);
}

void CMurmeloDlg::OnInputFileCheck() {
    UpdateData(TRUE);
    EnableEditsForInputFileMode();
    UpdateData(FALSE);
}

// The quick phrases push without pulling first and write no settings. When the runtime
// refuses a voice position, the command ends there: the list keeps its selection, nothing
// is spoken, and a text already assigned stays in the member.
void CMurmeloDlg::OnSpeakEnglish() {
    SelectVoice(kEnglishVoice);
    UpdateData(FALSE);
    m_voice.Speak(kEnglishWord, SVSFlagsAsync);
}

void CMurmeloDlg::OnEnglish() {
    m_strText = kEnglishText;
    SelectVoice(kEnglishVoice);
    UpdateData(FALSE);
}

void CMurmeloDlg::OnChinese() {
    m_strText = kChineseText;
    SelectVoice(kChineseVoice);
    UpdateData(FALSE);
}

void CMurmeloDlg::OnSpeakChinese() {
    SelectVoice(kChineseVoice);
    UpdateData(FALSE);
    m_voice.Speak(kChineseWord, SVSFlagsAsync);
}
