#pragma once

#include "platform/ole/OleServerState.h"

// The names the framework and the automation classes call the server side by.
inline void AfxOleLockApp() {
    OleServerState::Lock();
}

inline void AfxOleUnlockApp() {
    OleServerState::Unlock();
}

inline BOOL AfxOleCanExitApp() {
    return OleServerState::LockCount() == 0;
}

inline void AfxOleSetUserCtrl(BOOL bUserCtrl) {
    OleServerState::SetUserControl(bUserCtrl);
}

inline BOOL AfxOleGetUserCtrl() {
    return OleServerState::UserControl();
}

inline void AfxOleOnReleaseAllObjects() {
    OleServerState::OnReleaseAllObjects();
}
