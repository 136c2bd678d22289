#pragma once

#include "platform/ui/CDC.h"

class CWnd;

// Begins painting the window when it is constructed and ends it when it is destroyed.
// Only a window that is handling its WM_PAINT has anything to paint; elsewhere the context
// paints nothing, as when nothing of the window needs painting.
class CPaintDC : public CDC {
  public:
    explicit CPaintDC(CWnd* pWnd);
};
