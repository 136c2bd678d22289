#pragma once

#include "platform/text/CString.h"
#include "platform/ui/WinUser.h"

class CWnd;
class QMenu;

// The system menu of a window, known by the window it belongs to: once that window is gone,
// the operations do nothing and the queries answer "none", like a control member's.
class CMenu {
  public:
    explicit CMenu(const CWnd* pOwner) : m_pOwner(pOwner) {}
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    // Appends a separator (MF_SEPARATOR) or a text entry (MF_STRING, with MF_GRAYED for a
    // disabled one) that sends WM_SYSCOMMAND with nIDNewItem when chosen. In the text an
    // ampersand marks the access key, and a tab sets off the key's name at the right.
    BOOL AppendMenu(UINT nFlags, UINT nIDNewItem = 0, const char* lpszNewItem = nullptr);

    // The number of entries, separators included, or -1 when the menu is gone.
    int GetMenuItemCount() const;
    // The command id of the entry at nPos; 0 for a separator, -1 when there is no entry.
    UINT GetMenuItemID(int nPos) const;
    // The text of an entry given by its command id, or by its position with MF_BYPOSITION;
    // returns the text's length, 0 when there is no such entry.
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;

  private:
    QMenu* Menu() const;

    const CWnd* m_pOwner;
};
