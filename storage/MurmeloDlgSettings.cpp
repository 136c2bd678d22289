#include "ui/CMurmeloDlg.h"

#include "platform/profile/PrivateProfile.h"

#include <string>

namespace {

// The settings file of the current directory at the moment of each access, not the one in
// the program's folder.
constexpr const char* kSettingsFile = "./set.ini";
constexpr const char* kSection = "Setting";

// Every integer key the file lacks reads as 10, the input-file flag and the voice position
// included, so that a missing flag turns input-file mode on.
constexpr int kIntegerDefault = 10;

// A string comes back cut to one byte less than this, before a character that would not
// fit whole.
constexpr DWORD kStringBufferSize = 260;

int ReadInteger(const char* key) {
    return static_cast<int>(GetPrivateProfileIntA(kSection, key, kIntegerDefault, kSettingsFile));
}

CString ReadString(const char* key) {
    std::string buffer(kStringBufferSize, '\0');
    buffer.resize(GetPrivateProfileStringA(kSection, key, "", buffer.data(), kStringBufferSize,
                                           kSettingsFile));
    return CString(std::move(buffer));
}

// A value is stored up to its first line break: the rest would start lines of its own in
// the file, which could read as other keys. What is stored is what reading it back gives.
// A failed write is not reported; the settings of this run are then simply not kept.
void WriteString(const char* key, const char* value) {
    WritePrivateProfileStringA(kSection, key, value, kSettingsFile);
}

void WriteInteger(const char* key, long value) {
    WriteString(key, std::to_string(value).c_str());
}

} // namespace

void CMurmeloDlg::SaveSettings() {
    // Whatever the members hold after the pull is written, even when an entry was rejected.
    UpdateData(TRUE);
    WriteInteger("InputFileChk", m_bInputFile);
    WriteString("InputFileFile", m_strInputFile);
    WriteString("InputText", m_strText);
    WriteInteger("Rate", m_nRate);
    WriteInteger("Volume", m_nVolume);
    WriteInteger("Voice", m_comboVoice.GetCurSel());
    WriteInteger("Loop", m_nLoop);
    UpdateData(FALSE);
}

// Loaded values are not range-checked here: the data exchange reports them at the next pull.
// The voice object keeps what start-up gave it; only the list's selection follows the file.
void CMurmeloDlg::LoadSettings() {
    m_bInputFile = ReadInteger("InputFileChk");
    m_strInputFile = ReadString("InputFileFile");
    m_strText = ReadString("InputText");
    m_nRate = ReadInteger("Rate");
    m_nVolume = ReadInteger("Volume");
    m_comboVoice.SetCurSel(ReadInteger("Voice"));
    m_nLoop = ReadInteger("Loop");
    EnableEditsForInputFileMode();
}

void CMurmeloDlg::EnableEditsForInputFileMode() {
    if (m_bInputFile) {
        m_editInputFile.EnableWindow(TRUE);
        m_editText.EnableWindow(FALSE);
        m_editInputFile.SetFocus();
    } else {
        m_editInputFile.EnableWindow(FALSE);
        m_editText.EnableWindow(TRUE);
        m_editText.SetFocus();
    }
}
