#pragma once

#include "platform/ui/FileDialogRequest.h"

#include <optional>
#include <string>

// The folder the user last chose a file in, for each kind of file dialog (open and save),
// kept across starts in the platform's own state file,
// $XDG_STATE_HOME/murmelo/file-dialogs.ini (else ~/.local/state/murmelo). A file dialog
// opens there in place of the folder its caller names, as the desktop the program was
// written for does; the program's settings file knows nothing of it.
class FileDialogMemory {
  public:
    // The remembered folder, when there is one and it is still a folder.
    static std::optional<std::string> LastFolder(FileDialogMode mode);
    // Remembers the folder that holds the chosen file. A failure to store it only means
    // the next dialog opens where its caller asks.
    static void Remember(FileDialogMode mode, const std::string& chosenFile);
};
