#pragma once

#include "tests/support/Keyboard.h"
#include "tests/support/X11Windows.h"
#include "tests/support/XvfbServer.h"

// A private X server with what a test needs on it: a client that looks at its windows and a
// keyboard that types on it (link test_support_x11).
struct PrivateDisplay {
    XvfbServer server;
    X11Windows windows{server.Display()};
    Keyboard keys{server.Display()};
};
