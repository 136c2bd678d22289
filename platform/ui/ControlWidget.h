#pragma once

#include "platform/base/WinTypes.h"

#include <string>

class QWidget;

// What the framework does to a control widget, whatever its kind. Text is in the ANSI code
// page (UTF-8). Operations that do not apply to a kind do nothing.
namespace ControlWidget {

void SetText(QWidget* widget, const std::string& text);
std::string GetText(const QWidget* widget);
void SetCheck(QWidget* widget, int state);
int GetCheck(const QWidget* widget);
void SelectAllText(QWidget* widget);
// Handles a control message (CB_..., EM_SETSEL); returns its result.
LRESULT HandleMessage(QWidget* widget, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace ControlWidget
