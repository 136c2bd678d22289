#pragma once

#include "platform/ui/CWnd.h"

// An edit control member.
class CEdit : public CWnd {};
