#pragma once

#include "platform/ui/ModalPrompts.h"

#include <deque>
#include <string>
#include <vector>

// A test's stand-in for every modal prompt. While it lives it is the installed prompts: it
// records each message box and answers at once, with the next scripted answer or, when
// none is left, the box's first button.
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

    int MessageBox(const CWnd* pOwner, const CString& text, const CString& caption,
                   UINT nType) override;

  private:
    ModalPrompts* m_previous;
    std::deque<int> m_answers;
    std::vector<Box> m_boxes;
};
