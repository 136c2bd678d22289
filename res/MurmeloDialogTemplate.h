#pragma once

#include "platform/ui/DialogTemplate.h"

// The main dialog "Parlino".
extern const DialogTemplate g_murmeloDialogTemplate;
