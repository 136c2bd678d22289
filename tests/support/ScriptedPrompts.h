#pragma once

#include "platform/ui/ModalPrompts.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

// A test's stand-in for every modal prompt. While it lives it is the installed prompts: it
// records each message box and answers at once, with the next scripted answer or, when
// none is left, the box's first button. File dialogs are recorded too and answered with
// the next scripted path; with none left, they are cancelled.
class ScriptedPrompts : public ModalPrompts {
  public:
    struct Box {
        std::string caption;
        std::string text;
        std::vector<int> buttons;
        UINT type;
    };

    ScriptedPrompts();
    ~ScriptedPrompts() override;

    void Answer(int id) { m_answers.push_back(id); }
    const std::vector<Box>& Boxes() const { return m_boxes; }

    // The next file dialog returns path as the user's choice.
    void AnswerFileDialog(const std::string& path) { m_fileAnswers.push_back(path); }
    // The next file dialog is cancelled.
    void CancelFileDialog() { m_fileAnswers.push_back(std::nullopt); }
    const std::vector<FileDialogRequest>& FileDialogs() const { return m_fileDialogs; }

    int MessageBox(const CWnd* pOwner, const CString& text, const CString& caption,
                   UINT nType) override;
    std::optional<std::string> FileDialog(const CWnd* pOwner,
                                          const FileDialogRequest& request) override;

  private:
    ModalPrompts* m_previous;
    std::deque<int> m_answers;
    std::vector<Box> m_boxes;
    std::deque<std::optional<std::string>> m_fileAnswers;
    std::vector<FileDialogRequest> m_fileDialogs;
};
