#pragma once

#include "platform/text/CString.h"

class CDataExchange;
class CWnd;

// The entries of a data-exchange table. Each does nothing once an earlier entry of the same
// run has failed.

// Binds a control member to the dialog's control nIDC on the first run.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// Text of the control nIDC. The number forms write decimal text; reading text that is not
// a decimal integer fails and leaves the member as it was. LONG is a 32-bit int here, so
// the int form serves both.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);

// Check state of a check box: 0 unchecked, 1 checked, 2 indeterminate. Loading a value
// below 0 or above 2 first resets the member to 0.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);

// Range checks of the value the entry before has just read (save direction only); a value
// outside minVal..maxVal fails, and the member keeps it.
void DDV_MinMaxLong(CDataExchange* pDX, LONG value, LONG minVal, LONG maxVal);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
