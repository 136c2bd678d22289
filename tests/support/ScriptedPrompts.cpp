#include "tests/support/ScriptedPrompts.h"

ScriptedPrompts::ScriptedPrompts() : m_previous(ModalPrompts::Install(this)) {}

ScriptedPrompts::~ScriptedPrompts() {
    ModalPrompts::Install(m_previous);
}

int ScriptedPrompts::MessageBox(const CWnd* /*pOwner*/, const CString& text, const CString& caption,
                                UINT nType) {
    m_boxes.push_back({caption.str(), text.str(), MessageBoxButtons(nType), nType});
    if (m_answers.empty())
        return m_boxes.back().buttons.front();
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedPrompts::FileDialog(const CWnd* /*pOwner*/,
                                                       const FileDialogRequest& request) {
    m_fileDialogs.push_back(request);
    if (m_fileAnswers.empty())
        return std::nullopt;
    std::optional<std::string> answer = m_fileAnswers.front();
    m_fileAnswers.pop_front();
    return answer;
}
