#pragma once

// Shows the busy cursor over the whole application while it lives, for work that blocks
// the window (a wait for another program). Instances nest.
class CWaitCursor {
  public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    // Whether a busy cursor is up. Safe to ask from any thread, so that a test can look
    // while the window's thread is blocked.
    static bool IsShown();
};
