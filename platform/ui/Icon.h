#pragma once

#include "platform/base/WinTypes.h"

// An icon of the program's resources, shared by everyone who loads it and never destroyed
// by them; the framework keeps it for the life of the process.
class IconHandle;
using HICON = const IconHandle*;
using HCURSOR = HICON;

// Loads the icon resource nIDResource; null when the resources hold no such icon or its
// bytes are not an icon.
HICON AfxLoadIcon(UINT nIDResource);
