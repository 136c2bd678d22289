#pragma once

#include "platform/process/WindowQueries.h"

// Looks for the converter's window once ToWav has waited for it in vain. Called for each
// top-level window with the converter's process id as lParam; for the first window of that
// process it shows the title of its main window (the outermost owner) in the notice
// "进程主窗体标题", and then ends the search, so a converter with many windows brings up
// one notice. Returns TRUE to go on with the next window.
BOOL EnumConverterWindowsProc(HWND hWnd, LPARAM lParam);
