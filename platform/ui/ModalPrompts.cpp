#include "platform/ui/ModalPrompts.h"

#include "platform/ui/QtModalPrompts.h"
#include "platform/ui/WinUser.h"

namespace {

ModalPrompts* g_installed = nullptr;

} // namespace

ModalPrompts& ModalPrompts::Current() {
    static QtModalPrompts real;
    return g_installed ? *g_installed : real;
}

ModalPrompts* ModalPrompts::Install(ModalPrompts* prompts) {
    ModalPrompts* previous = g_installed;
    g_installed = prompts;
    return previous;
}

std::vector<int> MessageBoxButtons(UINT nType) {
    switch (nType & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
        return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
        return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
        return {IDYES, IDNO};
    case MB_RETRYCANCEL:
        return {IDRETRY, IDCANCEL};
    default:
        return {IDOK};
    }
}
