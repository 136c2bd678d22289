#include "platform/ole/AfxOleServer.h"

#include <gtest/gtest.h>

namespace {

// The count of live objects decides when a process the bus started may end: the last
// object going closes it once, a quiet unlock or one without a lock never does, and a
// process the user started is never closed by its objects.
TEST(OleServerStateTest, OnlyTheLastObjectOfALaunchedProcessClosesItAndOnlyOnce) {
    int releaseAll = 0;
    OleServerState::SetReleaseAllObjectsHook([&] { ++releaseAll; });
    AfxOleSetUserCtrl(TRUE);
    AfxOleLockApp();
    AfxOleUnlockApp();
    EXPECT_EQ(releaseAll, 0) << "a user-started process was closed";

    AfxOleSetUserCtrl(FALSE);
    AfxOleLockApp();
    OleServerState::Unlock(Notify::No);
    // An unlock without a lock must not drive the count below zero, or the next object
    // would never count as the last.
    AfxOleUnlockApp();
    EXPECT_EQ(OleServerState::LockCount(), 0);
    EXPECT_EQ(releaseAll, 0);

    AfxOleLockApp();
    AfxOleLockApp();
    AfxOleUnlockApp();
    EXPECT_EQ(releaseAll, 0);
    EXPECT_FALSE(AfxOleCanExitApp());
    AfxOleUnlockApp();
    EXPECT_EQ(releaseAll, 1);
    EXPECT_TRUE(AfxOleCanExitApp());
    // From now on the process counts as the user's, so a later object closes nothing.
    EXPECT_TRUE(AfxOleGetUserCtrl());
    AfxOleLockApp();
    AfxOleUnlockApp();
    EXPECT_EQ(releaseAll, 1);
    OleServerState::SetReleaseAllObjectsHook({});
}

} // namespace
