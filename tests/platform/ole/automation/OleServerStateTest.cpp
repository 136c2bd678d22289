#include "platform/ole/AfxOleServer.h"

#include <gtest/gtest.h>

namespace {

// The state is the process's; every test starts from a user-controlled process with no
// objects and no hooks.
class OleServerStateTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(OleServerState::LockCount(), 0);
        AfxOleSetUserCtrl(FALSE);
        OleServerState::SetReleaseAllObjectsHook([this] { ++m_releaseAll; });
    }
    void TearDown() override {
        while (OleServerState::LockCount() > 0)
            OleServerState::Unlock(Notify::No);
        AfxOleSetUserCtrl(TRUE);
        OleServerState::SetReleaseAllObjectsHook({});
    }

    int m_releaseAll = 0;
};

TEST_F(OleServerStateTest, LastObjectOfALaunchedProcessClosesItOnce) {
    AfxOleLockApp();
    AfxOleLockApp();
    AfxOleUnlockApp();
    EXPECT_EQ(m_releaseAll, 0);
    EXPECT_FALSE(AfxOleCanExitApp());

    AfxOleUnlockApp();
    EXPECT_EQ(m_releaseAll, 1);
    EXPECT_TRUE(AfxOleCanExitApp());
    // From now on the process counts as the user's, so a later object does not close
    // anything a second time.
    EXPECT_TRUE(AfxOleGetUserCtrl());
    AfxOleLockApp();
    AfxOleUnlockApp();
    EXPECT_EQ(m_releaseAll, 1);
}

TEST_F(OleServerStateTest, UserControlledProcessIsNeverClosed) {
    AfxOleSetUserCtrl(TRUE);
    AfxOleLockApp();
    AfxOleUnlockApp();
    EXPECT_EQ(m_releaseAll, 0);
}

TEST_F(OleServerStateTest, QuietUnlockAndSurplusUnlockCloseNothing) {
    AfxOleLockApp();
    OleServerState::Unlock(Notify::No);
    EXPECT_EQ(m_releaseAll, 0);

    // An unlock without a lock must not drive the count below zero, or the next object
    // would never count as the last.
    AfxOleUnlockApp();
    EXPECT_EQ(OleServerState::LockCount(), 0);
    EXPECT_EQ(m_releaseAll, 0);
    AfxOleLockApp();
    AfxOleUnlockApp();
    EXPECT_EQ(m_releaseAll, 1);
}

} // namespace
