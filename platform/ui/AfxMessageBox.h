#pragma once

#include "platform/ui/WinUser.h"

// The framework's message box: captioned with the application's title, owned by the active
// window. Returns the id of the button chosen.
int AfxMessageBox(const char* lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The same with a text of the string table.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));
