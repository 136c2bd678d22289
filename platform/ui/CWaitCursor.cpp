#include "platform/ui/CWaitCursor.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <qguiapplication_platform.h>

#include <atomic>
#include <xcb/xcb.h>

namespace {

std::atomic<int> g_depth{0};

// Without a QApplication (a program with no window yet) there is no cursor to change.
bool HasGui() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

// The window's thread is about to block, so the new cursor must reach the X server now
// rather than when the event loop next flushes the connection. Running the event loop
// here instead would let other events reach handlers in the middle of a command.
void FlushToDisplay() {
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    // Other platforms (offscreen, Wayland) answer the X11 interface without a connection.
    if (!application || QGuiApplication::platformName() != "xcb")
        return;
    auto* x11 = application->nativeInterface<QNativeInterface::QX11Application>();
    if (xcb_connection_t* connection = x11 ? x11->connection() : nullptr)
        xcb_flush(connection);
}

} // namespace

CWaitCursor::CWaitCursor() {
    if (HasGui()) {
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        FlushToDisplay();
    }
    ++g_depth;
}

CWaitCursor::~CWaitCursor() {
    --g_depth;
    if (HasGui())
        QApplication::restoreOverrideCursor();
}

bool CWaitCursor::IsShown() {
    return g_depth.load() > 0;
}
