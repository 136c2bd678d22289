#pragma once

#include "platform/ui/CCmdTarget.h"

#include <string>
#include <vector>

class CWnd;

// The application object. The program defines exactly one, as a static object; the
// framework's start-up (AfxWinMain) finds it, calls InitInstance and, when that returns
// TRUE, runs the message loop.
class CWinApp : public CCmdTarget {
  public:
    // A null name gives the framework's default application title.
    explicit CWinApp(const char* lpszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();

    // Whether the automation system started the process, recognised by the switches
    // "-Embedding" or "/Embedding" and "-Automation" or "/Automation" (any case) among the
    // command-line arguments. Any other argument is ignored. Either answer TRUE also takes
    // the application out of the user's control (AfxOleSetUserCtrl).
    BOOL RunEmbedded() const;
    BOOL RunAutomated() const;

    // Controls are styled by the toolkit here; kept so start-up reads the same everywhere.
    BOOL Enable3dControls() { return TRUE; }

    // The framework's side: the arguments after the program name.
    void SetCommandLine(std::vector<std::string> arguments) { m_arguments = std::move(arguments); }

    const char* m_pszAppName;
    CWnd* m_pMainWnd = nullptr;

  private:
    BOOL HasSwitch(const char* name) const;

    std::vector<std::string> m_arguments;
};

CWinApp* AfxGetApp();
// The application's title, also when no application object exists.
const char* AfxGetAppName();

// Dialogs here can always host controls; kept so start-up reads the same everywhere.
inline void AfxEnableControlContainer(void* pOccManager = nullptr) {
    static_cast<void>(pOccManager);
}

// The framework's start-up, called by main(): creates the toolkit's application, calls
// InitInstance and, if that returns TRUE, Run. Returns the process's exit code.
int AfxWinMain(int argc, char** argv);
