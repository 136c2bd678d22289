#pragma once

#include "platform/ui/CWinApp.h"

// The application: start-up runs the main dialog and ends the process when it closes.
class CMurmeloApp : public CWinApp {
  public:
    CMurmeloApp();

    BOOL InitInstance() override;
};

extern CMurmeloApp theApp;
