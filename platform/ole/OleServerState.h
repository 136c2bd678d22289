#pragma once

#include "platform/base/WinTypes.h"

#include <functional>

// Whether reaching zero live objects tells the framework so.
enum class Notify { No, Yes };

// What the automation server side of the process keeps: the count of live automation
// objects, whether the user controls the application, and the two hooks the framework
// sets. A process the session bus started for a client is not under the user's control:
// when its last object goes, the framework closes the main window and the process ends.
// Everything here runs on the program's one thread.
class OleServerState {
  public:
    static void Lock();
    // Counts one live object less. When the count reaches zero, the user does not control
    // the application and `notify` says so, the release hook runs (once).
    static void Unlock(Notify notify = Notify::Yes);
    static LONG LockCount();

    static void SetUserControl(BOOL bUserCtrl);
    static BOOL UserControl();

    // Called when the last object of a process outside the user's control is gone; the
    // framework closes its main window there.
    static void SetReleaseAllObjectsHook(std::function<void()> hook);
    // Asked before every creation a client requests; FALSE refuses it (the framework
    // answers FALSE while no main window exists). Unset, creation is always allowed.
    static void SetCanCreateObjectHook(std::function<BOOL()> hook);
    static BOOL CanCreateObject();

    // Runs the release hook unless the user controls the application. Afterwards the user
    // counts as in control, so a later count of zero does not close anything twice.
    static void OnReleaseAllObjects();
};
