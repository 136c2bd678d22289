#pragma once

#include "platform/ui/DialogTemplate.h"

// The about box "关于 Murmelo".
extern const DialogTemplate g_aboutDialogTemplate;
