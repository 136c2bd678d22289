#include "platform/ole/OleServerState.h"

#include <utility>

namespace {

struct State {
    LONG lockCount = 0;
    BOOL userControl = TRUE;
    std::function<void()> releaseAllObjects;
    std::function<BOOL()> canCreateObject;
};

State& TheState() {
    static State state;
    return state;
}

} // namespace

void OleServerState::Lock() {
    ++TheState().lockCount;
}

void OleServerState::Unlock(Notify notify) {
    State& state = TheState();
    if (state.lockCount == 0)
        return;
    if (--state.lockCount == 0 && notify == Notify::Yes)
        OnReleaseAllObjects();
}

LONG OleServerState::LockCount() {
    return TheState().lockCount;
}

void OleServerState::SetUserControl(BOOL bUserCtrl) {
    TheState().userControl = bUserCtrl;
}

BOOL OleServerState::UserControl() {
    return TheState().userControl;
}

void OleServerState::SetReleaseAllObjectsHook(std::function<void()> hook) {
    TheState().releaseAllObjects = std::move(hook);
}

void OleServerState::SetCanCreateObjectHook(std::function<BOOL()> hook) {
    TheState().canCreateObject = std::move(hook);
}

BOOL OleServerState::CanCreateObject() {
    const State& state = TheState();
    return !state.canCreateObject || state.canCreateObject();
}

void OleServerState::OnReleaseAllObjects() {
    State& state = TheState();
    if (state.userControl)
        return;
    state.userControl = TRUE;
    if (state.releaseAllObjects)
        state.releaseAllObjects();
}
