#pragma once

#include "platform/base/WinTypes.h"

#include <span>

// A dialog template is data: the window's caption, size, font and styles, and a table of
// controls in tab order. Positions and sizes are in dialog units, which the framework
// converts to pixels with the base units of the template's font.

enum class ControlKind { PushButton, CheckBox, GroupBox, Static, Icon, Edit, ComboBox };

// The state a control starts in.
enum class ControlState { Visible, Hidden, Disabled };

struct DialogControl {
    int id;
    ControlKind kind;
    const char* caption;
    int x;
    int y;
    int cx;
    int cy;
    ControlState state;
    DWORD style;
    // The name a screen reader announces for the control, where its caption does not say
    // what it is (an edit, a list, a button marked "+"); null leaves the toolkit's own.
    const char* accessibleName = nullptr;
    // The icon resource an icon control shows; the platform keeps it where other
    // controls keep their text.
    UINT iconId = 0;
};

struct DialogTemplate {
    UINT id;
    const char* caption;
    int cx;
    int cy;
    const char* fontName;
    int pointSize;
    DWORD style;
    DWORD exStyle;
    std::span<const DialogControl> controls;
};
