#pragma once

#include "tests/support/DialogDriver.h"

// Runs the dialog modally, lets steps act on it, and then presses Escape, as a user ends
// the dialog; also when an assertion returned from the steps early.
template <typename Steps>
int RunAndEscape(CDialog& dialog, Steps steps) {
    return DialogDriver::RunModal(dialog, [&](DialogDriver& driver) {
        steps(driver);
        driver.PressKey(Qt::Key_Escape);
    });
}
