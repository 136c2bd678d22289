#pragma once

#include "platform/ui/CRect.h"

// Where an icon of cxIcon by cyIcon pixels goes to sit centred in the client rectangle. The
// sums are signed and the halves truncate toward zero, so a client area narrower than the
// icon puts the icon partly left of (or above) it: width 0 and icon 32 give -15.
POINT IconOrigin(const CRect& client, int cxIcon, int cyIcon);
