#include "platform/ui/CWinApp.h"

#include "platform/ole/AfxOleServer.h"

#include <QApplication>

#include <algorithm>
#include <cctype>
#include <string_view>

namespace {

constexpr const char* kDefaultAppTitle = "Murmelo";

CWinApp* g_app = nullptr;

bool EqualsIgnoringCase(std::string_view left, std::string_view right) {
    return std::ranges::equal(left, right, [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

} // namespace

CWinApp::CWinApp(const char* lpszAppName)
    : m_pszAppName(lpszAppName ? lpszAppName : kDefaultAppTitle) {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::Run() {
    QApplication::exec();
    return ExitInstance();
}

int CWinApp::ExitInstance() {
    return 0;
}

BOOL CWinApp::HasSwitch(const char* name) const {
    for (const std::string& argument : m_arguments) {
        if (!argument.empty() && (argument.front() == '-' || argument.front() == '/') &&
            EqualsIgnoringCase(std::string_view(argument).substr(1), name))
            return TRUE;
    }
    return FALSE;
}

// A process that the automation system started is not under the user's control: when its
// last automation object goes, the framework closes the main window and the process ends.
BOOL CWinApp::RunEmbedded() const {
    if (!HasSwitch("Embedding"))
        return FALSE;
    AfxOleSetUserCtrl(FALSE);
    return TRUE;
}

BOOL CWinApp::RunAutomated() const {
    if (!HasSwitch("Automation"))
        return FALSE;
    AfxOleSetUserCtrl(FALSE);
    return TRUE;
}

CWinApp* AfxGetApp() {
    return g_app;
}

const char* AfxGetAppName() {
    return g_app ? g_app->m_pszAppName : kDefaultAppTitle;
}
