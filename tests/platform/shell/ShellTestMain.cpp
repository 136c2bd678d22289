#include "tests/platform/shell/PrivateSessionBus.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

// QtDBus wants an application object, and the file manager's session bus must be a private
// one before the first test asks for it.
int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new PrivateSessionBus); // gtest takes ownership
    return RUN_ALL_TESTS();
}
