#pragma once

#include "platform/ui/ModalPrompts.h"

// The prompts a user sees: Qt's modal dialogs.
class QtModalPrompts : public ModalPrompts {
  public:
    int MessageBox(const CWnd* pOwner, const CString& text, const CString& caption,
                   UINT nType) override;
    std::optional<std::string> FileDialog(const CWnd* pOwner,
                                          const FileDialogRequest& request) override;
};
