#pragma once

#include "platform/ui/FileDialogRequest.h"

#include <optional>
#include <string>

class QWidget;

// Runs Qt's own (not the desktop's native) file dialog as request describes, owned by
// owner, which may be null. Returns the chosen full path, or none when the user cancelled.
std::optional<std::string> RunQtFileChooser(QWidget* owner, const FileDialogRequest& request);
