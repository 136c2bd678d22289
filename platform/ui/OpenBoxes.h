#pragma once

class QWidget;

// Cancels every message box, file dialog and dialog that is open besides mainWindow (which
// may be null), so that the modal loops they run return to the code that opened them.
void CloseOpenBoxes(const QWidget* mainWindow);
