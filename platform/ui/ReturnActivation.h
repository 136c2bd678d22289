#pragma once

#include <QPointer>
#include <QWidget>

// Gives the keyboard back to the owner's window when a modal box or dialog closes. Without a
// window manager nothing else does, and the keys would go to whatever window lies under the
// mouse pointer, or nowhere.
class ReturnActivation {
  public:
    explicit ReturnActivation(QWidget* owner) : m_window(owner ? owner->window() : nullptr) {}
    ReturnActivation(const ReturnActivation&) = delete;
    ReturnActivation& operator=(const ReturnActivation&) = delete;
    ~ReturnActivation() {
        if (m_window && m_window->isVisible())
            m_window->activateWindow();
    }

  private:
    QPointer<QWidget> m_window;
};
