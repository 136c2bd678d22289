#pragma once

#include "tests/support/AutomationServerFixture.h"

#include <string>

inline const QString kProgId = QStringLiteral("Murmelo.Application");
QString IidMurmelo();

// The real murmelo as an automation server, without a sound device, its window on the given
// Qt platform (and X11 display).
class MurmeloServerTest : public AutomationServerFixture {
  protected:
    explicit MurmeloServerTest(const char* platform = "offscreen",
                               const std::string& display = std::string());
};
