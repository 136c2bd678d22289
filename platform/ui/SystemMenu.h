#pragma once

#include "platform/base/WinTypes.h"

#include <functional>

class QMenu;
class QPoint;
class QWidget;

// The window's own menu of window commands. The window manager's title-bar menu is out of
// the program's reach, so every dialog with the system-menu style carries this one: it
// starts with the standard commands, the program may append entries, and choosing an entry
// hands its command id to the window, which sends it as WM_SYSCOMMAND.
namespace SystemMenu {

enum class Minimise { Offered, NotOffered };

// Creates the menu as a child of window; choose receives the chosen entry's command id
// once the menu has closed.
QMenu* Create(QWidget* window, Minimise minimise, std::function<void(UINT)> choose);

// The menu of window, or null when it has none.
QMenu* Of(const QWidget* window);

// Removes the entries the program appended, leaving the standard ones.
void Revert(QMenu& menu);

// Shows the menu with its top-left corner at globalPos; it runs without blocking.
void Open(QMenu& menu, const QPoint& globalPos);

} // namespace SystemMenu
