#pragma once

#include "platform/text/CString.h"
#include "platform/ui/FileDialogRequest.h"

#include <optional>
#include <string>
#include <vector>

class CWnd;

// Every modal prompt of the program (message boxes, file dialogs) goes through this
// interface. The real one shows Qt dialogs; a test installs a scripted one that records
// what was asked and answers at once.
class ModalPrompts {
  public:
    virtual ~ModalPrompts() = default;

    // Shows text under caption with the buttons and icon of nType (MB_...); returns the id
    // of the button chosen (IDOK, IDCANCEL, IDYES, ...). pOwner may be null.
    virtual int MessageBox(const CWnd* pOwner, const CString& text, const CString& caption,
                           UINT nType) = 0;

    // Asks for a file as request describes; the chosen file's full path, or none when the
    // user cancelled. pOwner may be null.
    virtual std::optional<std::string> FileDialog(const CWnd* pOwner,
                                                  const FileDialogRequest& request) = 0;

    static ModalPrompts& Current();
    // Makes prompts the current implementation and returns the one it replaces; null puts
    // the real one back. The caller keeps prompts alive while it is installed.
    static ModalPrompts* Install(ModalPrompts* prompts);
};

// The buttons of a message-box type, in the order they are shown.
std::vector<int> MessageBoxButtons(UINT nType);
