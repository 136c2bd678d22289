#include "ui/CMurmeloDlg.h"

#include "export/EnumConverterWindowsProc.h"
#include "platform/process/CreateProcess.h"
#include "platform/process/Paths.h"
#include "platform/process/ProgramTrust.h"
#include "platform/shell/AfxFileBrowser.h"
#include "platform/text/AnsiCodePage.h"
#include "platform/ui/CFileDialog.h"
#include "platform/ui/CWaitCursor.h"
#include "storage/TextFileWriter.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kNoticeCaption = "Info";
constexpr const char* kEmptyTextNotice = "Text to speak is empty!";
constexpr const char* kNoCurrentFolderNotice =
    "The current folder cannot be read; it may have been removed!";
constexpr const char* kConverterName = "towav.exe";
constexpr const char* kConverterInputName = "input.txt";
// The same bound as the loop count of Read.
constexpr int kMaxCopies = 999;

enum class Conversion { Done, StillRunning, Failed };

void Notice(CWnd& owner, const std::string& text) {
    owner.MessageBox(text.c_str(), kNoticeCaption, MB_OK);
}

std::string InFolder(const std::string& folder, const char* name) {
    return folder + "/" + name;
}

// What went wrong with a converter that has ended, or an empty text when it wrote the file.
std::string ConversionProblem(const WaitResult& result, const std::string& outputPath) {
    switch (result.status) {
    case WaitStatus::Exited:
        if (result.code != 0)
            return "The converter failed with exit code " + std::to_string(result.code) + "!";
        if (!FileExists(outputPath))
            return "The converter did not write " + outputPath + "!";
        return {};
    case WaitStatus::Signalled:
        return "The converter was stopped by signal " + std::to_string(result.code) + "!";
    default:
        return "Cannot wait for the converter to finish!";
    }
}

// Starts the converter with arguments, waits for it at most timeout, and tells the user
// what went wrong. A converter still running at the time-out is left to go on; its window,
// if it shows one, is looked for.
Conversion RunConverter(CWnd& owner, const std::vector<std::string>& arguments,
                        const std::string& outputPath, DWORD timeout) {
    // The converter explains a refusal in the last line it writes to standard error.
    const CapturedOutput errors;
    StartResult started = CreateProcessA(arguments, Launch::Hidden, &errors);
    if (!started) {
        Notice(owner, "Cannot start the converter " + arguments.front() + "!");
        return Conversion::Failed;
    }
    WaitResult result;
    {
        CWaitCursor busy;
        result = started.process->Wait(std::chrono::milliseconds(timeout));
    }
    if (result.status == WaitStatus::TimedOut) {
        EnumWindows(EnumConverterWindowsProc, static_cast<LPARAM>(started.process->ProcessId()));
        return Conversion::StillRunning;
    }
    const std::string problem = ConversionProblem(result, outputPath);
    if (!problem.empty()) {
        const std::string reason = errors.LastLine();
        Notice(owner, reason.empty() ? problem : problem + "\n" + reason);
        return Conversion::Failed;
    }
    return Conversion::Done;
}

} // namespace

// Turns the text into a WAV file: the text, repeated as the loop count says, goes into
// input.txt in the current directory, and the converter towav.exe found there speaks it
// into the file the user chose. The file manager shows the new file afterwards.
void CMurmeloDlg::OnToWav() {
    // Both files are found in the folder that is current when the button is pressed.
    const std::string strCurrentDir = GetCurrentDirectoryA();
    const CString strInitialDir = GetModuleFileNameA();
    CFileDialog dlgFile(FALSE, nullptr, "*.wav",
                        OFN_OVERWRITEPROMPT | OFN_ENABLEHOOK | OFN_CREATEPROMPT | OFN_EXPLORER,
                        "wav File|*.wav", nullptr);
    dlgFile.m_ofn.lpstrInitialDir = strInitialDir;
    if (dlgFile.DoModal() != IDOK)
        return;

    const std::string strOutput = dlgFile.GetPathName().str();
    UpdateData(TRUE);

    CString strExport;
    if (m_bInputFile) {
        std::optional<std::u16string> wideText;
        ReadTextFile(m_strInputFile, wideText);
        if (wideText)
            strExport = AnsiCodePage::FromWide(*wideText);
    } else {
        strExport = m_strText;
    }
    if (strExport.IsEmpty()) {
        MessageBox(kEmptyTextNotice, kNoticeCaption, MB_OK);
        return;
    }
    // A folder removed while the program runs has no name to read back, and joining the
    // empty name with the file names would write into the root folder and start from there.
    if (strCurrentDir.empty()) {
        Notice(*this, kNoCurrentFolderNotice);
        UpdateData(FALSE);
        return;
    }

    // Anyone who may write the current folder could have planted the converter there.
    const std::string strConverter = InFolder(strCurrentDir, kConverterName);
    if (const std::string problem = ProgramTrust::Problem(strConverter); !problem.empty()) {
        Notice(*this, "The converter " + strConverter + " is not started: " + problem + "!");
        UpdateData(FALSE);
        return;
    }

    // An input file left from an earlier export, or one only half written, must never be
    // converted in place of this text, so nothing is started unless the whole text is
    // there. The copies stop at the text's first NUL, as every stored text does.
    const std::string strInputPath = InFolder(strCurrentDir, kConverterInputName);
    const int nCopies = std::clamp(m_nLoop, 1, kMaxCopies);
    if (TextFileWriter::WriteRepeated(std::string_view(static_cast<const char*>(strExport)),
                                      nCopies, strInputPath.c_str()) != WriteOutcome::Written) {
        Notice(*this, "Cannot write the converter's input file " + strInputPath + "!");
        UpdateData(FALSE);
        return;
    }

    const int nVoice = m_comboVoice.GetCurSel() + 1;
    const std::vector<std::string> arguments{strConverter,
                                             strInputPath,
                                             strOutput,
                                             std::to_string(nVoice),
                                             std::to_string(m_nRate),
                                             std::to_string(m_nVolume)};
    // A converter still at work after the time-out may yet write the file, so the file
    // manager is shown then too; a converter that failed has nothing to show.
    if (RunConverter(*this, arguments, strOutput, m_dwConverterTimeout) != Conversion::Failed)
        AfxGetFileBrowser().ShowFileInFileManager(strOutput);

    UpdateData(FALSE);
}
