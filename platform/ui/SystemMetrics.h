#pragma once

// The sizes the window system works with. SM_CXICON and SM_CYICON give the standard icon
// size; an index it does not know gives 0.
int GetSystemMetrics(int nIndex);
