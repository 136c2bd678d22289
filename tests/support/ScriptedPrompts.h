#pragma once

#include "platform/ui/ModalPrompts.h"

#include <deque>

// A test's stand-in for every modal prompt. While it lives it is the installed prompts: it
// records each message box and answers at once with the box's first button. File dialogs
// are recorded too and answered with the next scripted path; with none left, they are
// cancelled.
class ScriptedPrompts : public ModalPrompts {
  public:
    struct Box {
        std::string caption;
        std::string text;
        std::vector<int> buttons;
        UINT type;
    };

    ScriptedPrompts() : m_previous(ModalPrompts::Install(this)) {}
    ~ScriptedPrompts() override { ModalPrompts::Install(m_previous); }

    const std::vector<Box>& Boxes() const { return m_boxes; }

    // The next file dialog returns path as the user's choice.
    void AnswerFileDialog(const std::string& path) { m_fileAnswers.push_back(path); }
    // The next file dialog is cancelled.
    void CancelFileDialog() { m_fileAnswers.push_back(std::nullopt); }
    const std::vector<FileDialogRequest>& FileDialogs() const { return m_fileDialogs; }

    int MessageBox(const CWnd*, const CString& text, const CString& caption, UINT nType) override {
        m_boxes.push_back({caption.str(), text.str(), MessageBoxButtons(nType), nType});
        return m_boxes.back().buttons.front();
    }
    std::optional<std::string> FileDialog(const CWnd*, const FileDialogRequest& request) override {
        m_fileDialogs.push_back(request);
        if (m_fileAnswers.empty())
            return std::nullopt;
        const std::optional<std::string> answer = m_fileAnswers.front();
        return m_fileAnswers.pop_front(), answer;
    }

  private:
    ModalPrompts* m_previous;
    std::vector<Box> m_boxes;
    std::deque<std::optional<std::string>> m_fileAnswers;
    std::vector<FileDialogRequest> m_fileDialogs;
};
